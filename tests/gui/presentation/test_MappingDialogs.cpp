#include "app/StringTable.h"
#include "gui/presentation/BrushingDlg.h"
#include "gui/presentation/MappingTestSupport.h"
#include "gui/presentation/PageMappingGeneralDlg.h"
#include "gui/presentation/PagePointsMappingDlg.h"
#include "framework/ComboCouleur.h"
#include "gui/presentation/PanneauPolice.h"
#include "gui/presentation/PresentationMappingDlg.h"
#include "gui/presentation/SizingDlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

using mapping_test::MappingEssai;
using mapping_test::MappingWindowTest;

QPushButton& Bouton(QDialog& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return *button;
    ADD_FAILURE() << "no button " << text.toStdString();
    static QPushButton none;
    return none;
}

// Types a value into a spin box as a user does: the whole text replaced, then Return.
void Taper(QSpinBox& spin, const QString& text) {
    spin.setFocus();
    spin.selectAll();
    QTest::keyClicks(&spin, text);
    QTest::keyClick(&spin, Qt::Key_Return);
}

// Which choices each point set offers: quality and contribution for the row points, and for
// column points only on a map whose window is not symmetric; a question only for rows whose
// source has one.
TEST_F(MappingWindowTest, BrushingOffersTheChoicesOfThePointSet) {
    struct Case {
        const char* item; // of the "&Brushing" or "&Sizing" sub-menu
        const char* subMenu;
        std::int16_t symmetric;
        bool question;
        bool measuresExpected;
        bool questionExpected;
    };
    const Case cases[] = {
        {"&Lignes", "&Brushing", 1, true, true, true},    {"&Colonnes", "&Brushing", 1, true, false, false},
        {"&Colonnes", "&Brushing", 0, true, true, false}, {"&Lignes", "&Sizing", 0, false, true, false},
        {"&Colonnes", "&Sizing", 1, false, false, false},
    };
    for (const Case& c : cases) {
        MappingEssai essai({{"A", 0.1, 0.2}, {"B", -0.2, 0.3}}, {{"X", 0.5, 0.5}});
        essai.mapping.fenetreSymetrique = c.symmetric;
        essai.source.question = c.question;
        CMappingView& view = Open(essai.mapping);
        bool seen = false;
        QuandModal<ModeMappingDlg>([&](ModeMappingDlg& dialog) {
            seen = true;
            EXPECT_TRUE(dialog.GetRadio(ModeMappingDlg::kCoordonnees).isEnabled());
            EXPECT_EQ(dialog.GetRadio(ModeMappingDlg::kQualites).isEnabled(), c.measuresExpected);
            EXPECT_EQ(dialog.GetRadio(ModeMappingDlg::kContributions).isEnabled(), c.measuresExpected);
            EXPECT_EQ(dialog.GetRadio(ModeMappingDlg::kQuestion).isEnabled(), c.questionExpected);
            dialog.reject();
        });
        const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
        Choisir(*menu, QString::fromUtf8(c.subMenu), QString::fromUtf8(c.item));
        EXPECT_TRUE(seen) << c.subMenu << " " << c.item;
        view.GetDocument()->OnCloseDocument();
    }
}

// Brushing the row points by their coordinates on axis 1: a point at the mean is grey, one at
// m + 2s or beyond red, one at m - 2s or below blue. With x = -10, eight times 0, and 10 the mean
// is 0 and s = sqrt(200/10) = 4.47, so -10 and 10 lie beyond two deviations.
TEST_F(MappingWindowTest, BrushingByCoordinatesColoursTheRowPoints) {
    std::vector<MappingEssai::Point> points{{"A", -10, 0.1}};
    for (int i = 0; i < 8; ++i)
        points.push_back({"Z", 0, 0.1 * i});
    points.push_back({"J", 10, 0.5});
    MappingEssai essai(points);
    CMappingView& view = Open(essai.mapping);
    QuandModal<CBrushingDlg>([](CBrushingDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Brushing");
        EXPECT_FALSE(dialog.AxeVisible());
        dialog.GetRadio(ModeMappingDlg::kCoordonnees).click();
        EXPECT_TRUE(dialog.AxeVisible());
        EXPECT_FALSE(dialog.QuestionVisible());
        Bouton(dialog, QStringLiteral("&OK")).click();
    });
    const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
    Choisir(*menu, QStringLiteral("&Brushing"), QStringLiteral("&Lignes"));
    EXPECT_EQ(essai.mapping.brushing[0].mode, 1);
    EXPECT_EQ(view.GetPoints(CMapping::kLignes).couleurs,
              (std::vector<std::uint32_t>{0xFF0000, 0x7F7F7F, 0x7F7F7F, 0x7F7F7F, 0x7F7F7F, 0x7F7F7F,
                                          0x7F7F7F, 0x7F7F7F, 0x7F7F7F, 0x0000FF}));
}

