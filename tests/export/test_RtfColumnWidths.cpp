// Column widths of tables in word-processor documents: the text-width estimate against the advance
// widths stored in the Liberation Sans font files (read here by a small reader of the test's own),
// the sharing of the page among columns, and the demo's wide cross table written by qesrun: no
// cell narrower than its widest word, every piece within the page, the row headings in each piece.
#include "ExportTestSupport.h"
#include "export/RtfColumnWidths.h"
#include "export/TextWidth.h"
#include "presentation/PoliceAna.h"
#include "support/DemoSurveyFolder.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/Command.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <sstream>

namespace {

using namespace export_test;

const std::string kFontFolder = "/usr/share/fonts/truetype/liberation2/";

// The advance widths of a TrueType font, from its tables "head" (units per em), "hhea", "hmtx"
// and the Unicode subtable (format 4) of "cmap".
class FontFile {
public:
    explicit FontFile(const std::string& path) : m_bytes(ReadBytes(path)) {
        if (m_bytes.size() < 12)
            return;
        const std::uint16_t tableCount = U16(4);
        std::map<std::string, std::size_t> tables;
        for (std::uint16_t i = 0; i < tableCount; ++i)
            tables[m_bytes.substr(12 + 16 * i, 4)] = U32(12 + 16 * i + 8);
        m_unitsPerEm = U16(tables.at("head") + 18);
        const std::uint16_t metrics = U16(tables.at("hhea") + 34);
        for (std::uint16_t glyph = 0; glyph < metrics; ++glyph)
            m_advances.push_back(U16(tables.at("hmtx") + 4 * glyph));
        const std::size_t cmap = tables.at("cmap");
        for (std::uint16_t i = 0; i < U16(cmap + 2); ++i) {
            const std::size_t subtable = cmap + U32(cmap + 4 + 8 * i + 4);
            if (U16(cmap + 4 + 8 * i) == 3 && U16(subtable) == 4) {
                m_format4 = subtable;
                break;
            }
        }
    }

    bool IsRead() const { return m_unitsPerEm != 0 && m_format4 != 0; }

    // Thousandths of an em... kept exact: font units of the character's glyph.
    std::uint16_t Advance(char32_t character) const {
        const std::uint16_t glyph = Glyph(character);
        return m_advances[std::min<std::size_t>(glyph, m_advances.size() - 1)];
    }
    std::uint16_t UnitsPerEm() const { return m_unitsPerEm; }

private:
    std::uint16_t U16(std::size_t at) const {
        return static_cast<std::uint16_t>((static_cast<unsigned char>(m_bytes[at]) << 8) |
                                          static_cast<unsigned char>(m_bytes[at + 1]));
    }
    std::uint32_t U32(std::size_t at) const { return (std::uint32_t{U16(at)} << 16) | U16(at + 2); }

    std::uint16_t Glyph(char32_t character) const {
        const std::size_t segments = U16(m_format4 + 6) / 2;
        const std::size_t ends = m_format4 + 14;
        const std::size_t starts = ends + 2 * segments + 2;
        const std::size_t deltas = starts + 2 * segments;
        const std::size_t offsets = deltas + 2 * segments;
        for (std::size_t s = 0; s < segments; ++s) {
            if (character > U16(ends + 2 * s))
                continue;
            const std::uint16_t start = U16(starts + 2 * s);
            if (character < start)
                return 0;
            const std::uint16_t delta = U16(deltas + 2 * s);
            const std::uint16_t offset = U16(offsets + 2 * s);
            if (offset == 0)
                return static_cast<std::uint16_t>(character + delta);
            const std::uint16_t glyph = U16(offsets + 2 * s + offset + 2 * (character - start));
            return glyph == 0 ? 0 : static_cast<std::uint16_t>(glyph + delta);
        }
        return 0;
    }

    std::string m_bytes;
    std::vector<std::uint16_t> m_advances;
    std::uint16_t m_unitsPerEm = 0;
    std::size_t m_format4 = 0;
};

// Liberation Sans (Arial's metrics) or Liberation Serif (Times New Roman's), regular or bold.
const FontFile& Face(bool serif, bool bold) {
    static const FontFile faces[2][2] = {{FontFile(kFontFolder + "LiberationSans-Regular.ttf"),
                                          FontFile(kFontFolder + "LiberationSans-Bold.ttf")},
                                         {FontFile(kFontFolder + "LiberationSerif-Regular.ttf"),
                                          FontFile(kFontFolder + "LiberationSerif-Bold.ttf")}};
    return faces[serif ? 1 : 0][bold ? 1 : 0];
}

bool FacesRead() {
    for (const bool serif : {false, true})
        for (const bool bold : {false, true})
            if (!Face(serif, bold).IsRead())
                return false;
    return true;
}

// UTF-8 to characters, for the texts of the test (valid UTF-8 only).
std::u32string Characters(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t character = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k)
            character = (character << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += character;
        i += length;
    }
    return out;
}

