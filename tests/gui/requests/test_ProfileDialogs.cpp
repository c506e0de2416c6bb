// The profile dialogs driven as the analyst drives them, on a copy of the demo questionnaire:
// profiles built by moving questions and modalities, named profiles saved in the questionnaire
// under their text form and read back into the same trees, and the refusals that write nothing.
#include "ProfileDialogTestSupport.h"
#include "app/DBQuestionnaire.h"
#include "app/StringTable.h"
#include "gui/requests/PageArbreTotalDlg.h"

#include <QMenu>
#include <QToolButton>
#include <algorithm>
#include <map>
#include <sqlite3.h>

namespace {

using namespace requests_test;
using Reply = UserInterface::Reply;

// The label and first text of every record of a profile table, in key order.
std::vector<std::pair<std::string, std::string>> StoredTexts(const std::string& path, const std::string& table,
                                                              const std::string& text) {
    std::vector<std::pair<std::string, std::string>> records;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return records;
    }
    const std::string sql = "select \"Libelle\", \"" + text + "\" from \"" + table + "\" order by \"NroListe\"";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto column = [statement](int i) {
                const unsigned char* value = sqlite3_column_text(statement, i);
                return value != nullptr ? std::string(reinterpret_cast<const char*>(value)) : std::string();
            };
            records.emplace_back(column(0), column(1));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return records;
}

class ProfileDialogTest : public DemoCopyTest {
protected:
    std::vector<std::pair<std::string, std::string>> ModalityProfiles() const {
        return StoredTexts(m_copy, "MFW ListeVariable", "ModalitesActives");
    }
    std::vector<std::pair<std::string, std::string>> QuestionProfiles() const {
        return StoredTexts(m_copy, "MFW ListeNumerique", "QuestionsActives");
    }

    // A named profile stored beside the dialogs, as another session left it: SATISF's first
    // modality.
    std::int32_t StoreProfile(const std::string& name) {
        CProfil profile;
        profile.label = name;
        std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
        Question("SATISF")->DonnerModalites(modalities, true);
        modalities.resize(1);
        profile.Add(Question("SATISF"), modalities);
        CDBQuestionnaire db(m_context);
        std::int32_t id = 0;
        EXPECT_TRUE(db.SaveProfile(id, profile)) << db.GetLastError();
        return id;
    }

    std::unique_ptr<CProfilModalitesDlg> ModalitesDialog(const CProfil& profile) {
        auto dialog = std::make_unique<CProfilModalitesDlg>(m_context, 0, profile);
        dialog->show();
        return dialog;
    }

    // The analyst moves the modalities named of a question to the profile.
    static void MoveModalities(CProfilModalitesDlg& dialog, const std::string& question,
                               const std::vector<std::string>& modalities) {
        CMultiTree& tree = dialog.QuestionnaireTree();
        QTreeWidgetItem* item = RootItem(tree, question);
        ASSERT_NE(item, nullptr) << question;
        Unfold(tree, item);
        for (std::size_t i = 0; i < modalities.size(); ++i)
            ClickItem(tree, ChildItem(*item, modalities[i]), i > 0);
        Click(dialog.Bouton(CProfilModalitesDlg::kVersProfil));
    }

    static void MoveQuestion(CProfilModalitesDlg& dialog, const std::string& question) {
        ClickItem(dialog.QuestionnaireTree(), RootItem(dialog.QuestionnaireTree(), question));
        Click(dialog.Bouton(CProfilModalitesDlg::kVersProfil));
    }

    // Satisfied and dissatisfied customers, a separator, then the North-West in bold.
    static void BuildSatisfactionProfile(CProfilModalitesDlg& dialog) {
        MoveModalities(dialog, "SATISF", {"Très satisfait", "Plutôt insatisfait"});
        ClickItem(dialog.ProfileTree(), RootItem(dialog.ProfileTree(), "SATISF"));
        Click(dialog.Bouton(CProfilModalitesDlg::kSeparateur));
        MoveModalities(dialog, "REGION", {"Nord-Ouest"});
        ClickItem(dialog.ProfileTree(), ChildItem(*RootItem(dialog.ProfileTree(), "REGION"), "Nord-Ouest"));
        Click(dialog.OptionBox(0));
    }
};

// ---- Building a profile -----------------------------------------------------------------------

