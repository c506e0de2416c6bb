// The RTF writer: the document's header, styles, fonts and colours, pictures, and whole tables
// compared with golden files that were read line by line when they were made (the text of each
// cell, the borders of the presentation, the pieces of a cut table).
#include "ExportTestSupport.h"

#include "app/StringTable.h"
#include "export/FichierRtf.h"
#include "export/TableExports.h"
#include "presentation/PoliceAna.h"

#include <algorithm>
#include <regex>

namespace {

using namespace export_test;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

CPoliceAna Font(const std::string& face, double size) {
    CPoliceAna font;
    font.SetNom(face);
    font.SetTaille(size);
    return font;
}

class FichierRtfTest : public ExportFixture {
protected:
    // A document made by `write` between Ouvrir and EcrireFin.
    template <class Write>
    std::string Document(Write write) {
        const std::string path = Path("doc.rtf");
        CFichierRtf rtf(path);
        EXPECT_TRUE(rtf.Ouvrir());
        write(rtf);
        EXPECT_TRUE(rtf.EcrireFin()) << StringTable::Format(rtf.GetErreur());
        return ReadBytes(path);
    }
};

TEST_F(FichierRtfTest, HeaderListsFacesColoursAndStylesInTheOrderRegisteredWithTheLanguageOfTheSettings) {
    CRegistre::SetInt("Libelle", "Langue", 1033);
    CPoliceAna red = Font("Arial", 9.5);
    red.SetCouleur(0x0000FF); // red in 0x00BBGGRR
    red.SetGras(true);
    red.SetSouligne(true);
    CPoliceAna shaded = Font("Times New Roman", 10);
    shaded.SetOmbre(true);
    std::string redCode;
    std::string shadedCode;
    const std::string text = Document([&](CFichierRtf& rtf) {
        rtf.AjouterStyle("Titre 1", Font("Times New Roman", 12));
        rtf.AjouterStyle("Normal", Font("Times New Roman", 10));
        rtf.AjouterStyle("Légende", red);
        redCode = rtf.FormaterPolice(red);
        shadedCode = rtf.FormaterPolice(shaded);
        rtf.EcrireEntete(false);
    });
    // Sizes in half points, truncated; "\cf" on every code, the first colour included.
    EXPECT_EQ(redCode, "\\ul\\b\\f1\\fs19 \\cf2 ");
    EXPECT_EQ(shadedCode, "\\f0\\fs20 \\cf1 ");
    const std::string expected = "{\\rtf1\\ansi\\deff0\\deflang1033\r\n"
                                 "{\\fonttbl\r\n"
                                 "{\\f0\\froman\\fcharset0\\fprq2 Times New Roman;}\r\n"
                                 "{\\f1\\froman\\fcharset0\\fprq2 Arial;}\r\n"
                                 "}\r\n"
                                 "{\\colortbl;\r\n"
                                 "\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red192\\green192\\blue192;\r\n"
                                 "}\r\n"
                                 "{\\stylesheet\r\n"
                                 "{\\f0\\fs20 \\snext0 Normal;}\r\n"
                                 "{\\*\\cs10 \\additive Default Paragraph Font;}\r\n"
                                 "{\\s15\\f0\\fs24 \\cf1 \\snext15 Titre 1;}\r\n"
                                 "{\\s16\\f0\\fs20 \\cf1 \\snext16 Normal;}\r\n"
                                 "{\\s17\\ul\\b\\f1\\fs19 \\cf2 \\snext17 L\\u233?gende;}\r\n"
                                 "}\r\n"
                                 "{\\info{\\author Velto Morvane}\r\n"
                                 "}\r\n"
                                 "\\paperw16840\\paperh11907\\margl981\\margr1979\\margt737\\margb737\r\n"
                                 "\\widowctrl\\ftnbj\\aenddoc\\formshade \\horzdoc \\fet0\\sectd \\lndscpsxn "
                                 "\\psz127\\linex0\\headery709\\footery709\\colsx709\r\n"
                                 "}\r\n";
    EXPECT_EQ(text, expected);
}

TEST_F(FichierRtfTest, ParagraphsEscapeTheirTextAndAnUnknownStyleWritesNoParagraphStart) {
    const std::string text = Document([](CFichierRtf& rtf) {
        rtf.AjouterStyle("Normal", Font("Times New Roman", 10));
        rtf.EcrireEntete(true);
        rtf.EcrireParagraphe("Normal");
        rtf.EcrireTexte("Base : 500\r\n{Champ} \\ «tous»");
        rtf.EcrireFinParagraphe();
        rtf.EcrireParagraphe("Inconnu");
    });
    EXPECT_NE(text.find("\\paperw11907\\paperh16840"), std::string::npos) << "portrait";
    EXPECT_NE(text.find("\\pard\\plain \\s15\\f0\\fs20 \\cf1 \r\n"
                        "Base : 500\\par \\{Champ\\} \\\\ \\u171?tous\\u187?\r\n"
                        "\\par\r\n}\r\n"),
              std::string::npos)
        << text;
}

TEST_F(FichierRtfTest, APngPictureGoesInAsHexLinesOf254CharactersWithItsPixelsAndItsOwnSize) {
    // A 1 x 1 grey PNG written by hand: signature, IHDR (1 x 1, 8-bit grey), IDAT, IEND, with
    // their CRCs. Followed by zero bytes, it needs two lines (only its header is read).
    std::vector<std::uint8_t> png = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
        0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x3A, 0x7E, 0x9B,
        0x55, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x08, 0xD7, 0x63, 0x68, 0x00, 0x00, 0x00,
        0x82, 0x00, 0x81, 0xDD, 0x43, 0x6A, 0xF4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE,
        0x42, 0x60, 0x82};
    std::vector<std::uint8_t> wide = png;
    wide[19] = 200; // 200 x 1: only the header is read for the size
    std::vector<std::uint8_t> padded(png.begin(), png.end());
    padded.resize(130, 0);
    bool refused = true;
    const std::string text = Document([&](CFichierRtf& rtf) {
        rtf.EcrireEntete(true);
        EXPECT_TRUE(rtf.EcrirePicture(png, 8957, 5953));
        EXPECT_TRUE(rtf.EcrirePicture(padded, 8957, 8957));
        refused = !rtf.EcrirePicture({1, 2, 3}, 100, 100);
    });
    EXPECT_TRUE(refused);
    EXPECT_NE(text.find("\\pard \\plain\r\n"
                        "{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
                        "\\picw1\\pich1\\picwgoal8957\\pichgoal5953\\pngblip\r\n\r\n"
                        "89504e470d0a1a0a0000000d49484452000000010000000108000000003a7e9b550000000a49444154"
                        "08d76368000000820081dd436af40000000049454e44ae426082\r\n}\r\n\\par \\par\r\n"),
              std::string::npos)
        << text;
    // 130 bytes: one line of 127 bytes (254 characters), then one of 3.
    const std::size_t second = text.find("\\pichgoal8957\\pngblip\r\n\r\n");
    ASSERT_NE(second, std::string::npos);
    const std::size_t lineStart = second + std::string("\\pichgoal8957\\pngblip\r\n\r\n").size();
    const std::size_t lineEnd = text.find("\r\n", lineStart);
    EXPECT_EQ(lineEnd - lineStart, 254u);
    EXPECT_EQ(text.substr(lineEnd + 2, 8), "000000\r\n");
}