// The printed width of a text in twips as the font file gives it, before rounding.
double FontTwips(const std::string& text, bool serif, bool bold, double points) {
    const FontFile& font = Face(serif, bold);
    double units = 0;
    for (char32_t character : Characters(text))
        units += font.Advance(character);
    return units / font.UnitsPerEm() * points * 20.0;
}

CPoliceAna Font(const std::string& face, double size, bool bold) {
    CPoliceAna font;
    font.SetNom(face);
    font.SetTaille(size);
    font.SetGras(bold);
    return font;
}

TEST(TextWidthTest, WordsMeasureAsTheFontFilesAdvanceWidthsGiveThem) {
    ASSERT_TRUE(FacesRead()) << "the Liberation faces are installed with the project's packages";
    const std::vector<std::string> texts = {"Région",
                                            "Île-de-France",
                                            "Très satisfait",
                                            "100.0 %",
                                            "12 345",
                                            "Non réponse",
                                            "«Outre-mer»",
                                            "œuvre’s",
                                            "Provence-Alpes-Côte d'Azur",
                                            "{[(WMmwil|)]}",
                                            "Ça coûte 3,50 € – “0,2”…",
                                            "ÀÉÈÊËÎÏÔÙÛÜŸçàâäéèêëîïôöùûüÿ"};
    for (const std::string& text : texts) {
        for (const bool serif : {false, true}) {
            for (const bool bold : {false, true}) {
                for (const double points : {8.0, 10.0, 12.0}) {
                    SCOPED_TRACE(text + (serif ? " serif" : " sans") + (bold ? " bold " : " ") +
                                 std::to_string(points));
                    // The files' advances are in 2048ths of an em, the estimate's in thousandths:
                    // within half a thousandth of an em a character, and the rounding up.
                    const double tolerance =
                        static_cast<double>(Characters(text).size()) * 0.5 / 1000 * points * 20 + 1;
                    EXPECT_NEAR(
                        TextWidth::Twips(text, Font(serif ? "Times New Roman" : "Arial", points, bold)),
                        FontTwips(text, serif, bold, points), tolerance);
                }
            }
        }
    }
    // Characters beyond the tables: an em each; a monospaced face: its fixed advance (600); a
    // face of neither family: the wider advance of the two, and 15 % more.
    EXPECT_EQ(TextWidth::Twips("\xE6\xBC\xA2\xE5\xAD\x97", Font("Arial", 10, false)), 400);
    EXPECT_EQ(TextWidth::Twips("iiii", Font("Courier New", 10, false)), 480);
    // "il": Arial 222 + 222, Times 278 + 278; 556 x 1.15 x 10 x 20 / 1000 = 127.88.
    EXPECT_EQ(TextWidth::Twips("il", Font("Verdana", 10, false)), 128);
    EXPECT_EQ(TextWidth::Twips("il", Font("Liberation Serif", 10, false)), 112);
}

TEST(TextWidthTest, WholeWordsKeepAClosingSignWithTheirWord) {
    struct Case {
        std::string text;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"  \r\n ", {}},
        {"Très satisfait", {"Très", "satisfait"}},
        {"100.0 %", {"100.0 %"}},
        {"12.5%", {"12.5%"}},
        {"Note : bien !", {"Note :", "bien !"}},
        {"« Région »", {"«", "Région »"}},
        {"% seul", {"%", "seul"}},
        {"Base :\r\n2000", {"Base :", "2000"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextWidth::WholeWords(c.text), c.words) << c.text;
    EXPECT_EQ(TextWidth::WidestWordTwips("12.5 % Provence", Font("Arial", 10, false)),
              static_cast<std::int32_t>(std::ceil(FontTwips("Provence", false, false, 10))));
}

TEST(RtfColumnWidthsTest, ThePageIsSharedAsLongAsEveryColumnHoldsItsWords) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> needs;
        std::int32_t headerColumns;
        std::vector<std::int32_t> widths;
    };
    // One header column of two shares and three data columns on 10433 twips: a share is
    // 10433 / 5 = 2086.
    const std::vector<Case> cases = {
        {"every word fits", {3000, 1500, 2086, 0}, 1, {4172, 2086, 2086, 2086}},
        // 3000 for the first data column; the others share 10433 - 3000 in shares of
        // (10433 - 3000) / 4 = 1858.
        {"one column takes its need", {1000, 3000, 500, 500}, 1, {3716, 3000, 1858, 1858}},
        // The header column's need is above its two shares: 5000, and (10433 - 5000) / 3 = 1811.
        {"the header column takes its need", {5000, 100, 100, 100}, 1, {5000, 1811, 1811, 1811}},
        {"needs beyond the page are kept", {6000, 3000, 3000, 100}, 1, {6000, 3000, 3000, 100}},
        {"no header column", {100, 100}, 0, {5216, 5216}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RtfColumnWidths::Widths(c.needs, c.headerColumns, RtfColumnWidths::kPortraitWidth),
                  c.widths)
            << c.what;
}

// ---- The demo's wide cross table in a document ----------------------------------------------

struct RtfCell {
    std::string text;
    std::int32_t fontNumber = 0;
    bool bold = false;
    double points = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
};

