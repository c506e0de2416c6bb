#include "presentation/PoliceAna.h"
#include "gui/tabulation/QtFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// The drawing font's character height follows the device: 96 dots per inch make 10 points 13
// pixels (96 x 10 / 72 = 13.3, truncated); without a device 1.25 pixels per point.
TEST(QtFonts, CharacterHeightFollowsTheDeviceResolution) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.setDotsPerMeterY(3780); // 96 dots per inch
    CPoliceAna font;
    font.SetTaille(10);
    EXPECT_EQ(QtFonts::CreerFont(font, &image).pixelSize(), 13);
    image.setDotsPerMeterY(11811); // 300 dots per inch: 41.7
    EXPECT_EQ(QtFonts::CreerFont(font, &image).pixelSize(), 41);
    EXPECT_EQ(QtFonts::CreerFont(font, nullptr).pixelSize(), 12);
}

TEST(QtFonts, StyleFlagsAndColourComeFromTheRecord) {
    CPoliceAna font;
    font.SetGras(true);
    font.SetSouligne(true);
    font.SetCouleur(0x0000FF); // red, stored as 0x00BBGGRR
    const QFont drawing = QtFonts::CreerFont(font, nullptr);
    EXPECT_EQ(drawing.weight(), QFont::Bold);
    EXPECT_FALSE(drawing.italic());
    EXPECT_TRUE(drawing.underline());
    EXPECT_EQ(QtFonts::TextColour(font), QColor(255, 0, 0));
}

// Without "Times New Roman" the default face of the records is drawn with a serif family the
// system has, never with whatever sans-serif face the system would pick.
TEST(QtFonts, MissingTimesNewRomanIsReplacedByASerifFamily) {
    if (QFontDatabase::hasFamily(QStringLiteral("Times New Roman")))
        GTEST_SKIP() << "the system has Times New Roman";
    const QString family = QtFonts::FamilyFor(CPoliceAna::kDefaultFace);
    if (!QFontDatabase::hasFamily(family))
        GTEST_SKIP() << "no serif family on this system";
    EXPECT_TRUE(family.contains(QStringLiteral("Serif")) || family.contains(QStringLiteral("Roman")) ||
                family == QStringLiteral("Tinos"))
        << family.toStdString();
    EXPECT_EQ(QFontInfo(QtFonts::CreerFont(CPoliceAna(), nullptr)).family(), family);
}

TEST(QtFonts, FacesTheSystemHasAreKept) {
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    EXPECT_EQ(QtFonts::FamilyFor(families.front().toStdString()), families.front());
}

TEST(QtFonts, LineEndsOfTheCoreBecomeOneBreak) {
    EXPECT_EQ(QtFonts::ToDisplayText("Base : 500\r\nToutes"), QStringLiteral("Base : 500\nToutes"));
    EXPECT_EQ(QtFonts::ToDisplayText("\xC3\xA9t\xC3\xA9"), QStringLiteral("été"));
}

} // namespace
