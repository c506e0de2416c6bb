#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "presentation/PoliceAna.h"
#include "presentation/PresGraphSerie.h"
#include "presentation/PresentationGraphique.h"
#include "presentation/PresentationTableau.h"
#include "tests/support/SettingsFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class PresentationArchiveTest : public SettingsFixture {};

template <class T> Bytes Stored(T& record, int version)
{
    CArchiveVersion out(version);
    record.Serialize(out);
    return out.TakeBytes();
}

template <class T> void Load(T& record, const Bytes& bytes, int version)
{
    CArchiveVersion in(bytes, version);
    record.Serialize(in);
    EXPECT_TRUE(in.IsAtEnd());
}

// Every proper prefix fails with an ArchiveException and leaves the record that tried unchanged.
template <class T> void ExpectEveryCutFails(const Bytes& whole, int version, const T& target)
{
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << whole.size());
        T record = target;
        CArchiveVersion in(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)), version);
        EXPECT_THROW(record.Serialize(in), ArchiveException);
        EXPECT_EQ(record, target);
    }
}

void Put16(Bytes& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& bytes, std::uint32_t value)
{
    Put16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(bytes, static_cast<std::uint16_t>(value >> 16));
}

CPoliceAna Font(const std::string& face, double size, std::uint32_t colour)
{
    CPoliceAna font;
    font.SetNom(face);
    font.SetTaille(size);
    font.SetGras(true);
    font.SetSouligne(true);
    font.SetCouleur(colour);
    return font;
}

// Every field away from its default.
CPresentationTableau TablePresentation()
{
    CPresentationTableau presentation;
    presentation.SetQuestion(Font("Arial", 12.5, 0x0000FF));
    presentation.SetLigne(Font("Verdana", 9, 0x00FF00));
    presentation.SetColonne(Font("Tahoma", 8, 0xFF0000));
    presentation.SetCellule(Font("Courier New", 7.25, 0x123456));
    presentation.SetThinBorderSize(4);
    presentation.SetThinBorderType(2);
    presentation.SetNormalBorderSize(3);
    presentation.SetNormalBorderType(0);
    presentation.SetThickBorderSize(0);
    presentation.SetThickBorderType(3);
    presentation.SetOrientation(1);
    presentation.SetTypePage(1);
    presentation.SetEffectif(2);
    presentation.SetPourcentage(3);
    presentation.SetReel(0);
    presentation.SetReservedValue(0, -7);
    presentation.SetReservedValue(2, 123456);
    presentation.SetEstPourcent(false);
    presentation.SetEstTitreAuDessus(true);
    presentation.SetEstTitreBase(false);
    presentation.SetEstTitreChamp(true);
    presentation.SetEstTitreRedressement(true);
    presentation.SetEstTitreLevel(true);
    return presentation;
}

CPresentationGraphique ChartPresentation()
{
    CPresentationGraphique presentation;
    presentation.SetType(5);
    for (int zone = 1; zone <= CPresentationGraphique::kZoneCount; ++zone) {
        presentation.SetVisible(zone, zone % 2 == 0);
        presentation.SetBackColor(zone, 0x010203u * static_cast<std::uint32_t>(zone));
        presentation.SetForeColor(zone, 0x102030u * static_cast<std::uint32_t>(zone));
        presentation.SetBorder(zone, static_cast<std::int16_t>(9 - zone));
    }
    for (int i = 0; i < CPresentationGraphique::kSeriesCount; ++i) {
        CPresGraphSerie serie;
        serie.SetLinePattern(1 + i % 7);
        serie.SetFillPattern(1 + i);
        serie.SetPointStyle(11 - i);
        serie.SetColor(0x000100u * static_cast<std::uint32_t>(i));
        serie.SetSymbolColor(0x010000u * static_cast<std::uint32_t>(i));
        presentation.SetSerie(i, serie);
    }
    return presentation;
}

TEST_F(PresentationArchiveTest, FontLayout)
{
    CPoliceAna font = Font("Arial", 10.5, 0x00123456);
    Bytes expected{0xFF, 0xFE, 0xFF, 5};
    for (char c : std::string("Arial"))
        Put16(expected, static_cast<std::uint8_t>(c));
    const double size = 10.5;
    std::uint64_t sizeBits = 0;
    std::memcpy(&sizeBits, &size, sizeof size);
    Put32(expected, static_cast<std::uint32_t>(sizeBits));
    Put32(expected, static_cast<std::uint32_t>(sizeBits >> 32));
    for (std::uint32_t word : {1u, 0u, 1u, 0u, 0x00123456u})
        Put32(expected, word);
    EXPECT_EQ(Stored(font, 405), expected);

    CPoliceAna loaded;
    Load(loaded, expected, 405);
    EXPECT_EQ(loaded, font);
}

TEST_F(PresentationArchiveTest, AnyNonZeroFontFlagReadsAsSet)
{
    CPoliceAna font = Font("Arial", 10, 0);
    Bytes bytes = Stored(font, 405);
    bytes[bytes.size() - 16] = 7; // Italique
    CPoliceAna loaded;
    Load(loaded, bytes, 405);
    EXPECT_TRUE(loaded.GetItalique());
}