std::string Unescape(const std::string& rtf) {
    std::string out;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\') {
            out += rtf[i];
            continue;
        }
        const char next = rtf[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            out += next;
            ++i;
        } else if (rtf.compare(i, 4, "\\par") == 0) {
            out += '\n';
            i += 3;
        } else if (rtf.compare(i, 5, "\\tab ") == 0) {
            out += '\t';
            i += 4;
        } else if (next == 'u') {
            std::size_t end = rtf.find('?', i);
            auto code = static_cast<char32_t>(std::stoi(rtf.substr(i + 2, end - i - 2)) & 0xFFFF);
            std::u32string one(1, code);
            // UTF-8 of the character (the Basic Multilingual Plane is enough here).
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
            i = end;
        }
    }
    return out;
}

// The tables of a document as the writer lays them out: rows of cells, each with its right edge
// from its row's definition, its font from its "\plain" line, its text unescaped.
std::vector<std::vector<RtfCell>> Rows(const std::string& rtf) {
    std::vector<std::string> lines;
    std::istringstream in(rtf);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1));
    std::vector<std::vector<RtfCell>> rows;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("\\trowd", 0) != 0)
            continue;
        std::vector<RtfCell> row;
        std::int32_t left = 0;
        for (std::size_t at = lines[i].find("\\cellx"); at != std::string::npos;
             at = lines[i].find("\\cellx", at + 1)) {
            RtfCell cell;
            cell.left = left;
            cell.right = std::stoi(lines[i].substr(at + 6));
            left = cell.right;
            row.push_back(cell);
        }
        i += 2; // "\pard \intbl {"
        for (RtfCell& cell : row) {
            const std::string& format = lines[i];
            cell.fontNumber = std::stoi(format.substr(format.find("\\f") + 2));
            cell.bold = format.find("\\b\\") != std::string::npos || format.find("\\b ") != std::string::npos;
            cell.points = std::stoi(format.substr(format.find("\\fs") + 3)) / 2.0;
            i += 2; // the alignment
            std::string text;
            while (lines[i].size() < 5 || lines[i].compare(lines[i].size() - 5, 5, "\\cell") != 0)
                text += lines[i++];
            text += lines[i].substr(0, lines[i].size() - 5);
            ++i;
            cell.text = Unescape(text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TEST(RtfColumnWidthsTest, TheWideCrossTableBreaksNoWordAndEachPieceFitsThePageWithItsRowHeadings) {
    ASSERT_TRUE(FacesRead());
    const TempFolder folder;
    const std::string path = folder.Sub("croise.rtf");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(qesrun::Command::Run({DemoSurveyFolder::QuestionnairePath(qesbuild::DemoSurvey::kInterviews),
                                    (kGoldenFolder / "qesrun-cross.req").string(), "--rtf", path},
                                   out, err),
              qesrun::Command::kTablesPrinted)
        << err.str();
    const std::string rtf = ReadBytes(path);
    ExpectGolden("export-wide.rtf", rtf);

    const std::vector<std::vector<RtfCell>> rows = Rows(rtf);
    // The faces of the font table, by number.
    std::vector<std::string> faces;
    for (std::size_t at = rtf.find("{\\f", rtf.find("{\\fonttbl") + 1);
         at != std::string::npos && at < rtf.find("{\\colortbl"); at = rtf.find("{\\f", at + 1)) {
        const std::size_t name = rtf.find(' ', at) + 1;
        faces.push_back(rtf.substr(name, rtf.find(';', name) - name));
    }
    ASSERT_FALSE(rows.empty());
    std::map<std::string, int> rowHeadings;
    std::map<std::string, int> texts;
    std::size_t cells = 0;
    for (const std::vector<RtfCell>& row : rows) {
        ASSERT_FALSE(row.empty());
        EXPECT_LE(row.back().right, RtfColumnWidths::kPortraitWidth) << row.front().text;
        ++rowHeadings[row.front().text];
        for (const RtfCell& cell : row) {
            ++cells;
            ++texts[cell.text];
            for (const std::string& word : TextWidth::WholeWords(cell.text)) {
                // The word and the word processor's gaps of 108 twips on each side.
                ASSERT_LT(static_cast<std::size_t>(cell.fontNumber), faces.size());
                const bool serif =
                    faces[static_cast<std::size_t>(cell.fontNumber)].find("Times") != std::string::npos;
                EXPECT_LE(FontTwips(word, serif, cell.bold, cell.points) + 2 * 108, cell.right - cell.left)
                    << "\"" << word << "\" broken in \"" << cell.text << "\"";
            }
        }
    }
    // The table is cut into pieces of columns, each repeating the row headings.
    const int pieces = rowHeadings["Total"];
    EXPECT_GE(pieces, 2);
    EXPECT_EQ(rowHeadings["Très satisfait"], pieces);
    EXPECT_EQ(rowHeadings["Non réponse"], pieces);
    // Every region is there.
    for (const char* region : {"Île-de-France", "Nord-Est", "Sud-Est", "Non interrogé", "Significativité"})
        EXPECT_GT(texts[region], 0) << region;
    EXPECT_GT(cells, 0u);
}

} // namespace
