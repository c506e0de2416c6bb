#include "gui/variables/CalRedressementPage.h"

#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "gui/recodes/RedressementDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "platform/questionnaire/StaticTools.h"
#include "variables/ConstructionVariable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <memory>
#include <vector>

CCalRedressementPage::CCalRedressementPage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_weightings(new QComboBox(this)),
      m_edit(new QPushButton(QStringLiteral("..."), this)) {
    m_weightings->setObjectName(QStringLiteral("1064"));
    m_weightings->setMinimumWidth(240);
    m_edit->setObjectName(QStringLiteral("1172"));
    auto* caption =
        new QLabel(QString::fromStdString(StringTable::Text(StringTable::kRedressementLibelle) + ":"), this);
    caption->setBuddy(m_weightings);
    auto* row = new QHBoxLayout();
    row->addWidget(caption);
    row->addWidget(m_weightings, 1);
    row->addWidget(m_edit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addStretch(1);
    Remplir(-1);
    connect(m_weightings, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_code = index >= 0 ? m_weightings->itemData(index).toInt() : -1; });
    connect(m_edit, &QPushButton::clicked, this, &CCalRedressementPage::OnEditer);
}

void CCalRedressementPage::Remplir(std::int32_t code) {
    const QSignalBlocker quiet(m_weightings);
    m_weightings->clear();
    std::vector<std::unique_ptr<CIdName>> list;
    m_context.DonnerListeRedressements(list);
    for (const auto& entry : list)
        if (entry != nullptr)
            m_weightings->addItem(QString::fromStdString(entry->name), entry->id);
    const int index = m_weightings->findData(code);
    m_code = index >= 0 ? code : -1;
    m_weightings->setCurrentIndex(index >= 0 ? index : 0);
}

void CCalRedressementPage::OnEditer() {
    CRedressementDlg dialog(m_context, m_code, SelecteursRedressement(), this);
    std::int32_t code = m_code;
    if (dialog.exec() == QDialog::Accepted) {
        std::string name;
        dialog.DonnerRedressementChoisi(code, name);
    }
    Remplir(code);
}

// The stored weighting is shown and kept, not read again from the captions.
void CCalRedressementPage::Charger(const CQuestionCalculee& definition) {
    std::int32_t code = -1;
    if (CStaticTools::EstLong(definition.definition, code))
        Remplir(code);
}

bool CCalRedressementPage::Verifier() {
    if (m_code != -1)
        return true;
    m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerRedressement),
                                             UserInterface::Icon::Warning);
    return false;
}

void CCalRedressementPage::DonnerParties(PartiesVariable& parts) const {
    parts.definition = std::to_string(m_code);
}
