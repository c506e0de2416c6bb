#include "presentation/ui/PresentationMappingDlg.h"

#include "app/Registre.h"
#include "presentation/ui/PageMappingGeneralDlg.h"
#include "presentation/ui/PagePointsMappingDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CPresentationMappingDlg::CPresentationMappingDlg(const CPresentationMapping& presentation, QWidget* parent)
    : QDialog(parent), m_working(presentation) {
    setWindowTitle(QStringLiteral("Mappings"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    m_default = new QCheckBox(QStringLiteral("&Définir par défaut"), this);
    layout->addWidget(m_default);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPresentationMappingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    CreerPages();
}

CPresentationMappingDlg::~CPresentationMappingDlg() = default;

void CPresentationMappingDlg::CreerPages() {
    m_tabs->clear();
    delete m_general;
    delete m_points[0];
    delete m_points[1];
    m_general = new CPageMappingGeneralDlg(m_working, m_tabs);
    m_points[0] = new CPagePointsMappingDlg(m_working, CPresentationMapping::kRowPoints, m_tabs);
    m_points[1] = new CPagePointsMappingDlg(m_working, CPresentationMapping::kColumnPoints, m_tabs);
    m_tabs->addTab(m_general, QStringLiteral("Général"));
    m_tabs->addTab(m_points[0], QStringLiteral("Lignes"));
    m_tabs->addTab(m_points[1], QStringLiteral("Colonnes"));
    m_tabs->setCurrentIndex(0);
}

void CPresentationMappingDlg::SetPresentation(const CPresentationMapping& presentation) {
    m_working = presentation;
    CreerPages();
}

CPagePointsMappingDlg& CPresentationMappingDlg::GetPagePoints(CPresentationMapping::PointSet set) const {
    return *m_points[set == CPresentationMapping::kColumnPoints ? 1 : 0];
}

void CPresentationMappingDlg::accept() {
    if (m_default->isChecked())
        CRegistre::WritePresentationMapping(m_working);
    QDialog::accept();
}