// "Selon une question" needs a question: OK without one says so and the dialog stays.
TEST_F(MappingWindowTest, BrushingByAQuestionNeedsOne) {
    CParamBrushing param;
    CBrushingDlg dialog(param, true, true, true, 2);
    dialog.show();
    dialog.GetRadio(ModeMappingDlg::kQuestion).click();
    EXPECT_TRUE(dialog.QuestionVisible());
    EXPECT_FALSE(dialog.AxeVisible());
    Bouton(dialog, QStringLiteral("&OK")).click();
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown.front().message.id, StringTable::kSelectionnerQuestion);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.GetParam().mode, 0);
}

// The axis keeps to 1 … a, the sizes to 2 … 30: what lies outside is refused as typed.
TEST_F(MappingWindowTest, SizingKeepsAxisAndSizesInTheirRanges) {
    CParamSizing param;
    param.mode = 2;
    CSizingDlg dialog(param, false, true, true, 3);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Sizing");
    // A key that would leave the range is refused; a number under the least is undone on Return.
    struct Case {
        QSpinBox* spin;
        const char* typed;
        int kept;
    };
    const Case cases[] = {
        {&dialog.GetAxeEdit(), "4", 1},       {&dialog.GetAxeEdit(), "3", 3},
        {&dialog.GetTailleFaible(), "1", 2},  {&dialog.GetTailleForte(), "31", 3},
        {&dialog.GetTailleForte(), "30", 30}, {&dialog.GetTailleFaible(), "5", 5},
    };
    for (const Case& c : cases) {
        Taper(*c.spin, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.spin->value(), c.kept) << c.typed;
    }
    Bouton(dialog, QStringLiteral("&OK")).click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetParam().mode, 2);
    EXPECT_EQ(dialog.GetParam().axe, 3);
    EXPECT_EQ(dialog.GetParam().tailleMin, 5);
    EXPECT_EQ(dialog.GetParam().tailleMax, 30);
}

// The gradient runs from the low colour at the top through the middle colour at mid-height.
TEST(BrushingDegrade, MixesChannelByChannel) {
    CParamBrushing param; // blue, grey, red
    const int h = 100;
    EXPECT_EQ(CBrushingDlg::CouleurDegrade(param, 0, h), 0xFF0000u);
    EXPECT_EQ(CBrushingDlg::CouleurDegrade(param, 50, h), 0x7F7F7Fu);
    // y = 25: L + 2·(M - L)·25/100 = L + (M - L)/2: blue 255 → 191, green and red 0 → 63.
    EXPECT_EQ(CBrushingDlg::CouleurDegrade(param, 25, h), 0xBF3F3Fu);
    // y = 99: M + 2·(H - M)·49/100: blue 127 - 124 = 3, green 127 - 124 = 3, red 127 + 125 = 252.
    EXPECT_EQ(CBrushingDlg::CouleurDegrade(param, 99, h), 0x0303FCu);
}