TEST_F(PresentationArchiveTest, TablePresentationsRoundTripByteForByte)
{
    CPresentationTableau presentation = TablePresentation();
    for (int version : {404, 405}) {
        SCOPED_TRACE(version);
        const Bytes stored = Stored(presentation, version);
        CPresentationTableau loaded;
        Load(loaded, stored, version);
        EXPECT_EQ(Stored(loaded, version), stored);
    }
    CPresentationTableau loaded;
    Load(loaded, Stored(presentation, 405), 405);
    EXPECT_EQ(loaded, presentation);
}

TEST_F(PresentationArchiveTest, AVersion404TableHasNoLevelTitleFlagBeforeItsBorders)
{
    CPresentationTableau presentation = TablePresentation();
    const Bytes stored405 = Stored(presentation, 405);
    const Bytes stored404 = Stored(presentation, 404);
    ASSERT_EQ(stored405.size(), stored404.size() + 4);
    // The six border words close both; the level title flag stands just before them in 405.
    const std::size_t borders = 6 * 2;
    const std::size_t levelFlag = stored405.size() - borders - 4;
    Bytes without = stored405;
    without.erase(without.begin() + static_cast<long>(levelFlag), without.begin() + static_cast<long>(levelFlag) + 4);
    EXPECT_EQ(without, stored404);
    EXPECT_EQ(Bytes(stored405.begin() + static_cast<long>(levelFlag), stored405.end() - static_cast<long>(borders)),
              (Bytes{1, 0, 0, 0}));

    CPresentationTableau loaded; // EstTitreLevel at its default, false
    Load(loaded, stored404, 404);
    EXPECT_FALSE(loaded.GetEstTitreLevel());
    EXPECT_EQ(loaded.GetThickBorderType(), 3);
    EXPECT_TRUE(loaded.GetEstTitreRedressement());
}

TEST_F(PresentationArchiveTest, ChartPresentationsRoundTripWithTenSeries)
{
    CPresentationGraphique presentation = ChartPresentation();
    const Bytes stored = Stored(presentation, 405);
    EXPECT_EQ(stored.size(), 2u + 5 * 14 + 4 + 10 * 20);
    EXPECT_EQ(Bytes(stored.begin() + 72, stored.begin() + 76), (Bytes{10, 0, 0, 0}));
    CPresentationGraphique loaded;
    Load(loaded, stored, 405);
    EXPECT_EQ(loaded, presentation);
    EXPECT_EQ(Stored(loaded, 405), stored);
}

// The chart's bytes with `count` series records, followed by a word that belongs to the owner.
Bytes WithSeriesCount(const Bytes& stored, std::uint32_t count)
{
    Bytes bytes(stored.begin(), stored.begin() + 72);
    Put32(bytes, count);
    for (std::uint32_t i = 0; i < count; ++i)
        for (std::uint32_t word : {3u, 4u, 5u, 0x0A0B0Cu + i, 0x0D0E0Fu})
            Put32(bytes, word);
    Put32(bytes, 0xCAFE);
    return bytes;
}

TEST_F(PresentationArchiveTest, FewerSeriesLeaveTheOthersAndMoreAreReadAndDropped)
{
    CPresentationGraphique chart = ChartPresentation();
    const Bytes stored = Stored(chart, 405);
    for (std::uint32_t count : {0u, 3u, 12u}) {
        SCOPED_TRACE(count);
        CPresentationGraphique loaded = ChartPresentation();
        const CPresentationGraphique before = loaded;
        CArchiveVersion in(WithSeriesCount(stored, count), 405);
        loaded.Serialize(in);
        std::uint32_t next = 0;
        in >> next;
        EXPECT_EQ(next, 0xCAFEu); // read in step
        for (int i = 0; i < CPresentationGraphique::kSeriesCount; ++i) {
            if (static_cast<std::uint32_t>(i) < count)
                EXPECT_EQ(loaded.GetSerie(i).GetColor(), 0x0A0B0Cu + static_cast<std::uint32_t>(i));
            else
                EXPECT_EQ(loaded.GetSerie(i), before.GetSerie(i));
        }
    }
}

TEST_F(PresentationArchiveTest, ASeriesCountBeyondTheArchiveIsRefused)
{
    CPresentationGraphique chart = ChartPresentation();
    Bytes bytes = Stored(chart, 405);
    bytes[72] = 11; // eleven series announced, ten present
    const CPresentationGraphique before = ChartPresentation();
    CPresentationGraphique loaded = before;
    CArchiveVersion in(bytes, 405);
    EXPECT_THROW(loaded.Serialize(in), ArchiveException);
    EXPECT_EQ(loaded, before);
}

TEST_F(PresentationArchiveTest, EveryTruncationFailsAndLeavesTheRecord)
{
    CPoliceAna font = Font("Arial", 10.5, 0x123456);
    ExpectEveryCutFails(Stored(font, 405), 405, CPoliceAna());
    CPresentationTableau table = TablePresentation();
    for (int version : {404, 405})
        ExpectEveryCutFails(Stored(table, version), version, CPresentationTableau());
    CPresentationGraphique chart = ChartPresentation();
    ExpectEveryCutFails(Stored(chart, 405), 405, CPresentationGraphique());
}

} // namespace
