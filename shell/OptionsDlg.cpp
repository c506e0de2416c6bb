#include "shell/OptionsDlg.h"

#include "app/Registre.h"
#include "gui/requests/SelectionButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(QWidget* parent)
    : QDialog(parent),
      m_checkInversion(new QCheckBox(
          QStringLiteral("Vérifier le nombre d'interviews dans les fichiers inversés à l'ouverture"), this)),
      m_useCompletedOnly(new QCheckBox(QStringLiteral("N'utiliser que les interviews completées (cette option ne "
                                                      "sera prise en compte qu'à la réouverture du fichier)"),
                                       this)),
      m_totalTypeCombo(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Options"));
    m_totalTypeCombo->addItem(QStringLiteral("Somme des modalités"));
    m_totalTypeCombo->addItem(QStringLiteral("Total des interviews"));
    auto* totalLabel = new QLabel(QStringLiteral("Ligne de total sur les tris plats:"), this);
    totalLabel->setBuddy(m_totalTypeCombo);
    auto* total = new QHBoxLayout;
    total->addWidget(totalLabel);
    total->addWidget(m_totalTypeCombo);
    total->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_checkInversion);
    layout->addWidget(m_useCompletedOnly);
    layout->addLayout(total);
    QDialogButtonBox* buttons = AddOkCancelButtons(*this, *layout);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);

    m_checkInversion->setChecked(CRegistre::GetCheckInversion());
    m_useCompletedOnly->setChecked(CRegistre::GetUseCompletedOnly());
    m_totalTypeCombo->setCurrentIndex(CRegistre::GetTotalType());
}

void COptionsDlg::accept() {
    m_totalType = m_totalTypeCombo->currentIndex();
    CRegistre::SetCheckInversion(m_checkInversion->isChecked());
    CRegistre::SetUseCompletedOnly(m_useCompletedOnly->isChecked());
    CRegistre::SetTotalType(m_totalType);
    QDialog::accept();
}
