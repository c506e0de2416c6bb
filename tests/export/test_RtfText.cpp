// Text written into RTF: what could break the document is escaped, every character beyond ASCII
// keeps its identity as a UTF-16 code unit. The expected units are the characters' Unicode code
// points (surrogate pairs computed by hand from the UTF-16 definition).
#include "export/RtfText.h"
#include "export/Utf8.h"

#include <gtest/gtest.h>

namespace {

struct EscapeCase {
    const char* text;
    const char* rtf;
};

TEST(RtfText, EscapesWhatRtfReadsAsCommandsAndWritesEveryOtherCharacterAsACodeUnit) {
    const EscapeCase cases[] = {
        {"Total", "Total"},
        {"a\\b", "a\\\\b"},
        {"{x}", "\\{x\\}"},
        {"=1+1", "=1+1"},
        {"col\tumn", "col\\tab umn"},
        // é U+00E9, œ U+0153, ’ U+2019, « U+00AB, » U+00BB
        {"Très", "Tr\\u232?s"},
        {"cœur", "c\\u339?ur"},
        {"l’été", "l\\u8217?\\u233?t\\u233?"},
        {"«oui»", "\\u171?oui\\u187?"},
        // U+FB01 (ﬁ) and U+FFFD are above 0x7FFF: written as signed 16-bit numbers.
        {"ﬁ", "\\u-1279?"},
        {"\xEF\xBF\xBD", "\\u-3?"},
        // U+1F600 beyond the BMP: the pair D83D DE00, that is -10179 and -8704.
        {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},
        // CJK U+4E2D.
        {"中", "\\u20013?"},
        // A byte that is no UTF-8 stands for U+FFFD; a control character goes.
        {"a\xE9z", "a\\u-3?z"},
        {"a\x01z", "az"},
    };
    for (const EscapeCase& c : cases)
        EXPECT_EQ(RtfText::Escape(c.text, "\\par "), c.rtf) << c.text;
}

TEST(RtfText, EachKindOfLineBreakIsOneBreak) {
    EXPECT_EQ(RtfText::Escape("a\r\nb\nc\rd", "|"), "a|b|c|d");
    EXPECT_EQ(RtfText::Escape("a\r\n\r\nb", "|"), "a||b");
}

TEST(Utf8, CutSequencesAndOverlongFormsAreReplacedNotTrustedAndLengthsCountCharacters) {
    EXPECT_EQ(Utf8::Valid("caf\xC3"), "caf\xEF\xBF\xBD");
    EXPECT_EQ(Utf8::Valid("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong "/"
    EXPECT_EQ(Utf8::Valid("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // a surrogate
    EXPECT_EQ(Utf8::Valid("été"), "été");
    EXPECT_EQ(Utf8::Length("été😀"), 4u);
    EXPECT_EQ(Utf8::FirstCharacters("été", 2), "ét");
}

} // namespace
