#include "DesktopOpenings.h"
#include "MorvaneAppTestSupport.h"
#include "app/StringTable.h"
#include "export/TableTextExport.h"
#include "export/XlsxReader.h"
#include "framework/FrameworkCommands.h"
#include "portfolio/ElementDossier.h"
#include "gui/presentation/Chart2D.h"
#include "gui/presentation/GraphDoc.h"
#include "gui/presentation/GraphView.h"
#include "gui/presentation/PageGraphiqueGeneralDlg.h"
#include "gui/presentation/PresentationGraphiqueDlg.h"
#include "gui/requests/SelCalculDlg.h"
#include "gui/tabulation/TableauView.h"
#include "shell/DossierDoc.h"
#include "shell/DossierView.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using shell_test::DesktopOpenings;
using shell_test::MorvaneAppTest;

constexpr unsigned kEnvoyerVersGraphique = 32817;
constexpr unsigned kPresentation = 32788;
constexpr unsigned kAjouterAuDossier = 32786;

class ChartWindowTest : public MorvaneAppTest {
protected:
    std::vector<CGraphDoc*> ChartDocuments() const {
        std::vector<CGraphDoc*> charts;
        for (CDocument* document : m_app->GetTemplate(TemplateKind::kGraphique).GetDocuments())
            charts.push_back(dynamic_cast<CGraphDoc*>(document));
        return charts;
    }

    static CGraphView& ViewOf(CGraphDoc& document) {
        return *dynamic_cast<CGraphView*>(document.GetViews().front());
    }

    // Runs a command whose dialog `answer` handles as the user would.
    template <typename Dialog>
    bool RunAnswered(unsigned id, const std::function<void(Dialog&)>& answer, bool* seen = nullptr) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            timer.stop();
            if (seen != nullptr)
                *seen = true;
            answer(*dialog);
        });
        timer.start(0);
        return Run(id);
    }

    static std::filesystem::path Temporary(const char* name) {
        const char* folder = std::getenv("TEST_TMPDIR");
        return std::filesystem::path(folder != nullptr ? folder : "/tmp") / name;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // Runs an export command of the active window, its save dialog answered with `path`.
    void ExportTo(unsigned id, const std::filesystem::path& path) {
        std::filesystem::remove(path);
        ModalAnswers answers({[&path](QDialog& shown) {
            auto* dialog = qobject_cast<QFileDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(QString::fromStdString(path.string()));
            QMetaObject::invokeMethod(dialog, "accept");
        }});
        EXPECT_TRUE(Run(id)) << id;
        EXPECT_EQ(answers.Answered(), 1u) << id;
        EXPECT_EQ(answers.Unexpected(), 0) << id;
    }

    // A chart of regions by sex, opened from its request as a chart.
    CGraphDoc& OpenRegionsBySexChart() {
        std::unique_ptr<CTraitement> request = Request("type tri-croise\nlignes REGION\ncolonnes SEXE\ncalculs 0\n");
        request->openAsChart = 1;
        EXPECT_TRUE(CMainFrame::LancerTraitement(std::move(request)));
        QApplication::processEvents();
        EXPECT_EQ(ChartDocuments().size(), 1u);
        return *ChartDocuments().front();
    }
};

// The bytes of the first picture of an RTF document (its hexadecimal digits after "\pngblip"),
// read as an image; a null image when there is none.
QImage FirstPicture(const std::string& rtf) {
    const std::size_t blip = rtf.find("\\pngblip");
    if (blip == std::string::npos)
        return {};
    const std::size_t end = rtf.find('}', blip);
    QByteArray hex;
    for (std::size_t i = blip + 8; i < end; ++i)
        if (std::isxdigit(static_cast<unsigned char>(rtf[i])))
            hex += rtf[i];
    return QImage::fromData(QByteArray::fromHex(hex), "PNG");
}

// The number of pixels of an image that are not white: a drawn chart has many, a blank one none.
int InkedPixels(const QImage& image) {
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                ++inked;
    return inked;
}

