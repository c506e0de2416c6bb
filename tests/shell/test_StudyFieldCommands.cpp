// The main frame's study-field commands: "Outils/Champs d'étude" opens "Champ d'étude" on the
// study's default field, whose "&Définir par défaut" makes the field chosen the new default; "Créer
// un champ d'étude par modalité" stores one field per modality of the closed question selected.
// On a copy of the demo of the test's own, since both store fields.
#include "MorvaneAppTestSupport.h"
#include "app/ChampEtude.h"
#include "app/IdName.h"
#include "app/StringTable.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using shell_test::MorvaneAppTest;

constexpr unsigned kChampsEtude = 32791;
constexpr unsigned kChampParModalite = 32912;

class StudyFieldCommandsTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder /
                 ("fields-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  ".qes");
        std::filesystem::copy_file(DemoPath(), m_copy, std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(Start(m_copy.string()));
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        std::filesystem::remove(m_copy);
    }

    std::vector<std::string> FieldNames() const {
        std::vector<std::unique_ptr<CIdName>> list;
        EXPECT_TRUE(m_app->DonnerListeChampsEtude(list));
        std::vector<std::string> names;
        for (const auto& entry : list)
            names.push_back(entry->name);
        return names;
    }

    std::filesystem::path m_copy;
};

TEST_F(StudyFieldCommandsTest, TheStudyFieldsCommandOpensTheDialogOnTheDefaultField) {
    CChampEtude men;
    men.name = "Hommes";
    men.complexCondition = true;
    men.complexConditionText = "??SEXE?? = 1";
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(men, *m_app, error)) << error;
    m_app->universeCode = men.id;
    m_app->universeLabel = men.name;
    ASSERT_TRUE(IsEnabled(kChampsEtude));

    std::string shownFirst;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<CChampEtudeDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Champ d'étude");
        shownFirst = dialog->NameCombo().currentText().toStdString();
        dialog->NameCombo().setCurrentIndex(0);
        dialog->DefautBox().setChecked(true);
        dialog->OkButton().click();
    }});
    EXPECT_TRUE(Run(kChampsEtude));
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(shownFirst, "Hommes");
    EXPECT_EQ(m_app->universeCode, -1);
    EXPECT_EQ(m_app->universeLabel, "Toutes les interviews");
}

TEST_F(StudyFieldCommandsTest, OneFieldPerModalityOfTheClosedQuestionSelected) {
    Select("SEXE");
    ASSERT_TRUE(IsEnabled(kChampParModalite));
    EXPECT_TRUE(Run(kChampParModalite));
    EXPECT_EQ(FieldNames(), (std::vector<std::string>{"Toutes les interviews", "Homme", "Femme"}));
    ASSERT_FALSE(m_ui->shown.empty());
    EXPECT_EQ(m_ui->shown.back().message, Message(StringTable::kChampsEtudeCrees, {"2"}));
}

} // namespace
