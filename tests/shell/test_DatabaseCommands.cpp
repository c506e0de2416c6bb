// The main frame's commands on the open survey's database, driven as the analyst drives them:
// "Outils/Inverser la base..." (the dialog inverts the survey with progress; Cancel, or a file
// that cannot be written, leaves no stamp), and the two exports of the File menu. On a copy of
// the demo of each test's own, since they write beside it.
#include "MorvaneAppTestSupport.h"
#include "app/ChampEtude.h"
#include "app/DataAccess.h"
#include "app/InvertedFiles.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "shell/InversionDlg.h"
#include "shell/ListeQuestionsDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using shell_test::MorvaneAppTest;

constexpr unsigned kInverserBase = 32842;
constexpr unsigned kExporterChampEtude = 32860;
constexpr unsigned kExporterSelection = 32882;
// Long enough for the demo's inversion on a loaded machine; the wait ends as soon as it is done.
constexpr int kWorkLimitMilliseconds = 120000;

class DatabaseCommandsTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_work = s_folder / ("base-" + name);
        fs::remove_all(m_work);
        fs::create_directories(m_work);
        m_copy = m_work / "demo.qes";
        fs::copy_file(DemoPath(), m_copy);
        ASSERT_TRUE(Start(m_copy.string()));
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        fs::remove_all(m_work);
    }

    std::string StampPath() const { return CInvertedFiles(*m_app).NomFichierTemoin(); }
    int Steps() const { return m_app->DonnerNbreNiveaux() + m_app->DonnerNbreQuestions(); }

    // What the analyst saw of an inversion: the bar's range and positions, and how it ended.
    struct Seen {
        int maximum = 0;
        std::vector<int> positions;
        std::optional<CInversion::Issue> issue;
    };

    // Runs "Inverser la base..."; `whileRunning` is called at each position of the bar.
    Seen Invert(const std::function<void(CInversionDlg&, int)>& whileRunning = {}) {
        Seen seen;
        ModalAnswers answers({[&](QDialog& shown) {
            auto* dialog = qobject_cast<CInversionDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Inversion de la base");
            QObject::connect(&dialog->Bar(), &QProgressBar::valueChanged, dialog, [&, dialog](int value) {
                seen.maximum = dialog->Bar().maximum();
                seen.positions.push_back(value);
                if (whileRunning)
                    whileRunning(*dialog, value);
            });
            EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, kWorkLimitMilliseconds));
            seen.issue = dialog->GetIssue();
        }});
        EXPECT_TRUE(Run(kInverserBase));
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
        return seen;
    }

    fs::path m_work;
    fs::path m_copy;
};

// ---- "Inverser la base..." ------------------------------------------------------------------------

TEST_F(DatabaseCommandsTest, TheInversionRunsOverEveryLevelAndQuestionAndStampsTheFiles) {
    ASSERT_TRUE(IsEnabled(kInverserBase));
    ASSERT_FALSE(fs::exists(StampPath()));
    const Seen seen = Invert();
    EXPECT_EQ(seen.issue, CInversion::Issue::Done);
    EXPECT_EQ(seen.maximum, Steps());
    ASSERT_FALSE(seen.positions.empty());
    EXPECT_TRUE(std::is_sorted(seen.positions.begin(), seen.positions.end()));
    EXPECT_EQ(seen.positions.back(), Steps() - 1);
    ASSERT_TRUE(fs::exists(StampPath()));
    std::ifstream stamp(StampPath(), std::ios::binary);
    std::int32_t count = 0;
    stamp.read(reinterpret_cast<char*>(&count), sizeof count);
    EXPECT_EQ(count, kInterviews);
    EXPECT_TRUE(m_app->invertedFilesValid);
    EXPECT_TRUE(m_ui->shown.empty());
}

TEST_F(DatabaseCommandsTest, CancelStopsBeforeTheNextQuestionAndLeavesNoStamp) {
    ASSERT_EQ(Invert().issue, CInversion::Issue::Done);
    ASSERT_TRUE(fs::exists(StampPath()));
    const int stopAt = m_app->DonnerNbreNiveaux() + 3;
    bool clicked = false;
    const Seen seen = Invert([&](CInversionDlg& dialog, int position) {
        if (position >= stopAt && !clicked) {
            clicked = true;
            QTest::mouseClick(&dialog.AnnulerButton(), Qt::LeftButton);
        }
    });
    EXPECT_TRUE(clicked);
    EXPECT_EQ(seen.issue, CInversion::Issue::Cancelled);
    EXPECT_EQ(seen.positions.back(), stopAt);
    EXPECT_FALSE(fs::exists(StampPath()));
    EXPECT_FALSE(m_app->invertedFilesValid);
    EXPECT_TRUE(m_ui->shown.empty());
}

