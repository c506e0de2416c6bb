#pragma once

#include "presentation/PresentationMapping.h"

#include <QDialog>

class CPageMappingGeneralDlg;
class CPagePointsMappingDlg;
class QCheckBox;
class QTabWidget;

// "Mappings": the presentation of a map on three tabs, "Général", "Lignes" (row points) and
// "Colonnes" (column points). The pages edit a working copy; OK leaves it in GetPresentation and,
// with "Définir par défaut" checked, saves it as the user's defaults. Cancel changes nothing.
class CPresentationMappingDlg : public QDialog {
    Q_OBJECT

public:
    explicit CPresentationMappingDlg(const CPresentationMapping& presentation, QWidget* parent = nullptr);
    ~CPresentationMappingDlg() override;

    void SetPresentation(const CPresentationMapping& presentation);
    const CPresentationMapping& GetPresentation() const { return m_working; }

    QTabWidget& GetOnglets() const { return *m_tabs; }
    CPageMappingGeneralDlg& GetPageGeneral() const { return *m_general; }
    CPagePointsMappingDlg& GetPagePoints(CPresentationMapping::PointSet set) const;
    QCheckBox& GetDefinirParDefaut() const { return *m_default; }

    void accept() override;

private:
    void CreerPages();

    CPresentationMapping m_working;
    QTabWidget* m_tabs = nullptr;
    CPageMappingGeneralDlg* m_general = nullptr;
    CPagePointsMappingDlg* m_points[2] = {nullptr, nullptr};
    QCheckBox* m_default = nullptr;
};
