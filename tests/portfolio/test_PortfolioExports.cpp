// The three exports of a whole portfolio: the text file byte for byte against golden files (the
// markers off and on), the RTF document with a heading style per depth (its golden file is also
// read back by LibreOffice in `make office-check`), and the workbook's sheets named from the
// elements' names, made unique.
#include "PortfolioTestSupport.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "export/ExportTestSupport.h"
#include "export/XlsxReader.h"
#include "portfolio/ExportsDossier.h"

namespace {

using export_test::ExpectGolden;
using export_test::ReadBytes;
using portfolio_test::Pointers;
using portfolio_test::PortfolioTest;

class PortfolioExportsTest : public PortfolioTest {
protected:
    void SetUp() override {
        PortfolioTest::SetUp();
        Open();
        // Chapitre 1 > (Sexe par région, Section > Sexe), then Annexe at the root.
        elements.push_back(std::make_unique<CElementDossier>("Chapitre 1"));
        elements.push_back(TableElement(portfolio_test::kCrossRequest));
        elements.push_back(std::make_unique<CElementDossier>("Section"));
        elements.push_back(TableElement(portfolio_test::kFlatRequest));
        elements.push_back(std::make_unique<CElementDossier>("Annexe"));
        const std::int32_t depths[] = {0, 1, 1, 2, 0};
        for (std::size_t i = 0; i < elements.size(); ++i)
            elements[i]->depth = depths[i];
    }

    std::vector<std::unique_ptr<CElementDossier>> elements;
};

TEST_F(PortfolioExportsTest, TheTextExportMatchesItsGoldenFileWithoutMarkers) {
    ExpectGolden("portfolio-export.txt", ExportsDossier::TexteAscii(Pointers(elements)));
}

TEST_F(PortfolioExportsTest, TheTextExportMatchesItsGoldenFileWithMarkers) {
    CRegistre::SetString("Tableau", "MarqueurAvant", "<<DEBUT>>");
    CRegistre::SetString("Tableau", "MarqueurApres", "<<FIN>>");
    CRegistre::SetInt("Tableau", "NombreLigneApresTitre", 2);
    ExpectGolden("portfolio-export-markers.txt", ExportsDossier::TexteAscii(Pointers(elements)));
}

TEST_F(PortfolioExportsTest, TheTextExportWritesTheFileAndRefusesTheOpenQuestionnaire) {
    const std::string path = FilePath("dossier.txt");
    Message error;
    ASSERT_TRUE(ExportsDossier::ExporterAscii(Pointers(elements), path, context.questionnairePath, error));
    EXPECT_EQ(ReadBytes(path), ExportsDossier::TexteAscii(Pointers(elements)));
    EXPECT_FALSE(ExportsDossier::ExporterAscii(Pointers(elements), context.questionnairePath,
                                               context.questionnairePath, error));
}

// One heading style per depth, 15 - n points (in half points: 28, 26, 24), the Normal style of
// 10 points, and each element's name in its heading.
TEST_F(PortfolioExportsTest, TheRtfDocumentHasAHeadingStylePerDepth) {
    const std::string path = FilePath("dossier.rtf");
    Message error;
    ASSERT_TRUE(ExportsDossier::ExporterWord(Pointers(elements), path, context.questionnairePath, error))
        << StringTable::Format(error);
    const std::string rtf = ReadBytes(path);
    for (const char* expected : {"Titre 1;", "Titre 2;", "Titre 3;", "Normal;", "\\fs28", "\\fs26", "\\fs24"})
        EXPECT_NE(rtf.find(expected), std::string::npos) << expected;
    EXPECT_EQ(rtf.find("Titre 4;"), std::string::npos);
    ExpectGolden("portfolio-export.rtf", rtf);
}

// One sheet per table: "Ventes 2024" and "ventes-2024" differ only in case and punctuation, so
// the second one's final digits are raised until the name is free; the chapter has no sheet.
TEST_F(PortfolioExportsTest, TheWorkbookNamesOneSheetPerTableFromTheElementNames) {
    CRegistre::SetIsOneSheetPerTable(true);
    elements[1]->name = "Ventes 2024";
    elements[3]->name = "ventes-2024";
    const std::string path = FilePath("dossier.xlsx");
    Message error;
    ASSERT_TRUE(ExportsDossier::ExporterClasseur(Pointers(elements), path, context.questionnairePath, error))
        << StringTable::Format(error);
    const xlsx_test::Workbook workbook(path);
    EXPECT_EQ(workbook.SheetNames(), (std::vector<std::string>{"Ventes2024", "ventes2025"}));
    const std::optional<xlsx_test::Cell> title = workbook.At("ventes2025", "A1");
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(title->text, "ventes-2024");
}

// The workbook holds tables only: a chart, map or dendrogram element leaves no cell (its name
// included), and the message the analyst reads afterwards names every element left out, one a line.
TEST_F(PortfolioExportsTest, WhatIsNotATableIsLeftOutOfTheWorkbookAndNamedInTheMessage) {
    EXPECT_FALSE(ExportsDossier::ElementsHorsClasseur(Pointers(elements)).has_value());
    const std::string without = FilePath("sans-graphique.xlsx");
    Message error;
    ASSERT_TRUE(ExportsDossier::ExporterClasseur(Pointers(elements), without, context.questionnairePath, error));

    const std::pair<CElementDossier::Type, const char*> others[] = {
        {CElementDossier::kGraphique, "Sexe en graphique"},
        {CElementDossier::kMapping, "Carte des régions"},
        {CElementDossier::kDendogramme, "Arbre des groupes"},
        {CElementDossier::kGraphique, "Région en graphique"},
    };
    for (const auto& [type, name] : others) {
        std::unique_ptr<CElementDossier> chart = TableElement(portfolio_test::kFlatRequest);
        ASSERT_NE(chart, nullptr);
        chart->type = type;
        chart->name = name;
        chart->depth = 1;
        elements.insert(elements.begin() + 2, std::move(chart));
    }
    const std::string with = FilePath("avec-graphiques.xlsx");
    ASSERT_TRUE(ExportsDossier::ExporterClasseur(Pointers(elements), with, context.questionnairePath, error));
    const xlsx_test::Workbook before(without);
    const xlsx_test::Workbook after(with);
    ASSERT_EQ(after.SheetNames(), std::vector<std::string>{"Feuil1"});
    EXPECT_EQ(after.CellCount("Feuil1"), before.CellCount("Feuil1"));
    // Rows 1 to 200 of the first columns hold the same cells: no chart came in between the tables.
    for (int row = 1; row <= 200; ++row)
        for (const char* column : {"A", "B", "C"}) {
            const std::string reference = column + std::to_string(row);
            const std::optional<xlsx_test::Cell> was = before.At("Feuil1", reference);
            const std::optional<xlsx_test::Cell> is = after.At("Feuil1", reference);
            ASSERT_EQ(was.has_value(), is.has_value()) << reference;
            if (is.has_value()) {
                EXPECT_EQ(is->text, was->text) << reference;
                EXPECT_EQ(is->number, was->number) << reference;
            }
        }

    const std::optional<Message> told = ExportsDossier::ElementsHorsClasseur(Pointers(elements));
    ASSERT_TRUE(told.has_value());
    EXPECT_EQ(StringTable::Format(*told),
              "Le classeur ne contient que les tableaux du dossier ; ces éléments n'y sont pas :"
              "\nRégion en graphique\nArbre des groupes\nCarte des régions\nSexe en graphique");
}

} // namespace
