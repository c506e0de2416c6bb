#include "gui/presentation/PresentationGraphiqueDlg.h"

#include "app/Registre.h"
#include "presentation/ChartSample.h"
#include "gui/presentation/Chart2D.h"
#include "gui/presentation/PageGraphiqueGeneralDlg.h"
#include "gui/presentation/PageSeriesDlg.h"

CPresentationGraphiqueDlg::CPresentationGraphiqueDlg(const CPresentationGraphique& presentation, QWidget* parent)
    : CPresentationDlg(QStringLiteral("Présentation des graphiques"), parent), m_presentation(presentation),
      m_preview(new CChart2D(this)), m_general(new CPageGraphiqueGeneralDlg(m_presentation, this)),
      m_series(new CPageSeriesDlg(m_presentation, this))
{
    m_preview->setObjectName(QStringLiteral("1029"));
    m_preview->setMinimumSize(360, 260);
    AjouterPage(m_general, QStringLiteral("Général"));
    AjouterPage(m_series, QStringLiteral("Séries"));
    SetApercu(m_preview);
    connect(m_general, &CPageGraphiqueGeneralDlg::Modifie, this, &CPresentationDlg::PageModifiee);
    connect(m_series, &CPageSeriesDlg::Modifie, this, &CPresentationDlg::PageModifiee);
    m_preview->Modifier([this](ChartModel& chart) { ChartSample::Remplir(chart, m_presentation); });
}

void CPresentationGraphiqueDlg::EcrireDefauts()
{
    CRegistre::WritePresentationGraphique(m_presentation);
}

void CPresentationGraphiqueDlg::ActualiserApercu()
{
    m_preview->Modifier([this](ChartModel& chart) { ChartSample::Appliquer(chart, m_presentation); });
}
