// The colour and line-style drop-downs: which item a stored value selects, what the selection
// gives back, and what each item draws.
#include "framework/ComboCouleur.h"
#include "framework/ComboTrait.h"

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

// The fifteen names with the classic 20-colour default palette's colours they stand for
// (0x00BBGGRR): black, dark red, dark green, dark yellow, dark blue, dark magenta, dark cyan,
// dark grey (entry 12), light grey (entry 7), red, green, yellow, blue, magenta, cyan.
struct NamedColourCase {
    const char* name;
    std::uint32_t colour;
};
constexpr NamedColourCase kPaletteCases[] = {
    {"Noir", 0x000000},       {"Brun", 0x000080},    {"Vert", 0x008000},     {"Olive", 0x008080},
    {"Marine", 0x800000},     {"Pourpre", 0x800080}, {"Bleu-Vert", 0x808000}, {"Gris", 0x808080},
    {"Gris foncé", 0xC0C0C0}, {"Rouge", 0x0000FF},   {"Gris-Jaune", 0x00FF00}, {"Jaune", 0x00FFFF},
    {"Bleu", 0xFF0000},       {"Magenta", 0xFF00FF}, {"Bleu clair", 0xFFFF00},
};

TEST(ComboCouleur, EachColourOfThePaletteSelectsItsNameAndComesBack)
{
    CComboCouleur combo;
    ASSERT_EQ(combo.count(), CComboCouleur::kColourCount);
    for (const NamedColourCase& entry : kPaletteCases) {
        combo.Initialiser(0x123456); // somewhere else first
        combo.Initialiser(entry.colour);
        EXPECT_EQ(combo.currentText().toStdString(), entry.name);
        EXPECT_EQ(combo.GetCouleur(), entry.colour) << entry.name;
    }
}

TEST(ComboCouleur, AColourOutsideTheListSelectsNoir)
{
    CComboCouleur combo;
    for (std::uint32_t outside : {0x123456u, 0xFFFFFFu, 0xC0DCC0u, 0x01000000u}) {
        combo.Initialiser(0xFF0000); // "Bleu"
        combo.Initialiser(outside);
        EXPECT_EQ(combo.currentText().toStdString(), "Noir") << std::hex << outside;
        EXPECT_EQ(combo.GetCouleur(), 0u);
    }
}

TEST(ComboCouleur, NoSelectionGivesBlack)
{
    CComboCouleur combo;
    combo.Initialiser(0x0000FF);
    combo.setCurrentIndex(-1);
    EXPECT_EQ(combo.GetCouleur(), 0u);
}

// One item drawn into a white image of 200 x 20 pixels, as the list draws it unselected.
QImage DrawnItem(const OwnerDrawnCombo& combo, int index)
{
    QImage image(200, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    combo.PaintItem(painter, image.rect(), index, false, false);
    return image;
}

TEST(ComboCouleur, TheSwatchStandsBetweenFiveAndFortyFivePixelsInTheItemsColour)
{
    CComboCouleur combo;
    combo.Initialiser(0x0000FF); // "Rouge"
    const QImage image = DrawnItem(combo, combo.currentIndex());
    EXPECT_EQ(image.pixelColor(25, 10), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(2, 10), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(47, 10), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(25, 0), QColor(255, 0, 0)); // 2 pixels inside the top
}

TEST(ComboTrait, EachStyleSelectsItsItemAndOthersSelectAucun)
{
    CComboTrait combo;
    ASSERT_EQ(combo.count(), CComboTrait::kStyleCount);
    struct Case {
        int style;
        int expected;
    };
    for (const Case& item : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{4, 0}, Case{-1, 0}, Case{99, 0}}) {
        combo.Initialiser(2);
        combo.Initialiser(item.style);
        EXPECT_EQ(combo.GetStyle(), item.expected) << "style " << item.style;
    }
    combo.Initialiser(0);
    EXPECT_EQ(combo.currentText().toStdString(), "Aucun");
}

// Dark pixels along the middle row of an item, and how many separate runs they make.
struct MiddleLine {
    int first = -1;
    int last = -1;
    int runs = 0;
    int dark = 0;
};

MiddleLine ReadMiddleLine(const QImage& image)
{
    MiddleLine line;
    bool inRun = false;
    const int middle = image.height() / 2;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = image.pixelColor(x, middle).lightness() < 128;
        if (dark) {
            if (line.first < 0)
                line.first = x;
            line.last = x;
            ++line.dark;
        }
        if (dark && !inRun)
            ++line.runs;
        inRun = dark;
    }
    return line;
}

TEST(ComboTrait, LinesRunTenPixelsInsideBothEdgesSolidDashedOrDotted)
{
    CComboTrait combo;
    const MiddleLine solid = ReadMiddleLine(DrawnItem(combo, 1));
    const MiddleLine dashed = ReadMiddleLine(DrawnItem(combo, 2));
    const MiddleLine dotted = ReadMiddleLine(DrawnItem(combo, 3));

    EXPECT_EQ(solid.first, 10);
    EXPECT_EQ(solid.last, 189);
    EXPECT_EQ(solid.runs, 1);
    EXPECT_EQ(dashed.first, 10);
    EXPECT_GT(dashed.runs, 5);
    EXPECT_GT(dotted.runs, dashed.runs);
    EXPECT_LT(dotted.dark, dashed.dark);
    EXPECT_LT(dashed.dark, solid.dark);
}

TEST(ComboTrait, AucunIsWrittenNotDrawn)
{
    CComboTrait combo;
    const QImage image = DrawnItem(combo, 0);
    const MiddleLine middle = ReadMiddleLine(image);
    EXPECT_GE(middle.first, 10); // text starts 10 pixels in
    EXPECT_LT(middle.last, 100); // a short word, not a line to the far edge
}

} // namespace