TEST_F(ChartWindowTest, SendingACrossTableToAChartChartsTheChosenCalculationWithoutTotals) {
    ASSERT_TRUE(Start(DemoPath()));
    ASSERT_TRUE(CMainFrame::LancerTraitement(Request("type tri-croise\nlignes REGION total\ncolonnes SEXE total\ncalculs 0 1\n")));
    QApplication::processEvents();
    ASSERT_EQ(TableDocuments().size(), 1u);
    const CTableau& source = *TableDocuments().front()->GetTableau();
    ASSERT_EQ(source.GetTraitement()->GetCalculsLignes().size(), 2u);
    ASSERT_TRUE(IsEnabled(kEnvoyerVersGraphique));

    std::int32_t chosen = -1;
    bool asked = false;
    ASSERT_TRUE(RunAnswered<CSelCalculDlg>(
        kEnvoyerVersGraphique,
        [&](CSelCalculDlg& dialog) {
            dialog.GetList().setCurrentRow(1);
            dialog.accept();
            chosen = dialog.GetCode();
        },
        &asked));
    EXPECT_TRUE(asked);
    ASSERT_EQ(ChartDocuments().size(), 1u);
    EXPECT_EQ(TableDocuments().size(), 1u) << "the table window stays";
    const CTableau& charted = *ChartDocuments().front()->GetTableau();
    EXPECT_EQ(charted.openAsChart, 1);
    ASSERT_EQ(charted.GetTraitement()->GetCalculsLignes().size(), 1u);
    EXPECT_EQ(charted.GetTraitement()->GetCalculsLignes().front()->code, chosen);
    EXPECT_TRUE(charted.GetTraitement()->GetCalculsColonnes().empty());
    // No Total row nor column: one row and one column fewer than the source's first block.
    EXPECT_LT(charted.RowCount(), source.RowCount());
    for (std::int32_t row = 0; row < charted.RowCount(); ++row)
        EXPECT_NE(charted.DonnerLibelleLigne(row), "Total");
    for (std::int32_t column = 0; column < charted.ColumnCount(); ++column)
        EXPECT_NE(charted.DonnerLibelleColonne(column), "Total");

    // The window draws the table's columns as series, its rows as points.
    const ChartModel& model = ViewOf(*ChartDocuments().front()).GetChart().Model();
    EXPECT_EQ(model.series.size(), static_cast<std::size_t>(charted.ColumnCount()));
    EXPECT_EQ(model.PointCount(), static_cast<std::size_t>(charted.RowCount()));
    EXPECT_EQ(model.headerLines, std::vector<std::string>{charted.title});
}

TEST_F(ChartWindowTest, CancellingTheCalculationChoiceChartsNothing) {
    ASSERT_TRUE(Start(DemoPath()));
    ASSERT_TRUE(CMainFrame::LancerTraitement(Request("type tri-croise\nlignes REGION\ncolonnes SEXE\ncalculs 0 1\n")));
    QApplication::processEvents();
    ASSERT_TRUE(RunAnswered<CSelCalculDlg>(kEnvoyerVersGraphique, [](CSelCalculDlg& dialog) { dialog.reject(); }));
    EXPECT_TRUE(ChartDocuments().empty());
}

TEST_F(ChartWindowTest, ATableWithoutRequestOpensAsItIsAndType14IsNotAvailable) {
    ASSERT_TRUE(Start(DemoPath()));
    auto plain = std::make_unique<CTableau>();
    plain->Dimensionner(1, 1, 2, 1, CTableauBase::kMarqueParColonne);
    plain->SetValeur(0, 0, 3);
    plain->SetValeur(1, 0, 4);
    plain->title = "Sans requête";
    ASSERT_NE(m_app->OuvrirTableau(std::move(plain)), nullptr);
    ASSERT_TRUE(Run(kEnvoyerVersGraphique));
    ASSERT_EQ(ChartDocuments().size(), 1u);
    EXPECT_EQ(ChartDocuments().front()->GetTableau()->GetValeur(1, 0), 4.0);
    EXPECT_EQ(ChartDocuments().front()->GetTableau()->title, "Sans requête");

    auto crossed = std::make_unique<CTableau>();
    auto request = std::make_unique<CTraitement>();
    request->type = 14;
    crossed->SetTraitement(std::move(request));
    crossed->title = "Profils croisés";
    ASSERT_NE(m_app->OuvrirTableau(std::move(crossed)), nullptr);
    m_ui->shown.clear();
    ASSERT_TRUE(Run(kEnvoyerVersGraphique));
    EXPECT_EQ(m_ui->ShownTexts(), std::vector<std::string>{"Pas disponible"});
    EXPECT_EQ(ChartDocuments().size(), 1u);
}

