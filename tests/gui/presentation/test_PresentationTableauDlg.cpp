// "Présentation des tableaux" driven as the analyst drives it: its pages and lists edit a working
// copy; Cancel leaves the caller's presentation and the saved defaults as they were, OK hands the
// copy back, and "Définir par défaut" also saves it as the defaults.
#include "framework/ComboCouleur.h"
#include "framework/ComboTrait.h"
#include "presentation/PresentationTableau.h"
#include "gui/presentation/ExemplePolice.h"
#include "gui/presentation/PageBorduresDlg.h"
#include "gui/presentation/PagePoliceDlg.h"
#include "gui/presentation/PageTitreDlg.h"
#include "gui/presentation/PresentationTableauDlg.h"
#include "support/SettingsFixture.h"
#include "gui/tabulation/TableauView.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using D = CPresentationTableauDlg;

class PresentationTableauDlgTest : public SettingsFixture {};

enum FontTab { kQuestions = 0, kLignes = 1, kColonnes = 2, kCellules = 3 };

void ChooseEntry(QComboBox& list, const QString& entry)
{
    const int index = list.findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list.setCurrentIndex(index);
}

// A click on the box's label, where the analyst clicks it.
void Tick(QCheckBox* box)
{
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

// Replaces the text of an editable box as typed at the keyboard.
void Type(QComboBox& box, const QString& text)
{
    QLineEdit* edit = box.lineEdit();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QPushButton& Button(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    EXPECT_NE(buttons, nullptr);
    return *buttons->button(which);
}

// What the analyst does in the dialog before closing it: on every tab and list, one change.
void EditEverywhere(D& dialog)
{
    QTest::mouseClick(dialog.Tabs().tabBar(), Qt::LeftButton, Qt::NoModifier,
                      dialog.Tabs().tabBar()->tabRect(kCellules).center());
    EXPECT_EQ(dialog.Tabs().currentIndex(), kCellules);
    QApplication::processEvents();
    Tick(dialog.PagePolice(kCellules).GetCheckBox(CPagePoliceDlg::kGras));
    Type(dialog.PagePolice(kQuestions).SizeBox(), QStringLiteral("14"));
    ChooseEntry(dialog.PagePolice(kLignes).ColourBox(), QStringLiteral("Rouge"));
    Tick(dialog.PageTitre().GetCheckBox(CPageTitreDlg::kNiveau));
    dialog.PageBordures().GetSizeBox(CPageBorduresDlg::kTailleContour)->setValue(4);
    dialog.PageBordures().GetStyleBox(CPageBorduresDlg::kStyleEntre)->setCurrentIndex(2);
    ChooseEntry(*dialog.GetComboBox(D::kOrientation), QStringLiteral("Réponses en colonne"));
    ChooseEntry(*dialog.GetComboBox(D::kPage), QStringLiteral("Paysage"));
    ChooseEntry(*dialog.GetComboBox(D::kReels), QStringLiteral("4"));
    Tick(&dialog.PourcentBox());
}

// The same changes made by hand on a copy, field by field.
CPresentationTableau EditedByHand(CPresentationTableau presentation)
{
    CPoliceAna cellule = presentation.GetCellule();
    cellule.SetGras(true);
    presentation.SetCellule(cellule);
    CPoliceAna question = presentation.GetQuestion();
    question.SetTaille(14);
    presentation.SetQuestion(question);
    CPoliceAna ligne = presentation.GetLigne();
    ligne.SetCouleur(0x0000FF);
    presentation.SetLigne(ligne);
    presentation.SetEstTitreLevel(!presentation.GetEstTitreLevel());
    presentation.SetThickBorderSize(4);
    presentation.SetNormalBorderType(2);
    presentation.SetOrientation(1);
    presentation.SetTypePage(1);
    presentation.SetReel(4);
    presentation.SetEstPourcent(!presentation.GetEstPourcent());
    return presentation;
}

// A presentation unlike the defaults, as a table carries it.
CPresentationTableau CallersPresentation()
{
    CPresentationTableau presentation;
    CPoliceAna question = presentation.GetQuestion();
    question.SetNom("Arial");
    question.SetTaille(11);
    presentation.SetQuestion(question);
    presentation.SetEffectif(2);
    presentation.SetEstTitreChamp(true);
    presentation.SetThinBorderType(1);
    return presentation;
}

struct CloseCase {
    const char* name;
    bool ok;
    bool setAsDefault;
};

class ClosingTheDialog : public SettingsFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTheDialog, KeepsOrDropsTheEditsAndSavesDefaultsOnlyWhenAsked)
{
    const CloseCase test = GetParam();
    const CPresentationTableau builtIn;
    const CPresentationTableau original = CallersPresentation();
    CPresentationTableau callers = original;
    ModalAnswers answers({[&test](QDialog& shown) {
        auto* dialog = qobject_cast<D*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EditEverywhere(*dialog);
        dialog->DefaultBox().setChecked(test.setAsDefault);
        QTest::mouseClick(&Button(*dialog, test.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    }});
    const bool confirmed = D::Editer(nullptr, callers);
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(confirmed, test.ok);
    EXPECT_TRUE(callers == (test.ok ? EditedByHand(original) : original));
    // A new presentation takes the saved defaults.
    EXPECT_TRUE(CPresentationTableau() == (test.ok && test.setAsDefault ? EditedByHand(original) : builtIn));
}

INSTANTIATE_TEST_SUITE_P(PresentationTableauDlg, ClosingTheDialog,
                         ::testing::Values(CloseCase{"Annuler", false, false},
                                           CloseCase{"AnnulerWithTheDefaultBox", false, true},
                                           CloseCase{"OK", true, false},
                                           CloseCase{"OKWithTheDefaultBox", true, true}),
                         [](const ::testing::TestParamInfo<CloseCase>& param) { return std::string(param.param.name); });

TEST_F(PresentationTableauDlgTest, TheControlsOpenOnTheCallersPresentation)
{
    CPresentationTableau presentation = CallersPresentation();
    presentation.SetEffectif(4);
    presentation.SetThickBorderSize(3);
    presentation.SetThinBorderType(2);
    D dialog(presentation);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Présentation des tableaux");
    EXPECT_EQ(dialog.Tabs().currentIndex(), 0);
    const char* const tabs[] = {"Questions", "Lignes", "Colonnes", "Cellules", "Titre", "Bordures"};
    ASSERT_EQ(dialog.Tabs().count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dialog.Tabs().tabText(i).toStdString(), tabs[i]);
    EXPECT_EQ(dialog.PagePolice(kQuestions).FaceBox().currentText().toStdString(), "Arial");
    EXPECT_EQ(dialog.PagePolice(kQuestions).SizeBox().currentText().toStdString(), "11");
    EXPECT_EQ(dialog.GetComboBox(D::kEffectifs)->currentText().toStdString(), "4");
    EXPECT_EQ(dialog.GetComboBox(D::kOrientation)->currentText().toStdString(), "Réponses en ligne");
    EXPECT_TRUE(dialog.PageTitre().GetCheckBox(CPageTitreDlg::kChamp)->isChecked());
    EXPECT_EQ(dialog.PageBordures().GetSizeBox(CPageBorduresDlg::kTailleContour)->value(), 3);
    EXPECT_EQ(dialog.PageBordures().GetStyleBox(CPageBorduresDlg::kStyleInterieur)->GetStyle(), 2);
    // Showing the values changed none of them.
    EXPECT_TRUE(dialog.GetPresentation() == presentation);
}

TEST_F(PresentationTableauDlgTest, ThePreviewShowsTheWorkingCopyExceptForThePageLayout)
{
    D dialog(CallersPresentation());
    const auto shown = [&dialog] { return dialog.Apercu().GetTableau().GetPresentation(); };
    EXPECT_EQ(dialog.Apercu().GetTableau().RowCount(), 3);
    EXPECT_EQ(dialog.Apercu().GetTableau().ColumnCount(), 2);
    EXPECT_TRUE(shown() == dialog.GetPresentation());

    Tick(dialog.PagePolice(kCellules).GetCheckBox(CPagePoliceDlg::kItalique));
    EXPECT_TRUE(shown().GetCellule().GetItalique());
    dialog.PageBordures().GetStyleBox(CPageBorduresDlg::kStyleContour)->setCurrentIndex(3);
    EXPECT_EQ(shown().GetThickBorderType(), 3);
    ChooseEntry(*dialog.GetComboBox(D::kPourcentages), QStringLiteral("3"));
    EXPECT_EQ(shown().GetPourcentage(), 3);

    // The page's orientation draws nothing on screen: the preview is left as it was.
    ChooseEntry(*dialog.GetComboBox(D::kPage), QStringLiteral("Paysage"));
    EXPECT_EQ(dialog.GetPresentation().GetTypePage(), 1);
    EXPECT_EQ(shown().GetTypePage(), 0);
}

TEST_F(PresentationTableauDlgTest, SetPresentationShowsTheNewCopyOnEveryPage)
{
    D dialog;
    CPresentationTableau other = CallersPresentation();
    CPoliceAna cellule = other.GetCellule();
    cellule.SetOmbre(true);
    other.SetCellule(cellule);
    other.SetNormalBorderSize(0);
    dialog.SetPresentation(other);
    EXPECT_TRUE(dialog.GetPresentation() == other);
    EXPECT_TRUE(dialog.PagePolice(kCellules).GetCheckBox(CPagePoliceDlg::kOmbre)->isChecked());
    EXPECT_EQ(dialog.PageBordures().GetSizeBox(CPageBorduresDlg::kTailleEntre)->value(), 0);
    EXPECT_EQ(dialog.GetComboBox(D::kEffectifs)->currentText().toStdString(), "2");
    EXPECT_TRUE(dialog.Apercu().GetTableau().GetPresentation() == other);
    // A font page edits the new copy, not the one it first showed.
    Tick(dialog.PagePolice(kQuestions).GetCheckBox(CPagePoliceDlg::kSouligne));
    EXPECT_TRUE(dialog.GetPresentation().GetQuestion().GetSouligne());
    EXPECT_EQ(dialog.GetPresentation().GetQuestion().GetNom(), "Arial");
}

struct SizeCase {
    const char* typed; // key by key: every text on the way is read as it comes
    double expected;   // the font's size afterwards; it was 10
};

TEST(PagePoliceDlg, ATypedSizeIsTakenOnlyWhenItIsANumberWithinTheFontSizes)
{
    const SizeCase cases[] = {
        {"12.5", 12.5}, {"14", 14},   {"  \t9", 9}, {"11  ", 11},  {"12,5", 12.5}, {"abc", 10},
        {"x12", 10},    {"", 10},     {"   ", 10},   {"-3", 10},    {"0", 10},      {"inf", 10},
        {"nan", 10},    {"1638", 1638},
        // Letters after a number leave the number typed before them.
        {"12.5pt", 12.5},
        // Past the largest size a word processor takes, the last size within it stays.
        {"16380", 1638},
    };
    for (const SizeCase& test : cases) {
        SCOPED_TRACE(test.typed);
        CPoliceAna police;
        CPagePoliceDlg page(police);
        Type(page.SizeBox(), QString::fromUtf8(test.typed));
        EXPECT_DOUBLE_EQ(police.GetTaille(), test.expected);
    }
}

TEST(PagePoliceDlg, ATypedHalfSizeShowsAgainOnReopening)
{
    CPoliceAna police;
    {
        CPagePoliceDlg page(police);
        Type(page.SizeBox(), QStringLiteral("12.5"));
    }
    ASSERT_DOUBLE_EQ(police.GetTaille(), 12.5);
    CPagePoliceDlg reopened(police);
    EXPECT_EQ(reopened.SizeBox().currentText().toStdString(), "12.5");
    // A listed size shows selected in the list.
    police.SetTaille(16);
    CPagePoliceDlg listed(police);
    EXPECT_EQ(listed.SizeBox().currentIndex(), listed.SizeBox().findText(QStringLiteral("16")));
}

TEST(PagePoliceDlg, AColourOutsideTheListShowsNoirAndStaysUntilAnotherIsChosen)
{
    CPoliceAna police;
    police.SetCouleur(0x123456);
    CPagePoliceDlg page(police);
    EXPECT_EQ(page.ColourBox().currentText().toStdString(), "Noir");
    EXPECT_EQ(police.GetCouleur(), 0x123456u);
    ChooseEntry(page.ColourBox(), QStringLiteral("Bleu"));
    EXPECT_EQ(police.GetCouleur(), 0xFF0000u);
}

TEST(PagePoliceDlg, AFaceTypedOrChosenBecomesTheFontsFace)
{
    CPoliceAna police;
    police.SetNom("Une police absente");
    CPagePoliceDlg page(police);
    // A face the system lacks is shown as it is, and kept.
    EXPECT_EQ(page.FaceBox().currentText().toStdString(), "Une police absente");
    EXPECT_EQ(police.GetNom(), "Une police absente");
    Type(page.FaceBox(), QStringLiteral("Courier New"));
    EXPECT_EQ(police.GetNom(), "Courier New");
    Type(page.FaceBox(), QString());
    EXPECT_EQ(police.GetNom(), "Courier New");
    if (page.FaceBox().count() > 0) {
        page.FaceBox().setCurrentIndex(0);
        EXPECT_EQ(police.GetNom(), page.FaceBox().itemText(0).toStdString());
    }
}

// The sample drawn on a 300 x 40 white image.
QImage Sample(const CPoliceAna& police)
{
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    CExemplePolice::DessinerExemple(painter, image.rect(), police);
    return image;
}

// Whether any pixel is near the colour.
bool Holds(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 40 && std::abs(pixel.green() - colour.green()) < 40 &&
                std::abs(pixel.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

TEST(ExemplePolice, TheSampleStandsOnWhiteOrOnTheShadingGreyInTheFontsColour)
{
    CPoliceAna police;
    police.SetTaille(14);
    police.SetCouleur(0x0000FF); // red
    QImage plain = Sample(police);
    EXPECT_EQ(plain.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_TRUE(Holds(plain, QColor(255, 0, 0)));
    // Nothing before the 5-pixel margin.
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(plain.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;

    police.SetOmbre(true);
    QImage shaded = Sample(police);
    EXPECT_EQ(shaded.pixelColor(0, 0), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(Holds(shaded, QColor(255, 0, 0)));
}

} // namespace
