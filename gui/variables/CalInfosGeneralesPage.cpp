#include "gui/variables/CalInfosGeneralesPage.h"

#include "app/QuestionCalculee.h"
#include "platform/questionnaire/StaticTools.h"
#include "variables/ConstructionVariable.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct InfoEntry {
    int control;
    const char* caption;
    std::int32_t number; // what the definition stores
};

constexpr InfoEntry kInfos[CCalInfosGeneralesPage::kNombreInfos] = {
    {1204, "Enquêteur", 0},
    {1205, "Heure de début d'interview", 1},
    {1206, "Heure de fin d'interview", 2},
    {1208, "Numéro d'interview", 3},
    {1209, "Code d'interview", 4},
    {1210, "Langue", 6},
    {1211, "Completé", 7},
};

} // namespace

CCalInfosGeneralesPage::CCalInfosGeneralesPage(CContexteEtude& /*context*/, QWidget* parent)
    : CPanneauVariable(parent), m_group(new QButtonGroup(this)) {
    auto* box = new QGroupBox(QStringLiteral("Info:"), this);
    auto* column = new QVBoxLayout(box);
    for (const InfoEntry& info : kInfos) {
        auto* button = new QRadioButton(QString::fromUtf8(info.caption), box);
        button->setObjectName(QStringLiteral("info%1").arg(info.control));
        m_group->addButton(button, info.number);
        column->addWidget(button);
    }
    column->addStretch(1);
    m_group->button(kInfos[0].number)->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addStretch(1);
}

QRadioButton& CCalInfosGeneralesPage::Bouton(int position) const {
    return *static_cast<QRadioButton*>(m_group->button(kInfos[position].number));
}

std::int32_t CCalInfosGeneralesPage::Info() const {
    return m_group->checkedId();
}

void CCalInfosGeneralesPage::Charger(const CQuestionCalculee& definition) {
    std::int32_t number = 0;
    if (!CStaticTools::EstLong(definition.definition, number))
        return;
    if (QAbstractButton* button = m_group->button(number))
        button->setChecked(true);
}

bool CCalInfosGeneralesPage::Verifier() {
    return true;
}

void CCalInfosGeneralesPage::DonnerParties(PartiesVariable& parts) const {
    parts.definition = std::to_string(Info());
}
