#include "gui/tabulation/TableauView.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "export/TableExports.h"
#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "framework/PageSetup.h"
#include "framework/QtUserInterface.h"
#include "gui/tabulation/PrintedTable.h"
#include "gui/tabulation/QtFontMetricsSource.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TablePainter.h"
#include "gui/tabulation/TableauDoc.h"
#include "gui/tabulation/TableauPreviewView.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QUrl>
#include <algorithm>

namespace {

struct ContextMenuEntry {
    unsigned id;
    const char* text;
    // The cell-size modes are marked as radio items; 0 ends a group with a separator.
    bool mode;
};

constexpr ContextMenuEntry kContextMenu[] = {
    {CTableauView::kTailleCellulesFixes, "Taille des cellules fixes", true},
    {CTableauView::kTailleCellulesVariables, "Taille des cellules variables", true},
    {0, nullptr, false},
    {CTableauView::kExporterWord, "Exporter vers Word...", false},
    {CTableauView::kExporterExcel, "Exporter vers Excel...", false},
    {CTableauView::kExporterAscii, "Exporter en Ascii...", false},
};

// The user the view talks to: the study's, or message boxes over the view when no study is open.
UserInterface& Utilisateur(QWidget* parent, std::unique_ptr<QtUserInterface>& fallback) {
    if (CContexteEtude* context = GetContexte())
        return context->GetUserInterface();
    fallback = std::make_unique<QtUserInterface>(parent);
    return *fallback;
}

void Signaler(QWidget* parent, const Message& message) {
    std::unique_ptr<QtUserInterface> fallback;
    Utilisateur(parent, fallback).ShowMessage(message, UserInterface::Icon::Warning);
}

// The filter of a file dialog from the string table's "Name (*.ext)|*.ext|" form, and the
// extension it gives a name typed without one.
QString ExtensionDuFiltre(int filterId) {
    const QString pattern =
        QString::fromStdString(StringTable::Text(filterId)).section(QLatin1Char('|'), 1, 1);
    return pattern.section(QLatin1Char('.'), -1);
}

} // namespace

const CommandEntry<CTableauView> CTableauView::kCommandMap[] = {
    {kTailleCellulesFixes, &CTableauView::OnTailleCellulesFixes, &CTableauView::OnUpdateTailleCellulesFixes},
    {kTailleCellulesVariables, &CTableauView::OnTailleCellulesVariables,
     &CTableauView::OnUpdateTailleCellulesVariables},
    {FrameworkCommands::kFilePrint, &CTableauView::OnFilePrint, nullptr},
    {FrameworkCommands::kFilePrintPreview, &CTableauView::OnFilePrintPreview, nullptr},
    {kExporterWord, &CTableauView::OnExporterWord, &CTableauView::OnUpdateExporter},
    {kExporterExcel, &CTableauView::OnExporterExcel, &CTableauView::OnUpdateExporter},
    {kExporterAscii, &CTableauView::OnExporterAscii, &CTableauView::OnUpdateExporter},
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
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        CCmdUI state(entry.id);
        state.DoUpdate(*this);
        action->setEnabled(state.IsEnabled());
        if (entry.mode) {
            modes->addAction(action);
            action->setCheckable(true);
            action->setChecked(state.GetCheck().value_or(0) != 0);
        }
        const unsigned id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id, CmdMsg::kCommand, nullptr); });
    }
    return menu;
}

// ---- Printing ---------------------------------------------------------------------------------

// The cell margin is in screen pixels: a printer of a finer resolution gives it as many of its own
// dots as a screen pixel's size takes, or the texts of neighbouring cells would nearly touch (the
// widest figures of a column, often the bold ones of a Total row, fill it to its margins).
int CTableauView::CalculerMiseEnPageImpression(const QPaintDevice& device) {
    const QtFontMetricsSource metrics(&device);
    const int dotsPerPixel = std::max(1, device.logicalDpiX() / kScreenDpi);
    m_printerLayout = std::make_unique<PrintedTable>(
        PrintedTable::Compute(GetTableau(), metrics, device.width(), device.height(), kLeftMargin,
                              kCellMargin * dotsPerPixel));
    return m_printerLayout->PageBreaks();
}

int CTableauView::OnBeginPrinting(const QPaintDevice& printer) {
    return CalculerMiseEnPageImpression(printer) + 1;
}

// The page is drawn in the layout units of its band of columns, brought to the device by the
// band's scale: the title block on page 1, then the records that meet the page, shifted up by the
// page's top. Nothing is drawn right of the printable width.
void CTableauView::OnPrint(QPainter& painter, int page) {
    if (m_printerLayout == nullptr || page < 1 || page > m_printerLayout->LastPage())
        return;
    const PrintedTable::Band& band = m_printerLayout->BandOfPage(page);
    painter.save();
    painter.scale(band.scale, band.scale);
    painter.setClipRect(QRect(0, 0, band.pageWidth, band.pageHeight));
    painter.setBackgroundMode(Qt::TransparentMode);
    const TablePainter drawing(band.layout, GetTableau().GetPresentation());
    if (page == 1)
        drawing.PaintTitle(painter);
    const int offset = m_printerLayout->PageOffset(page);
    drawing.PaintCells(painter, QRect(0, offset, band.pageWidth, band.pageHeight), offset);
    painter.restore();
}

