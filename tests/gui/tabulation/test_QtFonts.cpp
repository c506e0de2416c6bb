#include "presentation/PoliceAna.h"
#include "gui/tabulation/QtFontMetricsSource.h"
#include "gui/tabulation/QtFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// A source remembers its measures: asked again, in any order, for the same texts with other fonts
// and widths, it answers each as a source that never measured anything before (a narrow box
// wraps the words, a wide one does not; bold figures are wider).
TEST(QtFonts, ARememberedMeasureIsThatOfItsFontTextAndWidth) {
    QImage image(10, 10, QImage::Format_RGB32);
    CPoliceAna regular;
    // A face whose bold figures are wider than its regular ones.
    regular.SetNom("DejaVu Sans");
    CPoliceAna bold = regular;
    bold.SetGras(true);
    struct Measure {
        const CPoliceAna* font;
        std::string text;
        int width;
    };
    const std::vector<Measure> measures{{&regular, "88888888 88888888", 40}, {&regular, "88888888 88888888", 1000},
                                        {&bold, "88888888 88888888", 1000},  {&regular, "100.0 %", 1000},
                                        {&bold, "88888888 88888888", 40},    {&regular, "88888888 88888888", 40}};
    const QtFontMetricsSource remembering(&image);
    for (int pass = 0; pass < 2; ++pass) {
        for (const Measure& measure : measures) {
            SCOPED_TRACE(measure.text + " in " + std::to_string(measure.width));
            const TextExtent fresh = QtFontMetricsSource(&image).MeasureWrapped(*measure.font, measure.text, measure.width);
            const TextExtent remembered = remembering.MeasureWrapped(*measure.font, measure.text, measure.width);
            EXPECT_EQ(remembered.width, fresh.width);
            EXPECT_EQ(remembered.height, fresh.height);
        }
    }
    EXPECT_GT(remembering.MeasureWrapped(regular, "88888888 88888888", 40).height,
              remembering.MeasureWrapped(regular, "88888888 88888888", 1000).height);
    EXPECT_GT(remembering.MeasureWrapped(bold, "88888888 88888888", 1000).width,
              remembering.MeasureWrapped(regular, "88888888 88888888", 1000).width);
}

} // namespace
