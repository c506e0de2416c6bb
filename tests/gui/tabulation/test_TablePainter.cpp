#include "app/Ligne.h"
#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/QtFontMetricsSource.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TablePainter.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The sample table drawn on a white image 480 wide: a header column from 40 to 240 and data
// columns to 340 and 440, rows as high as the fonts make them.
class TablePainterTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        m_table.RemplirExemple();
    }

    // Lays the table out for the image and draws all of it.
    void Render() {
        m_image = QImage(kImageWidth, kImageHeight, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        const QtFontMetricsSource metrics(&m_image);
        TableLayoutOptions options;
        options.availableWidth = kImageWidth;
        m_layout = std::make_unique<TableLayout>(TableLayout::Compute(m_table, metrics, options));
        QPainter painter(&m_image);
        TablePainter(*m_layout, m_table.GetPresentation()).Paint(painter, m_image.rect());
    }

    int RowMiddle(std::int32_t row) const {
        return (m_layout->RowTops()[row] + m_layout->RowTops()[row + 1]) / 2;
    }
    QRgb Pixel(int x, int y) const { return m_image.pixel(x, y) & 0xFFFFFF; }
    bool AnyBlackAround(int x, int y) const {
        for (int dx = -1; dx <= 1; ++dx)
            if (Pixel(x + dx, y) == 0)
                return true;
        return false;
    }

    static constexpr int kImageWidth = 480;
    static constexpr int kImageHeight = 200;
    CTableau m_table;
    QImage m_image;
    std::unique_ptr<TableLayout> m_layout;
};

constexpr QRgb kGrey = 0xC0C0C0;
constexpr QRgb kWhite = 0xFFFFFF;

// A shadowed row label greys its header cell and its data cells up to their lines; the other rows
// stay white. The points lie right of the short left-aligned label, clear of its text.
TEST_F(TablePainterTest, ShadowedRowIsFilledGreyToItsLines) {
    CLigne label("Ligne 1");
    label.shadow = 1;
    m_table.SetLibelleLigne(0, 0, &label);
    Render();

    const int shadowedRow = RowMiddle(1);
    const int plainRow = RowMiddle(2);
    EXPECT_EQ(Pixel(230, shadowedRow), kGrey); // inside the text area
    EXPECT_EQ(Pixel(238, shadowedRow), kGrey); // in the cell margin, beyond the text area
    EXPECT_EQ(Pixel(250, shadowedRow), kGrey); // a data cell of the same row (value right-aligned)
    EXPECT_EQ(Pixel(230, plainRow), kWhite);
    EXPECT_EQ(Pixel(250, plainRow), kWhite);
}

// The border between the header column and the data is drawn with the thick line style whatever
// the line marks say: black with a solid thick style, nothing at all with a style that draws no
// line.
TEST_F(TablePainterTest, HeaderBorderTakesTheThickStyle) {
    struct Case {
        std::uint16_t thickType;
        bool black;
    };
    for (const Case c : {Case{CPresentationTableau::kSolidLine, true}, Case{4, false}}) {
        CPresentationTableau presentation = m_table.GetPresentation();
        presentation.SetThickBorderSize(2);
        presentation.SetThickBorderType(c.thickType);
        m_table.SetPresentation(presentation);
        Render();
        EXPECT_EQ(AnyBlackAround(240, RowMiddle(2)), c.black) << "thick type " << c.thickType;
        // The outer frame on the left as well.
        EXPECT_EQ(AnyBlackAround(40, RowMiddle(2)), c.black) << "thick type " << c.thickType;
    }
}

// Only what meets the area is drawn, and the walk stops below it: an area that holds the first
// rows leaves the last one blank.
TEST_F(TablePainterTest, OnlyRecordsMeetingTheAreaAreDrawn) {
    Render();
    const int lastRow = RowMiddle(3);
    ASSERT_TRUE(AnyBlackAround(240, lastRow));

    m_image.fill(Qt::white);
    QPainter painter(&m_image);
    const QRect upper(0, 0, kImageWidth, m_layout->RowTops()[2] - 1);
    TablePainter(*m_layout, m_table.GetPresentation()).Paint(painter, upper);
    painter.end();
    EXPECT_FALSE(AnyBlackAround(240, lastRow));
    EXPECT_TRUE(AnyBlackAround(240, RowMiddle(1)));
}

} // namespace
