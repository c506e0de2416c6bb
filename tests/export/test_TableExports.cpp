// The three exports as the table window, the portfolio and qesrun call them: what they refuse,
// what a failed write leaves (nothing, and the earlier file intact), and tables far larger than
// usual, written whole.
#include "ExportTestSupport.h"
#include "XlsxReader.h"

#include "app/StringTable.h"
#include "export/ChartPictures.h"
#include "export/ExportFile.h"
#include "export/TableExports.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <system_error>

namespace {

using namespace export_test;

using Exporter = std::function<bool(const CTableauBase&, const std::string&, const std::string&, Message&)>;

struct Kind {
    const char* name;
    Exporter exporter;
};

const Kind kKinds[] = {
    {"rtf", &ExporterTableauWord},
    {"graphique.rtf", &ExporterGraphiqueWord},
    {"xlsx", &ExporterTableauClasseur},
    {"txt", &ExporterTableauAscii},
};

std::string Reason(int error) { return std::generic_category().message(error); }

// Files beyond `bytes` cannot grow while it lives: a write past it fails with EFBIG, as on a full
// disk. The signal the system sends with it is ignored for that time.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

// The head of a PNG picture of 4 x 3 pixels (signature and header chunk), as a painter of charts
// would hand it; the RTF writer reads its size from it and copies its bytes.
const std::vector<std::uint8_t> kPicture = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H',
                                            'D', 'R', 0, 0, 0, 4, 0, 0, 0, 3, 8, 6, 0, 0, 0, 0xAB, 0xCD, 0xEF, 0x01};

// Draws every chart as kPicture and keeps the titles of the tables it was given.
class FixedChartPictures : public ChartPictures {
public:
    std::vector<std::uint8_t> DessinerGraphique(const CTableauBase& table) override {
        drawn.push_back(table.title);
        return kPicture;
    }
    std::vector<std::string> drawn;
};

class TableExportsTest : public ExportFixture {
protected:
    // The chart export has a painter, as in the program, unless a test removes it.
    void SetUp() override {
        ExportFixture::SetUp();
        ChartPictures::Install(&pictures);
    }
    void TearDown() override {
        ChartPictures::Install(nullptr);
        ExportFixture::TearDown();
    }

    FixedChartPictures pictures;

    // The target holds an earlier export; nothing else is in the folder.
    std::string EarlierExport(const std::string& name) {
        const std::string path = Path(name);
        WriteText(path, "export précédent");
        return path;
    }
};

TEST_F(TableExportsTest, TheOpenQuestionnaireIsNeverATargetWhateverWayItsPathIsWritten) {
    std::filesystem::create_directory(Path("etude"));
    const std::string questionnaire = Path("etude/enquete.qes");
    WriteText(questionnaire, "questionnaire");
    std::filesystem::create_symlink(questionnaire, Path("lien.qes"));
    const std::unique_ptr<CTableau> table = SmallTable();
    for (const Kind& kind : kKinds) {
        for (const std::string& target : {questionnaire, Path("etude/../etude/enquete.qes"), Path("lien.qes")}) {
            Message error;
            EXPECT_FALSE(kind.exporter(*table, target, questionnaire, error)) << kind.name << " " << target;
            EXPECT_EQ(error, Message(StringTable::kExportSurQuestionnaireOuvert, {target})) << kind.name;
        }
    }
    EXPECT_EQ(ReadBytes(questionnaire), "questionnaire");
    EXPECT_EQ(FolderContents(), (std::vector<std::string>{"etude", "lien.qes"}));
    EXPECT_EQ(std::filesystem::directory_iterator(Path("etude"))->path().filename(), "enquete.qes");
}

TEST_F(TableExportsTest, AFolderADeviceAReadOnlyFileAndAMissingFolderAreRefusedWithTheSystemsReason) {
    std::filesystem::create_directory(Path("dossier"));
    const std::string readOnly = EarlierExport("lecture-seule.txt");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::unique_ptr<CTableau> table = SmallTable();
    struct Refusal {
        std::string target;
        int reason;
    };
    const Refusal refusals[] = {
        {Path("dossier"), EISDIR},
        {"/dev/null", EINVAL},
        {readOnly, EACCES},
        {Path("absent/tableau.rtf"), ENOENT},
        {"", ENOENT},
    };
    for (const Kind& kind : kKinds) {
        for (const Refusal& refusal : refusals) {
            Message error;
            EXPECT_FALSE(kind.exporter(*table, refusal.target, "", error)) << kind.name << " " << refusal.target;
            EXPECT_EQ(error, Message(StringTable::kImpossibleOuvrirFichier, {refusal.target, Reason(refusal.reason)}))
                << kind.name << " " << refusal.target;
        }
    }
    EXPECT_EQ(ReadBytes(readOnly), "export précédent");
    EXPECT_TRUE(std::filesystem::is_directory(Path("dossier")));
    EXPECT_TRUE(std::filesystem::is_empty(Path("dossier")));
    EXPECT_EQ(FolderContents(), (std::vector<std::string>{"dossier", "lecture-seule.txt"}));
    EXPECT_EQ(StringTable::Format(Message(StringTable::kImpossibleOuvrirFichier, {"/x/t.rtf", "Permission denied"})),
              "Impossible d'ouvrir le fichier '/x/t.rtf'...");
}

