// The table window's printing on the demo questionnaire: the cross table of satisfaction by region
// with counts, both profiles, significance marks and test values (thirty data columns) printed to
// a PDF file on A4 paper, each page also drawn on a recording of the printer to see what it holds;
// then the print preview of the same table.
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "support/DemoSurveyFolder.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/PreviewPages.h"
#include "gui/tabulation/PrintedTable.h"
#include "gui/tabulation/QtFonts.h"
#include "gui/tabulation/RecordingPaintDevice.h"
#include "gui/tabulation/TableCellTexts.h"
#include "gui/tabulation/TableauPreviewView.h"
#include "gui/tabulation/TableauView.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/RequestText.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kWideCross = "type tri-croise\nlignes SATISF\ncolonnes REGION\ncalculs 0 1 2 4 6\n";
// Six regions, five calculations each.
constexpr int kDataColumns = 30;
// The same with a Total row and a Total column, in bold.
constexpr const char* kWideCrossWithTotals =
    "type tri-croise\nlignes SATISF total\ncolonnes REGION total\ncalculs 0 1 2 4 6\n";

struct PrintedPage {
    int number;
    std::vector<RecordingPaintDevice::DrawnText> texts;
};

// A table of `rows` rows of three columns of zeros, labelled "Ligne n" and "Colonne n".
std::unique_ptr<CTableau> TallTable(std::int32_t rows) {
    auto table = std::make_unique<CTableau>(1, 1, rows, 3, CTableauBase::kMarqueParColonne);
    for (std::int32_t row = 0; row < rows; ++row) {
        const CLigne label("Ligne " + std::to_string(row + 1));
        table->SetLibelleLigne(0, row, &label);
    }
    for (std::int32_t column = 0; column < 3; ++column) {
        const CLigne label("Colonne " + std::to_string(column + 1));
        table->SetLibelleColonne(0, column, &label);
    }
    return table;
}

QStringList Words(const QString& text) {
    static const QRegularExpression kBlanks(QStringLiteral("[\\s\\x{2028}]+"));
    return text.split(kBlanks, Qt::SkipEmptyParts);
}

// The number of pages of a PDF file as Qt writes it: one "/Type /Page" object per page.
int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray content = file.readAll();
    static const QRegularExpression kPage(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(content).count(kPage));
}

class TablePrintingTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
        m_context.questionnairePath = DemoSurveyFolder::QuestionnairePath(qesbuild::DemoSurvey::kInterviews);
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
        m_table = Compute(kWideCross);
        ASSERT_NE(m_table, nullptr);
        ASSERT_EQ(m_table->DonnerNbColonnes(), kDataColumns);
        m_pdfPath = QString::fromStdString(
            (std::filesystem::path(::testing::TempDir()) /
             (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".pdf"))
                .string());
    }

    // The one table of the request, null when it does not give one.
    std::unique_ptr<CTableau> Compute(const char* request) {
        qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(request, m_context);
        EXPECT_NE(parsed.request, nullptr) << parsed.error;
        if (parsed.request == nullptr)
            return nullptr;
        CExecuteurTraitement executor(m_context);
        executor.Executer(std::move(parsed.request));
        std::vector<std::unique_ptr<CTableau>> tables = executor.TakeTableaux();
        EXPECT_EQ(tables.size(), 1u);
        return tables.size() == 1 ? std::move(tables.front()) : nullptr;
    }

    void TearDown() override {
        QFile::remove(m_pdfPath);
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    // An A4 page in portrait, printed to the test's PDF file.
    void SetUpPrinter(QPrinter& printer) const {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdfPath);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }

    void ShowTitleAbove() {
        CPresentationTableau presentation = m_table->GetPresentation();
        presentation.SetEstTitreAuDessus(true);
        m_table->SetPresentation(presentation);
    }

    // Every page of the printer layout drawn on a recording of the printer.
    static std::vector<PrintedPage> DrawPages(CTableauView& view, const QPrinter& printer) {
        std::vector<PrintedPage> pages;
        const int lastPage = view.GetPrinterLayout()->LastPage();
        for (int number = 1; number <= lastPage; ++number) {
            RecordingPaintDevice device(printer);
            QPainter painter(&device);
            view.OnPrint(painter, number);
            painter.end();
            pages.push_back({number, device.texts});
        }
        return pages;
    }

    CContexteEtude m_context;
    RecordingUserInterface* m_ui = nullptr;
    std::unique_ptr<CTableau> m_table;
    QString m_pdfPath;
};

