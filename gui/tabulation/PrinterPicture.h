#pragma once

#include <QPicture>
#include <array>

// A recording of one printed page, made with the measures of the printer it stands for: a
// painter on it sees the printer's resolution and page size, so that fonts are made and texts laid
// out as on the printer itself, and the page can then be shown at any size on the screen.
class PrinterPicture : public QPicture {
public:
    // Takes the printer's measures; the printer need not outlive the picture.
    explicit PrinterPicture(const QPaintDevice& printer);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::array<int, PdmDevicePixelRatioScaled + 1> m_metrics{};
};
