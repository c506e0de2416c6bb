#include "shell/QuestionView.h"

#include "app/Enquete.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "shell/QuestionDoc.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
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
      m_type(NewValueLabel(this)), m_answerCount(NewValueLabel(this)), m_level(NewValueLabel(this)) {
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignLeft);
    fields->setVerticalSpacing(8);
    fields->addRow(QStringLiteral("Libellé court:"), m_name);
    fields->addRow(QStringLiteral("Libellé long:"), m_caption);
    fields->addRow(QStringLiteral("Type:"), m_type);
    fields->addRow(QStringLiteral("Nbre de réponses:"), m_answerCount);
    fields->addRow(QStringLiteral("Niveau:"), m_level);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(fields);
    layout->addStretch();
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
    m_texts = document != nullptr && document->GetQuestion() != nullptr ? TextsOf(*document->GetQuestion())
                                                                        : Texts();
    ShowTexts();
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
