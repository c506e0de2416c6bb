// A workbook whose parts the spreadsheet library could not write (its temporary folder full, a
// write there failing) is an export that failed: the library says nothing, so the written file is
// read back part by part. Here the check itself on containers made by hand, then the export in a
// child process whose temporary parts cannot be written: by a file-size limit that the parts pass
// and the compressed workbook does not, and by a temporary folder on a tiny file system.
#include "ExportTestSupport.h"

#include "app/StringTable.h"
#include "export/TableListExports.h"
#include "export/XlsxPackageCheck.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace {

using namespace export_test;

void Append(std::string& bytes, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A zip container of stored entries, as a zip tool writes one.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string bytes;
    std::string directory;
    for (const auto& [name, content] : entries) {
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
        const auto size = static_cast<std::uint32_t>(content.size());
        const auto nameSize = static_cast<std::uint32_t>(name.size());
        std::string entry;
        Append(directory, 0x02014b50, 4);
        Append(directory, 20, 2);
        Append(directory, 20, 2);
        Append(directory, 0, 2);
        Append(directory, 0, 2); // stored
        Append(directory, 0, 4);
        Append(directory, crc, 4);
        Append(directory, size, 4);
        Append(directory, size, 4);
        Append(directory, nameSize, 2);
        Append(directory, 0, 2);
        Append(directory, 0, 2);
        Append(directory, 0, 2);
        Append(directory, 0, 2);
        Append(directory, 0, 4);
        Append(directory, static_cast<std::uint32_t>(bytes.size()), 4);
        directory += name;
        Append(bytes, 0x04034b50, 4);
        Append(bytes, 20, 2);
        Append(bytes, 0, 2);
        Append(bytes, 0, 2);
        Append(bytes, 0, 4);
        Append(bytes, crc, 4);
        Append(bytes, size, 4);
        Append(bytes, size, 4);
        Append(bytes, nameSize, 2);
        Append(bytes, 0, 2);
        bytes += name + content;
    }
    const auto offset = static_cast<std::uint32_t>(bytes.size());
    bytes += directory;
    Append(bytes, 0x06054b50, 4);
    Append(bytes, 0, 4);
    Append(bytes, static_cast<std::uint32_t>(entries.size()), 2);
    Append(bytes, static_cast<std::uint32_t>(entries.size()), 2);
    Append(bytes, static_cast<std::uint32_t>(directory.size()), 4);
    Append(bytes, offset, 4);
    Append(bytes, 0, 2);
    return bytes;
}

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string kSheet = kDeclaration + "<worksheet xmlns=\"x\"><sheetData><row r=\"1\"/></sheetData></worksheet>";

TEST(XlsxPackageCheck, EveryPartMustBeWholeAndTheFirstIncompleteOneIsNamed) {
    const struct {
        const char* name;
        std::string container;
        bool complete;
        const char* part;
    } cases[] = {
        {"whole parts", StoredZip({{"[Content_Types].xml", kDeclaration + "<Types/>"}, {"xl/worksheets/sheet1.xml", kSheet}}),
         true, ""},
        {"a trailing line break", StoredZip({{"xl/workbook.xml", kSheet + "\n"}}), true, ""},
        {"an empty part", StoredZip({{"[Content_Types].xml", kDeclaration + "<Types/>"}, {"xl/styles.xml", ""}}),
         false, "xl/styles.xml"},
        {"a part cut where a buffer ended", StoredZip({{"xl/worksheets/sheet1.xml", kSheet.substr(0, 90)}}), false,
         "xl/worksheets/sheet1.xml"},
        {"a part cut after a closing tag", StoredZip({{"xl/worksheets/sheet1.xml", kSheet.substr(0, kSheet.size() - 12)}}),
         false, "xl/worksheets/sheet1.xml"},
        {"a part without its declaration", StoredZip({{"_rels/.rels", "<Relationships></Relationships>"}}), false,
         "_rels/.rels"},
        {"an empty picture", StoredZip({{"xl/media/image1.png", ""}}), false, "xl/media/image1.png"},
        {"no container", "not a zip", false, ""},
        {"an empty file", "", false, ""},
        {"a directory cut short", StoredZip({{"xl/workbook.xml", kSheet}}).substr(0, 60) + std::string(22, '\0'), false,
         ""},
    };
    for (const auto& c : cases) {
        std::string part = "unchanged";
        EXPECT_EQ(XlsxPackageCheck::CompleteBytes(c.container, part), c.complete) << c.name;
        EXPECT_EQ(part, c.part) << c.name;
    }
}