// Thirty columns do not print legibly on an A4 page in portrait: the table prints in bands of
// columns, none smaller than the legible scale, each repeating the row headings. Every column of
// every band prints: each has text drawn inside it, and nothing is drawn beyond the printable
// width (or height). Every word of every cell is printed, on the page of its row in its band; the
// title block above the table is printed once, on page 1, within the printable width.
TEST_F(TablePrintingTest, AWideTablePrintsEveryColumnWithinThePage) {
    ShowTitleAbove();
    CTableauView view;
    view.SetTableau(*m_table);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    const int lastPage = view.OnBeginPrinting(printer);
    ASSERT_NE(view.GetPrinterLayout(), nullptr);
    const PrintedTable& printed = *view.GetPrinterLayout();
    const std::vector<PrintedPage> pages = DrawPages(view, printer);
    ASSERT_EQ(static_cast<int>(pages.size()), lastPage);
    EXPECT_GE(printed.Bands().size(), 2u);

    const std::int32_t headerColumns = m_table->DonnerNbColonnesEnTete();
    std::int32_t nextColumn = 0;
    for (const PrintedTable::Band& band : printed.Bands()) {
        SCOPED_TRACE("band from column " + std::to_string(band.firstColumn));
        EXPECT_EQ(band.firstColumn, nextColumn);
        nextColumn += band.columnCount;
        EXPECT_GE(band.scale, PrintedTable::kLegibleScale);
        const TableLayout& layout = band.layout;
        ASSERT_EQ(layout.Columns().size(), static_cast<std::size_t>(headerColumns + band.columnCount));
        EXPECT_LE(layout.TableRight() * band.scale, printer.width());

        std::vector<int> textsPerColumn(layout.Columns().size(), 0);
        std::map<int, QStringList> wordsByPage;
        for (int number = band.firstPage; number < band.firstPage + band.pageCount; ++number) {
            for (const RecordingPaintDevice::DrawnText& drawn :
                 pages[static_cast<std::size_t>(number - 1)].texts) {
                SCOPED_TRACE(drawn.text.toStdString());
                EXPECT_GE(drawn.rect.left(), 0.0);
                EXPECT_LE(drawn.rect.right(), printer.width() + 1.0);
                EXPECT_GE(drawn.rect.top(), -1.0);
                EXPECT_LE(drawn.rect.bottom(), printer.height() + 1.0);
                wordsByPage[number] << Words(drawn.text);
                for (std::size_t column = 0; column < layout.Columns().size(); ++column) {
                    const ColumnEdges edges = layout.Columns()[column];
                    if (drawn.rect.left() >= edges.left * band.scale - 1 &&
                        drawn.rect.right() <= edges.right * band.scale + 1)
                        ++textsPerColumn[column];
                }
            }
        }
        // The row headings too, in every band.
        for (std::size_t column = 0; column < textsPerColumn.size(); ++column)
            EXPECT_GT(textsPerColumn[column], 0) << "nothing printed in column " << column;

        for (const CCellule& cell : layout.Cells()) {
            if (!cell.firstOfBlock)
                continue;
            const int page = band.firstPage + layout.RectOf(cell).top / band.pageHeight;
            const std::int32_t column =
                cell.column < headerColumns ? cell.column : cell.column + band.firstColumn;
            // A heading over several regions cut by the band is repeated with its label.
            const std::string text =
                cell.row < m_table->DonnerNbLignesEnTete() && cell.column >= headerColumns
                    ? cell.text
                    : TableCellTexts::CellText(*m_table, cell.row, column);
            QStringList& printedWords = wordsByPage[page];
            for (const QString& word : Words(QString::fromStdString(text))) {
                const qsizetype found = printedWords.indexOf(word);
                EXPECT_GE(found, 0) << "\"" << word.toStdString() << "\" of cell (" << cell.row << ", "
                                    << column << ") not printed on page " << page;
                if (found >= 0)
                    printedWords.removeAt(found);
            }
        }
    }
    EXPECT_EQ(nextColumn, kDataColumns);

    // The title block: its base line on page 1 only, inside the page.
    const QString base = QString::fromStdString(m_table->DonnerTexteBase()).section(QLatin1Char('\r'), 0, 0);
    ASSERT_FALSE(base.isEmpty());
    int titleLines = 0;
    for (const PrintedPage& page : pages)
        for (const RecordingPaintDevice::DrawnText& drawn : page.texts)
            if (drawn.text.startsWith(QStringLiteral("Base :"))) {
                EXPECT_EQ(page.number, 1);
                ++titleLines;
            }
    EXPECT_EQ(titleLines, 1);
    view.OnEndPrinting();
    EXPECT_EQ(view.GetPrinterLayout(), nullptr);
}

