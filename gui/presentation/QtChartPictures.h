#pragma once

#include "export/ChartPictures.h"

// The charts of RTF documents, drawn off screen as a chart window would show them.
class QtChartPictures final : public ChartPictures {
public:
    std::vector<std::uint8_t> DessinerGraphique(const CTableauBase& table) override;
};