TEST_F(ChartWindowTest, ThePresentationDialogRestylesTheChartOnOkOnly) {
    ASSERT_TRUE(Start(DemoPath()));
    std::unique_ptr<CTraitement> request = Request("type tri-simple\nlignes REGION\ncalculs 0\n");
    request->openAsChart = 1;
    ASSERT_TRUE(CMainFrame::LancerTraitement(std::move(request)));
    QApplication::processEvents();
    ASSERT_EQ(ChartDocuments().size(), 1u);
    CGraphDoc& document = *ChartDocuments().front();
    const ChartModel& model = ViewOf(document).GetChart().Model();
    EXPECT_EQ(model.kind, ChartKind::Bars);
    ASSERT_TRUE(IsEnabled(kPresentation));

    const auto choosePie = [](CPresentationGraphiqueDlg& dialog) {
        dialog.GetPageGeneral().GetType().setCurrentIndex(3);
    };
    ASSERT_TRUE(RunAnswered<CPresentationGraphiqueDlg>(kPresentation, [&](CPresentationGraphiqueDlg& dialog) {
        choosePie(dialog);
        QTest::mouseClick(&dialog.GetAnnuler(), Qt::LeftButton);
    }));
    EXPECT_EQ(document.GetTableau()->GetPresentationGraphique().GetType(), 0);
    EXPECT_EQ(model.kind, ChartKind::Bars);

    ASSERT_TRUE(RunAnswered<CPresentationGraphiqueDlg>(kPresentation, [&](CPresentationGraphiqueDlg& dialog) {
        choosePie(dialog);
        QTest::mouseClick(&dialog.GetOk(), Qt::LeftButton);
    }));
    EXPECT_EQ(document.GetTableau()->GetPresentationGraphique().GetType(), 3);
    EXPECT_EQ(document.GetTableau()->GetTraitement()->chartPresentation.GetType(), 3);
    // One column as a pie: a slice per row, named by the rows.
    EXPECT_EQ(model.kind, ChartKind::Pie);
    EXPECT_EQ(model.series.size(), static_cast<std::size_t>(document.GetTableau()->RowCount()));
    EXPECT_EQ(model.seriesLabels.front(), document.GetTableau()->DonnerLibelleLigne(0));
}