// ---- Whole tables -------------------------------------------------------------------------

TEST_F(FichierRtfTest, TheSmallTableIsOneBorderedTableOfThreeRowsAsTheGoldenFileHoldsIt) {
    const std::unique_ptr<CTableau> table = SmallTable();
    Message error;
    ASSERT_TRUE(ExporterTableauWord(*table, Path("small.rtf"), "", error)) << StringTable::Format(error);
    const std::string text = ReadBytes(Path("small.rtf"));
    ExpectGolden("export-2x2.rtf", text);

    // Read as RTF: three rows of three cells, the header column twice as wide as the data columns:
    // right edges 2w, 3w and 4w with w = 10433 / (2 + 2 x 1) = 2608 twips.
    EXPECT_EQ(Count(text, "\\row"), 3u);
    EXPECT_EQ(Count(text, "\\cellx5216\\clbrdrt"), 3u);
    EXPECT_EQ(Count(text, "\\cellx7824\\clbrdrt"), 3u);
    EXPECT_EQ(Count(text, "\\cellx10432\r\n"), 3u);
    // The second row keeps with the last one (its row and its paragraphs), so that the last row
    // never opens a page alone; no other row is held.
    const std::size_t second = text.find("\\trowd", text.find("\\trowd") + 1);
    const std::size_t third = text.find("\\trowd", second + 1);
    EXPECT_EQ(Count(text, "\\trkeepfollow"), 1u);
    EXPECT_EQ(Count(text, "\\keepn"), 1u);
    EXPECT_LT(second, text.find("\\trkeepfollow"));
    EXPECT_LT(text.find("\\keepn"), third);
    // The default presentation: normal lines solid 15 twips, thick lines solid 30 twips around
    // the grid and under the headers, the base in the corner, counts then percentages with "%".
    EXPECT_NE(text.find("\\clbrdrt\\brdrs\\brdrw30 \\clbrdrb\\brdrs\\brdrw30 "), std::string::npos);
    EXPECT_NE(text.find("Base : 500\\cell"), std::string::npos);
    EXPECT_NE(text.find("\\qr\r\n125\\cell\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\qr\r\n25.0%\\cell\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\ql\r\nTr\\u232?s satisfait\\cell"), std::string::npos);
    EXPECT_NE(text.find("\\ql\r\nPeu \\\\ \\{pas\\} satisfait\\cell"), std::string::npos);
    EXPECT_NE(text.find("\\qc\r\nPourcentage\\cell"), std::string::npos);
    // Styles of the Word export, and nothing but ASCII in the file.
    EXPECT_NE(text.find("\\snext15 Titre 1;}"), std::string::npos);
    EXPECT_NE(text.find("\\snext16 Normal;}"), std::string::npos);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
}

