// qesrun's export options on the demo questionnaire, run in-process through its command: the
// workbook is read back and compared cell by cell with the tables qesrun prints (which its own
// golden files check), the text and RTF files hold every table in order, and the questionnaire
// itself is never a target.
#include "ExportTestSupport.h"
#include "XlsxReader.h"

#include "app/StringTable.h"
#include "export/ExporterTableauExcel.h"
#include "support/DemoSurveyFolder.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/Command.h"

#include <cstdio>
#include <sstream>

namespace {

using namespace export_test;
using qesrun::Command;
using xlsx_test::Cell;
using xlsx_test::Workbook;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome Qesrun(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.exitCode = Command::Run(arguments, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end = text.find(separator); end != std::string::npos; end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// How the sheet shows a cell: its text, or its number written with the decimals of its format and
// the sign the format adds.
std::string Shown(const Cell& cell) {
    if (cell.kind == Cell::Kind::Text)
        return cell.text;
    if (cell.kind != Cell::Kind::Number)
        return std::string();
    const std::size_t point = cell.numberFormat.find('.');
    int decimals = 0;
    if (point != std::string::npos)
        while (point + 1 + static_cast<std::size_t>(decimals) < cell.numberFormat.size() &&
               cell.numberFormat[point + 1 + static_cast<std::size_t>(decimals)] == '0')
            ++decimals;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, cell.number);
    return std::string(text) + (cell.numberFormat.find("\"%\"") != std::string::npos ? "%" : "");
}

class QesrunExportsTest : public ExportFixture {
protected:
    static std::string Demo() { return DemoSurveyFolder::QuestionnairePath(qesbuild::DemoSurvey::kInterviews); }
    static std::string GoldenRequest(const std::string& name) { return (kGoldenFolder / (name + ".req")).string(); }
};

TEST_F(QesrunExportsTest, TheWorkbookHoldsEveryCellQesrunPrintsAndTheOtherFilesTheSameTable) {
    const Outcome run = Qesrun({Demo(), GoldenRequest("qesrun-cross"), "--xlsx", Path("croise.xlsx"), "--rtf",
                                Path("croise.rtf"), "--txt", Path("croise.txt")});
    ASSERT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;
    EXPECT_EQ(run.out, ReadBytes(kGoldenFolder / "qesrun-cross.tsv")) << "printing is unchanged";

    // The printout: title, base, then the grid; the workbook: title, then the grid.
    std::vector<std::string> lines = Split(run.out, '\n');
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    ASSERT_GT(lines.size(), 3u);
    const Workbook workbook(Path("croise.xlsx"));
    ASSERT_EQ(workbook.SheetNames(), std::vector<std::string>{"Feuil1"});
    EXPECT_EQ(workbook.At("Feuil1", "A1")->text, lines[0]);
    std::size_t compared = 0;
    for (std::size_t line = 2; line < lines.size(); ++line) {
        const std::vector<std::string> fields = Split(lines[line], '\t');
        for (std::size_t column = 0; column < fields.size(); ++column) {
            const std::string name =
                NomCelluleExcel(static_cast<std::int32_t>(line - 1), static_cast<std::int32_t>(column));
            const std::optional<Cell> cell = workbook.At("Feuil1", name);
            ASSERT_TRUE(cell.has_value()) << name;
            EXPECT_EQ(Shown(*cell), fields[column]) << name;
            ++compared;
        }
    }
    EXPECT_EQ(compared, (lines.size() - 2) * 22u);
    EXPECT_EQ(workbook.At("Feuil1", "B4")->kind, Cell::Kind::Number);

    const std::string text = ReadBytes(Path("croise.txt"));
    EXPECT_EQ(text.rfind("Satisfaction globale x Région\r\n\r\nBase : 2000\tÎle-de-France\t\t\tNord-Est", 0), 0u);
    EXPECT_NE(text.find("\r\nTotal\t374\t100.0 %\t \t428\t"), std::string::npos);
    const std::string rtf = ReadBytes(Path("croise.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\deff0\\deflang1036\r\n", 0), 0u);
    EXPECT_NE(rtf.find("\\u206?le-de-France\\cell"), std::string::npos);
    EXPECT_NE(rtf.find("\\qr\r\n100.0%\\cell"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
}

TEST_F(QesrunExportsTest, SeveralTablesFollowEachOtherInOneFileOrTakeASheetEach) {
    const std::string request = Path("trois.req");
    WriteText(request, "type tri-croise\nlignes SATISF\ncolonnes REGION\ncalculs 0 2 4\nfusion 0\n");
    const Outcome run = Qesrun({Demo(), request, "--txt", Path("trois.txt"), "--rtf", Path("trois.rtf"), "--xlsx",
                                Path("trois.xlsx"), "--one-sheet-per-table"});
    ASSERT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;

    // The printout's titles, in order (one table per calculation), and the rows of each grid
    // (the lines holding cells).
    std::vector<std::string> titles;
    std::vector<std::size_t> gridRows;
    const std::vector<std::string> lines = Split(run.out, '\n');
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        if (i == 0 || lines[i - 1].empty()) {
            titles.push_back(lines[i]);
            gridRows.push_back(0);
        } else if (lines[i].find('\t') != std::string::npos) {
            ++gridRows.back();
        }
    }
    ASSERT_EQ(titles.size(), 3u) << run.out;

    const std::string text = ReadBytes(Path("trois.txt"));
    std::size_t at = 0;
    for (const std::string& title : titles) {
        at = text.find(title + "\r\n\r\nBase : 2000\t", at);
        ASSERT_NE(at, std::string::npos) << title;
        ++at;
    }
    const std::string rtf = ReadBytes(Path("trois.rtf"));
    EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '\n'), std::count(rtf.begin(), rtf.end(), '\r'));
    std::size_t rows = 0;
    for (std::size_t found = rtf.find("\\row\r\n"); found != std::string::npos; found = rtf.find("\\row\r\n", found + 1))
        ++rows;
    EXPECT_EQ(rows, gridRows[0] + gridRows[1] + gridRows[2]);

    const Workbook sheets(Path("trois.xlsx"));
    ASSERT_EQ(sheets.SheetNames().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(sheets.At(sheets.SheetNames()[i], "A1")->text, titles[i]);
    EXPECT_EQ(sheets.SheetNames()[1].substr(0, 20), sheets.SheetNames()[0].substr(0, 20));
    EXPECT_NE(sheets.SheetNames()[1], sheets.SheetNames()[0]);

    // Without the option, one sheet: the tables one below the other with an empty row between.
    const Outcome below = Qesrun({Demo(), request, "--xlsx", Path("dessous.xlsx")});
    ASSERT_EQ(below.exitCode, Command::kTablesPrinted) << below.err;
    const Workbook sheet(Path("dessous.xlsx"));
    ASSERT_EQ(sheet.SheetNames(), std::vector<std::string>{"Feuil1"});
    std::size_t titleRow = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sheet.At("Feuil1", NomCelluleExcel(static_cast<std::int32_t>(titleRow), 0))->text, titles[i]);
        titleRow += 1 + gridRows[i] + 1;
    }
}

