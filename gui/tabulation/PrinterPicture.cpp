#include "gui/tabulation/PrinterPicture.h"

PrinterPicture::PrinterPicture(const QPaintDevice& printer) {
    m_metrics[PdmWidth] = printer.width();
    m_metrics[PdmHeight] = printer.height();
    m_metrics[PdmWidthMM] = printer.widthMM();
    m_metrics[PdmHeightMM] = printer.heightMM();
    m_metrics[PdmNumColors] = printer.colorCount();
    m_metrics[PdmDepth] = printer.depth();
    m_metrics[PdmDpiX] = printer.logicalDpiX();
    m_metrics[PdmDpiY] = printer.logicalDpiY();
    m_metrics[PdmPhysicalDpiX] = printer.physicalDpiX();
    m_metrics[PdmPhysicalDpiY] = printer.physicalDpiY();
    m_metrics[PdmDevicePixelRatio] = 1;
    m_metrics[PdmDevicePixelRatioScaled] = static_cast<int>(QPaintDevice::devicePixelRatioFScale());
}

int PrinterPicture::metric(PaintDeviceMetric metric) const {
    if (metric < 0 || static_cast<std::size_t>(metric) >= m_metrics.size())
        return QPicture::metric(metric);
    return m_metrics[static_cast<std::size_t>(metric)];
}
