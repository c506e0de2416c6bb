#include "gui/variables/CalScriptPanneau.h"

#include "app/QuestionCalculee.h"
#include "variables/ConstructionVariable.h"
#include "gui/variables/CalExpressionPage.h"

#include <QLabel>
#include <QVBoxLayout>

CCalScriptPanneau::CCalScriptPanneau(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_page(new CCalExpressionPage(context, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Script :"), this);
    caption->setBuddy(m_page);
    layout->addWidget(caption);
    layout->addWidget(m_page, 1);
}

void CCalScriptPanneau::Charger(const CQuestionCalculee& definition) {
    m_page->SetText(QString::fromStdString(definition.DonnerDefinition()));
}

bool CCalScriptPanneau::Verifier() {
    return m_page->CompilerTexte();
}

void CCalScriptPanneau::DonnerParties(PartiesVariable& parts) const {
    parts.definition = m_page->GetText().toStdString();
}
