// The map window as the program opens it: through the application's map opener, its commands in
// the "Mapping" menu, sent to a portfolio, reopened from it by a double click, and closed with
// the document that holds its map.
#include "MorvaneAppTestSupport.h"
#include "portfolio/ElementDossier.h"
#include "portfolio/ExportsDossier.h"
#include "gui/presentation/MappingDoc.h"
#include "gui/presentation/MappingTestSupport.h"
#include "gui/presentation/MappingView.h"
#include "shell/DocumentTemplates.h"
#include "shell/DossierDoc.h"
#include "shell/DossierView.h"

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using mapping_test::MappingEssai;
using shell_test::MorvaneAppTest;

class MapWindowTest : public MorvaneAppTest {
protected:
    std::vector<CMappingDoc*> MapDocuments() const {
        std::vector<CMappingDoc*> maps;
        for (CDocument* document : m_app->GetTemplate(TemplateKind::kMapping).GetDocuments())
            maps.push_back(dynamic_cast<CMappingDoc*>(document));
        return maps;
    }
};

TEST_F(MapWindowTest, AMapOpensItsWindowGoesToAPortfolioAndComesBackFromIt) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(DocumentTemplates::IsAvailable(TemplateKind::kMapping));
    MappingEssai essai({{"Paris", 0.1, 0.2}, {"Lyon", -0.2, 0.3}}, {{"Oui", 0.4, -0.1}});
    int analysis = 0; // stands for the analysis document that holds the map
    essai.mapping.proprietaire = &analysis;

    CDocument* opened = m_app->OuvrirMapping(essai.mapping);
    QApplication::processEvents();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetTitle(), "Mapping Axe 1 x 2");
    auto* view = dynamic_cast<CMappingView*>(opened->GetViews().front());
    ASSERT_NE(view, nullptr);

    // The "Mapping" menu's commands reach the active map window.
    for (unsigned id :
         {CMappingView::kZoom50, CMappingView::kZoom400, CMappingView::kBrushingLignes,
          CMappingView::kSizingColonnes, CMappingView::kEnvoyerDossier, CMappingView::kPresentation,
          CMappingView::kExporterWord, 57607u /* Imprimer */, 57609u /* Aperçu */})
        EXPECT_TRUE(IsEnabled(id)) << id;
    ASSERT_TRUE(Run(CMappingView::kZoom200));
    EXPECT_EQ(view->GetZoom(), 200.0);

    ASSERT_TRUE(Run(CMappingView::kEnvoyerDossier));
    const std::vector<CDocument*> portfolios = m_app->GetTemplate(TemplateKind::kDossier).GetDocuments();
    ASSERT_EQ(portfolios.size(), 1u);
    auto* portfolio = dynamic_cast<CDossierDoc*>(portfolios.front());
    ASSERT_NE(portfolio, nullptr);
    ASSERT_EQ(portfolio->GetNbreElements(), 1);
    CElementDossier* element = portfolio->GetElement(0);
    EXPECT_EQ(element->type, CElementDossier::kMapping);
    EXPECT_EQ(element->name, "Mapping Axe 1 x 2");
    ASSERT_NE(element->GetMapping(), nullptr);

    // The analysis closes: its map window goes, the portfolio's copy stays.
    m_app->FermerFenetresLiees(&analysis);
    QApplication::processEvents();
    EXPECT_TRUE(MapDocuments().empty());

    auto* tree = dynamic_cast<CDossierView*>(portfolio->GetPremiereVue());
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
    QApplication::processEvents();
    ASSERT_EQ(MapDocuments().size(), 1u);
    EXPECT_EQ(MapDocuments().front()->GetMapping(), element->GetMapping());
    EXPECT_EQ(MapDocuments().front()->GetMapping()->DonnerLibelle(0, 1), "Lyon");

    // The portfolio's Word export holds the map's heading, then its square picture.
    const std::filesystem::path rtf = std::filesystem::path(::testing::TempDir()) / "portfolio-map.rtf";
    std::filesystem::remove(rtf);
    Message error;
    ASSERT_TRUE(ExportsDossier::ExporterWord({element}, rtf.string(), std::string(), error));
    std::ifstream file(rtf, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    const std::size_t heading = text.find("Mapping Axe 1 x 2");
    const std::size_t picture = text.find("\\picw1200\\pich1200\\picwgoal8957\\pichgoal8957\\pngblip");
    ASSERT_NE(heading, std::string::npos);
    ASSERT_NE(picture, std::string::npos);
    EXPECT_LT(heading, picture);

    // Closing the portfolio closes the window on its map first.
    portfolio->OnCloseDocument();
    QApplication::processEvents();
    EXPECT_TRUE(MapDocuments().empty());
}

} // namespace