void CTableauView::OnEndPrinting() {
    m_printerLayout.reset();
}

bool CTableauView::Imprimer(QPrinter& printer) {
    const int lastPage = OnBeginPrinting(printer);
    int first = 1;
    int last = lastPage;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::min(printer.toPage() > 0 ? printer.toPage() : lastPage, lastPage);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        OnEndPrinting();
        Signaler(this, Message(StringTable::kImpressionImpossible));
        return false;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        OnPrint(painter, page);
    }
    painter.end();
    OnEndPrinting();
    return true;
}

// The print dialog offers the pages of the table as the default printer lays it out; the table
// is laid out again for the printer and paper chosen.
void CTableauView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    CPageSetup::Appliquer(printer);
    const int lastPage = OnBeginPrinting(printer);
    OnEndPrinting();
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    dialog.setMinMax(1, lastPage);
    dialog.setFromTo(1, lastPage);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Imprimer(printer);
}

void CTableauView::OnFilePrintPreview() {
    CTableauPreviewView preview(*this, window());
    if (!preview.IsReady()) {
        Signaler(this, Message(StringTable::kEchecCommande));
        return;
    }
    preview.exec();
}

// ---- Exports ----------------------------------------------------------------------------------

void CTableauView::OnUpdateExporter(CCmdUI& ui) {
    ui.Enable(true);
}

namespace {

QString TitleOf(const CDocument* document) {
    return document != nullptr ? document->GetTitle() : QString();
}

} // namespace

std::optional<std::string> CTableauView::DemanderFichierExport(QWidget* parent, int filterId, const QString& title) {
    CFileDialog dialog(CFileDialog::Mode::kSave, ExtensionDuFiltre(filterId),
                       QString::fromStdString(StringTable::Text(filterId)), parent);
    if (!title.isEmpty())
        dialog.ProposerNom(title);
    // The question is the program's own, in French, whatever the dialog's language.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.GetPathName().isEmpty())
        return std::nullopt;
    QString path = QDir::toNativeSeparators(dialog.GetPathName());
    // Not every dialog gives a name typed without extension the filter's (the desktop's own do not).
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + ExtensionDuFiltre(filterId);
    if (QFileInfo::exists(path)) {
        std::unique_ptr<QtUserInterface> fallback;
        const Message question(StringTable::kRemplacerFichier, {path.toStdString()});
        if (!Utilisateur(parent, fallback).AskYesNo(question))
            return std::nullopt;
    }
    return path.toStdString();
}

void CTableauView::OnExporterWord() {
    if (const std::optional<std::string> path = DemanderFichierExport(this, StringTable::kFichiersRtf, TitleOf(GetDocument())))
        ExporterWord(*path);
}

void CTableauView::OnExporterExcel() {
    if (const std::optional<std::string> path = DemanderFichierExport(this, StringTable::kClasseursExcel, TitleOf(GetDocument())))
        ExporterExcel(*path);
}

void CTableauView::OnExporterAscii() {
    if (const std::optional<std::string> path = DemanderFichierExport(this, StringTable::kFichiersTextes, TitleOf(GetDocument())))
        ExporterAscii(*path);
}

// The writers take the whole table, not the screen's laid-out texts: their fields are the
// window's texts without the breaks its wrapping inserts. The open questionnaire is never a target.
bool CTableauView::ExporterTableau(QWidget* parent, const CTableauBase& table, const std::string& path,
                                   ExportFunction exporter, bool openWithDesktop) {
    const CContexteEtude* context = GetContexte();
    const std::string questionnaire = context != nullptr ? context->questionnairePath : std::string();
    Message error;
    if (!exporter(table, path, questionnaire, error)) {
        Signaler(parent, error);
        return false;
    }
    if (openWithDesktop)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    return true;
}

bool CTableauView::ExporterWord(const std::string& path) {
    return ExporterTableau(this, GetTableau(), path, &ExporterTableauWord);
}

// The workbook is a file: the desktop opens it in the user's spreadsheet program, as the program
// used to hand its table to a running one.
bool CTableauView::ExporterExcel(const std::string& path) {
    return ExporterTableau(this, GetTableau(), path, &ExporterTableauClasseur, true);
}

bool CTableauView::ExporterAscii(const std::string& path) {
    return ExporterTableau(this, GetTableau(), path, &ExporterTableauAscii);
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
