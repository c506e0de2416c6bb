#include "gui/statistics/GenererVariableDlg.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "gui/requests/SelectionButtons.h"
#include "variables/ConstructionVariable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

CGenererVariableDlg::CGenererVariableDlg(const CContexteEtude& context, int axes, QWidget* parent)
    : QDialog(parent), m_context(context), m_labelEdit(new QLineEdit(this)), m_results(new QComboBox(this)),
      m_axisSpin(new QSpinBox(this)) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Générer une variable"));
    m_labelEdit->setObjectName(QString::number(kLibelle));
    m_results->setObjectName(QString::number(kResultat));
    m_results->addItems({QStringLiteral("Coordonnées des lignes"), QStringLiteral("Qualité des lignes"),
                         QStringLiteral("Contribution des lignes")});
    m_results->setCurrentIndex(-1);
    m_axisSpin->setObjectName(QString::number(kAxe));
    m_axisSpin->setRange(1, std::max(axes, 1));
    m_axisSpin->setValue(1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Libellé :"), m_labelEdit);
    form->addRow(QStringLiteral("Résultat :"), m_results);
    form->addRow(QStringLiteral("Axe :"), m_axisSpin);
    m_labelEdit->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddOkCancelButtons(*this, *layout);
}

void CGenererVariableDlg::accept() {
    const std::string label = m_labelEdit->text().trimmed().toStdString();
    Message refused = CConstructionVariable::VerifierLibelle(m_context, label, nullptr);
    if (refused.id == 0 && m_results->currentIndex() < 0)
        refused = Message(StringTable::kSelectionnerElement);
    if (refused.id != 0) {
        m_context.GetUserInterface().ShowMessage(refused, UserInterface::Icon::Warning);
        return;
    }
    m_label = label;
    m_result = static_cast<Resultat>(m_results->currentIndex());
    m_axis = m_axisSpin->value() - 1;
    QDialog::accept();
}
