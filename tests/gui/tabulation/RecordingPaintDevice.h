#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <array>
#include <vector>

// A page that keeps what is drawn on it: every piece of text with the rectangle it takes on the
// device, after the painter's transformation. It has the measures of the device it stands for (a
// printer), so that a painter on it makes its fonts and lays its texts out as on that device.
class RecordingPaintDevice final : public QPaintDevice {
public:
    struct DrawnText {
        QString text;
        QRectF rect;
    };

    explicit RecordingPaintDevice(const QPaintDevice& model) : m_engine(*this) {
        m_metrics[PdmWidth] = model.width();
        m_metrics[PdmHeight] = model.height();
        m_metrics[PdmWidthMM] = model.widthMM();
        m_metrics[PdmHeightMM] = model.heightMM();
        m_metrics[PdmNumColors] = model.colorCount();
        m_metrics[PdmDepth] = model.depth();
        m_metrics[PdmDpiX] = model.logicalDpiX();
        m_metrics[PdmDpiY] = model.logicalDpiY();
        m_metrics[PdmPhysicalDpiX] = model.physicalDpiX();
        m_metrics[PdmPhysicalDpiY] = model.physicalDpiY();
        m_metrics[PdmDevicePixelRatio] = 1;
        m_metrics[PdmDevicePixelRatioScaled] = static_cast<int>(devicePixelRatioFScale());
    }

    QPaintEngine* paintEngine() const override { return &m_engine; }

    std::vector<DrawnText> texts;

protected:
    int metric(PaintDeviceMetric metric) const override {
        return m_metrics[static_cast<std::size_t>(metric)];
    }

private:
    class Engine final : public QPaintEngine {
    public:
        explicit Engine(RecordingPaintDevice& device) : QPaintEngine(AllFeatures), m_device(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& position, const QTextItem& item) override {
            const QRectF local(position.x(), position.y() - item.ascent(), item.width(),
                               item.ascent() + item.descent());
            m_device.texts.push_back({item.text(), painter()->combinedTransform().mapRect(local)});
        }
        Type type() const override { return User; }

    private:
        RecordingPaintDevice& m_device;
    };

    mutable Engine m_engine;
    std::array<int, PdmDevicePixelRatioScaled + 1> m_metrics{};
};
