#include "gui/openanswers/OuvCategoriesView.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/Document.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/openanswers/ResultatsLexicaux.h"
#include "gui/requests/SelQuestionDlg.h"
#include "openanswers/OuvCorpus.h"
#include "tabulation/Tableau.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

QSpinBox* Edit(QWidget* parent, int id, int minimum, int maximum, int value) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QString::number(id));
    edit->setRange(minimum, maximum);
    edit->setValue(value);
    return edit;
}

QButtonGroup* Radios(QWidget* parent, QGridLayout& grid, int row, int firstId, const char* first, const char* second) {
    auto* group = new QButtonGroup(parent);
    const char* texts[] = {first, second};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(texts[i]), parent);
        radio->setObjectName(QString::number(firstId + i));
        group->addButton(radio, i);
        grid.addWidget(radio, row, i * 2, 1, 2);
    }
    group->button(0)->setChecked(true);
    return group;
}

const char* CountCaption(OuvCategoriesView::Genre genre) {
    static const char* const kCaptions[] = {"Nombre de formes :", "Nombre de segments :", "Nombre de réponses :"};
    return kCaptions[genre];
}

} // namespace

OuvCategoriesView::OuvCategoriesView(Genre genre, QWidget* parent) : AnalysisFormView(parent), m_genre(genre) {
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    grid->addWidget(new QLabel(QString::fromUtf8(CountCaption(genre)), controls), 0, 0);
    m_count = Edit(controls, kNombre, 0, 10000, 5);
    grid->addWidget(m_count, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fréquence minimale :"), controls), 0, 2);
    m_minimum = Edit(controls, kFrequenceMinimale, 1, 10000, 2);
    grid->addWidget(m_minimum, 0, 3);
    auto* choose = new QPushButton(QStringLiteral("..."), controls);
    choose->setObjectName(QString::number(kChoisirQuestion));
    grid->addWidget(choose, 1, 0);
    m_caption = new QLabel(controls);
    m_caption->setObjectName(QString::number(kLibelleQuestion));
    grid->addWidget(m_caption, 1, 1, 1, 3);
    m_corpus = Radios(controls, *grid, 2, kCorpusBrut, "Utiliser le corpus &brut", "Utiliser le corpus &lemmatisé");
    m_method = Radios(controls, *grid, 3, kReponsesLongues, "Réponses longues", "Réponses courtes");
    auto* recalculate = new QPushButton(QStringLiteral("&Recalculer"), controls);
    recalculate->setObjectName(QString::number(kRecalculer));
    grid->addWidget(recalculate, 4, 3);
    // The characteristic answers have no minimum frequency; the others no method.
    const bool answers = genre == kReponses;
    m_minimum->setVisible(!answers);
    grid->itemAtPosition(0, 2)->widget()->setVisible(!answers);
    for (QAbstractButton* radio : m_method->buttons())
        radio->setVisible(answers);
    SetControles(controls);
    connect(choose, &QPushButton::clicked, this, [this] { OnChoisirQuestion(); });
    connect(recalculate, &QPushButton::clicked, this, [this] { OnRecalculer(); });
}

void OuvCategoriesView::OnInitialUpdate() {
    if (CDocument* document = GetDocument())
        document->SetTitle(QString::fromStdString(StringTable::Text(
            m_genre == kReponses ? StringTable::kReponsesCaracteristiques : StringTable::kFormesSpecifiques)));
}

COuvCorpus* OuvCategoriesView::GetCorpusOuvert() const {
    const auto* document = dynamic_cast<const COuvCorpusDoc*>(GetDocument());
    return document != nullptr ? document->GetCorpus() : nullptr;
}

void OuvCategoriesView::SetQuestionExpliquee(CQuestionEtendue* question) {
    m_explained = question;
    m_caption->setText(question != nullptr ? QString::fromStdString(question->GetCaption()) : QString());
}

void OuvCategoriesView::OnChoisirQuestion() {
    CSelQuestionDlg dialog(CSelQuestionDlg::kFermeesSansClassement, m_explained, this);
    if (dialog.exec() == QDialog::Accepted)
        SetQuestionExpliquee(dialog.GetQuestion());
}

void OuvCategoriesView::OnRecalculer() {
    COuvCorpus* corpus = GetCorpusOuvert();
    if (m_explained == nullptr || corpus == nullptr) {
        Signaler(Message(StringTable::kSelectionnerQuestion));
        return;
    }
    WaitCursor wait(corpus->GetContexte().GetUserInterface());
    ViderResultats();
    const bool lemmatise = m_corpus->checkedId() == 1;
    std::optional<ResultatsLexicaux::Tableaux> tables;
    switch (m_genre) {
    case kFormes:
        tables = ResultatsLexicaux::FormesSpecifiques(*corpus, *m_explained, lemmatise, m_count->value(),
                                                      m_minimum->value());
        break;
    case kSegments:
        if (corpus->ChargerSegments())
            tables = ResultatsLexicaux::SegmentsSpecifiques(*corpus, *m_explained, m_count->value(), m_minimum->value());
        break;
    case kReponses:
        tables = ResultatsLexicaux::Caracteristiques(*corpus, *m_explained, lemmatise, m_method->checkedId(),
                                                     m_count->value());
        break;
    }
    if (!tables)
        return;
    for (auto& table : *tables)
        AjouterTableau(std::move(table));
}
