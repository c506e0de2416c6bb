// The text export of a table: golden files read line by line when they were made, and the rules
// a reader of the file relies on: CR LF only, as many fields on every line, the markers where the
// settings put them, every text on one line.
#include "ExportTestSupport.h"

#include "app/StringTable.h"
#include "export/TableExports.h"
#include "export/TableTextExport.h"

namespace {

using namespace export_test;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// Every line end is CR LF: no CR or LF stands alone.
bool OnlyCrLf(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

class TableTextExportTest : public ExportFixture {
protected:
    std::string Exported(const CTableauBase& table) {
        Message error;
        EXPECT_TRUE(ExporterTableauAscii(table, Path("table.txt"), "", error)) << StringTable::Format(error);
        return ReadBytes(Path("table.txt"));
    }
};

TEST_F(TableTextExportTest, TheSmallTableGivesTitleEmptyLineThreeRowsOfThreeFieldsAndOneEmptyLine) {
    const std::string text = Exported(*SmallTable());
    ExpectGolden("export-2x2.txt", text);
    EXPECT_EQ(Lines(text), (std::vector<std::string>{
                               "Satisfaction – « globale »",
                               "",
                               "Base : 500\tEffectifs\tPourcentage",
                               "Très satisfait\t125\t25.0 %",
                               "Peu \\ {pas} satisfait\t375\t75.0 %",
                               "",
                               "",
                           }));
}

TEST_F(TableTextExportTest, MarkersOffTheLineStartTheFirstRowAndFollowTheLastLineEnd) {
    CRegistre::SetString("Tableau", "MarqueurAvant", "<<DEBUT>>");
    CRegistre::SetString("Tableau", "MarqueurApres", "<<FIN>>");
    CRegistre::SetInt("Tableau", "NombreLigneApresTableau", 2);
    // The title block above the table: its lines end in CR LF, the corner is empty.
    const std::unique_ptr<CTableau> table = SmallTable();
    CPresentationTableau presentation = table->GetPresentation();
    presentation.SetEstTitreAuDessus(true);
    presentation.SetEstTitreChamp(true);
    table->SetPresentation(presentation);
    const std::string text = Exported(*table);
    ExpectGolden("export-2x2-markers.txt", text);
    EXPECT_TRUE(OnlyCrLf(text));
    EXPECT_EQ(Lines(text), (std::vector<std::string>{
                               "Satisfaction – « globale »",
                               "Base : 500",
                               "Toutes les interviews",
                               "<<DEBUT>>\tEffectifs\tPourcentage",
                               "Très satisfait\t125\t25.0 %",
                               "Peu \\ {pas} satisfait\t375\t75.0 %",
                               "<<FIN>>",
                               "",
                               "",
                           }));
}

TEST_F(TableTextExportTest, TheCrossTableHasSevenFieldsOnEveryLineAndItsMarkerEndsTheLastRow) {
    CRegistre::SetString("Tableau", "MarqueurAvant", "[");
    CRegistre::SetString("Tableau", "MarqueurApres", "]");
    CRegistre::SetBool("Tableau", "MarqueurSurLigne", true);
    CRegistre::SetInt("Tableau", "NombreLigneApresTableau", 0);
    const std::string text = Exported(*CrossTable());
    ExpectGolden("export-cross.txt", text);
    EXPECT_TRUE(OnlyCrLf(text));
    const std::vector<std::string> lines = Lines(text);
    // Title, an empty line, 2 header rows and 18 data rows; the file ends with the last row's
    // line end.
    ASSERT_EQ(lines.size(), 2u + 20u + 1u);
    EXPECT_EQ(lines.back(), "");
    for (std::size_t i = 2; i < 22; ++i)
        EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 5) << lines[i];
    // The corner (two columns, title block) then the heading over the four regions; the age group
    // once over its three rows; a blank before the per-cent sign.
    EXPECT_EQ(lines[2], "[Base : 2000\t\tRégion\t\t\t");
    EXPECT_EQ(lines[3], "\t\tÎle-de-France\tNord-Est\tSud-Ouest\tOutre-mer");
    EXPECT_EQ(lines[4], "18-24 ans\tEffectifs\t10\t13\t16\t19");
    EXPECT_EQ(lines[5], "\t% ligne\t2.5 %\t3.2 %\t4.0 %\t4.8 %");
    EXPECT_EQ(lines[6], "\t% colonne\t1.2 %\t1.6 %\t2.0 %\t2.4 %");
    EXPECT_EQ(lines[21], "\t% colonne\t7.5 %\t7.9 %\t8.2 %\t8.6 %]");
}

TEST_F(TableTextExportTest, LineBreaksAndTabsInsideTextsBecomeBlanksAndAMissingValueIsOneBlank) {
    auto table = std::make_unique<CTableau>(1, 1, 1, 2, CTableauBase::kMarqueParColonne);
    table->title = "Deux\nlignes";
    const CLigne row("ligne\r\navec\tune tabulation");
    const CLigne first("col\n1");
    const CLigne second("col 2");
    table->SetLibelleLigne(0, 0, &row);
    table->SetLibelleColonne(0, 0, &first);
    table->SetLibelleColonne(0, 1, &second);
    table->SetValeur(0, 0, CTableauBase::kValeurManquante);
    table->SetValeur(0, 1, 3);
    CPresentationTableau presentation = table->GetPresentation();
    presentation.SetEstTitreChamp(true);
    table->SetPresentation(presentation);
    table->studyFieldCaption = "Hommes";
    const std::string text = Exported(*table);
    EXPECT_TRUE(OnlyCrLf(text));
    EXPECT_EQ(Lines(text), (std::vector<std::string>{"Deux", "lignes", "", "Base : 0 Hommes\tcol 1\tcol 2",
                                                     "ligne avec une tabulation\t \t3", "", ""}));
}

TEST_F(TableTextExportTest, ARunAcrossColumnsIsFollowedByOneTabPerColumnItCovers) {
    // Three data columns; the first two merged in the header row.
    auto table = std::make_unique<CTableau>(1, 1, 1, 3, CTableauBase::kMarqueParColonne);
    auto merges = std::make_unique<CFusion>(1, 1, 1, 3);
    merges->SetFusion(0, 1, 1);
    table->SetFusionColonnes(std::move(merges));
    const CLigne both("Deux colonnes");
    const CLigne last("Une");
    table->SetLibelleColonne(0, 0, &both);
    table->SetLibelleColonne(0, 2, &last);
    std::string text;
    TableTextExport::Append(*table, text);
    EXPECT_EQ(Lines(text)[2], "Base : 0\tDeux colonnes\t\tUne");
    // Ending its row, the run is followed by one tab fewer.
    auto merged = std::make_unique<CFusion>(1, 1, 1, 3);
    merged->SetFusion(0, 2, 1);
    table->SetFusionColonnes(std::move(merged));
    text.clear();
    TableTextExport::Append(*table, text);
    EXPECT_EQ(Lines(text)[2], "Base : 0\tDeux colonnes\t\t");
}

} // namespace
