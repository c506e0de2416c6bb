#include "gui/recodes/ConditionModaliteDlg.h"

#include "app/ChampCondition.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "gui/recodes/ListesEntieres.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr std::array<const char*, CConditionModaliteDlg::kNombreTypes> kKinds{
    "Au moins une parmi...",
    "Aucune parmi...",
    "Toutes parmi...",
    "Au moins une et aucune autre parmi...",
    "Toutes et aucune autre parmi...",
};

// Kinds 2 to 4 compare several answers: a question of one answer has only the first two.
constexpr int kKindsOfOneAnswer = 2;

} // namespace

CConditionModaliteDlg::CConditionModaliteDlg(CChampCondition& condition, QWidget* parent)
    : QWidget(parent), m_condition(condition), m_modalities(new QListWidget(this)) {
    m_modalities->setSelectionMode(QAbstractItemView::MultiSelection);
    auto* kinds = new QVBoxLayout();
    auto* group = new QButtonGroup(this);
    for (int kind = 0; kind < kNombreTypes; ++kind) {
        auto* button = new QRadioButton(QString::fromUtf8(kKinds[static_cast<std::size_t>(kind)]), this);
        group->addButton(button, kind);
        kinds->addWidget(button);
        m_kinds[static_cast<std::size_t>(kind)] = button;
    }
    kinds->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_modalities);
    layout->addLayout(kinds, 1);
    connect(group, &QButtonGroup::idClicked, this, &CConditionModaliteDlg::OnType);
    connect(m_modalities, &QListWidget::itemSelectionChanged, this, &CConditionModaliteDlg::OnSelection);
    Afficher();
}

void CConditionModaliteDlg::Afficher() {
    m_showing = true;
    m_modalities->clear();
    const CQuestionEtendue* question = m_condition.question;
    const int count = question != nullptr ? question->GetNbreModalite() : 0;
    for (int i = 0; i < count; ++i) {
        const CModalite* modality = question->GetModalite(i);
        const std::string caption = modality != nullptr
                                        ? CModaliteEtendue::ShortCaptionFor(*modality, question->GetEnquete())
                                        : std::string();
        m_modalities->addItem(QString::fromStdString(caption));
    }
    // Indexes beyond the list are kept in the condition, but cannot be shown.
    for (const std::int32_t index : m_condition.modalities)
        if (index >= 0 && index < count)
            m_modalities->item(index)->setSelected(true);
    ListesEntieres::Ajuster(*m_modalities);
    // As wide as its captions: the kinds beside it take the rest.
    m_modalities->setMaximumWidth(m_modalities->minimumWidth());

    const bool severalAnswers = question != nullptr && question->multipleAnswers;
    const int offered = severalAnswers ? kNombreTypes : kKindsOfOneAnswer;
    if (m_condition.kind < 0 || m_condition.kind >= offered)
        m_condition.kind = 0;
    for (int kind = 0; kind < kNombreTypes; ++kind) {
        QRadioButton& button = *m_kinds[static_cast<std::size_t>(kind)];
        button.setEnabled(kind < offered);
        button.setChecked(kind == m_condition.kind);
    }
    m_showing = false;
}

void CConditionModaliteDlg::OnType(int kind) {
    m_condition.kind = static_cast<std::int16_t>(kind);
}

// The chosen modalities in the order of the list.
void CConditionModaliteDlg::OnSelection() {
    if (m_showing)
        return;
    std::vector<std::int32_t> chosen;
    for (int row = 0; row < m_modalities->count(); ++row)
        if (m_modalities->item(row)->isSelected())
            chosen.push_back(row);
    m_condition.SetModalites(chosen);
}