TEST_F(ProfileDialogTest, MovedQuestionsAndModalitiesMakeTheProfileInTheirOrder) {
    auto dialog = ModalitesDialog(CProfil());
    BuildSatisfactionProfile(*dialog);
    MoveQuestion(*dialog, "SEXE");
    EXPECT_EQ(TreeText(dialog->ProfileTree()),
              "SATISF(Très satisfait,Plutôt insatisfait) - REGION(Nord-Ouest) SEXE(Homme,Femme,Non interrogé)");
    // The modalities left behind stay in the questionnaire tree; the question moved whole is gone.
    EXPECT_EQ(RootItem(dialog->QuestionnaireTree(), "SEXE"), nullptr);
    EXPECT_EQ(ChildItem(*RootItem(dialog->QuestionnaireTree(), "SATISF"), "Très satisfait"), nullptr);
    EXPECT_NE(ChildItem(*RootItem(dialog->QuestionnaireTree(), "SATISF"), "Plutôt satisfait"), nullptr);

    // SEXE up above REGION, then back: it returns between its questionnaire neighbours.
    ClickItem(dialog->ProfileTree(), RootItem(dialog->ProfileTree(), "SEXE"));
    Click(dialog->Bouton(CProfilModalitesDlg::kMonter));
    EXPECT_EQ(TreeText(dialog->ProfileTree()),
              "SATISF(Très satisfait,Plutôt insatisfait) - SEXE(Homme,Femme,Non interrogé) REGION(Nord-Ouest)");
    ClickItem(dialog->ProfileTree(), RootItem(dialog->ProfileTree(), "SEXE"));
    Click(dialog->Bouton(CProfilModalitesDlg::kRetour));
    EXPECT_EQ(dialog->QuestionnaireTree().indexOfTopLevelItem(RootItem(dialog->QuestionnaireTree(), "SEXE")), 0);

    Click(dialog->OkButton());
    ASSERT_FALSE(dialog->isVisible());
    // Not a named profile: "{Aucun}" stayed current, nothing was asked.
    EXPECT_TRUE(m_ui->asked.empty());
    EXPECT_EQ(dialog->GetProfil().id, -1);
    EXPECT_EQ(dialog->GetProfil().label, "{Aucun}");
    // Hand-written text form: SATISF is question 10, modalities 1 and 4; a separator; REGION is
    // question 4, modality 3 with its first option (bold).
    EXPECT_EQ(dialog->GetProfil().ToString(m_context), "10@@0@1:0:0:0:0;4:0:0:0:0;|0|4@@0@3:1:0:0:0;|");
}

// "NR" takes the missing modalities out of the profile; a question chosen whole does not come back
// among the available ones, while one partly chosen gets its modality back.
TEST_F(ProfileDialogTest, RemovingTheMissingModalitiesLeavesWholeQuestionsChosen) {
    auto dialog = ModalitesDialog(CProfil());
    MoveQuestion(*dialog, "SEXE");
    MoveModalities(*dialog, "SATISF", {"Très satisfait"});
    Click(dialog->Bouton(CProfilModalitesDlg::kSansManquantes));
    EXPECT_EQ(TreeText(dialog->ProfileTree()), "SEXE(Homme,Femme) SATISF(Très satisfait)");
    EXPECT_EQ(RootItem(dialog->QuestionnaireTree(), "SEXE"), nullptr);
    EXPECT_NE(RootItem(dialog->QuestionnaireTree(), "SATISF"), nullptr);
}

TEST_F(ProfileDialogTest, AnEmptyProfileIsRefusedWithThePagesMessage) {
    auto modalities = ModalitesDialog(CProfil());
    Click(modalities->OkButton());
    EXPECT_TRUE(modalities->isVisible());
    CProfilDlg questions(m_context, 0, CProfil(), false);
    questions.show();
    Click(questions.OkButton());
    EXPECT_TRUE(questions.isVisible());
    EXPECT_EQ(ShownIds(), (std::vector<int>{StringTable::kSelectionnerUneModalite, StringTable::kSelectionnerUneQuestion}));
}

