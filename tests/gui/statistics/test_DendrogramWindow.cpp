#include "AnalysisWindowTestSupport.h"

#include "gui/statistics/DendogrammeDoc.h"
#include "gui/statistics/DendogrammeView.h"
#include "gui/statistics/OptionsClassificationDlg.h"
#include "statistics/Dendogramme.h"

#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

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