TEST_F(TableExportsTest, AWriteThatFailsLeavesTheEarlierFileAsItWasAndNoPartialFile) {
    const std::unique_ptr<CTableau> table = CrossTable();
    for (const Kind& kind : kKinds) {
        const std::string target = EarlierExport(std::string("tableau.") + kind.name);
        Message error;
        bool exported = true;
        {
            const FileSizeLimit limit(200);
            exported = kind.exporter(*table, target, "", error);
        }
        EXPECT_FALSE(exported) << kind.name;
        EXPECT_EQ(error.id, StringTable::kEcritureFichierImpossible) << kind.name;
        ASSERT_EQ(error.arguments.size(), 2u) << kind.name;
        EXPECT_EQ(error.arguments[0], target);
        EXPECT_EQ(error.arguments[1], Reason(EFBIG)) << kind.name;
        EXPECT_EQ(ReadBytes(target), "export précédent") << kind.name;
        EXPECT_EQ(FolderContents(), std::vector<std::string>{std::string("tableau.") + kind.name}) << kind.name;
        std::filesystem::remove(target);
    }
    EXPECT_EQ(StringTable::Format(Message(StringTable::kEcritureFichierImpossible, {"/x/t.rtf", "File too large"})),
              "Impossible d'écrire le fichier '/x/t.rtf' : File too large");
}

TEST_F(TableExportsTest, ASuccessfulExportReplacesTheFileKeepsItsPermissionsAndWritesThroughALink) {
    const std::unique_ptr<CTableau> table = SmallTable();
    for (const Kind& kind : kKinds) {
        const std::string target = EarlierExport(std::string("tableau.") + kind.name);
        std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                                 std::filesystem::perms::group_read);
        const std::string link = Path(std::string("lien.") + kind.name);
        std::filesystem::create_symlink(target, link);
        Message error;
        EXPECT_TRUE(kind.exporter(*table, link, "", error)) << kind.name << StringTable::Format(error);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_NE(ReadBytes(target), "export précédent");
        EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read);
        EXPECT_EQ(FolderContents().size(), 2u) << kind.name;
        std::filesystem::remove(link);
        std::filesystem::remove(target);
    }
}

