#include "MorvaneAppTestSupport.h"
#include "app/StringTable.h"
#include "framework/FrameworkCommands.h"
#include "portfolio/ElementDossier.h"
#include "gui/presentation/Chart2D.h"
#include "gui/presentation/GraphDoc.h"
#include "gui/presentation/GraphView.h"
#include "gui/presentation/PageGraphiqueGeneralDlg.h"
#include "gui/presentation/PresentationGraphiqueDlg.h"
#include "gui/requests/SelCalculDlg.h"
#include "shell/DossierDoc.h"
#include "shell/DossierView.h"

#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

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
};

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

} // namespace
