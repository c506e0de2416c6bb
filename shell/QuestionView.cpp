#include "shell/QuestionView.h"

#include "app/ContexteEtude.h"
#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "shell/QuestionDoc.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// How the form describes a question of each kind and type; the answer count is the question's own
// ("%d"), or "1" for the kinds that take one answer.
enum class Count { kNone, kOwn, kOne };

struct TypeText {
    std::int16_t kind;
    std::int16_t type; // -1: any
    const char* text;
    Count count;
    bool modalities;
};

constexpr std::array kTypeTexts{
    TypeText{0, -1, "Chapitre", Count::kNone, false},
    TypeText{1, 1, "Question à modalité", Count::kOwn, true},
    TypeText{1, 6, "Question numérique discrète", Count::kOwn, true},
    TypeText{1, 7, "Question numérique à intervalles", Count::kOwn, true},
    TypeText{1, 4, "Question ouverte", Count::kOne, false},
    TypeText{1, 5, "Question numérique libre", Count::kOne, false},
};

const TypeText* FindTypeText(const CQuestionEtendue& question) {
    for (const TypeText& entry : kTypeTexts) {
        if (entry.kind == question.kind && (entry.type == -1 || entry.type == question.type))
            return &entry;
    }
    return nullptr;
}

QLabel* NewValueLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    label->setMinimumWidth(200);
    return label;
}

} // namespace

CQuestionView::CQuestionView(QWidget* parent)
    : QWidget(parent), m_name(NewValueLabel(this)), m_caption(NewValueLabel(this)),
      m_type(NewValueLabel(this)), m_answerCount(NewValueLabel(this)), m_level(NewValueLabel(this)),
      m_layout(new QVBoxLayout(this)) {
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignLeft);
    fields->setVerticalSpacing(8);
    fields->addRow(QStringLiteral("Libellé court:"), m_name);
    fields->addRow(QStringLiteral("Libellé long:"), m_caption);
    fields->addRow(QStringLiteral("Type:"), m_type);
    fields->addRow(QStringLiteral("Nbre de réponses:"), m_answerCount);
    fields->addRow(QStringLiteral("Niveau:"), m_level);
    m_layout->setContentsMargins(10, 10, 10, 10);
    m_layout->addLayout(fields);
    m_layout->addStretch();
}

CQuestionView::Texts CQuestionView::TextsOf(const CQuestionEtendue& question) {
    Texts texts;
    texts.name = QString::fromStdString(question.name);
    texts.caption = QString::fromStdString(question.GetCaption());
    if (const CEnquete* survey = question.GetEnquete()) {
        if (const CQuestionNiveau* level = survey->DonnerNiveau(question.level))
            texts.level = QString::fromStdString(level->name);
    }
    const TypeText* type = FindTypeText(question);
    if (type == nullptr)
        return texts;
    texts.type = QString::fromUtf8(type->text);
    if (type->count == Count::kOwn)
        texts.answerCount = QString::number(question.answerCount);
    else if (type->count == Count::kOne)
        texts.answerCount = QStringLiteral("1");
    texts.hasModalityPage = type->modalities;
    return texts;
}

void CQuestionView::OnInitialUpdate() {
    const CQuestionDoc* document = GetQuestionDoc();
    CQuestionEtendue* question = document != nullptr ? document->GetQuestion() : nullptr;
    m_texts = question != nullptr ? TextsOf(*question) : Texts();
    ShowTexts();
    if (question != nullptr && m_texts.hasModalityPage && m_page == nullptr)
        ShowModalityPage(*question);
}

void CQuestionView::ShowModalityPage(CQuestionEtendue& question) {
    CContexteEtude* context = GetContexte();
    if (context == nullptr)
        return;
    // The rows' Total closes the list, as on the request pages; no calculation lines.
    m_page = new CPageQuestionsCalculsDlg(*context, &question, 0, true, this);
    // Above the stretch that keeps the texts at the top.
    m_layout->insertWidget(1, m_page, 1);
    connect(m_page, &CPageQuestionsCalculsDlg::changed, this, &CQuestionView::AppliquerModalites);
}

void CQuestionView::AppliquerModalites() {
    const CQuestionDoc* document = GetQuestionDoc();
    CQuestionEtendue* question = document != nullptr ? document->GetQuestion() : nullptr;
    if (question == nullptr || m_page == nullptr)
        return;
    CPageQuestionsCalculsDlg::Lines lines;
    m_page->GetLignes(lines);
    // The lines after the question's modalities (the Total) belong to no modality.
    const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(question->GetNbreModalite()));
    for (std::size_t index = 0; index < count; ++index) {
        CModaliteEtendue* modality = question->GetModaliteEtendue(static_cast<int>(index));
        if (modality == nullptr)
            continue;
        const CModaliteEtendue& line = *lines[index];
        modality->selected = line.selected;
        modality->displayOptions = line.displayOptions;
        // A caption the analyst left alone is not copied into the current language from the
        // default one.
        if (line.GetShortCaption() != modality->GetShortCaption())
            modality->SetShortCaption(line.GetShortCaption());
    }
}

CQuestionDoc* CQuestionView::GetQuestionDoc() const {
    return dynamic_cast<CQuestionDoc*>(GetDocument());
}

void CQuestionView::ShowTexts() {
    m_name->setText(m_texts.name);
    m_caption->setText(m_texts.caption);
    m_type->setText(m_texts.type);
    m_answerCount->setText(m_texts.answerCount);
    m_level->setText(m_texts.level);
}