TEST_F(QesrunExportsTest, TheQuestionnaireIsNeverOverwrittenAndAWrongOptionIsRefused) {
    // A copy of the demo of this test's own, so that nothing else depends on it.
    const std::string questionnaire = Path("demo.qes");
    std::filesystem::copy_file(Demo(), questionnaire);
    const std::string before = ReadBytes(questionnaire);
    const Outcome run = Qesrun({questionnaire, GoldenRequest("qesrun-flat"), "--txt", Path("ok.txt"), "--rtf",
                                Path("./demo.qes")});
    EXPECT_EQ(run.exitCode, Command::kExportFailed);
    EXPECT_FALSE(run.out.empty()) << "the tables are printed all the same";
    EXPECT_EQ(run.err, "qesrun: " +
                           StringTable::Format(Message(StringTable::kExportSurQuestionnaireOuvert, {Path("./demo.qes")})) +
                           "\n");
    EXPECT_EQ(ReadBytes(questionnaire), before);
    EXPECT_TRUE(std::filesystem::exists(Path("ok.txt")));

    for (const std::vector<std::string>& wrong : {std::vector<std::string>{Demo(), GoldenRequest("qesrun-flat"), "--rtf"},
                                                 std::vector<std::string>{Demo(), GoldenRequest("qesrun-flat"), "--txt",
                                                                          "a.txt", "--txt", "b.txt"}}) {
        const Outcome refused = Qesrun(wrong);
        EXPECT_EQ(refused.exitCode, Command::kRefused);
        EXPECT_NE(refused.err.find("--rtf FILE"), std::string::npos) << refused.err;
    }
}

} // namespace
