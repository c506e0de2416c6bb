#include "ToolsTestSupport.h"
#include "tools/qesbuild/CsvTable.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/FixtureError.h"
#include "tools/qesbuild/QesWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using namespace qesbuild;
using tools_test::ReadBytes;
using tools_test::TempFolder;
using tools_test::WriteText;

namespace {

const char* const kHeader = "questionnaire \"Q\" language=fr\n"
                            "language 1036 fr \"Français\"\n";

FixtureDescription ParseText(const std::string& text, const std::filesystem::path& base = {}) {
    return DescriptionParser::Parse(text, "fixture.txt", base);
}

} // namespace

TEST(DescriptionParser, OutlineDepthsKindsAndTypesFollowTheBlocks) {
    const FixtureDescription fixture = ParseText(std::string(kHeader) + "chapter 100 C\n"
                                                                        "  question 1 A closed\n"
                                                                        "  loop 500 L count=4\n"
                                                                        "    question 2 B date datekind=2\n"
                                                                        "  end\n"
                                                                        "end\n"
                                                                        "question 3 D discrete\n"
                                                                        "question 4 E interval\n");
    const auto& q = fixture.questionnaire->questions;
    ASSERT_EQ(q.size(), 6u);
    struct Expected {
        std::int32_t code;
        std::int16_t depth, kind, type;
    };
    const Expected expected[] = {{100, 1, 0, 1}, {1, 2, 1, 1}, {500, 2, 2, 4},
                                 {2, 3, 1, 3},   {3, 1, 1, 6}, {4, 1, 1, 7}};
    for (std::size_t i = 0; i < q.size(); ++i) {
        SCOPED_TRACE(q[i]->name);
        EXPECT_EQ(q[i]->code, expected[i].code);
        EXPECT_EQ(q[i]->depth, expected[i].depth);
        EXPECT_EQ(q[i]->kind, expected[i].kind);
        EXPECT_EQ(q[i]->type, expected[i].type);
    }
    EXPECT_EQ(q[2]->answerCount, 4);
    EXPECT_EQ(q[3]->dateKind, 2);
    EXPECT_EQ(fixture.questionnaire->language, 1036);
    EXPECT_EQ(fixture.fileVersion, 404);
}

TEST(DescriptionParser, QuotedTextsKeepEscapesBlanksAndHashes) {
    const FixtureDescription fixture =
        ParseText(std::string(kHeader) + "question 1 A open   # a comment\n"
                                         "  caption fr \"Say \\\"hi\\\" # not a comment\" \"two\\nlines\"\n");
    const CQuestion& question = *fixture.questionnaire->questions[0];
    EXPECT_EQ(question.GetLocalisedShortCaption(1036), "Say \"hi\" # not a comment");
    EXPECT_EQ(question.GetLocalisedLongCaption(1036), "two\nlines");
}

TEST(CsvTable, EmptyCellsAreAbsentAndQuotedCellsAreTexts) {
    const CsvTable table = CsvTable::Parse("Cle1,1;1,2;1\n"
                                           "1,\"a, \"\"b\"\"\nc\",\n"
                                           "\n"
                                           "2,\"\",x\n",
                                           "data.csv");
    ASSERT_EQ(table.rows().size(), 2u);
    EXPECT_EQ(table.rows()[0].cells[1], std::optional<std::string>("a, \"b\"\nc"));
    EXPECT_EQ(table.rows()[0].cells[2], std::nullopt);
    EXPECT_EQ(table.rows()[1].line, 5); // the quoted line break counts, the blank line is skipped
    EXPECT_EQ(table.rows()[1].cells[1], std::optional<std::string>(""));
}

