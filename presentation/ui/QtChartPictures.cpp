#include "presentation/ui/QtChartPictures.h"

#include "presentation/ui/GraphiqueHorsEcran.h"

std::vector<std::uint8_t> QtChartPictures::DessinerGraphique(const CTableauBase& table)
{
    CGraphiqueHorsEcran chart;
    chart.SetTableau(table);
    return chart.DonnerPng(2);
}
