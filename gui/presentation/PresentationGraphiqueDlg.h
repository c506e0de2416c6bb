#pragma once

#include "presentation/PresentationGraphique.h"
#include "gui/presentation/PresentationDlg.h"

class CChart2D;
class CPageGraphiqueGeneralDlg;
class CPageSeriesDlg;

// "Présentation des graphiques": the chart type, the zones and the series styles of a chart,
// on a working copy shown live on a sample chart. The caller takes GetPresentation back on OK.
class CPresentationGraphiqueDlg : public CPresentationDlg {
    Q_OBJECT

public:
    enum { IDD = 201 };

    explicit CPresentationGraphiqueDlg(const CPresentationGraphique& presentation, QWidget* parent = nullptr);

    const CPresentationGraphique& GetPresentation() const { return m_presentation; }

    CPageGraphiqueGeneralDlg& GetPageGeneral() const { return *m_general; }
    CPageSeriesDlg& GetPageSeries() const { return *m_series; }
    CChart2D& GetApercu() const { return *m_preview; }

protected:
    void EcrireDefauts() override;
    void ActualiserApercu() override;

private:
    CPresentationGraphique m_presentation;
    CChart2D* m_preview;
    CPageGraphiqueGeneralDlg* m_general;
    CPageSeriesDlg* m_series;
};
