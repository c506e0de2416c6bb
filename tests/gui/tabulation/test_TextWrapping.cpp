#include "presentation/PoliceAna.h"
#include "gui/tabulation/FakeFontMetrics.h"
#include "gui/tabulation/TextWrapping.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct WholeWordsCase {
    const char* text;
    std::vector<std::string> words;
};

// The pieces a line break must not split: words between blanks and line breaks, a closing sign
// kept with the word before it on its line.
TEST(TextWrapping, WholeWordsKeepNumbersWithTheirSigns) {
    const WholeWordsCase cases[] = {
        {"100.0 %", {"100.0 %"}},
        {"12.5%", {"12.5%"}},
        {"Profil ligne", {"Profil", "ligne"}},
        {"Base : 2000\r\nToutes les interviews", {"Base :", "2000", "Toutes", "les", "interviews"}},
        {"Satisfait ?  Oui !", {"Satisfait ?", "Oui !"}},
        {"Plus de 20 \xC2\xBB", {"Plus", "de", "20 \xC2\xBB"}},
        // A sign that begins a line has no word to stay with.
        {"% des interviews", {"%", "des", "interviews"}},
        {"Total\n%", {"Total", "%"}},
        {"Île-de-France", {"Île-de-France"}},
        {"  ", {}},
        {"", {}},
    };
    for (const WholeWordsCase& c : cases)
        EXPECT_EQ(TextWrapping::WholeWords(c.text), c.words) << c.text;
}

// With the fake metrics every character of the default 10-point font is 10 wide.
TEST(TextWrapping, WidestWholeWordIsMeasuredOnOneLine) {
    const FakeFontMetrics metrics;
    const CPoliceAna font;
    EXPECT_EQ(TextWrapping::WidestWholeWord("Valeur test", font, metrics), 60);
    EXPECT_EQ(TextWrapping::WidestWholeWord("100.0 %", font, metrics), 70);
    EXPECT_EQ(TextWrapping::WidestWholeWord(" ", font, metrics), 0);
}

} // namespace
