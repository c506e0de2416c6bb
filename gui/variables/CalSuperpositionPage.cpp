#include "gui/variables/CalSuperpositionPage.h"

#include "app/ContexteEtude.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/UtilArbre.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/variables/LabelledItemTree.h"
#include "variables/ConstructionVariable.h"
#include "variables/SuperpositionSources.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CCalSuperpositionPage::CCalSuperpositionPage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_modalities(new LabelledItemTree("|@", this)),
      m_questions(new QTreeWidget(this)),
      m_cumulate(new QCheckBox(QStringLiteral("Cumuler les modalités déjà citées"), this)),
      m_add(new QPushButton(QStringLiteral("+"), this)) {
    m_modalities->setObjectName(QStringLiteral("1069"));
    m_questions->setObjectName(QStringLiteral("1058"));
    m_questions->setHeaderHidden(true);
    m_questions->setRootIsDecorated(false);
    m_cumulate->setObjectName(QStringLiteral("1075"));
    m_add->setObjectName(QStringLiteral("1123"));
    m_add->setToolTip(QStringLiteral("Ajouter des questions (Inser)"));
    m_add->setFixedWidth(44);
    auto* removeQuestion = new QPushButton(QStringLiteral("X"), this);
    removeQuestion->setObjectName(QStringLiteral("1007"));
    removeQuestion->setToolTip(QStringLiteral("Retirer la question (Suppr)"));
    removeQuestion->setFixedWidth(44);
    for (QTreeWidget* tree : {static_cast<QTreeWidget*>(m_modalities), m_questions})
        tree->setMinimumSize(200, 200);

    QVBoxLayout* modalityButtons = m_modalities->NewButtons(*this, "1124");
    modalityButtons->addStretch(1);
    auto* questionButtons = new QVBoxLayout();
    questionButtons->addWidget(m_add);
    questionButtons->addWidget(removeQuestion);
    questionButtons->addStretch(1);
    auto* grid = new QGridLayout();
    grid->addWidget(new QLabel(QStringLiteral("Modalités :"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Questions :"), this), 0, 2);
    grid->addWidget(m_modalities, 1, 0);
    grid->addLayout(modalityButtons, 1, 1);
    grid->addWidget(m_questions, 1, 2);
    grid->addLayout(questionButtons, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid, 1);
    layout->addWidget(m_cumulate);
    connect(m_add, &QPushButton::clicked, this, &CCalSuperpositionPage::OnAjouter);
    connect(removeQuestion, &QPushButton::clicked, this, &CCalSuperpositionPage::SupprimerQuestion);
    m_questions->installEventFilter(this);
}

std::vector<CQuestionEtendue*> CCalSuperpositionPage::QuestionsChoisies() const {
    std::vector<CQuestionEtendue*> questions;
    for (int i = 0; i < m_questions->topLevelItemCount(); ++i)
        questions.push_back(m_context.DonnerQuestion(m_questions->topLevelItem(i)->data(0, Qt::UserRole).toInt()));
    return questions;
}

void CCalSuperpositionPage::Montrer(const std::vector<CQuestionEtendue*>& questions) {
    m_questions->clear();
    CUtilArbre icons;
    for (CQuestionEtendue* question : questions) {
        int index = -1;
        if (question == nullptr || !m_context.TrouverIndexQuestion(question, index))
            continue;
        auto* item = new QTreeWidgetItem(m_questions);
        item->setText(0, QString::fromStdString(question->name));
        item->setIcon(0, icons.GetImage(CUtilArbre::GetImageQuestion(*question)));
        item->setData(0, Qt::UserRole, index);
    }
}

void CCalSuperpositionPage::Ajouter(const std::vector<CQuestionEtendue*>& chosen) {
    SuperpositionSources sources;
    sources.modalities = m_modalities->Items();
    sources.questions = QuestionsChoisies();
    sources.Ajouter(chosen, m_context.GetUserInterface());
    m_modalities->SetItems(sources.modalities);
    Montrer(sources.questions);
}

void CCalSuperpositionPage::OnAjouter() {
    CSelQuestionDlg picker(CSelQuestionDlg::kFermees, this);
    picker.SetMultipleSelection(true);
    if (picker.exec() == QDialog::Accepted)
        Ajouter(picker.GetQuestions());
}

void CCalSuperpositionPage::SupprimerQuestion() {
    QTreeWidgetItem* item = m_questions->currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    delete item;
}

bool CCalSuperpositionPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_questions || event->type() != QEvent::KeyPress)
        return CPanneauVariable::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Insert)
        OnAjouter();
    else if (key == Qt::Key_Delete)
        SupprimerQuestion();
    else
        return CPanneauVariable::eventFilter(watched, event);
    return true;
}

void CCalSuperpositionPage::Charger(const CQuestionCalculee& definition) {
    const SuperpositionSources sources = SuperpositionSources::Lire(definition.themes, definition.definition, m_context);
    m_modalities->SetItems(sources.modalities);
    Montrer(sources.questions);
    m_cumulate->setChecked(definition.superposition != 0);
}

bool CCalSuperpositionPage::Verifier() {
    UserInterface& ui = m_context.GetUserInterface();
    if (m_modalities->topLevelItemCount() == 0) {
        ui.ShowMessage(Message(StringTable::kAucuneModaliteDefinie), UserInterface::Icon::Warning);
        return false;
    }
    if (m_questions->topLevelItemCount() == 0) {
        ui.ShowMessage(Message(StringTable::kAucuneQuestionSelectionnee), UserInterface::Icon::Warning);
        return false;
    }
    return true;
}

void CCalSuperpositionPage::DonnerParties(PartiesVariable& parts) const {
    SuperpositionSources sources;
    sources.modalities = m_modalities->Items();
    sources.questions = QuestionsChoisies();
    parts.themes = sources.Libelles();
    parts.definition = sources.Definition();
    parts.superposition = m_cumulate->isChecked() ? 1 : 0;
}
