// The portfolio's file and clipboard stream: the bytes of a saved file checked by hand, an older
// file without marker, a tree's depths kept, tables computed again on the open survey (a missing
// question turns a table into a chapter, said once), and every damaged stream refused whole.
#include "PortfolioTestSupport.h"
#include "app/StringTable.h"
#include "portfolio/PortfolioArchive.h"
#include "portfolio/RecalculDossier.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

using portfolio_test::Cell;
using portfolio_test::Pointers;
using portfolio_test::PortfolioTest;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Append(Bytes& bytes, std::initializer_list<int> values) {
    for (int value : values)
        bytes.push_back(static_cast<std::uint8_t>(value));
}

void AppendText(Bytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// The record of a class met for the first time: FF FF, schema 1, the name's length and the name.
void AppendElementClass(Bytes& bytes) {
    Append(bytes, {0xFF, 0xFF, 0x01, 0x00, 0x0F, 0x00});
    AppendText(bytes, "CElementDossier");
}

// A chapter as an older version wrote it: type 0, depth, a single-byte name, no table.
void AppendChapter(Bytes& bytes, int depth, const std::string& name) {
    Append(bytes, {0, 0, 0, 0, depth, 0, 0, 0, static_cast<int>(name.size())});
    AppendText(bytes, name);
    Append(bytes, {0, 0});
}

class PortfolioFileTest : public PortfolioTest {
protected:
    void SetUp() override {
        PortfolioTest::SetUp();
        Open();
    }

    // A chapter with two tables under it, as a tree walk leaves them.
    std::vector<std::unique_ptr<CElementDossier>> ChapterWithTwoTables() {
        std::vector<std::unique_ptr<CElementDossier>> elements;
        elements.push_back(std::make_unique<CElementDossier>("Chapitre 1"));
        elements.push_back(TableElement(portfolio_test::kCrossRequest));
        elements.push_back(TableElement(portfolio_test::kFlatRequest));
        elements[1]->depth = 1;
        elements[2]->depth = 1;
        return elements;
    }

    bool Load(const std::string& path, std::vector<std::unique_ptr<CElementDossier>>& elements, int& version,
              Message& error) {
        return PortfolioArchive::Charger(path, elements, version, error);
    }
};

TEST_F(PortfolioFileTest, ASavedFileStartsWithTheVersionMarkerThenTheCountAndTheElementClass) {
    std::vector<std::unique_ptr<CElementDossier>> elements;
    elements.push_back(std::make_unique<CElementDossier>("A"));
    elements.push_back(std::make_unique<CElementDossier>("B"));
    Message error;
    ASSERT_TRUE(PortfolioArchive::Enregistrer(FilePath("deux.dos"), Pointers(elements), error));

    // Marker -404, count 2, the class record, then chapter A: type 0, depth 0, the name in the
    // Unicode form (FF FE FF, length 1, UTF-16), no table; then B behind the class index 0x8001.
    Bytes expected;
    Append(expected, {0xFF, 0xFF, 0x6C, 0xFE, 0xFF, 0xFF, 0x02, 0x00});
    AppendElementClass(expected);
    Append(expected, {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x01, 'A', 0x00, 0x00, 0x00});
    Append(expected, {0x01, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x01, 'B', 0x00, 0x00, 0x00});
    EXPECT_EQ(ReadFile(FilePath("deux.dos")), expected);
}

TEST_F(PortfolioFileTest, AFileWithoutTheMarkerIsReadAsVersion403) {
    Bytes bytes;
    Append(bytes, {0x02, 0x00});
    AppendElementClass(bytes);
    AppendChapter(bytes, 0, "Ancien");
    Append(bytes, {0x01, 0x80});
    AppendChapter(bytes, 1, "Sous");
    WriteFile(FilePath("ancien.dos"), bytes);

    std::vector<std::unique_ptr<CElementDossier>> elements;
    int version = 0;
    Message error;
    ASSERT_TRUE(Load(FilePath("ancien.dos"), elements, version, error)) << StringTable::Format(error);
    EXPECT_EQ(version, 403);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0]->name, "Ancien");
    EXPECT_EQ(elements[0]->depth, 0);
    EXPECT_EQ(elements[1]->name, "Sous");
    EXPECT_EQ(elements[1]->depth, 1);
    EXPECT_EQ(elements[1]->type, CElementDossier::kChapitre);
}

