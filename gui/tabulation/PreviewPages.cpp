#include "gui/tabulation/PreviewPages.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QColor kBackground(128, 128, 128);
const QColor kShadow(64, 64, 64);
constexpr int kShadowOffset = 4;

} // namespace

PreviewPages::PreviewPages(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    QPalette grey = viewport()->palette();
    grey.setColor(QPalette::Window, kBackground);
    viewport()->setPalette(grey);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    UpdateScrollBars();
}

void PreviewPages::SetPages(int count, PageRecorder record, const QSizeF& paper,
                            const QPointF& printableOrigin, int resolution) {
    m_record = std::move(record);
    m_pages.clear();
    m_pages.resize(static_cast<std::size_t>(std::max(count, 0)));
    m_paper = paper;
    m_printableOrigin = printableOrigin;
    m_resolution = resolution;
    m_zoom = Zoom::kWholeSheets;
    UpdateScrollBars();
    viewport()->update();
}

const PrinterPicture* PreviewPages::GetPage(int page) {
    if (page < 1 || page > GetPageCount())
        return nullptr;
    std::unique_ptr<PrinterPicture>& recorded = m_pages[static_cast<std::size_t>(page - 1)];
    if (recorded == nullptr && m_record)
        recorded = m_record(page);
    return recorded.get();
}

int PreviewPages::GetRecordedPageCount() const {
    return static_cast<int>(
        std::count_if(m_pages.begin(), m_pages.end(),
                      [](const std::unique_ptr<PrinterPicture>& page) { return page != nullptr; }));
}

void PreviewPages::SetPagesShown(int count) {
    const int shown = std::clamp(count, 1, 2);
    const int first = GetFirstPageShown();
    m_pagesShown = shown;
    m_zoom = Zoom::kWholeSheets;
    UpdateScrollBars();
    ShowPage(first);
    viewport()->update();
    emit PagesShownChanged();
}

int PreviewPages::GetFirstPageShown() const {
    if (m_zoom != Zoom::kWholeSheets)
        return m_zoomedPage + 1;
    return verticalScrollBar()->value() + 1;
}

int PreviewPages::GetLastPageShown() const {
    return std::min(GetFirstPageShown() + PlacesShown() - 1, GetPageCount());
}

void PreviewPages::ShowPage(int page) {
    if (m_zoom != Zoom::kWholeSheets) {
        m_zoomedPage = std::clamp(page - 1, 0, std::max(GetPageCount() - 1, 0));
        viewport()->update();
        emit PagesShownChanged();
        return;
    }
    verticalScrollBar()->setValue(page - 1);
}

// Whole sheets: the vertical bar counts pages, and the last sheets fill the window (two sheets
// are never shown as one and an empty place). Zoomed in: both bars move over the one sheet.
void PreviewPages::UpdateScrollBars() {
    QScrollBar& vertical = *verticalScrollBar();
    QScrollBar& horizontal = *horizontalScrollBar();
    if (m_zoom == Zoom::kWholeSheets) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        horizontal.setRange(0, 0);
        vertical.setRange(0, std::max(GetPageCount() - m_pagesShown, 0));
        vertical.setSingleStep(1);
        vertical.setPageStep(m_pagesShown);
        return;
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QSizeF sheet = m_paper * SheetScale();
    const QSize room = viewport()->size();
    const auto overflow = [](double extent, int available) {
        return std::max(0, static_cast<int>(std::ceil(extent + 2 * kSpacing)) - available);
    };
    horizontal.setRange(0, overflow(sheet.width(), room.width()));
    horizontal.setPageStep(room.width());
    horizontal.setSingleStep(std::max(room.width() / 10, 1));
    vertical.setRange(0, overflow(sheet.height(), room.height()));
    vertical.setPageStep(room.height());
    vertical.setSingleStep(std::max(room.height() / 10, 1));
}