// "Trier par fréquence" orders the line's modalities by their counts, read here straight from the
// questionnaire's response table (an unweighted survey: the weighted counts are the counts).
TEST_F(ProfileDialogTest, SortingByFrequencyFollowsTheCountsOfTheAnswers) {
    const std::vector<std::pair<int, std::string>> satisfaction = {
        {1, "Très satisfait"}, {2, "Plutôt satisfait"}, {3, "Ni satisfait ni insatisfait"},
        {4, "Plutôt insatisfait"}, {5, "Pas du tout satisfait"}};
    std::map<int, int> counts;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(m_copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "select \"10;1\", count(*) from \"VEL Reponse1\" group by 1", -1, &statement,
                                 nullptr),
              SQLITE_OK);
    while (sqlite3_step(statement) == SQLITE_ROW)
        counts[sqlite3_column_int(statement, 0)] = sqlite3_column_int(statement, 1);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    std::vector<std::pair<int, std::string>> expected = satisfaction;
    std::stable_sort(expected.begin(), expected.end(),
                     [&counts](const auto& a, const auto& b) { return counts[a.first] > counts[b.first]; });
    std::string expectedText = "SATISF(";
    for (std::size_t i = 0; i < expected.size(); ++i)
        expectedText += (i > 0 ? "," : "") + expected[i].second;
    expectedText += ")";

    auto dialog = ModalitesDialog(CProfil());
    MoveModalities(*dialog, "SATISF",
                   {"Pas du tout satisfait", "Plutôt insatisfait", "Ni satisfait ni insatisfait", "Plutôt satisfait",
                    "Très satisfait"});
    dialog->ProfileMenu(ChildItem(*RootItem(dialog->ProfileTree(), "SATISF"), "Très satisfait"))
        .actions()
        .at(0)
        ->trigger();
    EXPECT_EQ(TreeText(dialog->ProfileTree()), expectedText);
    // Back in the questionnaire's order.
    dialog->ProfileMenu(nullptr).actions().at(1)->trigger();
    EXPECT_EQ(TreeText(dialog->ProfileTree()), "SATISF(Très satisfait,Plutôt satisfait,Ni satisfait ni insatisfait,"
                                               "Plutôt insatisfait,Pas du tout satisfait)");
}

// ---- Named profiles ---------------------------------------------------------------------------

TEST_F(ProfileDialogTest, ASavedProfileWritesItsTextAndReopensInTheSameTrees) {
    auto dialog = ModalitesDialog(CProfil());
    Click(dialog->NouveauButton());
    TypeName(dialog->NameCombo(), QStringLiteral("Mécontents du Nord-Ouest"));
    BuildSatisfactionProfile(*dialog);
    const std::string built = TreeText(dialog->ProfileTree());
    m_ui->ScriptThreeWayReplies({Reply::Yes});
    Click(dialog->OkButton());
    ASSERT_FALSE(dialog->isVisible());
    EXPECT_EQ(m_ui->asked, (std::vector<Message>{Message(StringTable::kSauvegarderModifications)}));

    // The record holds the name and the text form, written by hand from the profile.
    EXPECT_EQ(ModalityProfiles(), (std::vector<std::pair<std::string, std::string>>{
                                      {"Mécontents du Nord-Ouest", "10@@0@1:0:0:0:0;4:0:0:0:0;|0|4@@0@3:1:0:0:0;|"}}));
    const CProfil result = dialog->GetProfil();
    EXPECT_GT(result.id, 0);
    EXPECT_EQ(result.label, "Mécontents du Nord-Ouest");

    // A dialog opened on the result reads the stored profile back: the same trees, the same
    // options.
    auto again = ModalitesDialog(result);
    EXPECT_EQ(again->NameCombo().currentText(), QStringLiteral("Mécontents du Nord-Ouest"));
    EXPECT_EQ(TreeText(again->ProfileTree()), built);
    QTreeWidgetItem* bold = ChildItem(*RootItem(again->ProfileTree(), "REGION"), "Nord-Ouest");
    ASSERT_NE(bold, nullptr);
    EXPECT_TRUE(bold->font(0).bold());
    Click(again->OkButton());
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(again->GetProfil().ToString(m_context), result.ToString(m_context));
}

TEST_F(ProfileDialogTest, AQuestionProfileIsSavedAsItsQuestionListAndReopened) {
    CProfilDlg dialog(m_context, 0, CProfil(), false);
    dialog.show();
    Click(dialog.NouveauButton());
    TypeName(dialog.NameCombo(), QStringLiteral("Chiffres"));
    ClickItem(dialog.QuestionnaireTree(), RootItem(dialog.QuestionnaireTree(), "Revenu mensuel"));
    ClickItem(dialog.QuestionnaireTree(), RootItem(dialog.QuestionnaireTree(), "Âge"), true);
    Click(dialog.Bouton(CProfilDlg::kVersProfil));
    Click(dialog.Bouton(CProfilDlg::kSeparateur));
    ClickItem(dialog.QuestionnaireTree(), RootItem(dialog.QuestionnaireTree(), "Personnes du foyer"));
    Click(dialog.Bouton(CProfilDlg::kVersProfil));
    const std::string built = TreeText(dialog.ProfileTree());
    EXPECT_EQ(built, "Âge Revenu mensuel - Personnes du foyer");
    m_ui->ScriptThreeWayReplies({Reply::Yes});
    Click(dialog.OkButton());
    ASSERT_FALSE(dialog.isVisible());
    // AGE is question 2, REVENU 7, FOYER 6; a separator is "0".
    EXPECT_EQ(QuestionProfiles(), (std::vector<std::pair<std::string, std::string>>{{"Chiffres", "2@@0|7@@0|0|6@@0|"}}));

    CProfilDlg again(m_context, 0, dialog.GetProfil(), false);
    again.show();
    EXPECT_EQ(again.NameCombo().currentText(), QStringLiteral("Chiffres"));
    EXPECT_EQ(TreeText(again.ProfileTree()), built);
}

