// The small dialogs the program shares, each reached as the analyst reaches it: "Options
// générales..." (its settings written on OK only), the value entry of the application (its
// refusals), "Sélectionner le langage courant...", "À propos..." and the progress window.
#include "MorvaneAppTestSupport.h"
#include "app/InfoVersion.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "framework/FrameworkCommands.h"
#include "shell/AboutDlg.h"
#include "shell/LanguesDlg.h"
#include "shell/OptionsDlg.h"
#include "shell/ProgressionDlg.h"
#include "shell/SaisieValeurDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <optional>

namespace {

using shell_test::MorvaneAppTest;

constexpr unsigned kOptionsGenerales = 32921;

class SmallDialogsTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }
};

// ---- "Options générales..." --------------------------------------------------------------------

TEST_F(SmallDialogsTest, TheGeneralOptionsAreWrittenOnOkOnly) {
    ASSERT_TRUE(IsEnabled(kOptionsGenerales));
    const std::int16_t totalBefore = m_app->TotalType;
    const auto change = [](COptionsDlg& dialog) {
        dialog.CheckInversionBox().setChecked(!dialog.CheckInversionBox().isChecked());
        dialog.UseCompletedOnlyBox().setChecked(!dialog.UseCompletedOnlyBox().isChecked());
        dialog.TotalTypeCombo().setCurrentIndex(1);
    };
    bool shownAsStored = false;
    QStringList totals;
    {
        ModalAnswers answers({[&](QDialog& shown) {
            auto* dialog = qobject_cast<COptionsDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Options");
            // Defaults of the settings: inverted files checked, every interview, sum of modalities.
            shownAsStored = dialog->CheckInversionBox().isChecked() && !dialog->UseCompletedOnlyBox().isChecked() &&
                            dialog->TotalTypeCombo().currentIndex() == 0;
            for (int i = 0; i < dialog->TotalTypeCombo().count(); ++i)
                totals << dialog->TotalTypeCombo().itemText(i);
            change(*dialog);
            QTest::mouseClick(&dialog->AnnulerButton(), Qt::LeftButton);
        }});
        EXPECT_TRUE(Run(kOptionsGenerales));
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
    }
    EXPECT_TRUE(shownAsStored);
    EXPECT_EQ(totals, (QStringList{"Somme des modalités", "Total des interviews"}));
    for (const char* key : {"CheckInversion", "UseCompletedOnly", "TotalType"})
        EXPECT_FALSE(Store().Contains("Options", key)) << key;
    EXPECT_EQ(m_app->TotalType, totalBefore);

    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<COptionsDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        change(*dialog);
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
    }});
    EXPECT_TRUE(Run(kOptionsGenerales));
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_FALSE(CRegistre::GetCheckInversion());
    EXPECT_TRUE(CRegistre::GetUseCompletedOnly());
    EXPECT_EQ(CRegistre::GetTotalType(), 1);
    EXPECT_EQ(m_app->TotalType, 1);
}

// ---- The value entry -------------------------------------------------------------------------

struct Entry {
    const char* typed;
    std::optional<Message> refusal; // none: accepted
};

// Types each entry in turn and presses OK; a refused entry must leave the dialog open with its
// message, the accepted one must close it.
ModalAnswers::Step TypeEach(const std::vector<Entry>& entries, RecordingUserInterface& ui, QString& prompt) {
    return [entries, &ui, &prompt](QDialog& shown) {
        auto* dialog = qobject_cast<CSaisieValeurDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Velto");
        prompt = dialog->PromptLabel().text();
        for (const Entry& entry : entries) {
            const std::size_t before = ui.shown.size();
            dialog->ValueEdit().setText(QString::fromUtf8(entry.typed));
            QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
            if (entry.refusal) {
                EXPECT_TRUE(dialog->isVisible()) << entry.typed;
                ASSERT_EQ(ui.shown.size(), before + 1) << entry.typed;
                EXPECT_EQ(ui.shown.back().message, *entry.refusal) << entry.typed;
            } else {
                EXPECT_FALSE(dialog->isVisible()) << entry.typed;
                EXPECT_EQ(ui.shown.size(), before) << entry.typed;
            }
        }
    };
}

TEST_F(SmallDialogsTest, AWholeNumberOutsideItsBoundsOrNotANumberIsRefused) {
    const Message notANumber(StringTable::kEntrerUnNombre);
    const Message outside(StringTable::kEntrerNombreEntre, {"1", "10"});
    struct Case {
        std::vector<Entry> entries;
        int expected;
    };
    const Case cases[] = {
        {{{"0", outside}, {"11", outside}, {"", notANumber}, {"2,5", notANumber}, {"abc", notANumber}, {"1", {}}}, 1},
        {{{"-3", outside}, {" 10 ", {}}}, 10},
    };
    for (const Case& c : cases) {
        int value = 4;
        QString prompt;
        ModalAnswers answers({TypeEach(c.entries, *m_ui, prompt)});
        EXPECT_TRUE(m_app->SaisirEntier(StringTable::kEntrezUnEntier, 1, 10, value));
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(prompt, "Entrez un entier.");
    }
}

TEST_F(SmallDialogsTest, AnEmptyTextOrOneTooLongIsRefused) {
    const Message empty(StringTable::kScriptExpressionVide);
    const Message tooLong(StringTable::kCaracteresMaximum, {"5"});
    std::string text = "avant";
    QString prompt;
    // Five accented letters are five characters, though ten bytes.
    {
        ModalAnswers answers({TypeEach({{"", empty}, {"abcdef", tooLong}, {"éèàçù", {}}}, *m_ui, prompt)});
        EXPECT_TRUE(m_app->SaisirTexte(StringTable::kEntrerUnNom, text, 5));
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(text, "éèàçù");
    }

    std::string unlimited;
    ModalAnswers answers({TypeEach({{"", empty}, {"un libellé bien plus long que cinq", {}}}, *m_ui, prompt)});
    EXPECT_TRUE(m_app->SaisirTexte(StringTable::kEntrerUnNom, unlimited, CSaisieValeurDlg::kSansLimite));
    EXPECT_EQ(unlimited, "un libellé bien plus long que cinq");
}

