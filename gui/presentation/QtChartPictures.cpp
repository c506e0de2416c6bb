#include "gui/presentation/QtChartPictures.h"

#include "gui/presentation/GraphiqueHorsEcran.h"

std::vector<std::uint8_t> QtChartPictures::DessinerGraphique(const CTableauBase& table)
{
    CGraphiqueHorsEcran chart;
    chart.SetTableau(table);
    return chart.DonnerPng(2);
}
