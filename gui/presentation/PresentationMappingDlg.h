#pragma once

#include "presentation/PresentationMapping.h"

#include "gui/presentation/PresentationDlg.h"

class CPageMappingGeneralDlg;
class CPagePointsMappingDlg;

// "Mappings": the presentation of a map on three tabs, "Général", "Lignes" (row points) and
// "Colonnes" (column points). The pages edit a working copy; OK leaves it in GetPresentation and,
// with "Définir par défaut" checked, saves it as the user's defaults. Cancel changes nothing.
class CPresentationMappingDlg : public CPresentationDlg {
    Q_OBJECT

public:
    explicit CPresentationMappingDlg(const CPresentationMapping& presentation, QWidget* parent = nullptr);
    ~CPresentationMappingDlg() override;

    void SetPresentation(const CPresentationMapping& presentation);
    const CPresentationMapping& GetPresentation() const { return m_working; }

    CPageMappingGeneralDlg& GetPageGeneral() const { return *m_general; }
    CPagePointsMappingDlg& GetPagePoints(CPresentationMapping::PointSet set) const;

private:
    void CreerPages();
    void EcrireDefauts() override;
    // The row and column pages show their own previews.
    void ActualiserApercu() override {}

    CPresentationMapping m_working;
    CPageMappingGeneralDlg* m_general = nullptr;
    CPagePointsMappingDlg* m_points[2] = {nullptr, nullptr};
};
