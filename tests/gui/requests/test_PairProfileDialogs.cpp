// The pair dialogs of the analysis windows, "Profils" of modalities and "Profils numériques",
// driven as the analyst drives them on a copy of the demo: the active and illustrative trees
// built by moves, a named pair kept in the questionnaire and read back after it is opened
// again, and the refusals and cancels that leave the file as it was.
#include "ProfileDialogTestSupport.h"
#include "app/StringTable.h"
#include "gui/requests/ProfilNumeriqueDlg.h"
#include "gui/requests/ProfilsActifsIllustratifsDlg.h"

#include <sqlite3.h>

namespace {

using namespace requests_test;
using Reply = UserInterface::Reply;

// The label and both texts of every record of a list table, in key order.
std::vector<std::vector<std::string>> StoredPairs(const std::string& path, const std::string& table,
                                                  const std::string& active, const std::string& illustrative) {
    std::vector<std::vector<std::string>> records;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return records;
    }
    const std::string sql = "select \"Libelle\", \"" + active + "\", \"" + illustrative + "\" from \"" + table +
                            "\" order by \"NroListe\"";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto& record = records.emplace_back();
            for (int i = 0; i < 3; ++i) {
                const unsigned char* value = sqlite3_column_text(statement, i);
                record.emplace_back(value != nullptr ? reinterpret_cast<const char*>(value) : "");
            }
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return records;
}

// One click of the analyst: an item of a tree made current (by its text; "Q/m" for the modality
// m of the question line Q), then a button.
struct Action {
    int tree; // 0 questionnaire, 1 active, 2 illustrative
    const char* item;
    int button;
};

template <class Dialog>
QTreeWidget& TreeOf(Dialog& dialog, int tree) {
    QTreeWidget* trees[] = {&dialog.QuestionnaireTree(), &dialog.ActiveTree(), &dialog.IllustrativeTree()};
    return *trees[tree];
}

template <class Dialog>
void Play(Dialog& dialog, const std::vector<Action>& actions) {
    for (const Action& action : actions) {
        QTreeWidget& tree = TreeOf(dialog, action.tree);
        const std::string item = action.item;
        const std::size_t slash = item.find('/');
        QTreeWidgetItem* line = RootItem(tree, item.substr(0, slash));
        ASSERT_NE(line, nullptr) << item;
        if (slash != std::string::npos) {
            Unfold(tree, line);
            line = ChildItem(*line, item.substr(slash + 1));
            ASSERT_NE(line, nullptr) << item;
        }
        tree.setCurrentItem(line);
        Click(dialog.Bouton(static_cast<typename Dialog::Button>(action.button)));
    }
}

class PairProfileDialogTest : public DemoCopyTest {
protected:
    template <class Dialog>
    std::unique_ptr<Dialog> Open(const CProfil& active = {}, const CProfil& illustrative = {}) {
        auto dialog = std::make_unique<Dialog>(m_context, active, illustrative);
        dialog->show();
        return dialog;
    }
};

// ---- Moves ------------------------------------------------------------------------------------

