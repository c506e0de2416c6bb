#include "AnalysisWindowTestSupport.h"

#include "gui/statistics/DendogrammeDoc.h"
#include "gui/statistics/DendogrammeView.h"
#include "gui/statistics/OptionsClassificationDlg.h"
#include "gui/tabulation/RecordingPaintDevice.h"
#include "statistics/Dendogramme.h"

#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace statistics_ui_test {
namespace {

// Five leaves: root = (A = (L1, L2), B = (L3, C = (L4, L5))), merges C 0, B 1, A 2, root 3;
// A and B are the two groups of the partition.
class DendrogramWindowTest : public AnalysisWindowTest {
protected:
    void SetUp() override {
        AnalysisWindowTest::SetUp();
        CClassificationGroupe* root = Node(3, 6, 0.0);
        CClassificationGroupe* a = Child(root, true, Node(2, 2, 40.0));
        Child(a, true, Node(-1, 1, 100.0));
        Child(a, false, Node(-1, 1, 100.0));
        CClassificationGroupe* b = Child(root, false, Node(1, 4, 62.5));
        Child(b, true, Node(-1, 1, 100.0));
        CClassificationGroupe* c = Child(b, false, Node(0, 3, 80.0));
        Child(c, true, Node(-1, 1, 100.0));
        Child(c, false, Node(-1, 2, 100.0));
        m_tree.AjouterNoeud(a);
        m_tree.AjouterNoeud(b);
        m_tree.nbGroupesAffiches = 5;
        m_tree.titre = "Dendrogramme";
        m_tree.Placer();
        m_tree.NumeroterNiveaux();
    }

    CClassificationGroupe* Node(int merge, int interviews, double level) {
        auto node = std::make_unique<CClassificationGroupe>();
        node->numeroFusion = merge;
        node->nbInterviews = interviews;
        node->niveau = level;
        return m_tree.AjouterNoeudArbre(std::move(node));
    }
    static CClassificationGroupe* Child(CClassificationGroupe* parent, bool left, CClassificationGroupe* child) {
        (left ? parent->gauche : parent->droite) = child;
        child->parent = parent;
        return child;
    }

    CDendogrammeView& Open() {
        CMultiDocTemplate& docTemplate = AddTemplate<CDendogrammeDoc, CDendogrammeView>();
        CDocument* document = docTemplate.OpenDocumentFile(DocumentSource::FromObject(&m_tree));
        EXPECT_NE(document, nullptr);
        return *dynamic_cast<CDendogrammeView*>(document->GetViews().front());
    }