// The printed Total row of the wide cross table with its totals: its figures are bold, the widest of their
// columns, and each still stands apart from its neighbours, at least half a millimetre of paper
// between two texts of the row (a screen's cell margins, 2 x 3 pixels at 96 dpi, are 1.6 mm; the
// band's scale of 0.7 or more leaves over 1.1 mm), and within its column.
TEST_F(TablePrintingTest, TheFiguresOfABoldTotalRowStandApart) {
    const std::unique_ptr<CTableau> table = Compute(kWideCrossWithTotals);
    ASSERT_NE(table, nullptr);
    CTableauView view;
    view.SetTableau(*table);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    view.OnBeginPrinting(printer);
    const std::vector<PrintedPage> pages = DrawPages(view, printer);
    const double halfMillimetre = printer.logicalDpiX() / 25.4 / 2;
    int totalRows = 0;
    for (const PrintedPage& page : pages) {
        for (const RecordingPaintDevice::DrawnText& label : page.texts) {
            if (label.text != QStringLiteral("Total"))
                continue;
            std::vector<QRectF> row;
            for (const RecordingPaintDevice::DrawnText& drawn : page.texts)
                if (std::abs(drawn.rect.center().y() - label.rect.center().y()) < 1.0)
                    row.push_back(drawn.rect);
            if (row.size() < 3)
                continue; // the column heading "Total", not the row
            ++totalRows;
            std::sort(row.begin(), row.end(), [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
            for (std::size_t at = 1; at < row.size(); ++at)
                EXPECT_GE(row[at].left() - row[at - 1].right(), halfMillimetre)
                    << "page " << page.number << ", texts " << at - 1 << " and " << at;
        }
    }
    EXPECT_GE(totalRows, 2) << "a Total row in each band";
    view.OnEndPrinting();
}

// Ten columns whose widest figures are the bold ones of the Total row, in a face whose bold
// figures are wider than its regular ones (DejaVu Sans: 0.696 em against 0.636): columns made
// wide enough for "88888888" in the regular face would be too narrow for it in bold, and it would
// be broken or run over its neighbours. Each figure of the printed Total row is printed whole, on
// one line, inside its column's text area, half a millimetre at least from the text before it.
TEST_F(TablePrintingTest, TheBoldFiguresOfATotalRowFitTheirColumns) {
    constexpr std::int32_t kRows = 4;
    constexpr std::int32_t kColumns = 10;
    constexpr double kTotalFigure = 88888888;
    CTableau table(1, 1, kRows, kColumns, CTableauBase::kMarqueParColonne);
    CPresentationTableau presentation = table.GetPresentation();
    CPoliceAna face = presentation.GetCellule();
    face.SetNom("DejaVu Sans");
    presentation.SetCellule(face);
    presentation.SetLigne(face);
    presentation.SetColonne(face);
    table.SetPresentation(presentation);
    for (std::int32_t row = 0; row < kRows; ++row) {
        CLigne label(row + 1 < kRows ? "Ligne " + std::to_string(row + 1) : std::string("Total"));
        if (row + 1 == kRows) {
            label.code = CLigne::kTotalCode;
            label.bold = 1;
        }
        table.SetLibelleLigne(0, row, &label);
        for (std::int32_t column = 0; column < kColumns; ++column)
            table.SetValeur(row, column, row + 1 < kRows ? 1.0 : kTotalFigure);
    }
    for (std::int32_t column = 0; column < kColumns; ++column) {
        const CLigne label(std::string(1, static_cast<char>('A' + column)));
        table.SetLibelleColonne(0, column, &label);
    }

    CTableauView view;
    view.SetTableau(table);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    view.OnBeginPrinting(printer);
    const PrintedTable& printed = *view.GetPrinterLayout();
    const QString figure = QStringLiteral("88888888");
    {
        // The case holds only where the bold figures are wider than the rounding of the columns'
        // widths (a dot or two) could hide.
        CPoliceAna bold = face;
        bold.SetGras(true);
        ASSERT_GT(QFontMetrics(QtFonts::CreerFont(bold, &printer), &printer).horizontalAdvance(figure),
                  QFontMetrics(QtFonts::CreerFont(face, &printer), &printer).horizontalAdvance(figure) + 4);
    }
    const std::vector<PrintedPage> pages = DrawPages(view, printer);
    const double halfMillimetre = printer.logicalDpiX() / 25.4 / 2;
    std::int32_t columnsSeen = 0;
    for (const PrintedTable::Band& band : printed.Bands()) {
        SCOPED_TRACE("band from column " + std::to_string(band.firstColumn));
        const TableLayout& layout = band.layout;
        // The Total row is the last: the header row, then kRows data rows.
        const RowSpan total = layout.Rows()[kRows];
        const int offset = printed.PageOffset(band.firstPage);
        std::vector<RecordingPaintDevice::DrawnText> row;
        for (const RecordingPaintDevice::DrawnText& drawn :
             pages[static_cast<std::size_t>(band.firstPage - 1)].texts)
            if (drawn.rect.center().y() >= (total.top - offset) * band.scale &&
                drawn.rect.center().y() <= (total.bottom - offset) * band.scale)
                row.push_back(drawn);
        std::sort(row.begin(), row.end(),
                  [](const auto& a, const auto& b) { return a.rect.left() < b.rect.left(); });
        ASSERT_EQ(row.size(), static_cast<std::size_t>(band.columnCount) + 1);
        EXPECT_EQ(row.front().text, QStringLiteral("Total"));
        for (std::int32_t column = 1; column <= band.columnCount; ++column) {
            SCOPED_TRACE(column);
            const RecordingPaintDevice::DrawnText& drawn = row[static_cast<std::size_t>(column)];
            const ColumnEdges edges = layout.Columns()[static_cast<std::size_t>(column)];
            EXPECT_EQ(drawn.text, figure);
            EXPECT_GE(drawn.rect.left(), edges.left * band.scale - 1);
            EXPECT_LE(drawn.rect.right(), edges.right * band.scale + 1);
            EXPECT_GE(drawn.rect.left() - row[static_cast<std::size_t>(column - 1)].rect.right(),
                      halfMillimetre);
        }
        columnsSeen += band.columnCount;
    }
    EXPECT_EQ(columnsSeen, kColumns);
    view.OnEndPrinting();
}

// The rows are never cut: each stands on one page, between the margins of 50 (the first row of a
// page 50 below its top, the first of the table below the title block), and the pages to print
// are 1 to the page of the last row. The PDF file has as many pages. The wide cross table takes
// one page; a table of 200 rows several.
TEST_F(TablePrintingTest, RowsAreNeverCutAndThePdfHasEveryPage) {
    const std::unique_ptr<CTableau> tall = TallTable(200);
    for (const CTableau* table : {m_table.get(), tall.get()}) {
        SCOPED_TRACE(table->DonnerNbLignes());
        CTableauView view;
        view.SetTableau(*table);
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer);
        const int lastPage = view.OnBeginPrinting(printer);
        const PrintedTable& printed = *view.GetPrinterLayout();
        int previousPage = 0;
        for (const PrintedTable::Band& band : printed.Bands()) {
            const int pageHeight = band.pageHeight;
            const std::vector<RowSpan>& rows = band.layout.Rows();
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(band.firstPage, previousPage + 1);
            int bandPage = 0;
            for (std::size_t row = 0; row < rows.size(); ++row) {
                SCOPED_TRACE(row);
                const int pageTop = rows[row].top / pageHeight * pageHeight;
                EXPECT_GE(rows[row].top, pageTop + 50);
                EXPECT_LE(rows[row].bottom, pageTop + pageHeight - 50);
                const int page = pageTop / pageHeight + 1;
                EXPECT_GE(page, bandPage);
                if (page > bandPage && row > 0) {
                    EXPECT_EQ(rows[row].top, pageTop + 50) << "the first row of a page";
                    // It did not fit below the row before it.
                    EXPECT_GT(rows[row - 1].bottom + (rows[row].bottom - rows[row].top), pageTop - 50);
                }
                bandPage = page;
            }
            EXPECT_EQ(band.pageCount, bandPage);
            previousPage = band.firstPage + band.pageCount - 1;
        }
        EXPECT_EQ(lastPage, previousPage);
        EXPECT_EQ(lastPage, printed.PageBreaks() + 1);
        view.OnEndPrinting();

        ASSERT_TRUE(view.Imprimer(printer));
        EXPECT_EQ(PdfPageCount(m_pdfPath), lastPage);
        EXPECT_EQ(view.GetPrinterLayout(), nullptr);
        if (table == tall.get()) {
            EXPECT_GE(lastPage, 3);
        }
    }
    EXPECT_TRUE(m_ui->shown.empty());
}

// A page range prints those pages only; a range past the table's end stops at its last page.
TEST_F(TablePrintingTest, APageRangePrintsThosePages) {
    CTableauView view;
    view.SetTableau(*TallTable(200));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    const int lastPage = view.OnBeginPrinting(printer);
    view.OnEndPrinting();
    ASSERT_GE(lastPage, 3);

    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, lastPage + 5);
    ASSERT_TRUE(view.Imprimer(printer));
    EXPECT_EQ(PdfPageCount(m_pdfPath), lastPage - 1);
}

