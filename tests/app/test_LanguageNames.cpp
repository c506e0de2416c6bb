// The languages of a questionnaire as the analyst reads them: a French name and the abbreviation
// Windows gives the language id; an id of no known language shows as its number.
#include "app/LanguageNames.h"

#include <gtest/gtest.h>

namespace {

struct LanguageCase {
    int id;
    const char* name;
    const char* abbreviation;
};

// Ids and abbreviations: Windows' table of language identifiers (LCID, LOCALE_SABBREVLANGNAME).
const LanguageCase kCases[] = {
    {1036, "Français", "FRA"},
    {1031, "Allemand", "DEU"},
    {1040, "Italien", "ITA"},
    {1034, "Espagnol", "ESP"},
    {1033, "Anglais (États-Unis)", "ENU"},
    {2057, "Anglais (Royaume-Uni)", "ENG"},
    {3084, "Français (Canada)", "FRC"},
    {9999, "9999", "9999"},
    {0, "0", "0"},
    {-5, "-5", "-5"},
};

TEST(LanguageNamesTest, NamesAndAbbreviationsByLanguageId) {
    for (const LanguageCase& c : kCases) {
        EXPECT_EQ(LanguageNames::Nom(c.id), c.name) << c.id;
        EXPECT_EQ(LanguageNames::Abreviation(c.id), c.abbreviation) << c.id;
    }
}

} // namespace
