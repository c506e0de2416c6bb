// "Outils/Redressement" opens "Redressement" on the study's default weighting; its "&Définir par
// défaut" makes the scheme chosen the new default. On a copy of the demo of the test's own.
#include "MorvaneAppTestSupport.h"
#include "app/Redressement.h"
#include "recodes/EditionRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "gui/recodes/RedressementDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using shell_test::MorvaneAppTest;

constexpr unsigned kRedressement = 32792;

class WeightingCommandTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder / "weighting-command.qes";
        std::filesystem::copy_file(DemoPath(), m_copy, std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(Start(m_copy.string()));
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        std::filesystem::remove(m_copy);
    }

    std::filesystem::path m_copy;
};

TEST_F(WeightingCommandTest, TheCommandOpensTheDialogOnTheDefaultSchemeAndSetsTheDefault) {
    CRedressement scheme;
    scheme.name = "Calage";
    scheme.NTotal = 100;
    scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
    std::string error;
    ASSERT_TRUE(EnregistrerRedressement(scheme, *m_app, error)) << error;
    ASSERT_TRUE(IsEnabled(kRedressement));

    std::string shownFirst;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<CRedressementDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Redressement");
        shownFirst = dialog->NameCombo().currentText().toStdString();
        dialog->NameCombo().setCurrentIndex(dialog->NameCombo().findText("Calage"));
        dialog->DefautBox().setChecked(true);
        dialog->OkButton().click();
    }});
    EXPECT_TRUE(Run(kRedressement));
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(shownFirst, "Aucun redressement");
    EXPECT_EQ(m_app->weightingCode, scheme.id);
    EXPECT_EQ(m_app->weightingLabel, "Calage");
}

} // namespace