TEST_F(PortfolioFileTest, AChapterAndTwoTablesComeBackWithTheirDepthsAndAreComputedAgain) {
    const auto elements = ChapterWithTwoTables();
    Message error;
    ASSERT_TRUE(PortfolioArchive::Enregistrer(FilePath("arbre.dos"), Pointers(elements), error));

    std::vector<std::unique_ptr<CElementDossier>> read;
    int version = 0;
    ASSERT_TRUE(Load(FilePath("arbre.dos"), read, version, error)) << StringTable::Format(error);
    EXPECT_EQ(version, 404);
    ASSERT_EQ(read.size(), 3u);
    const struct {
        std::int32_t type;
        std::int32_t depth;
        const char* name;
    } expected[] = {{CElementDossier::kChapitre, 0, "Chapitre 1"},
                    {CElementDossier::kTableau, 1, "Sexe par région"},
                    {CElementDossier::kTableau, 1, "Sexe"}};
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i]->type, expected[i].type);
        EXPECT_EQ(read[i]->depth, expected[i].depth);
        EXPECT_EQ(read[i]->name, expected[i].name);
    }
    // The file holds requests, not numbers.
    ASSERT_NE(read[1]->GetTableau(), nullptr);
    EXPECT_EQ(read[1]->GetTableau()->RowCount(), 0);
    RecalculDossier recalcul(context);
    for (const auto& element : read)
        recalcul.RecalculerElement(*element);
    EXPECT_TRUE(recalcul.AucunEchec());
    EXPECT_EQ(Cell(*read[1]->GetTableau(), "Femme", "Nord"), 2.0);
}

// Computed, added, saved, reopened and computed again: the same table, cell by cell; and the
// counts are those counted by hand.
TEST_F(PortfolioFileTest, ATableComputedAgainFromTheFileEqualsTheTableComputedDirectly) {
    const std::unique_ptr<CTableau> direct = Compute(portfolio_test::kCrossRequest);
    ASSERT_NE(direct, nullptr);
    const struct {
        const char* row;
        const char* column;
        double count;
    } byHand[] = {{"Homme", "Nord", 1}, {"Homme", "Sud", 1}, {"Femme", "Nord", 2}, {"Femme", "Sud", 1}};
    for (const auto& cell : byHand)
        EXPECT_EQ(Cell(*direct, cell.row, cell.column), cell.count) << cell.row << " " << cell.column;

    std::vector<std::unique_ptr<CElementDossier>> elements;
    elements.push_back(std::make_unique<CElementDossier>(*direct));
    Message error;
    ASSERT_TRUE(PortfolioArchive::Enregistrer(FilePath("un.dos"), Pointers(elements), error));
    std::vector<std::unique_ptr<CElementDossier>> read;
    int version = 0;
    ASSERT_TRUE(Load(FilePath("un.dos"), read, version, error));
    ASSERT_EQ(read.size(), 1u);
    RecalculDossier recalcul(context);
    ASSERT_TRUE(recalcul.RecalculerElement(*read[0]));
    const CTableau& again = *read[0]->GetTableau();
    ASSERT_EQ(again.RowCount(), direct->RowCount());
    ASSERT_EQ(again.ColumnCount(), direct->ColumnCount());
    for (std::int32_t r = 0; r < direct->RowCount(); ++r) {
        EXPECT_EQ(again.DonnerLibelleLigne(r), direct->DonnerLibelleLigne(r));
        for (std::int32_t c = 0; c < direct->ColumnCount(); ++c)
            EXPECT_EQ(again.GetValeur(r, c), direct->GetValeur(r, c)) << r << "," << c;
    }
    EXPECT_EQ(again.base, direct->base);
    EXPECT_NE(again.GetTraitement(), nullptr);
}

// Reopened on a survey that lacks REGION, the cross table becomes a chapter under its name and
// the user is told once, with what it misses; the flat table of SEXE is computed.
TEST_F(PortfolioFileTest, ATableOfAMissingQuestionBecomesAChapterAndIsReported) {
    const auto elements = ChapterWithTwoTables();
    Message error;
    const std::string path = FilePath("autre.dos");
    ASSERT_TRUE(PortfolioArchive::Enregistrer(path, Pointers(elements), error));
    const Bytes saved = ReadFile(path);

    context.FermerEtude();
    Open(portfolio_test::kSurveyWithoutRegion);
    WriteFile(path, saved);
    std::vector<std::unique_ptr<CElementDossier>> read;
    int version = 0;
    ASSERT_TRUE(Load(path, read, version, error));
    ASSERT_EQ(read.size(), 3u);
    RecalculDossier recalcul(context);
    for (const auto& element : read)
        recalcul.RecalculerElement(*element);

    EXPECT_EQ(read[1]->type, CElementDossier::kChapitre);
    EXPECT_EQ(read[1]->name, "Sexe par région");
    EXPECT_EQ(read[1]->GetTableau(), nullptr);
    EXPECT_EQ(read[2]->type, CElementDossier::kTableau);
    ASSERT_FALSE(recalcul.AucunEchec());
    const Message summary = recalcul.DonnerMessage();
    EXPECT_EQ(summary.id, StringTable::kDossierElementsDevenusChapitres);
    const std::string text = StringTable::Format(summary);
    EXPECT_NE(text.find("Sexe par région"), std::string::npos) << text;
    EXPECT_NE(text.find("REGION"), std::string::npos) << text;
    EXPECT_EQ(text.find("\nSexe\n"), std::string::npos) << text;
}