// Cancel leaves the map's presentation as it was though the pages edited the copy; OK without
// "Définir par défaut" changes the map but not the saved defaults; with it, the defaults too.
TEST_F(MappingWindowTest, PresentationDialogWorksOnACopy) {
    MappingEssai essai({{"A", 0.1, 0.2}, {"B", -0.2, 0.3}});
    CMappingView& view = Open(essai.mapping);
    const CPresentationMapping before = essai.mapping.presentation;
    const CPresentationMapping defaults;

    QuandModal<CPresentationMappingDlg>([](CPresentationMappingDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Mappings");
        dialog.GetPageGeneral().GetGrille().click();
        dialog.reject();
    });
    Choisir(*view.CreateContextMenu(), QString(), QStringLiteral("Présentation..."));
    EXPECT_EQ(essai.mapping.presentation, before);

    QuandModal<CPresentationMappingDlg>([](CPresentationMappingDlg& dialog) {
        QTabWidget& tabs = dialog.GetOnglets();
        ASSERT_EQ(tabs.count(), 3);
        EXPECT_EQ(tabs.tabText(0), "Général");
        EXPECT_EQ(tabs.tabText(1), "Lignes");
        EXPECT_EQ(tabs.tabText(2), "Colonnes");
        tabs.setCurrentIndex(1);
        CPagePointsMappingDlg& rows = dialog.GetPagePoints(CPresentationMapping::kRowPoints);
        rows.GetSymbole().setCurrentIndex(5);
        Taper(rows.GetTaille(), QStringLiteral("12"));
        Bouton(dialog, QStringLiteral("&OK")).click();
    });
    Choisir(*view.CreateContextMenu(), QString(), QStringLiteral("Présentation..."));
    EXPECT_EQ(essai.mapping.presentation.GetPointSet(CPresentationMapping::kRowPoints).GetTypeSymbole(), 5);
    EXPECT_EQ(essai.mapping.presentation.GetPointSet(CPresentationMapping::kRowPoints).GetTailleSymbole(),
              12);
    // Sized by nothing, every row point takes the new size.
    EXPECT_EQ(view.GetPoints(CMapping::kLignes).tailles, (std::vector<std::int32_t>{12, 12}));
    EXPECT_EQ(CPresentationMapping(), defaults);

    QuandModal<CPresentationMappingDlg>([](CPresentationMappingDlg& dialog) {
        dialog.GetPageGeneral().GetGrille().click();
        dialog.GetDefinirParDefaut().click();
        Bouton(dialog, QStringLiteral("&OK")).click();
    });
    Choisir(*view.CreateContextMenu(), QString(), QStringLiteral("Présentation..."));
    EXPECT_EQ(CPresentationMapping(), essai.mapping.presentation);
    EXPECT_NE(CPresentationMapping().GetEstGrille(), defaults.GetEstGrille());
}

// Each check of the general page writes its flag into the working copy.
TEST_F(MappingWindowTest, GeneralPageWritesItsFlags) {
    CPresentationMapping presentation;
    CPresentationMappingDlg dialog(presentation);
    CPageMappingGeneralDlg& page = dialog.GetPageGeneral();
    struct Case {
        QCheckBox* box;
        const char* text;
        bool (CPresentationMapping::*flag)() const;
    };
    const Case cases[] = {
        {&page.GetCadre(), "Cad&re", &CPresentationMapping::GetEstCadre},
        {&page.GetAxes(), "A&xes", &CPresentationMapping::GetEstAxe},
        {&page.GetGrille(), "Gri&lle", &CPresentationMapping::GetEstGrille},
        {&page.GetCoordonnees(), "Coordo&nnées", &CPresentationMapping::GetEstCoordonnee},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.text));
        const bool before = (dialog.GetPresentation().*c.flag)();
        EXPECT_EQ(c.box->isChecked(), before) << c.text;
        c.box->click();
        EXPECT_EQ((dialog.GetPresentation().*c.flag)(), !before) << c.text;
    }
    // The dialog's copy alone changed.
    EXPECT_EQ(presentation, CPresentationMapping());
}

// The font part: a colour outside the list selects "Noir"; a size typed with a decimal point is
// kept and shown again, letters leave it unchanged.
TEST_F(MappingWindowTest, FontPartReadsColoursAndSizes) {
    CPoliceAna font;
    font.SetCouleur(0x123456);
    PanneauPolice part(QStringLiteral("&Police :"), font);
    EXPECT_EQ(part.GetCouleur().currentText(), "Noir");
    EXPECT_EQ(part.GetCouleur().count(), 15);
    part.GetCouleur().setCurrentIndex(9);
    EXPECT_EQ(part.GetCouleur().currentText(), "Rouge");
    EXPECT_EQ(part.GetPolice().GetCouleur(), 0x0000FFu);

    part.GetTaille().lineEdit()->clear();
    QTest::keyClicks(part.GetTaille().lineEdit(), QStringLiteral("12.5"));
    EXPECT_DOUBLE_EQ(part.GetPolice().GetTaille(), 12.5);
    EXPECT_EQ(part.GetTaille().currentText(), "12.5");
    part.GetTaille().lineEdit()->clear();
    QTest::keyClicks(part.GetTaille().lineEdit(), QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(part.GetPolice().GetTaille(), 12.5);

    // Sizes are read as the table presentation's font page reads them (its tests hold the cases):
    // a size that is not above 0 leaves the font as it was.
    part.GetTaille().lineEdit()->clear();
    QTest::keyClicks(part.GetTaille().lineEdit(), QStringLiteral("-3"));
    EXPECT_DOUBLE_EQ(part.GetPolice().GetTaille(), 12.5);
}

} // namespace