// A name another entry has, "{Aucun}" among them, is refused and nothing is written.
TEST_F(ProfileDialogTest, ANameAlreadyUsedIsRefusedAndNothingIsWritten) {
    StoreProfile("Existant");
    const QByteArray before = FileHash(m_copy);
    for (const char* name : {"Existant", "{Aucun}"}) {
        SCOPED_TRACE(name);
        m_ui->shown.clear();
        auto dialog = ModalitesDialog(CProfil());
        Click(dialog->NouveauButton());
        TypeName(dialog->NameCombo(), QString::fromUtf8(name));
        MoveQuestion(*dialog, "REGION");
        m_ui->ScriptThreeWayReplies({Reply::Yes});
        Click(dialog->OkButton());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(ShownIds(), (std::vector<int>{StringTable::kNomDejaUtilise}));
        // The name typed is given back, the trees kept.
        EXPECT_EQ(dialog->NameCombo().lineEdit()->text(), QString::fromUtf8(name));
        EXPECT_EQ(TreeText(dialog->ProfileTree()), "REGION(Île-de-France,Nord-Est,Nord-Ouest,Sud-Ouest,Sud-Est,Non interrogé)");
        EXPECT_EQ(FileHash(m_copy), before);
    }
    EXPECT_EQ(ModalityProfiles().size(), 1u);
}

// Changes to a named profile settled with Cancel keep the dialog open, with No give the trees
// back as a profile without name; either way the questionnaire is byte for byte as it was.
TEST_F(ProfileDialogTest, NoAndCancelLeaveTheQuestionnaireAsItWas) {
    CProfil named;
    named.id = StoreProfile("Existant");
    const QByteArray before = FileHash(m_copy);
    auto dialog = ModalitesDialog(named);
    ASSERT_EQ(dialog->NameCombo().currentText(), QStringLiteral("Existant"));
    EXPECT_EQ(TreeText(dialog->ProfileTree()), "SATISF(Très satisfait)");
    MoveQuestion(*dialog, "REGION");

    m_ui->ScriptThreeWayReplies({Reply::Cancel});
    Click(dialog->OkButton());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->NameCombo().lineEdit()->text(), QStringLiteral("Existant"));
    EXPECT_EQ(FileHash(m_copy), before);

    m_ui->ScriptThreeWayReplies({Reply::No});
    Click(dialog->OkButton());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->GetProfil().id, -1);
    EXPECT_EQ(dialog->GetProfil().label, "{Aucun}");
    EXPECT_EQ(dialog->GetProfil().ToString(m_context), "10@@0@1:0:0:0:0;|4@@0@1:0:0:0:0;2:0:0:0:0;3:0:0:0:0;4:0:0:0:0;5:0:0:0:0;-2:0:0:0:0;|");
    EXPECT_EQ(FileHash(m_copy), before);
    EXPECT_TRUE(m_ui->shown.empty());
}

TEST_F(ProfileDialogTest, DeletingAsksFirstAndOnNoKeepsTheRecord) {
    CProfil named;
    named.id = StoreProfile("Existant");
    const QByteArray before = FileHash(m_copy);
    auto dialog = ModalitesDialog(named);
    m_ui->ScriptReplies({false});
    Click(dialog->SupprimerButton());
    EXPECT_EQ(FileHash(m_copy), before);
    EXPECT_EQ(dialog->NameCombo().currentText(), QStringLiteral("Existant"));
    m_ui->ScriptReplies({true});
    Click(dialog->SupprimerButton());
    EXPECT_TRUE(ModalityProfiles().empty());
    EXPECT_EQ(dialog->NameCombo().currentText(), QStringLiteral("{Aucun}"));
    EXPECT_TRUE(dialog->NameCombo().lineEdit()->isReadOnly());
}

} // namespace
