#pragma once

#include "gui/tabulation/PrinterPicture.h"

#include <QAbstractScrollArea>
#include <QPointF>
#include <QSizeF>
#include <functional>
#include <memory>
#include <vector>

class QMouseEvent;

// The printed pages as a print preview shows them: one or two sheets side by side, each as large
// as the window allows, white on grey, with the printed drawing at its place on the sheet. The
// vertical scroll bar (and the wheel, the arrows and the page keys) goes from page to page.
//
// Each page is drawn when it is first shown, and kept: a preview of a hundred pages opens on its
// first as fast as on a page alone.
//
// A click on a sheet zooms in on the point clicked, as a print preview does: first to the sheet's
// real size, then to twice that, and a third click shows the whole sheets again. Zoomed in, one
// sheet is shown and the scroll bars move over it.
class PreviewPages : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Space around and between the sheets, in pixels.
    static constexpr int kSpacing = 16;

    enum class Zoom { kWholeSheets, kRealSize, kDoubleSize };

    explicit PreviewPages(QWidget* parent = nullptr);

    // Draws page `page` (from 1) on a recording of the printer; null when it cannot.
    using PageRecorder = std::function<std::unique_ptr<PrinterPicture>(int page)>;

    // `count` pages, each recorded by `record` when it is first shown; `paper` is the sheet's size
    // and `printableOrigin` the top-left corner of its printable area, both in the printer's units,
    // `resolution` its units per inch.
    void SetPages(int count, PageRecorder record, const QSizeF& paper, const QPointF& printableOrigin,
                  int resolution);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    // Page `page` (from 1), recorded first when it has not been; null when it cannot be.
    const PrinterPicture* GetPage(int page);
    // The pages recorded so far.
    int GetRecordedPageCount() const;

    // 1 or 2 sheets at once; whole sheets again.
    void SetPagesShown(int count);
    int GetPagesShown() const { return m_pagesShown; }
    // The first sheet shown, from 1.
    int GetFirstPageShown() const;
    // The last sheet shown: the first when zoomed in.
    int GetLastPageShown() const;
    void ShowPage(int page);

    Zoom GetZoom() const { return m_zoom; }
    // As a click at `point` of the window does: zooms in on it, or back to whole sheets.
    void ZoomAt(const QPoint& point);

    // Where sheet `index` (0 for the first shown) stands in the window, in pixels; empty when there
    // is no sheet there.
    QRectF SheetRect(int index) const;

signals:
    void PagesShownChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void UpdateScrollBars();
    // Pixels per printer unit.
    double SheetScale() const;
    int PlacesShown() const { return m_zoom == Zoom::kWholeSheets ? m_pagesShown : 1; }

    PageRecorder m_record;
    // Null until the page is first shown.
    std::vector<std::unique_ptr<PrinterPicture>> m_pages;
    QSizeF m_paper;
    QPointF m_printableOrigin;
    int m_resolution = 0;
    int m_pagesShown = 1;
    Zoom m_zoom = Zoom::kWholeSheets;
    // The sheet shown zoomed in, from 0.
    int m_zoomedPage = 0;
};
