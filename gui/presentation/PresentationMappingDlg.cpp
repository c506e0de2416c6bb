#include "gui/presentation/PresentationMappingDlg.h"

#include "app/Registre.h"
#include "gui/presentation/PageMappingGeneralDlg.h"
#include "gui/presentation/PagePointsMappingDlg.h"

#include <QTabWidget>

CPresentationMappingDlg::CPresentationMappingDlg(const CPresentationMapping& presentation, QWidget* parent)
    : CPresentationDlg(QStringLiteral("Mappings"), parent), m_working(presentation) {
    CreerPages();
}

CPresentationMappingDlg::~CPresentationMappingDlg() = default;

void CPresentationMappingDlg::CreerPages() {
    GetOnglets().clear();
    delete m_general;
    delete m_points[0];
    delete m_points[1];
    m_general = new CPageMappingGeneralDlg(m_working, &GetOnglets());
    m_points[0] = new CPagePointsMappingDlg(m_working, CPresentationMapping::kRowPoints, &GetOnglets());
    m_points[1] = new CPagePointsMappingDlg(m_working, CPresentationMapping::kColumnPoints, &GetOnglets());
    AjouterPage(m_general, QStringLiteral("Général"));
    AjouterPage(m_points[0], QStringLiteral("Lignes"));
    AjouterPage(m_points[1], QStringLiteral("Colonnes"));
    GetOnglets().setCurrentIndex(0);
}

void CPresentationMappingDlg::SetPresentation(const CPresentationMapping& presentation) {
    m_working = presentation;
    CreerPages();
}

CPagePointsMappingDlg& CPresentationMappingDlg::GetPagePoints(CPresentationMapping::PointSet set) const {
    return *m_points[set == CPresentationMapping::kColumnPoints ? 1 : 0];
}

void CPresentationMappingDlg::EcrireDefauts() {
    CRegistre::WritePresentationMapping(m_working);
}
