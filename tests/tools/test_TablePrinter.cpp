#include "app/Ligne.h"
#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "tools/qesrun/TablePrinter.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qesrun::TablePrinter;

class TablePrinterTest : public SettingsFixture {
protected:
    // Two lines by three columns, a marker per column: counts, percentages, significance marks;
    // the presentation's built-in decimals (0 for counts, 1 for percentages, with "%").
    static std::unique_ptr<CTableau> SmallTable() {
        auto table = std::make_unique<CTableau>(1, 1, 2, 3, CTableauBase::kMarqueParColonne);
        table->title = "Satisfaction";
        table->base = 12.4;
        const CLigne rows[] = {CLigne("Oui"), CLigne("Non\tpas du tout")};
        const CLigne columns[] = {CLigne("Effectifs"), CLigne("Pourcentage"), CLigne("Significativité")};
        for (int i = 0; i < 2; ++i)
            table->SetLibelleLigne(0, i, &rows[i]);
        for (int j = 0; j < 3; ++j)
            table->SetLibelleColonne(0, j, &columns[j]);
        table->SetMarque(0, CTableauBase::kMarqueEffectif);
        table->SetMarque(1, CTableauBase::kMarquePourcentage);
        table->SetMarque(2, CTableauBase::kMarqueSignificativite);
        const double values[2][3] = {{9, 75, 2}, {3, 25, CTableauBase::kValeurManquante}};
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 3; ++j)
                table->SetValeur(i, j, values[i][j]);
        return table;
    }

    static std::string Printed(const CTableauBase& table) {
        std::ostringstream out;
        TablePrinter::Print(table, out);
        return out.str();
    }
};

TEST_F(TablePrinterTest, TitleTitleBlockThenTheGridAsTheTableShowsIt) {
    // The base is rounded; a missing value is an empty cell; the tab of a label is escaped.
    EXPECT_EQ(Printed(*SmallTable()), "Satisfaction\n"
                                      "Base : 12\n"
                                      "Base : 12\tEffectifs\tPourcentage\tSignificativité\n"
                                      "Oui\t9\t75.0%\t++\n"
                                      "Non\\tpas du tout\t3\t25.0%\t\n");
}

TEST_F(TablePrinterTest, ATransposedTableIsPrintedAsDisplayed) {
    std::unique_ptr<CTableau> table = SmallTable();
    CPresentationTableau presentation = table->GetPresentation();
    presentation.SetOrientation(1);
    presentation.SetEstTitreAuDessus(true);
    table->SetPresentation(presentation);
    EXPECT_EQ(Printed(*table), "Satisfaction\n"
                               "Base : 12\n"
                               "\tOui\tNon\\tpas du tout\n"
                               "Effectifs\t9\t3\n"
                               "Pourcentage\t75.0%\t25.0%\n"
                               "Significativité\t++\t\n");
}

TEST_F(TablePrinterTest, TitleBlockLinesFollowThePresentationAndBreaksAreEscaped) {
    std::unique_ptr<CTableau> table = SmallTable();
    table->title = "A\\B";
    table->studyFieldCaption = "Hommes";
    table->levelCaption = "Membres";
    CPresentationTableau presentation = table->GetPresentation();
    presentation.SetEstTitreChamp(true);
    presentation.SetEstTitreLevel(true);
    table->SetPresentation(presentation);
    const std::string printed = Printed(*table);
    EXPECT_EQ(printed.substr(0, printed.find("\tEffectifs")), "A\\\\B\n"
                                                              "Base : 12\n"
                                                              "Hommes\n"
                                                              "Membres\n"
                                                              "Base : 12\\nHommes\\nMembres");
}

TEST_F(TablePrinterTest, TablesAreSeparatedByOneEmptyLine) {
    std::vector<std::unique_ptr<CTableau>> tables;
    tables.push_back(SmallTable());
    tables.push_back(std::make_unique<CTableau>(1, 1, 0, 0, CTableauBase::kMarqueParColonne));
    tables.back()->title = "Vide";
    std::ostringstream out;
    TablePrinter::PrintAll(tables, out);
    EXPECT_EQ(out.str(), Printed(*tables[0]) + "\nVide\nBase : 0\nBase : 0\n");
}

} // namespace