TEST_F(SmallDialogsTest, CancelLeavesTheValueAsItWas) {
    const auto typeThenCancel = [](QDialog& shown) {
        auto* dialog = qobject_cast<CSaisieValeurDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        dialog->ValueEdit().setText(QStringLiteral("7"));
        QTest::mouseClick(&dialog->AnnulerButton(), Qt::LeftButton);
    };
    int value = 3;
    std::string text = "gardé";
    {
        ModalAnswers answers({typeThenCancel});
        EXPECT_FALSE(m_app->SaisirEntier(StringTable::kEntrezUnEntier, 1, 10, value));
    }
    ModalAnswers answers({typeThenCancel});
    EXPECT_FALSE(m_app->SaisirTexte(StringTable::kEntrerUnNom, text, 20));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(text, "gardé");
    EXPECT_TRUE(m_ui->shown.empty());
}

// ---- "Sélectionner le langage courant..." ----------------------------------------------------------

QStringList Rows(const QTreeWidget& list) {
    QStringList rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        rows << list.topLevelItem(row)->text(0) + QStringLiteral(" / ") + list.topLevelItem(row)->text(1);
    return rows;
}

TEST_F(SmallDialogsTest, TheLanguagesAreNamedInFrenchAndOkWithoutChoiceDoesNothing) {
    // The demo's languages, and one no table knows.
    m_app->languages.push_back(CLanguage(9999, "Klingon"));
    ASSERT_EQ(m_app->currentLanguage, 1036);
    QStringList rows;
    QString selectedFirst;
    bool stayedOpen = false;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<CLanguesDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Langues");
        QTreeWidget& list = dialog->GetList();
        EXPECT_EQ(list.headerItem()->text(0), "Langue");
        EXPECT_EQ(list.headerItem()->text(1), "Abbr.");
        rows = Rows(list);
        ASSERT_EQ(list.selectedItems().size(), 1);
        selectedFirst = list.selectedItems().front()->text(0);
        list.clearSelection();
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        list.topLevelItem(1)->setSelected(true);
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
    }});
    EXPECT_TRUE(Run(CMorvaneApp::kLangue));
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(rows, (QStringList{"Français / FRA", "Anglais (États-Unis) / ENU", "9999 / 9999"}));
    EXPECT_EQ(selectedFirst, "Français");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m_app->currentLanguage, 1033);

    ModalAnswers cancelled({[](QDialog& shown) {
        auto* dialog = qobject_cast<CLanguesDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        dialog->GetList().topLevelItem(0)->setSelected(true);
        QTest::mouseClick(&dialog->AnnulerButton(), Qt::LeftButton);
    }});
    EXPECT_TRUE(Run(CMorvaneApp::kLangue));
    EXPECT_EQ(m_app->currentLanguage, 1033);
}

// ---- "À propos..." ---------------------------------------------------------------------------------

TEST_F(SmallDialogsTest, TheAboutBoxShowsTheNameVersionAndDateOfTheBuild) {
    QString version;
    QString notice;
    QString date;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<CAboutDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        version = dialog->VersionLabel().text();
        notice = dialog->NoticeLabel().text();
        date = dialog->DateLabel().text();
        dialog->accept();
    }});
    EXPECT_TRUE(Run(FrameworkCommands::kAppAbout));
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(version, QStringLiteral("Morvane " MORVANE_PROJECT_VERSION));
    EXPECT_EQ(notice, "Tous droits réservés.");
    const CInfoVersion::Date& built = m_app->GetInfoVersion().fileDate;
    EXPECT_EQ(date, QLocale().toString(QDate(built.year, built.month, built.day), QLocale::LongFormat));
    EXPECT_FALSE(date.isEmpty());
}

// ---- The progress window -----------------------------------------------------------------------

TEST(ProgressionDlgTest, ThePositionIsTheShareOfTheRangeOfTheBarsLength) {
    struct Case {
        int low, high, position;
        std::optional<int> bar;
    };
    // By hand: (position - low) / (high - low) x 32767, truncated.
    const Case cases[] = {
        {0, 100, 50, 16383},
        {0, 10, 10, 32767},
        {0, 3, 1, 10922},
        {10, 20, 15, 16383},
        {0, 2000000, 1999999, 32766}, // 65,534,967,233 / 2,000,000: past 32 bits on the way
        {5, 5, 3, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CProgressionDlg::BarPosition(c.low, c.high, c.position), c.bar) << c.low << " " << c.high;
}

TEST(ProgressionDlgTest, TheWindowShowsAtOnceAndItsBarMovesWithinItsRange) {
    QWidget parent;
    parent.setGeometry(100, 100, 800, 600);
    parent.show();
    CProgressionDlg progress(&parent);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.windowTitle().isEmpty());
    progress.SetTexte(QStringLiteral("Export des tableaux"));
    EXPECT_EQ(progress.TexteLabel().text(), "Export des tableaux");
    progress.SetRange(0, 4);
    progress.SetPos(2);
    EXPECT_EQ(progress.Bar().value(), 16383);
    progress.SetPos(9);
    EXPECT_EQ(progress.Bar().value(), CProgressionDlg::kBarMaximum);
    progress.SetRange(3, 3);
    progress.SetPos(1);
    EXPECT_EQ(progress.Bar().value(), CProgressionDlg::kBarMaximum);
}

} // namespace
