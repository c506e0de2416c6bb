#include "gui/variables/CalQuestionFiltreePage.h"

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "variables/ConstructionVariable.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CCalQuestionFiltreePage::CCalQuestionFiltreePage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_question(new QLabel(this)), m_field(new QLabel(this)),
      m_pickQuestion(new QPushButton(QStringLiteral("..."), this)),
      m_pickField(new QPushButton(QStringLiteral("..."), this)) {
    m_pickQuestion->setObjectName(QStringLiteral("question"));
    m_pickField->setObjectName(QStringLiteral("champ"));
    for (QLabel* shown : {m_question, m_field}) {
        shown->setFrameShape(QFrame::StyledPanel);
        shown->setMinimumWidth(240);
    }
    auto* grid = new QGridLayout();
    grid->addWidget(new QLabel(QStringLiteral("Question:"), this), 0, 0);
    grid->addWidget(m_question, 0, 1);
    grid->addWidget(m_pickQuestion, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Champ:"), this), 1, 0);
    grid->addWidget(m_field, 1, 1);
    grid->addWidget(m_pickField, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addStretch(1);
    SetField(-1, StringTable::Text(StringTable::kToutesLesInterviews));
    connect(m_pickQuestion, &QPushButton::clicked, this, &CCalQuestionFiltreePage::OnChoisirQuestion);
    connect(m_pickField, &QPushButton::clicked, this, &CCalQuestionFiltreePage::OnChoisirChamp);
}

void CCalQuestionFiltreePage::SetField(std::int32_t id, const std::string& name) {
    m_fieldId = id;
    m_field->setText(QString::fromStdString(name));
}

void CCalQuestionFiltreePage::OnChoisirQuestion() {
    CSelQuestionDlg picker(CSelQuestionDlg::kHorsChapitres, m_source, this);
    if (picker.exec() != QDialog::Accepted || picker.GetQuestion() == nullptr)
        return;
    m_source = picker.GetQuestion();
    m_question->setText(QString::fromStdString(m_source->name));
}

void CCalQuestionFiltreePage::OnChoisirChamp() {
    CChampEtudeDlg dialog(m_context, m_fieldId, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetField(dialog.DonnerChampChoisi().id, dialog.DonnerChampChoisi().name);
}

// A field that no longer exists loads as "Toutes les interviews", which the check refuses.
void CCalQuestionFiltreePage::Charger(const CQuestionCalculee& definition) {
    m_source = definition.source1;
    m_question->setText(m_source != nullptr ? QString::fromStdString(m_source->name) : QString());
    const std::int32_t id = CStaticTools::ToLong(definition.definition);
    CChampEtude field;
    if (id == -1 || !m_context.DonnerChampEtude(id, field))
        SetField(-1, StringTable::Text(StringTable::kToutesLesInterviews));
    else
        SetField(id, field.name);
}

bool CCalQuestionFiltreePage::Verifier() {
    UserInterface& ui = m_context.GetUserInterface();
    const bool usable = m_source != nullptr && (m_source->EstFermee() || m_source->EstNumeriqueLibre() ||
                                                m_source->EstDate() || m_source->EstOuverte());
    if (!usable) {
        ui.ShowMessage(Message(StringTable::kSelectionnerQuestion), UserInterface::Icon::Warning);
        return false;
    }
    if (m_fieldId == -1) {
        ui.ShowMessage(Message(StringTable::kSelectionnerChampEtude), UserInterface::Icon::Warning);
        return false;
    }
    if (m_source->EstOuverte()) {
        ui.ShowMessage(Message(StringTable::kNonImplemente), UserInterface::Icon::Warning);
        return false;
    }
    return true;
}

void CCalQuestionFiltreePage::DonnerParties(PartiesVariable& parts) const {
    parts.source1 = m_source;
    parts.definition = std::to_string(m_fieldId);
}