// The chart window's RTF: the chart of the table as a picture of 158 x 105 mm (8957 x 5953 twips)
// whose size in pixels is the picture's own, its bytes in hexadecimal, and no table.
TEST_F(TableExportsTest, TheChartOfATableIsWrittenAsItsPictureAndNothingWithoutAPainter) {
    const std::unique_ptr<CTableau> table = SmallTable();
    Message error;
    ASSERT_TRUE(ExporterGraphiqueWord(*table, Path("graphique.rtf"), "", error)) << StringTable::Format(error);
    EXPECT_EQ(pictures.drawn, std::vector<std::string>{table->title});
    const std::string rtf = ReadBytes(Path("graphique.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("\\paperw11907\\paperh16840"), std::string::npos) << "portrait";
    EXPECT_NE(rtf.find("\\picw4\\pich3\\picwgoal8957\\pichgoal5953\\pngblip\r\n\r\n"
                       "89504e470d0a1a0a0000000d4948445200000004000000030806000000abcdef01\r\n}"),
              std::string::npos);
    EXPECT_EQ(rtf.find("\\trowd"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");

    // Without a painter (a program without windows), no document passes for the chart: the
    // earlier file stays and nothing else is left.
    ChartPictures::Install(nullptr);
    const std::string target = EarlierExport("graphique.rtf");
    EXPECT_FALSE(ExporterGraphiqueWord(*table, target, "", error));
    EXPECT_EQ(error, Message(StringTable::kGraphiqueNonDessine, {table->title, target}));
    EXPECT_EQ(StringTable::Format(error), "Le graphique 'Satisfaction – « globale »' n'a pas pu être dessiné : le "
                                          "fichier '" + target + "' n'a pas été écrit.");
    EXPECT_EQ(ReadBytes(target), "export précédent");
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"graphique.rtf"});
}

TEST_F(TableExportsTest, AnExportFileGoneBeforeItsCommitLeavesNothingAndAFailureStopsEveryLaterWrite) {
    {
        ExportFile file(Path("abandonne.txt"));
        ASSERT_TRUE(file.Open(""));
        EXPECT_TRUE(file.Write("début"));
        EXPECT_EQ(FolderContents().size(), 1u) << "the temporary file";
    }
    EXPECT_TRUE(FolderContents().empty());

    ExportFile file(Path("echec.txt"));
    ASSERT_TRUE(file.Open(""));
    file.Fail(Message(StringTable::kEcritureFichierImpossible, {"echec.txt", "raison"}));
    EXPECT_FALSE(file.Write("suite"));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.GetError(), Message(StringTable::kEcritureFichierImpossible, {"echec.txt", "raison"}));
    EXPECT_TRUE(FolderContents().empty());
}

// A table of many rows or many columns; every cell a count.
std::unique_ptr<CTableau> Large(int rows, int columns) {
    auto table = std::make_unique<CTableau>(1, 1, rows, columns, CTableauBase::kMarqueParColonne);
    table->title = "Grand tableau";
    for (int r = 0; r < rows; ++r) {
        const CLigne label("Ligne " + std::to_string(r + 1));
        table->SetLibelleLigne(0, r, &label);
        for (int c = 0; c < columns; ++c)
            table->SetValeur(r, c, r + c);
    }
    for (int c = 0; c < columns; ++c) {
        const CLigne label(std::string("C").append(std::to_string(c + 1)));
        table->SetLibelleColonne(0, c, &label);
    }
    return table;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

TEST_F(TableExportsTest, AHundredThousandRowsAreWrittenWholeTheRtfInPiecesOfTheLargestAllowedSize) {
    const std::unique_ptr<CTableau> table = Large(100000, 1);
    Message error;
    ASSERT_TRUE(ExporterTableauAscii(*table, Path("grand.txt"), "", error));
    const std::string text = ReadBytes(Path("grand.txt"));
    EXPECT_EQ(Count(text, "\r\n"), 2u + 100001u + 1u);
    EXPECT_NE(text.find("\r\nLigne 100000\t99999\r\n"), std::string::npos);

    ASSERT_TRUE(ExporterTableauWord(*table, Path("grand.rtf"), "", error));
    const std::string rtf = ReadBytes(Path("grand.rtf"));
    // 32768 lines per piece: four pieces of at most 32767 rows, each under the header row.
    EXPECT_EQ(Count(rtf, "\\row\r\n"), 100000u + 4u);
    EXPECT_EQ(Count(rtf, "C1\\cell"), 4u);
    EXPECT_NE(rtf.find("Ligne 100000\\cell"), std::string::npos);

    // The sheet read as it is stored: every cell there, the last one holding its number.
    ASSERT_TRUE(ExporterTableauClasseur(*table, Path("grand.xlsx"), "", error));
    const std::string sheet = xlsx_test::ReadZip(Path("grand.xlsx")).at("xl/worksheets/sheet1.xml");
    EXPECT_EQ(Count(sheet, "<c r="), 100001u * 2u);
    EXPECT_NE(sheet.find("<c r=\"B100001\" s=\""), std::string::npos);
    EXPECT_NE(sheet.find("<v>99999</v></c></row></sheetData>"), std::string::npos);
}

TEST_F(TableExportsTest, TwoThousandColumnsAreWrittenWhole) {
    const std::unique_ptr<CTableau> table = Large(2, 2000);
    Message error;
    ASSERT_TRUE(ExporterTableauAscii(*table, Path("large.txt"), "", error));
    const std::string text = ReadBytes(Path("large.txt"));
    EXPECT_NE(text.find("\tC2000\r\nLigne 1\t0\t1\t"), std::string::npos);
    ASSERT_TRUE(ExporterTableauWord(*table, Path("large.rtf"), "", error));
    const std::string rtf = ReadBytes(Path("large.rtf"));
    // Columns too narrow for their numbers would be broken by a word processor: the table is
    // written in pieces of columns that each fit the page, every piece under its header row and
    // beside the row headings, every column in one piece.
    const std::size_t rows = Count(rtf, "\\row\r\n");
    EXPECT_EQ(rows % 3, 0u);
    const std::size_t pieces = rows / 3;
    EXPECT_GT(pieces, 100u);
    EXPECT_EQ(Count(rtf, "Ligne 1\\cell"), pieces);
    EXPECT_EQ(Count(rtf, "Ligne 2\\cell"), pieces);
    EXPECT_EQ(Count(rtf, "\\cell\r\n"), 3u * (2000u + pieces));
    for (const char* label : {"\r\nC1\\cell", "\r\nC2\\cell", "\r\nC999\\cell", "\r\nC2000\\cell"})
        EXPECT_EQ(Count(rtf, label), 1u) << label;
    std::int32_t widest = 0;
    for (std::size_t at = rtf.find("\\cellx"); at != std::string::npos; at = rtf.find("\\cellx", at + 1))
        widest = std::max(widest, std::stoi(rtf.substr(at + 6)));
    EXPECT_LE(widest, 10433);
}

} // namespace
