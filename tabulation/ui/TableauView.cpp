#include "tabulation/ui/TableauView.h"

#include "tabulation/ui/QtFontMetricsSource.h"
#include "tabulation/ui/TableLayout.h"
#include "tabulation/ui/TablePainter.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace {
constexpr int kScrollLine = 20;
} // namespace

CTableauView::CTableauView(QWidget* parent) : QAbstractScrollArea(parent) {
    // A table is a page: white under the records' own text colours, whatever the desktop's theme.
    QPalette page = viewport()->palette();
    page.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(page);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    OnInitialUpdate();
}

CTableauView::~CTableauView() = default;

void CTableauView::OnInitialUpdate() {
    m_cellSizeMode = CellSizeMode::kVariable;
    m_screenLayout.reset();
    m_layoutDirty = true;
    SetScrollSizes(kInitialScrollSize, kInitialScrollSize);
}

const CTableauBase& CTableauView::GetTableau() const {
    return m_ownTable;
}

void CTableauView::SetTableau(const CTableau& table) {
    m_ownTable = table;
    Invalider();
}

void CTableauView::SetPresentation(const CPresentationTableau& presentation) {
    m_ownTable.SetPresentation(presentation);
    Invalider();
}

void CTableauView::Invalider() {
    m_layoutDirty = true;
    viewport()->update();
}

void CTableauView::OnTailleCellulesFixes() {
    SetCellSizeMode(CellSizeMode::kFixed);
}

void CTableauView::OnTailleCellulesVariables() {
    SetCellSizeMode(CellSizeMode::kVariable);
}

void CTableauView::SetCellSizeMode(CellSizeMode mode) {
    if (mode == m_cellSizeMode)
        return;
    m_cellSizeMode = mode;
    Invalider();
}

const TableLayout& CTableauView::ScreenLayout() {
    if (m_layoutDirty || !m_screenLayout)
        CalculerMiseEnPageEcran();
    return *m_screenLayout;
}

void CTableauView::CalculerMiseEnPageEcran() {
    TableLayoutOptions options;
    options.cellSizeMode = m_cellSizeMode;
    options.availableWidth = viewport()->width();
    options.tableTopGap = kTableTop;
    options.cellMargin = kCellMargin;
    options.leftMargin = kLeftMargin;
    const QtFontMetricsSource metrics(viewport());
    m_screenLayout = std::make_unique<TableLayout>(TableLayout::Compute(GetTableau(), metrics, options));
    m_layoutDirty = false;
    // The scroll bars may come or go with the new extent and change the width the layout was
    // made for: they are set once this paint is over, and a new width lays the table out again.
    const int width = m_screenLayout->ScrollWidth();
    const int height = m_screenLayout->ScrollHeight();
    QMetaObject::invokeMethod(
        this, [this, width, height] { SetScrollSizes(width, height); }, Qt::QueuedConnection);
}

void CTableauView::SetScrollSizes(int width, int height) {
    m_scrollWidth = width;
    m_scrollHeight = height;
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, width - visible.width()));
    horizontalScrollBar()->setPageStep(std::max(1, visible.width()));
    horizontalScrollBar()->setSingleStep(kScrollLine);
    verticalScrollBar()->setRange(0, std::max(0, height - visible.height()));
    verticalScrollBar()->setPageStep(std::max(1, visible.height()));
    verticalScrollBar()->setSingleStep(kScrollLine);
}

void CTableauView::resizeEvent(QResizeEvent* event) {
    const int width = viewport()->width();
    if (m_cellSizeMode == CellSizeMode::kVariable && width != m_lastWidth)
        m_layoutDirty = true;
    m_lastWidth = width;
    SetScrollSizes(m_scrollWidth, m_scrollHeight);
    QAbstractScrollArea::resizeEvent(event);
}

void CTableauView::scrollContentsBy(int, int) {
    viewport()->update();
}

// The paint that finds the layout dirty lays the table out and draws it at once; drawing only
// after a second paint would show an empty window for a moment at every change.
void CTableauView::paintEvent(QPaintEvent* event) {
    const TableLayout& layout = ScreenLayout();
    QPainter painter(viewport());
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scroll);
    const QRect area = event->rect().translated(scroll);
    TablePainter(layout, GetTableau().GetPresentation()).Paint(painter, area);
}