// A printer that cannot start (a PDF file in a folder that does not exist) is reported, and
// nothing of the printer layout is kept.
TEST_F(TablePrintingTest, APrinterThatCannotStartIsReported) {
    CTableauView view;
    view.SetTableau(*m_table);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/table.pdf"));
    EXPECT_FALSE(view.Imprimer(printer));
    EXPECT_EQ(m_ui->ShownTexts(), std::vector<std::string>{"L'impression n'a pas pu commencer."});
    EXPECT_EQ(view.GetPrinterLayout(), nullptr);
}

// The preview shows the pages the default printer would print, drawn on white sheets; one page or
// two side by side, the mode in force checked and kept for the next preview of the session, the
// scroll bar going from page to page; the exports of the view are offered (each asks for its
// file first); Fermer closes it.
TEST_F(TablePrintingTest, ThePreviewShowsThePrintedPages) {
    CTableauView view;
    view.SetTableau(*TallTable(200));
    QPrinter printer(QPrinter::HighResolution);
    const int lastPage = view.OnBeginPrinting(printer);
    view.OnEndPrinting();
    ASSERT_GE(lastPage, 3);

    auto preview = std::make_unique<CTableauPreviewView>(view);
    preview->resize(1200, 800);
    preview->show();
    QApplication::processEvents();
    ASSERT_TRUE(preview->IsReady());
    EXPECT_EQ(preview->GetPageCount(), lastPage);
    // The printer layout lives while the preview shows its pages; only the pages shown are drawn.
    EXPECT_NE(view.GetPrinterLayout(), nullptr);
    PreviewPages& pages = preview->GetPages();
    EXPECT_GE(pages.GetRecordedPageCount(), 1);
    EXPECT_LE(pages.GetRecordedPageCount(), 2);

    EXPECT_TRUE(preview->Executer(CTableauPreviewView::kUnePage));
    EXPECT_EQ(pages.GetPagesShown(), 1);
    EXPECT_TRUE(preview->GetAction(CTableauPreviewView::kUnePage)->isChecked());
    EXPECT_FALSE(preview->GetAction(CTableauPreviewView::kDeuxPages)->isChecked());
    EXPECT_TRUE(pages.SheetRect(1).isEmpty());

    // The sheet shows the printed table: dark pixels on its white.
    const QRect sheet = pages.SheetRect(0).toAlignedRect();
    ASSERT_FALSE(sheet.isEmpty());
    const QImage shown = pages.viewport()->grab().toImage();
    int dark = 0;
    for (int y = sheet.top() + 2; y < sheet.bottom() - 2; ++y)
        for (int x = sheet.left() + 2; x < sheet.right() - 2; ++x)
            if (qGray(shown.pixel(x, y)) < 200)
                ++dark;
    EXPECT_GT(dark, 500);

    pages.ShowPage(lastPage);
    EXPECT_EQ(pages.GetFirstPageShown(), lastPage);

    EXPECT_TRUE(preview->Executer(CTableauPreviewView::kDeuxPages));
    EXPECT_EQ(pages.GetPagesShown(), 2);
    EXPECT_TRUE(preview->GetAction(CTableauPreviewView::kDeuxPages)->isChecked());
    EXPECT_FALSE(preview->GetAction(CTableauPreviewView::kUnePage)->isChecked());
    EXPECT_EQ(CTableauPreviewView::GetNombrePagesApercu(), 2);
    // The last two pages fill the window, side by side.
    EXPECT_EQ(pages.GetFirstPageShown(), lastPage - 1);
    ASSERT_FALSE(pages.SheetRect(1).isEmpty());
    EXPECT_LT(pages.SheetRect(0).right(), pages.SheetRect(1).left());
    EXPECT_DOUBLE_EQ(pages.SheetRect(0).top(), pages.SheetRect(1).top());
    pages.ShowPage(1);
    EXPECT_EQ(pages.GetFirstPageShown(), 1);

    // A click on the second sheet zooms in on it: real size (an A4 sheet about 210 / 25.4 inches
    // of the screen wide), then twice that, then both sheets again.
    const QRectF second = pages.SheetRect(1);
    pages.ZoomAt(second.center().toPoint());
    EXPECT_EQ(pages.GetZoom(), PreviewPages::Zoom::kRealSize);
    EXPECT_EQ(pages.GetFirstPageShown(), 2);
    EXPECT_EQ(pages.GetLastPageShown(), 2);
    EXPECT_TRUE(pages.SheetRect(1).isEmpty());
    EXPECT_NEAR(pages.SheetRect(0).width(), printer.paperRect(QPrinter::Inch).width() * pages.logicalDpiX(),
                2.0);
    EXPECT_GT(pages.SheetRect(0).width(), second.width());
    pages.ZoomAt(pages.viewport()->rect().center());
    EXPECT_EQ(pages.GetZoom(), PreviewPages::Zoom::kDoubleSize);
    EXPECT_NEAR(pages.SheetRect(0).width(),
                2 * printer.paperRect(QPrinter::Inch).width() * pages.logicalDpiX(), 4.0);
    pages.ZoomAt(pages.viewport()->rect().center());
    EXPECT_EQ(pages.GetZoom(), PreviewPages::Zoom::kWholeSheets);
    EXPECT_EQ(pages.GetPagesShown(), 2);
    EXPECT_EQ(pages.GetFirstPageShown(), 2);

    for (const unsigned id : {CTableauView::kExporterWord, CTableauView::kExporterExcel}) {
        EXPECT_TRUE(preview->GetAction(id)->isEnabled());
        ModalAnswers cancelled({[](QDialog& dialog) { dialog.reject(); }});
        EXPECT_TRUE(preview->Executer(id));
        EXPECT_EQ(cancelled.Answered(), 1u) << id;
    }

    EXPECT_TRUE(preview->Executer(CTableauPreviewView::kFermer));
    EXPECT_FALSE(preview->isVisible());
    EXPECT_EQ(preview->result(), QDialog::Rejected);
    EXPECT_EQ(view.GetPrinterLayout(), nullptr);

    // The next preview of the session opens on two pages; the wide cross table prints legibly
    // only in bands of columns, a page each.
    view.SetTableau(*m_table);
    QPrinter widePrinter(QPrinter::HighResolution);
    const int widePages = view.OnBeginPrinting(widePrinter);
    view.OnEndPrinting();
    EXPECT_GE(widePages, 2);
    CTableauPreviewView next(view);
    EXPECT_EQ(next.GetPageCount(), widePages);
    EXPECT_EQ(next.GetPages().GetPagesShown(), 2);
    EXPECT_TRUE(next.GetAction(CTableauPreviewView::kDeuxPages)->isChecked());
    next.Executer(CTableauPreviewView::kUnePage);
    EXPECT_EQ(CTableauPreviewView::GetNombrePagesApercu(), 1);
}