// Each bad description names its line and writes nothing: no file where there was none, and an
// existing target keeps its bytes.
TEST(DescriptionParser, FaultsNameTheirLineAndWriteNoFile) {
    struct Case {
        const char* name;
        std::string description;
        int line;
        const char* message;
    };
    const std::string q1 = "question 1 A closed\n  modality 1 fr \"a\"\n";
    const Case cases[] = {
        {"unknown keyword", std::string(kHeader) + "questoin 1 A closed\n", 3,
         "unknown keyword \"questoin\""},
        {"duplicate question code", std::string(kHeader) + q1 + "question 1 B open\n", 5, "duplicate code 1"},
        {"duplicate modality code", std::string(kHeader) + q1 + "  modality 1 fr \"b\"\n", 5,
         "duplicate modality code 1"},
        {"unknown option", std::string(kHeader) + "question 1 A closed colour=red\n", 3, "unknown option"},
        {"unknown language", std::string(kHeader) + q1 + "  caption xx \"A\"\n", 5,
         "unknown language \"xx\""},
        {"loop left open", std::string(kHeader) + "loop 5 L count=2\nquestion 1 A open\n", 3,
         "has no \"end\""},
        {"modality of an open question", std::string(kHeader) + "question 1 A open\n  modality 1 fr \"a\"\n",
         4, "takes no modalities"},
        {"unterminated quote", std::string(kHeader) + "question 1 A open\n  caption fr \"A\n", 4,
         "unterminated"},
        {"column naming no question", std::string(kHeader) + q1 + "records\nCle1,1;1,9;1\n1,1,2\nend\n", 6,
         "names no question"},
        {"non-number in a numeric column",
         std::string(kHeader) + "question 2 N numeric\nrecords\nCle1,2;1\n1,3.5\n2,abc\nend\n", 7,
         "\"abc\" is not a number"},
        {"non-number in a closed column", std::string(kHeader) + q1 + "records\nCle1,1;1\n1,1.5\nend\n", 7,
         "not a whole number"},
        {"missing key", std::string(kHeader) + q1 + "records\n1;1\n1\nend\n", 6, "\"Cle1\" is missing"},
        {"key given twice", std::string(kHeader) + q1 + "records\nCle1,1;1\n1,1\n1,2\nend\n", 8, "UNIQUE"},
        {"records of a loop without level",
         std::string(kHeader) +
             "loop 5 L count=2 nolevel\nquestion 1 A open\nend\nrecords loop=5\nCle1,Cle2\nend\n",
         7, "has no level"},
    };
    TempFolder folder;
    const std::filesystem::path existing = folder.path() / "existing.qes";
    WriteText(existing, "previous content");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        for (const std::filesystem::path& target : {folder.path() / "new.qes", existing}) {
            try {
                FixtureDescription fixture = ParseText(test.description);
                WriteFixture(fixture, target);
                ADD_FAILURE() << "no error";
            } catch (const FixtureError& error) {
                EXPECT_EQ(error.line(), test.line) << error.what();
                EXPECT_NE(std::string(error.what()).find(test.message), std::string::npos) << error.what();
                EXPECT_NE(std::string(error.what()).find("fixture.txt:" + std::to_string(test.line) + ":"),
                          std::string::npos)
                    << error.what();
            }
        }
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "new.qes"));
        EXPECT_EQ(ReadBytes(existing), "previous content");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
            << "a temporary file left";
    }
}

TEST(DescriptionParser, RecordFilesAreReadBesideTheDescriptionAndFaultsNameThem) {
    TempFolder folder;
    WriteText(folder.path() / "fixture.txt",
              std::string(kHeader) + "question 2 N numeric\nrecords \"data.csv\"\n");
    WriteText(folder.path() / "data.csv", "Cle1,2;1\n1,4\n2,x\n");
    FixtureDescription fixture = DescriptionParser::ParseFile(folder.path() / "fixture.txt");
    ASSERT_EQ(fixture.records.size(), 1u);
    try {
        WriteFixture(fixture, folder.path() / "out.qes");
        ADD_FAILURE() << "no error";
    } catch (const FixtureError& error) {
        EXPECT_EQ(error.file(), (folder.path() / "data.csv").string());
        EXPECT_EQ(error.line(), 3);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.qes"));

    // A file that is missing or not a plain file (a folder, a device) cannot be read.
    std::filesystem::create_directories(folder.path() / "folder.csv");
    for (const char* name : {"missing.csv", "folder.csv", "/dev/zero"}) {
        SCOPED_TRACE(name);
        WriteText(folder.path() / "fixture.txt", std::string(kHeader) + "records \"" + name + "\"\n");
        try {
            DescriptionParser::ParseFile(folder.path() / "fixture.txt");
            ADD_FAILURE() << "no error";
        } catch (const FixtureError& error) {
            EXPECT_EQ(error.line(), 3);
            EXPECT_NE(std::string(error.what()).find(std::string("cannot read the records file")),
                      std::string::npos);
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos);
        }
    }
    try {
        DescriptionParser::ParseFile(folder.path() / "folder.csv");
        ADD_FAILURE() << "no error";
    } catch (const FixtureError& error) {
        EXPECT_EQ(error.line(), 0);
        EXPECT_NE(std::string(error.what()).find("cannot read the description"), std::string::npos);
    }
}