    static QImage Render(const CDendogrammeView& view) {
        QImage image(view.GetTotalSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view.Dessiner(painter);
        return image;
    }

    CDendogramme m_tree;
};

bool Red(QRgb pixel) {
    return qRed(pixel) == 200 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}
bool Black(QRgb pixel) {
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}
// Whether any pixel of the rectangle is of that colour.
bool Any(const QImage& image, QRect area, bool (*colour)(QRgb)) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (colour(image.pixel(x, y)))
                return true;
    return false;
}
bool Dark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// Positions by hand: leaves 0 .. 4 from the top, A = 0.5, C = 3.5, B = (2 + 3.5) / 2 = 2.75,
// root = (0.5 + 2.75) / 2 = 1.625; drawing rows: leaves 0, C 1, B 2, A 3, root 4.
// Reduced: x = 20 row + 8, y = trunc(10 position) + 10.
TEST_F(DendrogramWindowTest, TheReducedModeDrawsSmallCircles) {
    CDendogrammeView& view = Open();
    EXPECT_EQ(view.GetDocument()->GetTitle(), QStringLiteral("Dendrogramme"));
    EXPECT_EQ(view.GetTotalSize(), QSize(20 * 5 + 50, (5 + 2) * 10));
    const QImage image = Render(view);
    EXPECT_TRUE(Red(image.pixel(68 + 4, 15))) << "A at (68, 15), a group: red circle";
    EXPECT_TRUE(Red(image.pixel(48 + 4, 37))) << "B at (48, 37)";
    EXPECT_TRUE(Black(image.pixel(88 + 4, 26))) << "the root at (88, 26)";
    EXPECT_TRUE(Black(image.pixel(8 + 4, 10))) << "the first leaf at (8, 10)";
    EXPECT_TRUE(Black(image.pixel(8 + 4, 50))) << "the last leaf at (8, 50)";
    EXPECT_FALSE(Any(image, QRect(60, 52, 80, 10), &Dark)) << "nothing below the last leaf";
}

// A text the window drew, where it lies on the drawing.
struct DrawnText {
    std::string text;
    QRectF rect;
};

std::vector<DrawnText> Texts(const CDendogrammeView& view) {
    const QImage model(view.GetTotalSize(), QImage::Format_RGB32);
    RecordingPaintDevice device(model);
    {
        QPainter painter(&device);
        view.Dessiner(painter);
    }
    std::vector<DrawnText> texts;
    for (const RecordingPaintDevice::DrawnText& drawn : device.texts)
        texts.push_back({drawn.text.toStdString(), drawn.rect});
    return texts;
}

// The texts drawn within the area (one pixel of rounding allowed), in drawing order.
std::vector<std::string> TextsWithin(const std::vector<DrawnText>& texts, QRect area) {
    const QRectF within = QRectF(area).adjusted(-1, -1, 1, 1);
    std::vector<std::string> found;
    for (const DrawnText& drawn : texts)
        if (within.contains(drawn.rect))
            found.push_back(drawn.text);
    return found;
}

bool Blue(QRgb pixel) {
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 127;
}
bool DarkRed(QRgb pixel) {
    return qRed(pixel) > qGreen(pixel) + 40 && qRed(pixel) < 190 && qBlue(pixel) < 100;
}
// Ink that is neither the blue of the lines nor the white of the page.
bool Ink(QRgb pixel) {
    return qGray(pixel) < 200 && qBlue(pixel) <= qRed(pixel) + 40;
}

// Detailed: x = 55 row + 28, y = trunc(34 position) + 34; a node is a box of 50 x 28 crossed at
// its middle. By hand: root (248, 89), A (193, 51), B (138, 127), C (83, 153), leaves at x 28 and
// y 34, 68, 102, 136, 170.
TEST_F(DendrogramWindowTest, TheDetailedModeDrawsBoxesNamingTheGroups) {
    CDendogrammeView& view = Open();
    view.SetMode(CDendogramme::Mode::Detaille);
    EXPECT_EQ(view.GetTotalSize(), QSize(55 * 5 + 50, (5 + 2) * 34));
    const QImage image = Render(view);
    const std::vector<DrawnText> texts = Texts(view);
    const struct {
        const char* name;
        QPoint at;
        const char* group; // the upper half's text, partition nodes only
        const char* interviews;
        const char* level;
    } nodes[] = {
        {"root", {248, 89}, nullptr, "6", "0.0"},   {"A", {193, 51}, "Groupe 1", "2", "40.0"},
        {"B", {138, 127}, "Groupe 2", "4", "62.5"}, {"C", {83, 153}, nullptr, "3", "80.0"},
        {"L1", {28, 34}, nullptr, "1", "100.0"},    {"L5", {28, 170}, nullptr, "2", "100.0"},
    };
    for (const auto& node : nodes) {
        SCOPED_TRACE(node.name);
        const int x = node.at.x();
        const int y = node.at.y();
        bool (*edge)(QRgb) = node.group != nullptr ? &Red : &Black;
        // The box's four sides and the line across it, at their middles.
        EXPECT_TRUE(Any(image, QRect(x - 1, y - 15, 3, 3), edge)) << "top";
        EXPECT_TRUE(Any(image, QRect(x + 10, y + 13, 3, 3), edge)) << "bottom";
        EXPECT_TRUE(Any(image, QRect(x - 26, y + 7, 3, 3), edge)) << "left";
        EXPECT_TRUE(Any(image, QRect(x + 24, y + 7, 3, 3), edge)) << "right";
        EXPECT_TRUE(Any(image, QRect(x + 10, y - 1, 3, 3), edge)) << "across";
        const QRect upper(x - 25, y - 14, 50, 14);
        const QRect lowerLeft(x - 24, y + 1, 23, 13);
        const QRect lowerRight(x + 1, y + 1, 23, 13);
        const QRect upperInside = upper.adjusted(2, 2, -2, -2);
        // The lines from the node's centre to its children run under its box, not through its texts.
        EXPECT_FALSE(Any(image, upperInside, &Blue));
        EXPECT_FALSE(Any(image, lowerLeft.adjusted(1, 1, -1, -1), &Blue));
        if (node.group != nullptr) {
            EXPECT_EQ(TextsWithin(texts, upper), std::vector<std::string>{node.group});
            EXPECT_TRUE(Any(image, upperInside, &DarkRed)) << "the group's name in dark red";
        } else {
            EXPECT_TRUE(TextsWithin(texts, upper).empty());
            EXPECT_FALSE(Any(image, upperInside, &Ink)) << "an empty upper half";
        }
        EXPECT_EQ(TextsWithin(texts, lowerLeft), std::vector<std::string>{node.interviews});
        EXPECT_EQ(TextsWithin(texts, lowerRight), std::vector<std::string>{node.level});
    }
    EXPECT_EQ(texts.size(), 2u + 9u * 2u) << "two group names, and two numbers for each of the nine nodes";
    EXPECT_FALSE(Any(image, QRect(0, 186, 325, 52), &Dark)) << "nothing below the last leaf's box";

    // Back to the reduced mode: the same tree at its small size.
    view.SetMode(CDendogramme::Mode::Reduit);
    EXPECT_EQ(view.GetTotalSize(), QSize(20 * 5 + 50, (5 + 2) * 10));
    EXPECT_TRUE(Texts(view).empty());
    EXPECT_TRUE(Red(Render(view).pixel(68 + 4, 15)));
}

TEST_F(DendrogramWindowTest, TheWindowClosesWithItsClassification) {
    int source = 0;
    m_tree.documentSource = &source;
    CDendogrammeView& view = Open();
    auto* document = dynamic_cast<CDendogrammeDoc*>(view.GetDocument());
    int other = 0;
    EXPECT_FALSE(document->FermerSiSource(&other));
    EXPECT_TRUE(document->FermerSiSource(&source));
}

TEST_F(DendrogramWindowTest, ClassificationOptionsEnableTheirNumbersWithTheTypology) {
    for (const bool modalities : {true, false}) {
        COptionsClassificationDlg dialog(modalities, 1, false, 10, 0);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options sur la classification"));
        EXPECT_FALSE(dialog.GetGroupes().isEnabled());
        EXPECT_EQ(dialog.GetGroupes().minimum(), 3);
        EXPECT_EQ(dialog.GetGraine().maximum(), 32767);
        EXPECT_EQ(dialog.GetRadio(2).isVisibleTo(&dialog), !modalities);
        EXPECT_TRUE(dialog.GetRadio(1).isChecked());
        dialog.GetTypologie().click();
        EXPECT_TRUE(dialog.GetGroupes().isEnabled());
        EXPECT_TRUE(dialog.GetGraine().isEnabled());
        dialog.GetGroupes().setValue(12);
        dialog.GetGraine().setValue(7);
        dialog.accept();
        int radio = -1;
        bool typology = false;
        int groups = 0;
        int seed = 0;
        dialog.DonnerOptions(radio, typology, groups, seed);
        EXPECT_EQ(radio, 1);
        EXPECT_TRUE(typology);
        EXPECT_EQ(groups, 12);
        EXPECT_EQ(seed, 7);
    }
}

} // namespace
} // namespace statistics_ui_test
