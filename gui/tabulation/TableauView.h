#pragma once

#include "app/Message.h"
#include "framework/CommandMap.h"
#include "framework/ScrollView.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/TableColumns.h"

#include <memory>
#include <optional>
#include <string>

class CPresentationTableau;
class CTableauDoc;
class PrintedTable;
class QMenu;
class QMouseEvent;
class QPaintDevice;
class QPrinter;
class QResizeEvent;
class TableLayout;

// The scrolling window that shows a result table: header labels, values formatted by their
// markers, the presentation's fonts with the labels' styles, grey fill for shadowed cells, lines
// of three kinds, and the title block above the table or in its top-left cell.
//
// The screen layout is computed lazily: whatever changes it (the table, its presentation, the
// cell-size mode, a new width in variable mode, a new document) marks it dirty, and the next paint
// lays the table out before drawing it. Drawing replays the laid-out records and stops below the
// visible band.
//
// With a document (CTableauDoc) the view shows the document's table; without one, as the
// presentation dialog's preview and the significant-tables window use it, a table it holds itself.
//
// The view prints its table as the framework prints a view, in three steps: OnBeginPrinting lays
// the table out for the printer's pages (CalculerMiseEnPageImpression), OnPrint draws one page,
// OnEndPrinting frees that layout. "Imprimer..." and the print preview both go through them, so
// that the preview shows the pages the printer gets.
class CTableauView : public CScrollView {
    Q_OBJECT

public:
    static constexpr int kCellMargin = 3;
    static constexpr int kLeftMargin = 40;
    // The resolution the cell margin is given at.
    static constexpr int kScreenDpi = 96;
    // The screen's table starts this far down (below the title block when it stands above).
    static constexpr int kTableTop = 20;
    // Scroll extent before the first layout.
    static constexpr int kInitialScrollSize = 100;
    // "Edition/Taille des cellules fixes" and "Edition/Taille des cellules variables".
    static constexpr unsigned kTailleCellulesFixes = 32878;
    static constexpr unsigned kTailleCellulesVariables = 32879;
    // "Fichier/Exporter vers Word...", "Fichier/Exporter vers Excel...", "Fichier/Exporter en
    // Ascii...".
    static constexpr unsigned kExporterWord = 32800;
    static constexpr unsigned kExporterExcel = 32801;
    static constexpr unsigned kExporterAscii = 32885;

    explicit CTableauView(QWidget* parent = nullptr);
    ~CTableauView() override;

    // Back to the first state: variable cell sizes, layout to be computed, small scroll extent.
    void OnInitialUpdate() override;
    // The document changed: the table is laid out again.
    void OnUpdate(CView* sender, int hint) override;

    // The table shown: the document's, else the view's own.
    const CTableauBase& GetTableau() const;
    // Shows a copy of the table, held by the view.
    void SetTableau(const CTableau& table);
    // Sets the presentation of the table held by the view and lays it out again.
    void SetPresentation(const CPresentationTableau& presentation);
    // Lays the table out again and repaints the whole window.
    void Invalider();

    // Each switches the mode when it is not already the one chosen.
    void OnTailleCellulesFixes();
    void OnTailleCellulesVariables();
    CellSizeMode GetCellSizeMode() const { return m_cellSizeMode; }

    bool IsLayoutDirty() const { return m_layoutDirty; }
    // The screen layout, computed first when it is dirty. Valid until the next change.
    const TableLayout& ScreenLayout();

    // The pop-up menu of the right button: the two cell-size modes, the one in force marked, and
    // the three exports.
    std::unique_ptr<QMenu> CreateContextMenu();

    // ---- Printing ----
    // Lays the table out for the pages of the device (a printer) and answers the page breaks.
    int CalculerMiseEnPageImpression(const QPaintDevice& device);
    // Lays the table out for the printer; answers the last page to print (the first is 1).
    int OnBeginPrinting(const QPaintDevice& printer);
    // Draws page `page` (from 1) of the printer layout with the painter, which paints on the
    // printer (or on a device of the same metrics).
    void OnPrint(QPainter& painter, int page);
    void OnEndPrinting();
    // The printer layout between OnBeginPrinting and OnEndPrinting; null outside.
    const PrintedTable* GetPrinterLayout() const { return m_printerLayout.get(); }
    // Prints the pages of the printer's range (all of them when it has none) through the three
    // steps above. False, with a message, when the printer cannot start.
    bool Imprimer(QPrinter& printer);

    // "Fichier/Imprimer..." and "Fichier/Aperçu avant l'impression".
    void OnFilePrint();
    void OnFilePrintPreview();

    // ---- Exports ----
    // Each asks for the file to write (the overwriting of a file asked first), then exports.
    void OnExporterWord();
    void OnExporterExcel();
    void OnExporterAscii();

    // The file an export writes, asked with a save dialog of the filter (a string-table id of the
    // "Name (*.ext)|*.ext|" form) over `parent`; none when the user cancels or declines to
    // overwrite. The other windows that export tables ask the same way.
    // The file an export goes to, asked in the save dialog (the title proposed as its name);
    // none when the analyst cancels or will not replace an existing file.
    static std::optional<std::string> DemanderFichierExport(QWidget* parent, int filterId, const QString& title = {});

    // The writers of TableExports.h.
    using ExportFunction = bool (*)(const CTableauBase&, const std::string&, const std::string&, Message&);
    // Writes `table` to `path` with `exporter`, never over the open questionnaire; the writer's
    // failure is shown over `parent`. With `openWithDesktop` the file is then handed to the desktop,
    // which opens a workbook in the user's spreadsheet program. The chart window exports its table
    // the same way.
    static bool ExporterTableau(QWidget* parent, const CTableauBase& table, const std::string& path,
                                ExportFunction exporter, bool openWithDesktop = false);

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

    void OnDraw(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnUpdateTailleCellulesFixes(CCmdUI& ui);
    void OnUpdateTailleCellulesVariables(CCmdUI& ui);
    void OnUpdateExporter(CCmdUI& ui);
    // The exports themselves, once the file is chosen; false when nothing was written.
    bool ExporterWord(const std::string& path);
    bool ExporterExcel(const std::string& path);
    bool ExporterAscii(const std::string& path);
    void SetCellSizeMode(CellSizeMode mode);
    void CalculerMiseEnPageEcran();
    CTableauDoc* GetTableauDoc() const;

    static const CommandEntry<CTableauView> kCommandMap[];

    CTableau m_ownTable;
    std::unique_ptr<TableLayout> m_screenLayout;
    std::unique_ptr<PrintedTable> m_printerLayout;
    CellSizeMode m_cellSizeMode = CellSizeMode::kVariable;
    bool m_layoutDirty = true;
    int m_lastWidth = 0;
};