// Every shorter piece of a saved file is refused with a message, and leaves nothing read.
TEST_F(PortfolioFileTest, AFileCutAtAnyByteIsRefused) {
    const auto elements = ChapterWithTwoTables();
    Message error;
    ASSERT_TRUE(PortfolioArchive::Enregistrer(FilePath("entier.dos"), Pointers(elements), error));
    const Bytes whole = ReadFile(FilePath("entier.dos"));
    const std::string path = FilePath("coupe.dos");
    for (std::size_t size = 1; size < whole.size(); ++size) {
        WriteFile(path, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        std::vector<std::unique_ptr<CElementDossier>> read;
        int version = 0;
        Message refused;
        EXPECT_FALSE(Load(path, read, version, refused)) << size;
        EXPECT_TRUE(read.empty()) << size;
        EXPECT_EQ(refused.id, StringTable::kDossierIllisible) << size;
    }
}

TEST_F(PortfolioFileTest, DamagedHeadersAreRefusedWithTheirReason) {
    const struct {
        const char* name;
        Bytes bytes;
        int message;
    } cases[] = {
        {"a count of 2^31 after the marker",
         {0xFF, 0xFF, 0x6C, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80},
         StringTable::kDossierIllisible},
        {"a count of 2^31 - 1 without marker",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
         StringTable::kDossierIllisible},
        {"the marker of a later version (-405)",
         {0xFF, 0xFF, 0x6B, 0xFE, 0xFF, 0xFF, 0x00, 0x00},
         StringTable::kDossierVersionInconnue},
        {"an element of an unknown class",
         {0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x03, 0x00, 'A', 'b', 'c', 0, 0, 0, 0},
         StringTable::kDossierIllisible},
        {"a null element",
         {0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         StringTable::kDossierIllisible},
    };
    for (const auto& tested : cases) {
        SCOPED_TRACE(tested.name);
        WriteFile(FilePath("abime.dos"), tested.bytes);
        std::vector<std::unique_ptr<CElementDossier>> read;
        int version = 0;
        Message refused;
        EXPECT_FALSE(Load(FilePath("abime.dos"), read, version, refused));
        EXPECT_EQ(refused.id, tested.message);
        EXPECT_EQ(refused.arguments, std::vector<std::string>{FilePath("abime.dos")});
    }
}

TEST_F(PortfolioFileTest, AnEmptyFileIsAnEmptyPortfolioAndAMissingOneCannotBeOpened) {
    WriteFile(FilePath("vide.dos"), {});
    std::vector<std::unique_ptr<CElementDossier>> read;
    int version = 0;
    Message error;
    EXPECT_TRUE(Load(FilePath("vide.dos"), read, version, error));
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(Load(FilePath("absent.dos"), read, version, error));
    EXPECT_EQ(error.id, StringTable::kImpossibleOuvrirFichier);
}

// A failed save leaves the old file whole: here the temporary file cannot be made, a folder
// standing in its place.
TEST_F(PortfolioFileTest, AFailedSaveKeepsTheOldFile) {
    const auto elements = ChapterWithTwoTables();
    const std::string path = FilePath("garde.dos");
    Message error;
    ASSERT_TRUE(PortfolioArchive::Enregistrer(path, Pointers(elements), error));
    const Bytes before = ReadFile(path);
    std::filesystem::create_directories(path + ".part");
    EXPECT_FALSE(PortfolioArchive::Enregistrer(path, {elements[0].get()}, error));
    EXPECT_EQ(error.id, StringTable::kEnregistrementDossierImpossible);
    EXPECT_EQ(ReadFile(path), before);
}

// The clipboard stream: the count and the elements at version 405, without marker; anything
// else under our format (another program's text, a stream cut short) is refused.
TEST_F(PortfolioFileTest, TheClipboardStreamRoundTripsAndRefusesForeignBytes) {
    const auto elements = ChapterWithTwoTables();
    const Bytes stream = PortfolioArchive::EcrirePressePapiers(Pointers(elements));
    ASSERT_GE(stream.size(), 2u);
    EXPECT_EQ(stream[0], 0x03);
    EXPECT_EQ(stream[1], 0x00);
    std::vector<std::unique_ptr<CElementDossier>> read;
    ASSERT_TRUE(PortfolioArchive::LirePressePapiers(stream, read));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2]->name, "Sexe");
    EXPECT_EQ(read[2]->depth, 1);

    const std::string text = "Bonjour, ceci vient d'un autre programme.";
    std::vector<Bytes> foreign = {Bytes(text.begin(), text.end()), {}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    for (std::size_t size = 1; size < stream.size(); ++size)
        foreign.emplace_back(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(size));
    for (const Bytes& bytes : foreign) {
        std::vector<std::unique_ptr<CElementDossier>> none;
        EXPECT_FALSE(PortfolioArchive::LirePressePapiers(bytes, none)) << bytes.size();
        EXPECT_TRUE(none.empty());
    }
}

} // namespace