TEST_F(PairProfileDialogTest, NumericQuestionsMoveBetweenTheThreeTrees) {
    using D = CProfilNumeriqueDlg;
    struct Case {
        const char* what;
        std::vector<Action> actions;
        const char* questionnaire;
        const char* active;
        const char* illustrative;
    };
    const std::vector<Case> cases = {
        {"one to the actives", {{0, "Revenu mensuel", D::kVersActives}}, "Âge Personnes du foyer", "Revenu mensuel", ""},
        {"all to the actives, in the questionnaire's order", {{0, "Âge", D::kToutVersActives}}, "",
         "Âge Personnes du foyer Revenu mensuel", ""},
        {"an active made illustrative, then back at the end",
         {{0, "Âge", D::kToutVersActives}, {1, "Âge", D::kVersIllustratives}, {2, "Âge", D::kIllustrativeVersActives}},
         "", "Personnes du foyer Revenu mensuel Âge", ""},
        {"back to the questionnaire in its place",
         {{0, "Revenu mensuel", D::kVersActives}, {0, "Âge", D::kVersActives}, {1, "Revenu mensuel", D::kRetour}},
         "Personnes du foyer Revenu mensuel", "Âge", ""},
        {"all actives illustrative", {{0, "Âge", D::kToutVersActives}, {1, "Âge", D::kToutVersIllustratives}}, "", "",
         "Âge Personnes du foyer Revenu mensuel"},
        {"a line up, then the first one up: nothing moves",
         {{0, "Âge", D::kToutVersActives}, {1, "Revenu mensuel", D::kMonterActive}, {1, "Revenu mensuel", D::kMonterActive},
          {1, "Revenu mensuel", D::kMonterActive}},
         "", "Revenu mensuel Âge Personnes du foyer", ""},
        {"an illustrative line down",
         {{0, "Âge", D::kToutVersActives}, {1, "Âge", D::kToutVersIllustratives}, {2, "Âge", D::kDescendreIllustrative}},
         "", "", "Personnes du foyer Âge Revenu mensuel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto dialog = Open<D>();
        Play(*dialog, c.actions);
        EXPECT_EQ(TreeText(dialog->QuestionnaireTree()), c.questionnaire);
        EXPECT_EQ(TreeText(dialog->ActiveTree()), c.active);
        EXPECT_EQ(TreeText(dialog->IllustrativeTree()), c.illustrative);
    }
}

TEST_F(PairProfileDialogTest, QuestionsAndModalitiesMoveBetweenTheThreeTrees) {
    using D = CProfilsActifsIllustratifsDlg;
    struct Case {
        const char* what;
        std::vector<Action> actions;
        const char* active;
        const char* illustrative;
    };
    const std::vector<Case> cases = {
        {"a question with its modalities", {{0, "Sexe", D::kVersActives}}, "Sexe(Homme,Femme,Non interrogé)", ""},
        {"one modality, then its line made illustrative",
         {{0, "Région/Nord-Ouest", D::kVersActives}, {1, "Région", D::kVersIllustratives}}, "", "Région(Nord-Ouest)"},
        {"a modality back: its line goes when empty",
         {{0, "Région/Nord-Ouest", D::kVersActives}, {1, "Région/Nord-Ouest", D::kRetour}}, "", ""},
        {"an illustrative modality joins the active line at its end",
         {{0, "Sexe", D::kVersActives}, {1, "Sexe/Homme", D::kVersIllustratives},
          {2, "Sexe/Homme", D::kIllustrativeVersActives}},
         "Sexe(Femme,Non interrogé,Homme)", ""},
        {"the missing answers removed from the actives",
         {{0, "Sexe", D::kVersActives}, {1, "Sexe", D::kSansManquantes}}, "Sexe(Homme,Femme)", ""},
        {"a line down",
         {{0, "Sexe", D::kVersActives}, {0, "Région/Nord-Ouest", D::kVersActives}, {1, "Sexe", D::kDescendreActive}},
         "Région(Nord-Ouest) Sexe(Homme,Femme,Non interrogé)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto dialog = Open<D>();
        Play(*dialog, c.actions);
        EXPECT_EQ(TreeText(dialog->ActiveTree()), c.active);
        EXPECT_EQ(TreeText(dialog->IllustrativeTree()), c.illustrative);
    }
}

// ---- The profiles and their names ---------------------------------------------------------------

TEST_F(PairProfileDialogTest, AnEmptyActiveSideIsRefusedWithItsMessage) {
    {
        auto dialog = Open<CProfilNumeriqueDlg>();
        Play(*dialog, {{0, "Âge", CProfilNumeriqueDlg::kVersActives}, {1, "Âge", CProfilNumeriqueDlg::kVersIllustratives}});
        Click(dialog->OkButton());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(ShownIds(), (std::vector<int>{StringTable::kSelectionnerUneQuestion}));
    }
    m_ui->shown.clear();
    auto dialog = Open<CProfilsActifsIllustratifsDlg>();
    Click(dialog->OkButton());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ShownIds(), (std::vector<int>{StringTable::kSelectionnerUneModalite}));
}

TEST_F(PairProfileDialogTest, ANamedPairIsSavedListedReadBackAfterReopeningAndDeleted) {
    using D = CProfilNumeriqueDlg;
    auto dialog = Open<D>();
    Click(dialog->NouveauButton());
    TypeName(dialog->NameCombo(), QStringLiteral("Budget"));
    Play(*dialog, {{0, "Revenu mensuel", D::kVersActives},
                   {0, "Âge", D::kVersActives},
                   {0, "Personnes du foyer", D::kVersActives},
                   {1, "Personnes du foyer", D::kVersIllustratives}});
    m_ui->ScriptThreeWayReplies({Reply::Yes});
    Click(dialog->OkButton());
    ASSERT_FALSE(dialog->isVisible());
    // AGE is question 2, REVENU 7 and FOYER 6, written by hand.
    EXPECT_EQ(StoredPairs(m_copy, "MFW ListeNumerique", "QuestionsActives", "QuestionsIllustratives"),
              (std::vector<std::vector<std::string>>{{"Budget", "7@@0|2@@0|", "6@@0|"}}));
    CProfil active;
    CProfil illustrative;
    dialog->GetProfils(active, illustrative);
    EXPECT_EQ(active.label, "Budget");
    ASSERT_EQ(illustrative.GetCount(), 1);

    // The questionnaire opened again: the name is listed and gives both trees back.
    ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    CProfil named;
    named.id = active.id;
    auto again = Open<D>(named);
    EXPECT_EQ(again->NameCombo().currentText(), QStringLiteral("Budget"));
    EXPECT_EQ(again->NameCombo().count(), 2); // "{Aucun}" and the pair
    EXPECT_EQ(TreeText(again->ActiveTree()), "Revenu mensuel Âge");
    EXPECT_EQ(TreeText(again->IllustrativeTree()), "Personnes du foyer");

    m_ui->ScriptReplies({true});
    Click(again->SupprimerButton());
    EXPECT_TRUE(StoredPairs(m_copy, "MFW ListeNumerique", "QuestionsActives", "QuestionsIllustratives").empty());
    EXPECT_EQ(again->NameCombo().count(), 1);
}

TEST_F(PairProfileDialogTest, ANamedModalityPairKeepsBothSides) {
    using D = CProfilsActifsIllustratifsDlg;
    auto dialog = Open<D>();
    Click(dialog->NouveauButton());
    TypeName(dialog->NameCombo(), QStringLiteral("Régions"));
    Play(*dialog, {{0, "Sexe", D::kVersActives}, {0, "Région/Nord-Ouest", D::kVersActives},
                   {1, "Région", D::kVersIllustratives}});
    m_ui->ScriptThreeWayReplies({Reply::Yes});
    Click(dialog->OkButton());
    ASSERT_FALSE(dialog->isVisible());
    // SEXE is question 1 (codes 1, 2, -2), REGION 4 (Nord-Ouest code 3).
    EXPECT_EQ(StoredPairs(m_copy, "MFW ListeVariable", "ModalitesActives", "ModalitesIllustratives"),
              (std::vector<std::vector<std::string>>{
                  {"Régions", "1@@0@1:0:0:0:0;2:0:0:0:0;-2:0:0:0:0;|", "4@@0@3:0:0:0:0;|"}}));
    CProfil active;
    CProfil illustrative;
    dialog->GetProfils(active, illustrative);
    ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    CProfil named;
    named.id = active.id;
    auto again = Open<D>(named);
    EXPECT_EQ(TreeText(again->ActiveTree()), "Sexe(Homme,Femme,Non interrogé)");
    EXPECT_EQ(TreeText(again->IllustrativeTree()), "Région(Nord-Ouest)");
}

TEST_F(PairProfileDialogTest, CancelLeavesTheQuestionnaireAsItWas) {
    const QByteArray before = FileHash(m_copy);
    auto numeric = Open<CProfilNumeriqueDlg>();
    Click(numeric->NouveauButton());
    TypeName(numeric->NameCombo(), QStringLiteral("Abandonné"));
    Play(*numeric, {{0, "Âge", CProfilNumeriqueDlg::kVersActives}});
    numeric->reject();
    auto modalities = Open<CProfilsActifsIllustratifsDlg>();
    Click(modalities->NouveauButton());
    Play(*modalities, {{0, "Sexe", CProfilsActifsIllustratifsDlg::kVersActives}});
    modalities->reject();
    EXPECT_EQ(FileHash(m_copy), before);
    EXPECT_TRUE(m_ui->shown.empty());
}

} // namespace