// A table whose sheet takes far more bytes than its compressed workbook: 3,000 rows of ten counts.
std::unique_ptr<CTableau> LongTable() {
    constexpr int kRows = 3000;
    constexpr int kColumns = 10;
    auto table = std::make_unique<CTableau>(1, 1, kRows, kColumns, CTableauBase::kMarqueParColonne);
    table->title = "Longue";
    table->base = kRows;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            table->SetValeur(r, c, 1000 + c);
    return table;
}

constexpr int kExported = 0;
constexpr int kRefused = 1;
constexpr int kCannotArrange = 77;

// Runs the export of `table` into `path` in a child process prepared by `arrange` (false when the
// system does not allow the arrangement). The child reports the export's result and writes the
// message of a refusal into `messagePath`.
int ExportInChild(const CTableau& table, const std::string& path, const std::string& messagePath,
                  const std::function<bool()>& arrange) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (!arrange())
            ::_exit(kCannotArrange);
        Message error;
        const bool written = ExporterTableauxClasseur(std::vector<const CTableauBase*>{&table}, path, "", error);
        if (!written)
            WriteText(messagePath, StringTable::Format(error));
        ::_exit(written ? kExported : kRefused);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class XlsxTemporaryPartsTest : public ExportFixture {
protected:
    // An earlier export of the same name, which a failed export must leave as it was.
    std::string EarlierExport() {
        const std::string path = Path("tableau.xlsx");
        Message error;
        EXPECT_TRUE(ExporterTableauxClasseur(std::vector<const CTableauBase*>{SmallTable().get()}, path, "", error));
        return ReadBytes(path);
    }

    void ExpectRefusedAndKept(int result, const std::string& earlier) {
        ASSERT_NE(result, kCannotArrange);
        EXPECT_EQ(result, kRefused) << "the export reported success";
        EXPECT_EQ(ReadBytes(Path("tableau.xlsx")), earlier) << "the earlier export was replaced";
        const std::string message = ReadBytes(Path("message.txt"));
        EXPECT_NE(message.find("Impossible d'écrire le fichier '" + Path("tableau.xlsx") + "'"), std::string::npos)
            << message;
        EXPECT_NE(message.find("xl/worksheets/sheet1.xml"), std::string::npos) << message;
        EXPECT_EQ(FolderContents(), (std::vector<std::string>{"message.txt", "tableau.xlsx"}));
    }
};

TEST_F(XlsxTemporaryPartsTest, APartWriteThatFailsLeavesTheEarlierWorkbook) {
    const std::string earlier = EarlierExport();
    const auto table = LongTable();
    // The sheet's part runs to several hundred kilobytes; the compressed workbook to a few dozen.
    const int result = ExportInChild(*table, Path("tableau.xlsx"), Path("message.txt"), [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{128 * 1024, 128 * 1024};
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    ExpectRefusedAndKept(result, earlier);
    // Without the limit the same table is written whole.
    EXPECT_EQ(ExportInChild(*table, Path("tableau.xlsx"), Path("message.txt"), [] { return true; }), kExported);
    std::string part;
    EXPECT_TRUE(XlsxPackageCheck::Complete(Path("tableau.xlsx"), part)) << part;
}

TEST_F(XlsxTemporaryPartsTest, AFullTemporaryFolderLeavesTheEarlierWorkbook) {
    const std::string earlier = EarlierExport();
    const std::string tiny = Path("tmp");
    std::filesystem::create_directories(tiny);
    const auto table = LongTable();
    // A file system of 4 KB of its own, mounted in a namespace of the child's (where user
    // namespaces are allowed, or as root): the library's temporary files land there.
    const int result = ExportInChild(*table, Path("tableau.xlsx"), Path("message.txt"), [&tiny] {
        const bool root = ::geteuid() == 0;
        if (::unshare(root ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", tiny.c_str(), "tmpfs", 0, "size=4k") != 0)
            return false;
        return ::setenv("TMPDIR", tiny.c_str(), 1) == 0;
    });
    if (result == kCannotArrange)
        GTEST_SKIP() << "this system allows no file system of the test's own";
    std::filesystem::remove(tiny);
    ExpectRefusedAndKept(result, earlier);
}

} // namespace
