#include "app/ContexteEtude.h"
#include "framework/MultiTree.h"
#include "gui/presentation/BrushingDlg.h"
#include "gui/presentation/SizingDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "support/FixtureStudyTest.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidgetItem>

namespace {

constexpr const char* kSurvey = R"(
questionnaire "Carte" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE numeric min=0 max=100
records
Cle1,1;1,2;1
1,1,30
2,2,40
end
)";

// The question of a brushing or sizing is chosen in the question picker over the open survey, as
// the analyst picks it; its caption shows beside "Question:" and OK keeps it.
class BrushingQuestionTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kSurvey, "carte");
        CContexteEtude::RegisterContext(&context);
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        FixtureStudyTest::TearDown();
    }

    // Answers the picker that the button opens with the question of that name.
    static void Choisir(const char* name) {
        QTimer::singleShot(0, [name] {
            auto* picker = qobject_cast<CSelQuestionDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            const QList<QTreeWidgetItem*> found =
                picker->GetTree().findItems(QString::fromUtf8(name), Qt::MatchContains | Qt::MatchRecursive);
            ASSERT_FALSE(found.isEmpty()) << name;
            picker->GetTree().SelectItem(found.front());
            picker->accept();
        });
    }
};

TEST_F(BrushingQuestionTest, TheQuestionIsPickedFromTheSurvey) {
    CQuestionEtendue& sexe = Named("SEXE");
    CQuestionEtendue& age = Named("AGE");
    struct Case {
        const char* name;
        CQuestionEtendue* expected;
    };
    const Case cases[] = {{"SEXE", &sexe}, {"AGE", &age}};
    for (const Case& c : cases) {
        CBrushingDlg dialog(CParamBrushing{}, true, true, true, 2);
        dialog.show();
        dialog.GetRadio(ModeMappingDlg::kQuestion).click();
        Choisir(c.name);
        dialog.GetQuestionButton().click();
        EXPECT_EQ(dialog.GetQuestion(), c.expected) << c.name;
        EXPECT_EQ(dialog.GetQuestionCaption().text().toStdString(), c.expected->GetCaption()) << c.name;
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("&OK"))
                button->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(dialog.GetParam().mode, CParamBrushing::kQuestion);
        EXPECT_EQ(dialog.GetParam().question, c.expected);
        EXPECT_TRUE(ui->shown.empty());
    }

    // A sizing record that holds a question shows it at once.
    CParamSizing param;
    param.mode = CParamBrushing::kQuestion;
    param.question = &sexe;
    CSizingDlg sizing(param, true, true, true, 2);
    EXPECT_TRUE(sizing.QuestionVisible());
    EXPECT_EQ(sizing.GetQuestionCaption().text().toStdString(), sexe.GetCaption());
}

} // namespace
