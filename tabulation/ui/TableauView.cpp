#include "tabulation/ui/TableauView.h"

#include "framework/CmdUI.h"
#include "framework/MDIChildWnd.h"
#include "tabulation/ui/QtFontMetricsSource.h"
#include "tabulation/ui/TableLayout.h"
#include "tabulation/ui/TablePainter.h"
#include "tabulation/ui/TableauDoc.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {

struct ContextMenuEntry {
    unsigned id;
    const char* text;
};

constexpr ContextMenuEntry kContextMenu[] = {
    {CTableauView::kTailleCellulesFixes, "Taille des cellules fixes"},
    {CTableauView::kTailleCellulesVariables, "Taille des cellules variables"},
};

} // namespace

const CommandEntry<CTableauView> CTableauView::kCommandMap[] = {
    {kTailleCellulesFixes, &CTableauView::OnTailleCellulesFixes, &CTableauView::OnUpdateTailleCellulesFixes},
    {kTailleCellulesVariables, &CTableauView::OnTailleCellulesVariables,
     &CTableauView::OnUpdateTailleCellulesVariables},
};

CTableauView::CTableauView(QWidget* parent) : CScrollView(parent) {
    // A table is a page: white under the records' own text colours, whatever the desktop's theme.
    QPalette page = viewport()->palette();
    page.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(page);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    CTableauView::OnInitialUpdate();
}

CTableauView::~CTableauView() = default;

void CTableauView::OnInitialUpdate() {
    m_cellSizeMode = CellSizeMode::kVariable;
    m_screenLayout.reset();
    m_layoutDirty = true;
    SetScrollSizes(QSize(kInitialScrollSize, kInitialScrollSize));
}

void CTableauView::OnUpdate(CView* /*sender*/, int /*hint*/) {
    Invalider();
}

const CTableauBase& CTableauView::GetTableau() const {
    const CTableauDoc* document = GetTableauDoc();
    if (document != nullptr && document->GetTableau() != nullptr)
        return *document->GetTableau();
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

void CTableauView::OnUpdateTailleCellulesFixes(CCmdUI& ui) {
    ui.Enable();
    ui.SetCheck(m_cellSizeMode == CellSizeMode::kFixed ? 1 : 0);
}

void CTableauView::OnUpdateTailleCellulesVariables(CCmdUI& ui) {
    ui.Enable();
    ui.SetCheck(m_cellSizeMode == CellSizeMode::kVariable ? 1 : 0);
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
    // A reader must never see a word or a number cut in two: a window too narrow for the table's
    // words scrolls sideways instead.
    options.keepWordsWhole = true;
    const QtFontMetricsSource metrics(viewport());
    m_screenLayout = std::make_unique<TableLayout>(TableLayout::Compute(GetTableau(), metrics, options));
    m_layoutDirty = false;
    // The scroll bars may come or go with the new extent and change the width the layout was
    // made for: they are set once this paint is over, and a new width lays the table out again.
    const QSize extent(m_screenLayout->ScrollWidth(), m_screenLayout->ScrollHeight());
    QMetaObject::invokeMethod(
        this, [this, extent] { SetScrollSizes(extent); }, Qt::QueuedConnection);
}

std::unique_ptr<QMenu> CTableauView::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>();
    auto* modes = new QActionGroup(menu.get());
    for (const ContextMenuEntry& entry : kContextMenu) {
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        modes->addAction(action);
        CCmdUI state(entry.id);
        state.DoUpdate(*this);
        action->setEnabled(state.IsEnabled());
        action->setCheckable(true);
        action->setChecked(state.GetCheck().value_or(0) != 0);
        const unsigned id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id, CmdMsg::kCommand, nullptr); });
    }
    return menu;
}

bool CTableauView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) ||
           CScrollView::HandleOwnCommand(id, kind, ui);
}

// The paint that finds the layout dirty lays the table out and draws it at once; drawing only
// after a second paint would show an empty window for a moment at every change.
void CTableauView::OnDraw(QPainter& painter) {
    const TableLayout& layout = ScreenLayout();
    const QRect visible(GetScrollPosition(), viewport()->size());
    const QRect area = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() & visible : visible;
    TablePainter(layout, GetTableau().GetPresentation()).Paint(painter, area);
}

void CTableauView::resizeEvent(QResizeEvent* event) {
    const int width = viewport()->width();
    if (m_cellSizeMode == CellSizeMode::kVariable && width != m_lastWidth)
        m_layoutDirty = true;
    m_lastWidth = width;
    CScrollView::resizeEvent(event);
}

void CTableauView::mousePressEvent(QMouseEvent* event) {
    // A table window comes to the front when clicked, as a document's view does; a view without a
    // document (a preview inside a dialog) keeps the usual behaviour.
    if (GetDocument() != nullptr) {
        CMDIChildWnd* frame = GetParentFrame();
        if (frame != nullptr && frame->mdiArea() != nullptr)
            frame->mdiArea()->setActiveSubWindow(frame);
    }
    if (event->button() != Qt::RightButton) {
        CScrollView::mousePressEvent(event);
        return;
    }
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    menu->exec(event->globalPosition().toPoint());
}

CTableauDoc* CTableauView::GetTableauDoc() const {
    return dynamic_cast<CTableauDoc*>(GetDocument());
}