// The exports are offered in the view's commands and in its context menu.
TEST_F(TablePrintingTest, TheExportsAreOfferedEverywhere) {
    CTableauView view;
    view.SetTableau(*m_table);
    const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text();
        if (action->text().startsWith(QStringLiteral("Exporter"))) {
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        }
    }
    EXPECT_EQ(
        texts,
        (QStringList{QStringLiteral("Taille des cellules fixes"),
                     QStringLiteral("Taille des cellules variables"), QStringLiteral("Exporter vers Word..."),
                     QStringLiteral("Exporter vers Excel..."), QStringLiteral("Exporter en Ascii...")}));
    for (const unsigned id :
         {CTableauView::kExporterWord, CTableauView::kExporterExcel, CTableauView::kExporterAscii}) {
        CCmdUI state(id);
        state.DoUpdate(view);
        EXPECT_TRUE(state.IsEnabled()) << id;
    }
    CCmdUI print(57607);
    print.DoUpdate(view);
    EXPECT_TRUE(print.IsEnabled());
    CCmdUI preview(57609);
    preview.DoUpdate(view);
    EXPECT_TRUE(preview.IsEnabled());
}

// An export asks for its file in a save dialog of its kind, gives a name typed without extension
// the kind's, and asks before replacing a file (No ends the export there, the file untouched);
// the writer then writes the file, and a target it cannot write is reported.
TEST_F(TablePrintingTest, AnExportAsksForItsFileAndBeforeReplacingOne) {
    CTableauView view;
    view.SetTableau(*m_table);
    const QString folder =
        QDir::cleanPath(QString::fromStdString(::testing::TempDir()) + QStringLiteral("/exports-from-the-view"));
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString existing = folder + QStringLiteral("/existing.txt");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QString filter;
    const auto choose = [&filter](const QString& path) {
        return [&filter, path](QDialog& shown) {
            auto* dialog = qobject_cast<QFileDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            filter = dialog->nameFilters().join(QLatin1Char(';'));
            dialog->selectFile(path);
            // As the Save button does.
            QMetaObject::invokeMethod(dialog, "accept");
        };
    };
    {
        m_ui->ScriptReplies({false});
        ModalAnswers answers({choose(folder + QStringLiteral("/existing"))});
        view.OnExporterAscii();
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(filter, QStringLiteral("Fichiers textes (*.txt)"));
        ASSERT_EQ(m_ui->asked.size(), 1u);
        EXPECT_EQ(StringTable::Format(m_ui->asked[0]),
                  "Le fichier '" + existing.toStdString() + "' existe déjà. Voulez-vous le remplacer ?");
        EXPECT_TRUE(m_ui->shown.empty());
    }
    {
        m_ui->asked.clear();
        EXPECT_EQ(QFileInfo(existing).size(), 0);
        m_ui->ScriptReplies({true});
        ModalAnswers answers({choose(existing)});
        view.OnExporterAscii();
        EXPECT_EQ(m_ui->asked.size(), 1u);
        EXPECT_TRUE(m_ui->shown.empty());
        // The table's title on the first line, every line ended by CR LF.
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        file.close();
        EXPECT_TRUE(written.startsWith(QByteArray::fromStdString(m_table->title) + "\r\n"));
        EXPECT_EQ(written.count('\n'), written.count("\r\n"));
    }
    {
        m_ui->asked.clear();
        m_ui->shown.clear();
        ModalAnswers answers({choose(folder + QStringLiteral("/nouveau"))});
        view.OnExporterWord();
        EXPECT_EQ(filter, QStringLiteral("Fichiers RTF (*.rtf)"));
        EXPECT_TRUE(m_ui->asked.empty());
        EXPECT_TRUE(m_ui->shown.empty());
        QFile rtf(folder + QStringLiteral("/nouveau.rtf"));
        ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(rtf.readAll().startsWith("{\\rtf1"));
        rtf.close();
        rtf.remove();
    }
    {
        // A read-only file is not replaced: the writer's message, with the path.
        const QString locked = folder + QStringLiteral("/protege.txt");
        QFile lockedFile(locked);
        ASSERT_TRUE(lockedFile.open(QIODevice::WriteOnly));
        lockedFile.close();
        lockedFile.setPermissions(QFileDevice::ReadOwner);
        m_ui->ScriptReplies({true});
        ModalAnswers answers({choose(locked)});
        view.OnExporterAscii();
        ASSERT_EQ(m_ui->shown.size(), 1u);
        EXPECT_NE(StringTable::Format(m_ui->shown[0].message).find(locked.toStdString()), std::string::npos);
        EXPECT_EQ(QFileInfo(locked).size(), 0);
        lockedFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        lockedFile.remove();
    }
    {
        // The next text export opens in the folder of the last text file chosen.
        QString opened;
        ModalAnswers answers({[&opened](QDialog& shown) {
            if (auto* dialog = qobject_cast<QFileDialog*>(&shown))
                opened = dialog->directory().absolutePath();
            shown.reject();
        }});
        view.OnExporterAscii();
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(opened, folder);
    }
    {
        m_ui->shown.clear();
        ModalAnswers answers({[](QDialog& shown) { shown.reject(); }});
        view.OnExporterExcel();
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_TRUE(m_ui->shown.empty());
    }
    QDir(folder).removeRecursively();
}

} // namespace
