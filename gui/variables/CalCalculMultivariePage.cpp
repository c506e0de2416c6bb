#include "gui/variables/CalCalculMultivariePage.h"

#include "app/ContexteEtude.h"
#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "framework/UtilArbre.h"
#include "gui/variables/LabelledItemTree.h"
#include "variables/ConstructionVariable.h"
#include "variables/DefinitionTexts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// Bitmap 174, the icon of the modalities in the question trees.
constexpr int kClassIcon = 10;

} // namespace

CCalCalculMultivariePage::CCalCalculMultivariePage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_tree(new LabelledItemTree("|", this)) {
    m_tree->setObjectName(QStringLiteral("1074"));
    m_tree->setMinimumSize(300, 220);
    m_tree->SetItemIcon(CUtilArbre().GetImage(kClassIcon));
    QVBoxLayout* buttons = m_tree->NewButtons(*this, "1008");
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
}

// Captions and numbers that do not pair up show no class: the opening has said why.
void CCalCalculMultivariePage::Charger(const CQuestionCalculee& definition) {
    std::vector<Message> ignored;
    m_tree->SetItems(DefinitionTexts::LireGroupes(definition.label, definition.themes, definition.definition, ignored));
}

bool CCalCalculMultivariePage::Verifier() {
    if (m_tree->topLevelItemCount() > 0)
        return true;
    m_context.GetUserInterface().ShowMessage(Message(StringTable::kAucuneModaliteDefinie),
                                             UserInterface::Icon::Warning);
    return false;
}

void CCalCalculMultivariePage::DonnerParties(PartiesVariable& parts) const {
    const auto items = m_tree->Items();
    parts.themes = DefinitionTexts::EcrireLibellesGroupes(items);
    parts.definition = DefinitionTexts::EcrireNumerosGroupes(items);
}
