#include "gui/presentation/DessinSymbole.h"
#include "gui/presentation/InfoBulle.h"
#include "gui/presentation/MappingPainter.h"
#include "gui/presentation/MappingPreviewView.h"
#include "gui/presentation/MappingTestSupport.h"
#include "gui/presentation/MappingView.h"

#include <QCursor>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

namespace {

using mapping_test::MappingEssai;
using mapping_test::MappingWindowTest;

// Row points whose window is [-0.4, 0.3] on both axes, step 0.1 (bounds -0.35 and 0.28).
MappingEssai::Point kPointsFenetre[] = {{"A", -0.35, -0.35}, {"B", 0.28, 0.28}};

// A map that draws its frame and ticks only: no axes, grid, coordinates, symbols nor labels.
void CadreSeul(CMapping& mapping) {
    CPresentationMapping& look = mapping.presentation;
    look.SetEstCadre(true);
    look.SetEstAxe(false);
    look.SetEstGrille(false);
    look.SetEstCoordonnee(false);
    look.SetCouleurFond(0xFFFFFF);
    look.SetCouleurAvant(0x000000);
    for (auto set : {CPresentationMapping::kRowPoints, CPresentationMapping::kColumnPoints}) {
        CPresentationMappingLigne points = look.GetPointSet(set);
        points.SetTypeSymbole(0);
        points.SetEstLibelleVisible(false);
        look.SetPointSet(set, points);
    }
}

QImage Rendu(const CMappingView& view, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    view.Painter(view.GetRectangle()).Dessiner(painter);
    return image;
}

bool Sombre(QRgb pixel) {
    return qGray(pixel) < 128;
}

// The zoom changes the plot square to 5 pixels a percent and the scroll area to the square and
// its margins; each zoom is chosen as a user does, from the right button's menu.
TEST_F(MappingWindowTest, ZoomSetsThePlotSquareAndTheScrollSize) {
    struct Case {
        const char* item;
        double zoom;
        double right;
        double bottom;
        QSize scroll;
    };
    // 50 + 5·z and 5 + 5·z, then 50 more each way.
    const Case cases[] = {
        {"200", 200, 1050, 1005, {1100, 1055}}, {"50", 50, 300, 255, {350, 305}},
        {"75", 75, 425, 380, {475, 430}},       {"400", 400, 2050, 2005, {2100, 2055}},
        {"100", 100, 550, 505, {600, 555}},
    };
    MappingEssai essai({{"A", -0.35, -0.35}, {"B", 0.28, 0.28}});
    CMappingView& view = Open(essai.mapping);
    EXPECT_EQ(view.GetRectangle(), QRectF(QPointF(50, 5), QPointF(550, 505)));
    EXPECT_EQ(view.GetTotalSize(), QSize(600, 555));
    // Without a portfolio to receive it, the map cannot be sent to one.
    {
        const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
        const QList<QAction*> actions = menu->actions();
        const auto send = std::find_if(actions.begin(), actions.end(), [](const QAction* action) {
            return action->text() == QStringLiteral("Envoyer vers un &Dossier");
        });
        ASSERT_NE(send, actions.end());
        EXPECT_FALSE((*send)->isEnabled());
    }
    for (const Case& c : cases) {
        const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
        Choisir(*menu, QStringLiteral("&Zoom"), QString::fromLatin1(c.item));
        EXPECT_EQ(view.GetZoom(), c.zoom) << c.item;
        EXPECT_EQ(view.GetRectangle(), QRectF(QPointF(50, 5), QPointF(c.right, c.bottom))) << c.item;
        EXPECT_EQ(view.GetTotalSize(), c.scroll) << c.item;
    }
}

// Ticks stand at the multiples of the step from the origin, only where they fall more than 5
// pixels inside the square: on the window [-0.4, 0.3] of a 500-pixel square, x = 50 + 500·(v +
// 0.4) / 0.7 for v = -0.3, -0.2, -0.1, 0.1, 0.2 (0.3 falls on the edge).
TEST_F(MappingWindowTest, TickMarksStandAtTheMultiplesOfTheStepInsideTheSquare) {
    MappingEssai essai({kPointsFenetre[0], kPointsFenetre[1]});
    CadreSeul(essai.mapping);
    CMappingView& view = Open(essai.mapping);
    ASSERT_DOUBLE_EQ(view.GetGraduation().pasX, 0.1);
    const QImage image = Rendu(view, QSize(600, 555));
    // The marks rise 4 pixels from the bottom edge (505): row 502 crosses them only.
    std::set<int> marks;
    for (int x = 52; x < 549; ++x)
        if (Sombre(image.pixel(x, 502)))
            marks.insert(x);
    EXPECT_EQ(marks, (std::set<int>{121, 192, 264, 407, 478}));
    // Up the left edge the same values, y = 5 + 500·(0.3 - v) / 0.7 for v = 0.2, 0.1, -0.1, -0.2,
    // -0.3.
    std::set<int> left;
    for (int y = 7; y < 504; ++y)
        if (Sombre(image.pixel(52, y)))
            left.insert(y);
    EXPECT_EQ(left, (std::set<int>{76, 147, 290, 362, 433}));
}

TEST(MappingGraduations, KeepOnlyTicksMoreThanFivePixelsInside) {
    struct Case {
        double step;
        int direction;
        double pixelsPerUnit;
        std::vector<double> expected;
    };
    // Device 50 + v·pixelsPerUnit over [50, 550].
    const Case cases[] = {
        {1.0, 1, 100.0, {1, 2, 3, 4}},   // 550 on the edge is out
        {1.0, 1, 99.0, {1, 2, 3, 4}},    // 545 is exactly 5 inside: out
        {1.0, 1, 98.9, {1, 2, 3, 4, 5}}, // 544.5: in
        {1.0, -1, 100.0, {}},            // left of the origin at the left edge
        {0.0, 1, 100.0, {}},             // no step, no tick
        {std::numeric_limits<double>::infinity(), 1, 100.0, {}},
    };
    for (const Case& c : cases) {
        const auto toDevice = [&c](double v) { return 50.0 + v * c.pixelsPerUnit; };
        EXPECT_EQ(MappingPainter::Graduations(c.step, c.direction, 50.0, 550.0, toDevice), c.expected)
            << c.step << " " << c.pixelsPerUnit;
    }
    // A window so wide that every tick lands on the origin's pixel stops after a bounded count.
    const auto flat = [](double) { return 300.0; };
    EXPECT_EQ(MappingPainter::Graduations(1.0, 1, 50.0, 550.0, flat).size(),
              static_cast<std::size_t>(MappingPainter::kMostTicks));
}

// Two row points drawn on one pixel are named together under the cursor; the popup goes after
// four seconds of its life timer, and at once when a key is pressed.
TEST_F(MappingWindowTest, HoverNamesCoincidentRowPointsAndThePopupGoes) {
    MappingEssai essai(
        {{"Alpha", 0.1, 0.2}, {"Beta", 0.1, 0.2}, {"Gamma un", -0.3, -0.1}, {"Gamma deux", -0.3, -0.1}},
        {{"Colonne", 0.1, 0.2}});
    CMappingView& view = Open(essai.mapping);
    const QPoint drawn = view.Painter(view.GetRectangle()).PositionPoint(CMapping::kLignes, 0);
    QWidget* viewport = view.viewport();
    const QPoint local = drawn - view.GetScrollPosition();

    QCursor::setPos(viewport->mapToGlobal(local));
    QMouseEvent move(QEvent::MouseMove, local, viewport->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    ASSERT_TRUE(view.GetTimerSurvol().isActive());
    EXPECT_EQ(view.GetTimerSurvol().interval(), 200);
    view.OnTimer();
    CInfoBulle& bulle = view.GetInfoBulle();
    ASSERT_TRUE(bulle.isVisible());
    // Column points are never named.
    EXPECT_EQ(bulle.GetText(), "Alpha + Beta");
    EXPECT_TRUE(bulle.GetLifeTimer().isActive());
    EXPECT_EQ(bulle.GetLifeTimer().interval(), 4000);
    bulle.OnLifeEnded();
    EXPECT_FALSE(bulle.isVisible());
    EXPECT_FALSE(bulle.GetLifeTimer().isActive());

    view.OnTimer();
    ASSERT_TRUE(bulle.isVisible());
    QTest::keyClick(&view, Qt::Key_A);
    EXPECT_FALSE(bulle.isVisible());
    // So does a mouse button pressed anywhere.
    view.OnTimer();
    ASSERT_TRUE(bulle.isVisible());
    QTest::mousePress(mainFrame, Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(bulle.isVisible());

    // A cursor that has moved since the last mouse move hides the popup.
    view.OnTimer();
    ASSERT_TRUE(bulle.isVisible());
    QCursor::setPos(viewport->mapToGlobal(local + QPoint(30, 30)));
    view.OnTimer();
    EXPECT_FALSE(bulle.isVisible());

    // Four pixels away (16 ≥ 15) names nothing.
    EXPECT_EQ(view.LibellesSous(drawn + QPoint(4, 0)), QString());
    EXPECT_EQ(view.LibellesSous(drawn + QPoint(3, 2)), "Alpha + Beta");

    // The popup's lines break between labels, never inside one.
    EXPECT_EQ(view.LibellesSous(view.Painter(view.GetRectangle()).PositionPoint(CMapping::kLignes, 2)),
              QString("Gamma\u00A0un + Gamma\u00A0deux"));
}

// The popup is as wide as asked (100 pixels by default), plus 5 pixels each side.
TEST(InfoBulle, IsPlacedBelowTheCursorAndAsWideAsItsText) {
    CInfoBulle bulle;
    bulle.Show(QPoint(300, 200), QStringLiteral("A"));
    const QSize box = CInfoBulle::TailleBoite(QStringLiteral("A"), 100);
    EXPECT_EQ(bulle.geometry(), QRect(300 + 10 - box.width() / 2, 206, box.width(), box.height() + 1));
    EXPECT_LE(box.width(), 110);
    bulle.Hide();
}

// The printed map: its plot square is the largest square the page's printable area holds,
// centred; on a portrait page that is the printable width.
TEST(MappingPrinting, ThePlotSquareIsTheLargestSquareOfThePage) {
    EXPECT_EQ(CMappingView::CarreImpression(QRect(100, 200, 800, 1200)), QRectF(100, 400, 800, 800));
    EXPECT_EQ(CMappingView::CarreImpression(QRect(100, 200, 1200, 800)), QRectF(300, 200, 800, 800));
}

TEST_F(MappingWindowTest, ThePrintedMapFillsThePageWidth) {
    MappingEssai essai({kPointsFenetre[0], kPointsFenetre[1]});
    CadreSeul(essai.mapping);
    CMappingView& view = Open(essai.mapping);
    view.SetZoom(400);
    const std::filesystem::path pdf = std::filesystem::path(::testing::TempDir()) / "mapping-print.pdf";
    std::filesystem::remove(pdf);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    ASSERT_TRUE(view.Imprimer(printer));
    // The window keeps its geometry.
    EXPECT_EQ(view.GetRectangle().right(), 2050);
    std::ifstream file(pdf, std::ios::binary);
    std::string head(5, '\0');
    file.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");

    // The same page drawn on a picture of the page's size: the frame's left and right edges are
    // the printable area's (A4 less 20 mm each side: 170 mm of 210).
    const QRect printable = CMappingView::ZoneImprimable(printer);
    const QRect paper = printer.pageLayout().fullRectPixels(printer.resolution());
    const double shrink = 0.1;
    QImage page(static_cast<int>(paper.width() * shrink), static_cast<int>(paper.height() * shrink),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.scale(shrink, shrink);
        view.DessinerPage(painter, printable);
    }
    const int middle = page.height() / 2;
    int first = -1;
    int last = -1;
    for (int x = 0; x < page.width(); ++x)
        if (Sombre(page.pixel(x, middle))) {
            if (first < 0)
                first = x;
            last = x;
        }
    const double expectedLeft = page.width() * 20.0 / 210.0;
    const double expectedRight = page.width() * 190.0 / 210.0;
    EXPECT_NEAR(first, expectedLeft, 2.0);
    EXPECT_NEAR(last, expectedRight, 2.0);
    EXPECT_NEAR((last - first) / double(page.width()), 170.0 / 210.0, 0.01);
}

// The preview shows the page and its print button prints through the map view and closes it.
TEST_F(MappingWindowTest, ThePreviewPrintsThroughTheMapView) {
    MappingEssai essai({kPointsFenetre[0], kPointsFenetre[1]});
    CMappingView& view = Open(essai.mapping);
    CMappingPreviewView preview(view);
    const std::filesystem::path pdf = std::filesystem::path(::testing::TempDir()) / "mapping-preview.pdf";
    std::filesystem::remove(pdf);
    preview.GetPrinter().setOutputFormat(QPrinter::PdfFormat);
    preview.GetPrinter().setOutputFileName(QString::fromStdString(pdf.string()));
    EXPECT_EQ(preview.GetPage().height(), CMappingPreviewView::kHauteurApercu);
    EXPECT_EQ(preview.windowTitle(), "Aperçu avant l'impression");
    preview.show();
    preview.GetBoutonImprimer().click();
    EXPECT_EQ(preview.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(view.GetRectangle(), QRectF(QPointF(50, 5), QPointF(550, 505)));
}

// The RTF export writes the map's name, then the picture: square, twice the 600-pixel drawing,
// shown 158 mm (8957 twips) wide and high.
TEST_F(MappingWindowTest, TheRtfPictureIsTheMapsSquare) {
    MappingEssai essai({{"Alpha", 0.1, 0.2}, {"Beta", -0.3, 0.4}}, {{"Colonne", 0.5, -0.1}});
    CMappingView& view = Open(essai.mapping);
    const std::filesystem::path rtf = std::filesystem::path(::testing::TempDir()) / "mapping.rtf";
    std::filesystem::remove(rtf);
    ASSERT_TRUE(view.ExporterVersWord(rtf.string()));
    std::ifstream file(rtf, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string content = text.str();
    EXPECT_NE(content.find("Mapping Axe 1 x 2"), std::string::npos);
    EXPECT_NE(content.find("\\picw1200\\pich1200\\picwgoal8957\\pichgoal8957\\pngblip"), std::string::npos);
    const QImage picture = QImage::fromData(QByteArray(reinterpret_cast<const char*>(view.ImagePng().data()),
                                                       static_cast<int>(view.ImagePng().size())));
    EXPECT_EQ(picture.size(), QSize(1200, 1200));
}

// Maps that cannot be laid out as usual still draw, at every zoom, without a fault or a hang.
TEST_F(MappingWindowTest, DegenerateMapsDrawAtEveryZoom) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<MappingEssai::Point> points;
    };
    const Case cases[] = {
        {"coincident", {{"A", 2.0, 3.0}, {"B", 2.0, 3.0}, {"C", 2.0, 3.0}}},
        {"all zero", {{"A", 0.0, 0.0}, {"B", 0.0, 0.0}}},
        {"huge", {{"A", 1e300, -1e300}, {"B", -1e300, 1e300}}},
        {"beyond double", {{"A", 1.7e308, 1.7e308}, {"B", -1e-320, 0.0}}},
        {"not a number", {{"A", nan, 0.5}, {"B", 0.5, 0.25}}},
        {"unreadable", {}},
    };
    for (const Case& c : cases) {
        MappingEssai essai(c.points, c.points);
        if (c.points.empty()) {
            // Counts without coordinates, and axes the coordinates do not have.
            essai.mapping.nombreLignes = 3;
            essai.mapping.nombreColonnes = 2;
            essai.mapping.axeVertical = 5;
        }
        CMappingView& view = Open(essai.mapping);
        for (double zoom : {50.0, 400.0}) {
            view.SetZoom(zoom);
            const QImage image = Rendu(view, QSize(view.GetTotalSize()));
            // The frame is there, whatever the points.
            EXPECT_TRUE(Sombre(image.pixel(50, 100))) << c.name << " " << zoom;
            EXPECT_FALSE(view.LibellesSous(QPoint(300, 250)).contains(QStringLiteral("nan"))) << c.name;
        }
        EXPECT_FALSE(view.ImagePng().empty()) << c.name;
        view.GetDocument()->OnCloseDocument();
    }
}

} // namespace

namespace {

QPolygon Points(std::initializer_list<QPoint> corners) {
    return QPolygon(QList<QPoint>(corners));
}

// The corners of each symbol, worked out by hand: r = size / 2, h = size / 2 in integers,
// 0.866·h for the triangles' half-width, every corner truncated toward zero.
TEST(DessinSymbole, ShapesAreTruncatedToWholePixels) {
    struct Case {
        std::int16_t type;
        std::int32_t size;
        QPolygon expected;
    };
    const Case cases[] = {
        // Size 3: h = 1; the upward triangle's corners at y - 1 and y + 0.5 (truncated to y), the
        // downward one's at y + 1 and y - 0.5 (19.5 truncated to 19).
        {2, 3, Points({{20, 19}, {19, 20}, {20, 20}})},
        {3, 3, Points({{20, 21}, {19, 19}, {20, 19}})},
        // Size 8: h = 4; 0.866·4 = 3.46.
        {2, 8, Points({{20, 16}, {16, 22}, {23, 22}})},
        {5, 8, Points({{16, 20}, {20, 16}, {24, 20}, {20, 24}})},
        // The box of half-side 4, right and bottom edges excluded.
        {1, 8, Points({{16, 16}, {23, 16}, {23, 23}, {16, 23}})},
        {0, 8, QPolygon()},
        {6, 8, QPolygon()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DessinSymbole::Contour(c.type, 20, 20, c.size), c.expected) << c.type << " " << c.size;
    EXPECT_EQ(DessinSymbole::HautLibelle(0, 20, 8), 20);
    EXPECT_EQ(DessinSymbole::HautLibelle(4, 20, 8), 24);
    EXPECT_EQ(DessinSymbole::HautLibelle(2, 20, 3), 21);
}

} // namespace
