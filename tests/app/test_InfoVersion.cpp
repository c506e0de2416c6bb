// What the program says of itself: the version and date the build wrote, read and checked.
#include "app/InfoVersion.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct VersionCase {
    const char* version;
    const char* date;
    bool read;
    const char* major;
    const char* minor;
    const char* full;
    int year, month, day;
};

// Hand-written: the fourth number of the full version is 0 when the build gives three.
const VersionCase kCases[] = {
    {"0.1.0", "2026-12-10", true, "0", "1", "0.1.0.0", 2026, 12, 10},
    {"2.13.4.5", "2024-02-29", true, "2", "13", "2.13.4.5", 2024, 2, 29},
    {"1.2.3", "2026-13-01", false, "1", "2", "1.2.3.0", 0, 0, 0},
    {"1.2.3", "2026-02-30", false, "1", "2", "1.2.3.0", 0, 0, 0},
    {"1.2.3", "2026/01/01", false, "1", "2", "1.2.3.0", 0, 0, 0},
    {"1.2.3", "26-01-01", false, "1", "2", "1.2.3.0", 0, 0, 0},
    {"1.2", "2026-01-01", false, "", "", "", 0, 0, 0},
    {"1.x.3", "2026-01-01", false, "", "", "", 0, 0, 0},
    {"1.2.3.4.5", "2026-01-01", false, "", "", "", 0, 0, 0},
    {"", "2026-01-01", false, "", "", "", 0, 0, 0},
    {"-1.2.3", "2026-01-01", false, "", "", "", 0, 0, 0},
};

TEST(InfoVersionTest, ReadsTheVersionAndTheDateInTheirFormsOnly) {
    for (const VersionCase& c : kCases) {
        CInfoVersion info;
        EXPECT_EQ(info.Charger(c.version, c.date), c.read) << c.version << " " << c.date;
        EXPECT_EQ(info.majorVersion, c.major) << c.version;
        EXPECT_EQ(info.minorVersion, c.minor) << c.version;
        EXPECT_EQ(info.fullVersion, c.full) << c.version;
        EXPECT_EQ(info.fileDate.year, c.year) << c.date;
        EXPECT_EQ(info.fileDate.month, c.month) << c.date;
        EXPECT_EQ(info.fileDate.day, c.day) << c.date;
        EXPECT_EQ(info.productName, *c.major != '\0' ? "Morvane" : "") << c.version;
    }
}

TEST(InfoVersionTest, TheProgramCarriesTheProjectVersionOfItsBuild) {
    CInfoVersion info;
    ASSERT_TRUE(info.Charger());
    EXPECT_EQ(info.productName, "Morvane");
    EXPECT_EQ(info.fileVersion, MORVANE_PROJECT_VERSION);
    EXPECT_GE(info.fileDate.year, 2024);
    EXPECT_FALSE(info.modulePath.empty());
}

} // namespace
