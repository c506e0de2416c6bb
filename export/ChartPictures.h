#pragma once

#include <cstdint>
#include <vector>

class CTableauBase;

// What draws a table's chart as a PNG picture for the RTF writer. Charts are painted with the
// windows, above the exports: the program installs its painter at start-up and removes it before
// it goes. The picture has the proportions of its place in the document (158:105) and twice
// the pixels a chart window of that size would have.
class ChartPictures {
public:
    virtual ~ChartPictures() = default;
    virtual std::vector<std::uint8_t> DessinerGraphique(const CTableauBase& table) = 0;

    // Not owned; null for none.
    static void Install(ChartPictures* pictures);
    static ChartPictures* Installed();

protected:
    ChartPictures() = default;
    ChartPictures(const ChartPictures&) = default;
    ChartPictures& operator=(const ChartPictures&) = default;
};