TEST_F(DatabaseCommandsTest, CancelBeforeTheWorkBeginsLeavesTheFilesAsTheyWere) {
    ASSERT_EQ(Invert().issue, CInversion::Issue::Done);
    ModalAnswers answers({[](QDialog& shown) {
        auto* dialog = qobject_cast<CInversionDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(&dialog->AnnulerButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(dialog->GetIssue().has_value());
    }});
    EXPECT_TRUE(Run(kInverserBase));
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_TRUE(fs::exists(StampPath()));
    EXPECT_TRUE(m_app->invertedFilesValid);
}

// A file that cannot be written ends the work with its reason and where it failed, not as a
// cancel, and no stamp says the files are whole.
TEST_F(DatabaseCommandsTest, AFileThatCannotBeWrittenIsReportedAndLeavesNoStamp) {
    const CQuestionNiveau& interviews = *m_app->DonnerNiveau(0);
    const fs::path blocked = CInvertedFiles(*m_app).NomFichierNiveau(interviews);
    // A folder, not empty, where the level's file goes: the file cannot take its place.
    fs::create_directories(blocked / "occupé");
    const Seen seen = Invert();
    EXPECT_EQ(seen.issue, CInversion::Issue::Failed);
    EXPECT_FALSE(fs::exists(StampPath()));
    EXPECT_FALSE(m_app->invertedFilesValid);
    ASSERT_EQ(m_ui->shown.size(), 1u);
    const Message& shown = m_ui->shown.front().message;
    EXPECT_EQ(shown.id, StringTable::kInversionNiveauEchouee);
    ASSERT_EQ(shown.arguments.size(), 2u);
    EXPECT_EQ(shown.arguments[0], interviews.name);
    EXPECT_FALSE(shown.arguments[1].empty());
    EXPECT_EQ(m_ui->shown.front().icon, UserInterface::Icon::Error);
}

// ---- The exports of the File menu -------------------------------------------------------------------

ModalAnswers::Step ChooseFile(const fs::path& path) {
    return [path](QDialog& shown) {
        auto* dialog = qobject_cast<QFileDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Fichiers Velto (*.qes)")});
        dialog->selectFile(QString::fromStdString(path.string()));
        // As the Save button does.
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

// The interviews of each modality of SEXE in a questionnaire file, read as the program reads them.
std::map<std::string, int> SexCounts(const std::string& path) {
    CContexteEtude context;
    context.questionnairePath = path;
    EXPECT_TRUE(context.OuvrirEtude()) << path;
    CQuestionEtendue* sex = context.TrouverQuestionParNom("SEXE");
    std::map<std::string, int> counts;
    if (sex == nullptr)
        return counts;
    CDataAccess access(context, false);
    CMatriceCodes answers;
    EXPECT_TRUE(access.LireReponsesFermeesNiveau(*sex, 0, answers));
    for (int row = 0; row < answers.GetNbLignes(); ++row) {
        const CModaliteEtendue* modality = sex->GetModaliteEtendue(answers.GetAt(row, 0));
        ++counts[modality != nullptr ? modality->GetShortCaption() : "?"];
    }
    return counts;
}

TEST_F(DatabaseCommandsTest, TheOpenQuestionnaireIsRefusedBeforeTheStudyFieldIsChosen) {
    const auto before = fs::last_write_time(m_copy);
    for (unsigned command : {kExporterChampEtude, kExporterSelection}) {
        m_ui->shown.clear();
        std::vector<ModalAnswers::Step> steps;
        if (command == kExporterSelection) {
            steps.push_back([](QDialog& shown) {
                auto* dialog = qobject_cast<CListeQuestionsDlg*>(&shown);
                ASSERT_NE(dialog, nullptr);
                QTest::mouseClick(&dialog->ToutAjouterButton(), Qt::LeftButton);
                QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
            });
        }
        // The same file written another way.
        steps.push_back(ChooseFile(m_work / "." / "demo.qes"));
        ModalAnswers answers(steps);
        EXPECT_TRUE(Run(command));
        EXPECT_EQ(answers.Answered(), steps.size()) << command;
        EXPECT_EQ(answers.Unexpected(), 0) << command;
        ASSERT_EQ(m_ui->shown.size(), 1u) << command;
        EXPECT_EQ(m_ui->shown[0].message, Message(StringTable::kSelectionnerFichierDifferent));
        EXPECT_TRUE(m_ui->asked.empty());
    }
    EXPECT_EQ(fs::last_write_time(m_copy), before);
}

TEST_F(DatabaseCommandsTest, TheInterviewsOfAStudyFieldGoToANewQuestionnaire) {
    CChampEtude men;
    men.name = "Hommes";
    men.complexCondition = true;
    men.complexConditionText = "??SEXE?? = 1";
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(men, *m_app, error)) << error;
    const fs::path target = m_work / "hommes.qes";
    ModalAnswers answers({ChooseFile(target), [](QDialog& shown) {
                              auto* dialog = qobject_cast<CChampEtudeDlg*>(&shown);
                              ASSERT_NE(dialog, nullptr);
                              dialog->NameCombo().setCurrentIndex(dialog->NameCombo().findText("Hommes"));
                              QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
                          }});
    EXPECT_TRUE(Run(kExporterChampEtude));
    EXPECT_EQ(answers.Answered(), 2u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_TRUE(m_ui->shown.empty());
    ASSERT_TRUE(fs::exists(target));
    const std::map<std::string, int> source = SexCounts(m_copy.string());
    ASSERT_GT(source.at("Homme"), 0);
    EXPECT_EQ(SexCounts(target.string()), (std::map<std::string, int>{{"Homme", source.at("Homme")}}));
}

TEST_F(DatabaseCommandsTest, TheQuestionListKeepsTheSurveysOrderAndNeedsAQuestion) {
    std::vector<std::uint32_t> positions;
    bool withVersion = false;
    int version = 0;
    std::vector<std::string> shownFirst;
    bool versionEnabledBefore = true;
    bool versionEnabledAfter = false;
    const fs::path target = m_work / "selection.qes";
    ModalAnswers answers({[&](QDialog& shown) {
                              auto* dialog = qobject_cast<CListeQuestionsDlg*>(&shown);
                              ASSERT_NE(dialog, nullptr);
                              EXPECT_EQ(dialog->windowTitle(), "Liste de questions");
                              QTreeWidget& available = dialog->Disponibles();
                              EXPECT_EQ(available.headerItem()->text(0), "Non sélectionné");
                              EXPECT_EQ(dialog->Choisies().headerItem()->text(0), "Sélectionné");
                              for (int row = 0; row < available.topLevelItemCount(); ++row)
                                  shownFirst.push_back(available.topLevelItem(row)->text(0).toStdString());
                              QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
                              EXPECT_TRUE(dialog->isVisible());
                              // AGE after SATISF after SEXE, in three moves against the list's order.
                              for (const char* name : {"SATISF", "AGE", "SEXE"}) {
                                  available.clearSelection();
                                  available.findItems(name, Qt::MatchExactly).front()->setSelected(true);
                                  QTest::mouseClick(&dialog->AjouterButton(), Qt::LeftButton);
                              }
                              versionEnabledBefore = dialog->VersionSpin().isEnabled();
                              dialog->AjouterVersionBox().setChecked(true);
                              versionEnabledAfter = dialog->VersionSpin().isEnabled();
                              dialog->VersionSpin().setValue(7);
                              QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
                              dialog->GetResult(positions, withVersion, version);
                          },
                          ChooseFile(target)});
    EXPECT_TRUE(Run(kExporterSelection));
    EXPECT_EQ(answers.Answered(), 2u);
    EXPECT_EQ(answers.Unexpected(), 0);
    ASSERT_EQ(m_ui->shown.size(), 1u);
    EXPECT_EQ(m_ui->shown[0].message, Message(StringTable::kSelectionnerUneQuestion));

    // The tree's order of the demo, chapters left out, the members' questions (another level) too.
    std::vector<std::string> expected;
    for (const auto& question : m_app->questions)
        if (question->kind != 0 && question->level == 0)
            expected.push_back(question->name);
    EXPECT_EQ(shownFirst, expected);
    std::vector<std::string> chosen;
    for (std::uint32_t position : positions)
        chosen.push_back(m_app->DonnerQuestion(static_cast<int>(position))->name);
    std::vector<std::string> inSurveyOrder;
    for (const std::string& name : expected)
        if (name == "SEXE" || name == "AGE" || name == "SATISF")
            inSurveyOrder.push_back(name);
    EXPECT_EQ(chosen, inSurveyOrder);
    EXPECT_FALSE(versionEnabledBefore);
    EXPECT_TRUE(versionEnabledAfter);
    EXPECT_TRUE(withVersion);
    EXPECT_EQ(version, 7);

    ASSERT_TRUE(fs::exists(target));
    CContexteEtude exported;
    exported.questionnairePath = target.string();
    ASSERT_TRUE(exported.OuvrirEtude());
    std::vector<std::string> names;
    for (const auto& question : exported.questions)
        names.push_back(question->name);
    std::vector<std::string> withVersionFirst{"Version"};
    withVersionFirst.insert(withVersionFirst.end(), inSurveyOrder.begin(), inSurveyOrder.end());
    EXPECT_EQ(names, withVersionFirst);
    EXPECT_EQ(exported.DonnerNbreInterviews(), kInterviews);
}

} // namespace