TEST_F(FichierRtfTest, TheCrossTableIsCutIntoThreeBandsOfTwoBlocksEachRepeatingTheHeaders) {
    CutCrossTableIntoSixPieces();
    const std::unique_ptr<CTableau> table = CrossTable();
    Message error;
    ASSERT_TRUE(ExporterTableauWord(*table, Path("cross.rtf"), "", error)) << StringTable::Format(error);
    const std::string text = ReadBytes(Path("cross.rtf"));
    ExpectGolden("export-cross.rtf", text);

    // Six pieces of 2 header rows and 6 data rows.
    EXPECT_EQ(Count(text, "\\trowd"), 6u * 8u);
    // In each piece, the row before the last keeps with it.
    EXPECT_EQ(Count(text, "\\trkeepfollow"), 6u);
    EXPECT_EQ(Count(text, "\\pard \\intbl \\keepn {"), 6u);
    // Each piece repeats both header rows: the heading over its regions in both blocks, each
    // region in the three bands, each age group once.
    EXPECT_EQ(Count(text, "R\\u233?gion\\cell"), 6u);
    EXPECT_EQ(Count(text, "\\u206?le-de-France\\cell"), 3u);
    EXPECT_EQ(Count(text, "Outre-mer\\cell"), 3u);
    EXPECT_EQ(Count(text, "18-24 ans\\cell"), 2u);
    EXPECT_EQ(Count(text, "Non r\\u233?ponse\\cell"), 2u);
    // Two data columns per block: w = 10433 / (2 + 2 x 2) = 1738; header columns 2w wide; every
    // row of every piece reaches 2 x 3476 + 2 x 1738.
    EXPECT_EQ(Count(text, "\\cellx3476\\"), 6u * 6u);
    EXPECT_EQ(Count(text, "\\cellx10428\r\n"), 6u * 8u);
    // Thin lines (dotted, size 1 by default) between the calculation rows of a group.
    EXPECT_NE(text.find("\\clbrdrt\\brdrdot\\brdrw15 "), std::string::npos);
    // Percentages with one decimal and the sign: 23 / 4 = 5.75 and 23 / 8 = 2.875.
    EXPECT_NE(text.find("\\qr\r\n5.8%\\cell"), std::string::npos);
    EXPECT_NE(text.find("\\qr\r\n2.9%\\cell"), std::string::npos);
}

TEST_F(FichierRtfTest, AShadedLabelGreysItsRowOnTheGreyOfTheColourTable) {
    const std::unique_ptr<CTableau> table = SmallTable();
    CLigne shaded("Très satisfait");
    shaded.shadow = 1;
    table->SetLibelleLigne(0, 0, &shaded);
    Message error;
    ASSERT_TRUE(ExporterTableauWord(*table, Path("shaded.rtf"), "", error)) << StringTable::Format(error);
    const std::string text = ReadBytes(Path("shaded.rtf"));
    // Black (the styles' colour) is 1, the grey 0xC0C0C0 of shaded cells 2.
    EXPECT_NE(text.find("{\\colortbl;\r\n\\red0\\green0\\blue0;\\red192\\green192\\blue192;\r\n}"),
              std::string::npos);
    // The label and the two cells of its row are shaded; nothing else.
    EXPECT_EQ(Count(text, "\\clcbpat2\\clshdng1000\\cellx"), 3u);
    const std::size_t row = text.find("\\trowd", text.find("Pourcentage\\cell"));
    const std::size_t rowEnd = text.find("\r\n", row);
    EXPECT_EQ(Count(text.substr(row, rowEnd - row), "\\clcbpat2"), 3u);
}

} // namespace