double PreviewPages::SheetScale() const {
    if (m_paper.isEmpty())
        return 0.0;
    if (m_zoom != Zoom::kWholeSheets) {
        // The sheet at its size on paper, or twice that, on this screen.
        const double realSize = m_resolution > 0 ? logicalDpiX() / static_cast<double>(m_resolution) : 1.0;
        return m_zoom == Zoom::kRealSize ? realSize : 2 * realSize;
    }
    const QSize room = viewport()->size();
    const double width = (room.width() - (m_pagesShown + 1.0) * kSpacing) / m_pagesShown;
    const double height = room.height() - 2.0 * kSpacing;
    return std::max(0.0, std::min(width / m_paper.width(), height / m_paper.height()));
}

QRectF PreviewPages::SheetRect(int index) const {
    if (index < 0 || index >= PlacesShown() || GetFirstPageShown() - 1 + index >= GetPageCount())
        return {};
    const QSizeF sheet = m_paper * SheetScale();
    if (m_zoom != Zoom::kWholeSheets) {
        // Centred while it is narrower (or lower) than the window, else moved by the bars.
        const QSize room = viewport()->size();
        const double left = sheet.width() + 2 * kSpacing <= room.width()
                                ? (room.width() - sheet.width()) / 2
                                : kSpacing - horizontalScrollBar()->value();
        const double top = sheet.height() + 2 * kSpacing <= room.height()
                               ? (room.height() - sheet.height()) / 2
                               : kSpacing - verticalScrollBar()->value();
        return QRectF(QPointF(left, top), sheet);
    }
    // The sheets shown are centred in the window together.
    const double allWidth = m_pagesShown * sheet.width() + (m_pagesShown - 1) * kSpacing;
    const double left = (viewport()->width() - allWidth) / 2 + index * (sheet.width() + kSpacing);
    const double top = (viewport()->height() - sheet.height()) / 2;
    return QRectF(QPointF(left, top), sheet);
}

void PreviewPages::ZoomAt(const QPoint& point) {
    if (m_zoom == Zoom::kDoubleSize) {
        const int page = m_zoomedPage + 1;
        m_zoom = Zoom::kWholeSheets;
        UpdateScrollBars();
        ShowPage(page);
        viewport()->update();
        emit PagesShownChanged();
        return;
    }
    // The point of the sheet under the click, as a share of the sheet, stays under the mouse.
    int index = -1;
    for (int place = 0; place < PlacesShown() && index < 0; ++place)
        if (SheetRect(place).contains(point))
            index = place;
    if (index < 0)
        return;
    const QRectF before = SheetRect(index);
    const QPointF share((point.x() - before.left()) / before.width(),
                        (point.y() - before.top()) / before.height());
    m_zoomedPage = GetFirstPageShown() - 1 + index;
    m_zoom = m_zoom == Zoom::kWholeSheets ? Zoom::kRealSize : Zoom::kDoubleSize;
    UpdateScrollBars();
    const QSizeF sheet = m_paper * SheetScale();
    horizontalScrollBar()->setValue(static_cast<int>(kSpacing + share.x() * sheet.width() - point.x()));
    verticalScrollBar()->setValue(static_cast<int>(kSpacing + share.y() * sheet.height() - point.y()));
    viewport()->update();
    emit PagesShownChanged();
}

void PreviewPages::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale = SheetScale();
    for (int index = 0; index < PlacesShown(); ++index) {
        const QRectF sheet = SheetRect(index);
        if (sheet.isEmpty())
            continue;
        const PrinterPicture* page = GetPage(GetFirstPageShown() + index);
        painter.fillRect(sheet.translated(kShadowOffset, kShadowOffset), kShadow);
        painter.fillRect(sheet, Qt::white);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(sheet);
        painter.save();
        painter.setClipRect(sheet);
        painter.translate(sheet.topLeft());
        painter.scale(scale, scale);
        painter.translate(m_printableOrigin);
        if (page != nullptr)
            painter.drawPicture(0, 0, *page);
        painter.restore();
    }
}

void PreviewPages::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    viewport()->update();
}

void PreviewPages::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
    emit PagesShownChanged();
}

void PreviewPages::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        ZoomAt(event->position().toPoint());
    QAbstractScrollArea::mousePressEvent(event);
}
