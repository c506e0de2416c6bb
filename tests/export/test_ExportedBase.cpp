// The base of the title block in the text output and the three exports: every digit of a base of
// 1,234,567 interviews (not "1.23457e+06"), and a weighted base with the table's decimals of
// real values.
#include "ExportTestSupport.h"
#include "XlsxReader.h"

#include "export/TableListExports.h"
#include "tabulation/Traitement.h"
#include "tools/qesrun/TablePrinter.h"

namespace {

using namespace export_test;

class ExportedBaseTest : public ExportFixture {};

TEST_F(ExportedBaseTest, TheBasePrintsAsTheWholeNumberItIsOrWithTheDecimalsOfAWeightedTable) {
    const struct {
        const char* name;
        double base;
        bool weighted;
        int realDecimals;
        const char* shown;
    } cases[] = {
        // 1,234,567 interviews counted one by one.
        {"a survey of 1,234,567 interviews", 1234567.0, false, 2, "Base : 1234567"},
        {"twenty million", 20000000.0, false, 2, "Base : 20000000"},
        // An unweighted base is rounded to the nearest whole number: 1234566.6 + 0.5, truncated.
        {"an unweighted base rounded", 1234566.6, false, 2, "Base : 1234567"},
        {"a weighted base", 1234567.891, true, 2, "Base : 1234567.89"},
        {"a weighted base without decimals", 1234567.2, true, 0, "Base : 1234567"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CTableau> table = SmallTable();
        table->base = c.base;
        auto request = std::make_unique<CTraitement>();
        request->weightingId = c.weighted ? 3 : -1;
        table->SetTraitement(std::move(request));
        CPresentationTableau presentation = table->GetPresentation();
        presentation.SetEstTitreBase(true);
        presentation.SetReel(static_cast<std::uint16_t>(c.realDecimals));
        table->SetPresentation(presentation);
        const std::vector<const CTableauBase*> tables = {table.get()};

        std::ostringstream printed;
        qesrun::TablePrinter::Print(*table, printed);
        EXPECT_NE(printed.str().find(std::string(c.shown) + "\n"), std::string::npos) << c.name << ": " << printed.str();
        Message error;
        ASSERT_TRUE(ExporterTableauxAscii(tables, Path("base.txt"), "", error)) << c.name;
        EXPECT_NE(ReadBytes(Path("base.txt")).find(c.shown), std::string::npos) << c.name;
        ASSERT_TRUE(ExporterTableauxWord(tables, Path("base.rtf"), "", error)) << c.name;
        EXPECT_NE(ReadBytes(Path("base.rtf")).find(std::string(c.shown) + "\\cell"), std::string::npos) << c.name;
        ASSERT_TRUE(ExporterTableauxClasseur(tables, Path("base.xlsx"), "", error)) << c.name;
        EXPECT_NE(xlsx_test::ReadZip(Path("base.xlsx"))["xl/sharedStrings.xml"].find(std::string(c.shown) + "<"),
                  std::string::npos)
            << c.name;
    }
}

} // namespace
