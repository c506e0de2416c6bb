#include "gui/variables/ProfilePanel.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "tabulation/SousProfil.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableCalculee.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kModalityIcon = 10;

} // namespace

ProfilePanel::ProfilePanel(CContexteEtude& context, bool modalities, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_modalities(modalities), m_tree(new QTreeWidget(this)),
      m_select(new QPushButton(QStringLiteral("&Sélection..."), this)) {
    m_tree->setObjectName(QStringLiteral("1067"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(modalities);
    m_tree->setMinimumSize(300, 220);
    m_select->setObjectName(QStringLiteral("1006"));
    auto* buttons = new QVBoxLayout();
    buttons->addWidget(m_select);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    connect(m_select, &QPushButton::clicked, this, [this] {
        CProfil chosen = m_profile;
        if (Choisir(chosen))
            SetProfil(chosen);
    });
}

void ProfilePanel::SetProfil(const CProfil& profile) {
    m_profile = profile;
    Remplir();
}

void ProfilePanel::Remplir() {
    m_tree->clear();
    for (int i = 0; i < m_profile.GetCount(); ++i) {
        const CSousProfil* line = m_profile.GetSousProfil(i);
        if (line == nullptr || line->IsSeparator())
            continue;
        const CQuestionEtendue& question = *line->GetQuestion();
        auto* item = new QTreeWidgetItem(m_tree);
        item->setText(0, QString::fromStdString(question.name));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(question)));
        if (!m_modalities)
            continue;
        for (const auto& modality : line->Modalites()) {
            auto* child = new QTreeWidgetItem(item);
            child->setText(0, QString::fromStdString(modality->GetShortCaption()));
            child->setIcon(0, m_icons.GetImage(kModalityIcon));
        }
        item->setExpanded(true);
    }
}

void ProfilePanel::Charger(const CQuestionCalculee& definition) {
    if (const auto* variable = dynamic_cast<const CVariableCalculee*>(&definition))
        SetProfil(variable->GetProfil());
}

void ProfilePanel::DonnerParties(PartiesVariable& parts) const {
    parts.definition = m_profile.ToString(m_context);
}