TEST_F(ChartWindowTest, TheChartIsCopiedPrintedAndKeptInThePortfolioAsAChart) {
    ASSERT_TRUE(Start(DemoPath()));
    std::unique_ptr<CTraitement> request = Request("type tri-croise\nlignes REGION\ncolonnes SEXE\ncalculs 0\n");
    request->openAsChart = 1;
    ASSERT_TRUE(CMainFrame::LancerTraitement(std::move(request)));
    QApplication::processEvents();
    ASSERT_EQ(ChartDocuments().size(), 1u);
    CGraphView& view = ViewOf(*ChartDocuments().front());

    QApplication::clipboard()->clear();
    ASSERT_TRUE(IsEnabled(FrameworkCommands::kEditCopy));
    ASSERT_TRUE(Run(FrameworkCommands::kEditCopy));
    EXPECT_EQ(QApplication::clipboard()->image().size(), view.GetChart().size());

    const std::filesystem::path pdf = Temporary("chart-window.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    ASSERT_TRUE(view.Imprimer(printer));
    EXPECT_EQ(Read(pdf).rfind("%PDF", 0), 0u);
    std::filesystem::remove(pdf);

    ASSERT_TRUE(Run(kAjouterAuDossier));
    std::vector<CDossierDoc*> portfolios;
    for (CDocument* document : m_app->GetTemplate(TemplateKind::kDossier).GetDocuments())
        portfolios.push_back(dynamic_cast<CDossierDoc*>(document));
    ASSERT_EQ(portfolios.size(), 1u);
    CDossierDoc& portfolio = *portfolios.front();
    ASSERT_EQ(portfolio.GetNbreElements(), 1);
    EXPECT_EQ(portfolio.GetElement(0)->type, CElementDossier::kGraphique);

    const std::filesystem::path rtf = Temporary("chart-portfolio.rtf");
    ASSERT_TRUE(portfolio.ExporterWord(rtf.string()));
    const std::string text = Read(rtf);
    EXPECT_NE(text.find("\\picwgoal8957\\pichgoal5953\\pngblip"), std::string::npos);
    EXPECT_EQ(text.find("\\trowd"), std::string::npos) << "the chart, not its table";
    std::filesystem::remove(rtf);

    // A double click on the element opens it again as a chart, which the portfolio keeps.
    ChartDocuments().front()->OnCloseDocument();
    ASSERT_TRUE(ChartDocuments().empty());
    CDossierView& tree = *portfolio.GetPremiereVue();
    QTreeWidgetItem* item = tree.topLevelItem(0);
    ASSERT_NE(item, nullptr);
    emit tree.itemDoubleClicked(item, 0);
    QApplication::processEvents();
    ASSERT_EQ(ChartDocuments().size(), 1u);
    EXPECT_EQ(ChartDocuments().front()->GetTableau(), portfolio.GetElement(0)->GetTableau());
    // Closing the portfolio closes the chart it lent.
    m_app->FermerFenetresLiees(&portfolio);
    EXPECT_TRUE(ChartDocuments().empty());
}

// Every command of the chart window works from the window itself: the "Fichier" exports, which
// were greyed, write the chart as a picture to RTF and its data, the charted table, to a workbook
// and to text; "Edition/Copier" puts the chart's picture on the clipboard.
TEST_F(ChartWindowTest, TheChartWindowExportsItsPictureAndItsDataAndCopiesItsPicture) {
    ASSERT_TRUE(Start(DemoPath()));
    CGraphDoc& document = OpenRegionsBySexChart();
    CGraphView& view = ViewOf(document);
    const CTableau& table = *document.GetTableau();
    ASSERT_GE(table.RowCount(), 2);
    ASSERT_GE(table.ColumnCount(), 2);
    for (const unsigned id : {CTableauView::kExporterWord, CTableauView::kExporterExcel, CTableauView::kExporterAscii,
                              unsigned{FrameworkCommands::kEditCopy}})
        EXPECT_TRUE(IsEnabled(id)) << id;
    DesktopOpenings desktop;

    // The picture in the RTF: a PNG of the document's proportions (158 x 105 mm), drawn.
    const std::filesystem::path rtf = Temporary("chart-window.rtf");
    ExportTo(CTableauView::kExporterWord, rtf);
    const std::string document_text = Read(rtf);
    EXPECT_EQ(document_text.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(document_text.find("\\picwgoal8957\\pichgoal5953\\pngblip"), std::string::npos);
    EXPECT_EQ(document_text.find("\\trowd"), std::string::npos) << "the chart, not its table";
    const QImage picture = FirstPicture(document_text);
    ASSERT_FALSE(picture.isNull());
    EXPECT_NEAR(double(picture.width()) / picture.height(), 158.0 / 105.0, 0.01);
    EXPECT_GT(InkedPixels(picture), picture.width() * picture.height() / 100);

    // The workbook: the charted table under its header rows, a row per region, a column per answer
    // to the sex question, each cell the count the chart draws (the numbers expected are the
    // chart's own series, which the window drew, not the table the export reads).
    const std::filesystem::path xlsx = Temporary("chart-window.xlsx");
    ExportTo(CTableauView::kExporterExcel, xlsx);
    EXPECT_EQ(desktop.opened, QStringList{QString::fromStdString(xlsx.string())}) << "opened for the analyst";
    const xlsx_test::Workbook workbook(xlsx.string());
    ASSERT_EQ(workbook.SheetNames(), std::vector<std::string>{"Feuil1"});
    const ChartModel& model = view.GetChart().Model();
    ASSERT_EQ(model.series.size(), static_cast<std::size_t>(table.ColumnCount()));
    const int headerRows = table.DonnerNbLignesEnTete();
    for (std::int32_t row = 0; row < table.RowCount(); ++row) {
        const std::string sheetRow = std::to_string(headerRows + row + 1);
        const std::optional<xlsx_test::Cell> label = workbook.At("Feuil1", "A" + sheetRow);
        ASSERT_TRUE(label.has_value()) << sheetRow;
        EXPECT_EQ(label->text, model.pointLabels[static_cast<std::size_t>(row)]);
        for (std::size_t series = 0; series < model.series.size(); ++series) {
            const std::string column(1, static_cast<char>('B' + series));
            const std::optional<xlsx_test::Cell> value = workbook.At("Feuil1", column + sheetRow);
            ASSERT_TRUE(value.has_value()) << column << sheetRow;
            EXPECT_EQ(value->kind, xlsx_test::Cell::Kind::Number) << column << sheetRow;
            EXPECT_DOUBLE_EQ(value->number, model.series[series].y[static_cast<std::size_t>(row)]);
        }
    }

    // The text file: the charted table as the table window writes it, its labels and counts.
    const std::filesystem::path txt = Temporary("chart-window.txt");
    ExportTo(CTableauView::kExporterAscii, txt);
    std::string expected;
    TableTextExport::Append(table, expected);
    EXPECT_EQ(Read(txt), expected);
    EXPECT_NE(Read(txt).find(model.pointLabels.front() + "\t"), std::string::npos);
    EXPECT_TRUE(m_ui->shown.empty()) << m_ui->ShownTexts().front();

    // The copy: the chart as the window shows it.
    QApplication::clipboard()->clear();
    ASSERT_TRUE(Run(FrameworkCommands::kEditCopy));
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), view.GetChart().size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              view.GetChart().grab().toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(InkedPixels(copied), 0);
    for (const std::filesystem::path& path : {rtf, xlsx, txt})
        std::filesystem::remove(path);
}

// The menus of a chart window offer its commands: "Copier" in "Edition", beside "Présentation..."
// and "Ajouter au Dossier", and the three exports in "Fichier", all of them enabled.
TEST_F(ChartWindowTest, TheMenusOfTheChartWindowOfferItsCommandsEnabled) {
    ASSERT_TRUE(Start(DemoPath()));
    OpenRegionsBySexChart();
    std::map<std::string, std::vector<std::string>> enabled;
    for (QAction* entry : Frame().menuBar()->actions()) {
        QMenu* menu = entry->menu();
        if (menu == nullptr)
            continue;
        emit menu->aboutToShow();
        for (const QAction* item : menu->actions())
            if (!item->isSeparator() && item->isEnabled())
                enabled[menu->title().toStdString()].push_back(item->text().toStdString());
    }
    const auto has = [&enabled](const std::string& menu, const std::string& item) {
        const std::vector<std::string>& items = enabled[menu];
        return std::find(items.begin(), items.end(), item) != items.end();
    };
    for (const char* item : {"Copier", "Présentation...", "Ajouter au Dossier"})
        EXPECT_TRUE(has("&Edition", item)) << item;
    for (const char* item : {"Exporter vers Word...", "Exporter vers Excel...", "Exporter en Ascii...", "Imprimer...",
                             "Aperçu avant l'impression"})
        EXPECT_TRUE(has("&Fichier", item)) << item;
}

} // namespace
