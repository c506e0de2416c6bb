#include "app/ContexteEtude.h"
#include "app/Registre.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "gui/tabulation/OptionsTableauxDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using D = COptionsTableauxDlg;

constexpr int kCountIds[] = {D::kLignesPortrait, D::kLignesPaysage, D::kColonnesPortrait,
                             D::kColonnesPaysage};
constexpr int kOptionIds[] = {D::kTotalEnDebut, D::kRuptureColonnesDabord, D::kUnTableauParFeuille,
                              D::kExportationAcceleree};

class OptionsTableauxDlgTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
    }

    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    // Whether any of the eight values has been written.
    bool AnythingStored() {
        const char* tableau[] = {"LinesPerTableInWord",   "LinesPerTableInWordLandscape",
                                 "ColumnsPerTableInWord", "ColumnsPerTableInWordLandscape",
                                 "IsTotalBefore",         "IsBreakColumnsFirst"};
        for (const char* key : tableau)
            if (Store().Contains("Tableau", key))
                return true;
        return Store().Contains("Excel", "IsOneSheetPerTable") || Store().Contains("Excel", "IsFastExport");
    }

    CContexteEtude m_context;
    RecordingUserInterface* m_ui = nullptr;
};

// The dialog opens on the stored values, each key's default where nothing is stored.
TEST_F(OptionsTableauxDlgTest, OpensOnTheStoredValues) {
    CRegistre::SetLinesPerTableInWord(true, 40);
    CRegistre::SetColumnsPerTableInWord(false, 8);
    CRegistre::SetIsFastExport(true);
    CRegistre::SetIsBreakColumnsFirst(false);
    const D dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options tableaux"));
    EXPECT_EQ(dialog.GetEdit(D::kLignesPortrait)->text(), QStringLiteral("32768"));
    EXPECT_EQ(dialog.GetEdit(D::kLignesPaysage)->text(), QStringLiteral("40"));
    EXPECT_EQ(dialog.GetEdit(D::kColonnesPortrait)->text(), QStringLiteral("8"));
    EXPECT_EQ(dialog.GetEdit(D::kColonnesPaysage)->text(), QStringLiteral("32768"));
    EXPECT_FALSE(dialog.GetCheckBox(D::kTotalEnDebut)->isChecked());
    EXPECT_FALSE(dialog.GetCheckBox(D::kRuptureColonnesDabord)->isChecked());
    EXPECT_FALSE(dialog.GetCheckBox(D::kUnTableauParFeuille)->isChecked());
    EXPECT_TRUE(dialog.GetCheckBox(D::kExportationAcceleree)->isChecked());
    EXPECT_EQ(dialog.GetCheckBox(D::kUnTableauParFeuille)->text(),
              QStringLiteral("Un tableau par feuille lors de l'exportation Excel"));
    EXPECT_EQ(dialog.GetEdit(1009), nullptr);
}

// A count outside its limits, or not a whole number, is refused with the limits named; the
// dialog stays open on it and nothing is written.
TEST_F(OptionsTableauxDlgTest, CountsOutsideTheirLimitsAreRefused) {
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {D::kColonnesPortrait, "3", "Entrez un entier compris entre 4 et 32768."},
        {D::kColonnesPaysage, "3", "Entrez un entier compris entre 4 et 32768."},
        {D::kLignesPortrait, "9", "Entrez un entier compris entre 10 et 32768."},
        {D::kLignesPaysage, "9", "Entrez un entier compris entre 10 et 32768."},
        {D::kLignesPortrait, "32769", "Entrez un entier compris entre 10 et 32768."},
        {D::kColonnesPortrait, "-4", "Entrez un entier compris entre 4 et 32768."},
        {D::kLignesPaysage, "douze", "Entrez un entier."},
        {D::kColonnesPaysage, "", "Entrez un entier."},
        {D::kLignesPortrait, "12.5", "Entrez un entier."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.id));
        m_ui->shown.clear();
        D dialog;
        dialog.show();
        dialog.GetCheckBox(D::kTotalEnDebut)->setChecked(true);
        dialog.GetEdit(c.id)->setText(QString::fromUtf8(c.text));
        dialog.accept();
        EXPECT_EQ(m_ui->ShownTexts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(AnythingStored());
        dialog.reject();
    }
}

// The limits themselves are accepted, and OK writes the eight values (the booleans as 1 and 0).
TEST_F(OptionsTableauxDlgTest, ValuesWithinTheLimitsAreWritten) {
    D dialog;
    dialog.show();
    dialog.GetEdit(D::kLignesPortrait)->setText(QStringLiteral("10"));
    dialog.GetEdit(D::kLignesPaysage)->setText(QStringLiteral(" 25 "));
    dialog.GetEdit(D::kColonnesPortrait)->setText(QStringLiteral("4"));
    dialog.GetEdit(D::kColonnesPaysage)->setText(QStringLiteral("32768"));
    dialog.GetCheckBox(D::kTotalEnDebut)->setChecked(true);
    dialog.GetCheckBox(D::kRuptureColonnesDabord)->setChecked(false);
    dialog.GetCheckBox(D::kUnTableauParFeuille)->setChecked(true);
    dialog.GetCheckBox(D::kExportationAcceleree)->setChecked(false);
    dialog.accept();
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    EXPECT_EQ(Store().ReadInteger("Tableau", "LinesPerTableInWord"), 10);
    EXPECT_EQ(Store().ReadInteger("Tableau", "LinesPerTableInWordLandscape"), 25);
    EXPECT_EQ(Store().ReadInteger("Tableau", "ColumnsPerTableInWord"), 4);
    EXPECT_EQ(Store().ReadInteger("Tableau", "ColumnsPerTableInWordLandscape"), 32768);
    EXPECT_EQ(Store().ReadInteger("Tableau", "IsTotalBefore"), 1);
    EXPECT_EQ(Store().ReadInteger("Tableau", "IsBreakColumnsFirst"), 0);
    EXPECT_EQ(Store().ReadInteger("Excel", "IsOneSheetPerTable"), 1);
    EXPECT_EQ(Store().ReadInteger("Excel", "IsFastExport"), 0);

    // Opened again, the dialog shows them.
    const D again;
    EXPECT_EQ(again.GetEdit(D::kLignesPaysage)->text(), QStringLiteral("25"));
    EXPECT_TRUE(again.GetCheckBox(D::kTotalEnDebut)->isChecked());
    EXPECT_FALSE(again.GetCheckBox(D::kRuptureColonnesDabord)->isChecked());
}

// Cancel after changing every field writes nothing.
TEST_F(OptionsTableauxDlgTest, CancelWritesNothing) {
    D dialog;
    dialog.show();
    for (const int id : kCountIds)
        dialog.GetEdit(id)->setText(QStringLiteral("50"));
    for (const int id : kOptionIds)
        dialog.GetCheckBox(id)->toggle();
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(AnythingStored());
    EXPECT_TRUE(m_ui->shown.empty());
}

} // namespace
