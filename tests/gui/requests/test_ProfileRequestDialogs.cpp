// The request dialogs of profiles: their profile pages filled through the profile dialogs as the
// analyst fills them; the requests they build, given back unchanged when reopened; the refusals
// of their pages and of the comparison of modalities.
#include "ProfileDialogTestSupport.h"
#include "app/StringTable.h"
#include "gui/requests/PageArbreTotalDlg.h"
#include "gui/requests/PageGeneraleDlg.h"

#include <QCheckBox>

namespace {

using namespace requests_test;
using T = CTraitement;

class ProfileRequestDialogTest : public DemoRequestTest {};

TEST_F(ProfileRequestDialogTest, EveryProfileDialogHasItsCaptionKindsAndTitle) {
    struct Expected {
        std::int16_t type;
        const char* caption;
        std::int16_t rowKind;
        std::int16_t columnKind;
        const char* title;
        bool rowTotalShown;
    };
    const Expected cases[] = {
        {T::kProfilsSimples, "Profil simple", 2, 4, "Profil", true},
        {T::kProfilsStatistiques, "Statistiques rapides", 3, 4, "Profil", false},
        {T::kProfilsCroises, "Profil croisé", 2, 2, "Profils croisés", true},
        {T::kComparaisonModalites, "Comparaison de modalités", 2, 4, "Comparaison", false},
        {T::kProfilsCroisesMoyenne, "Profil croisé de moyenne", 2, 3, "Profils croisés", true},
        {T::kOuvertesProfils, "Profils de questions ouvertes", 7, -1, "Profil", false},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.caption);
        auto dialog = NewDialog(c.type, {});
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(dialog->GetPageGenerale()->TitleEdit().text().toStdString(), c.title);
        ASSERT_NE(dialog->GetPageProfil(0), nullptr);
        auto* closed = dynamic_cast<CPageArbreTotalDlg*>(dialog->GetPageProfil(0));
        EXPECT_EQ(closed != nullptr && closed->TotalBox().isVisible(), c.rowTotalShown);
        EXPECT_EQ(dialog->GetPageProfil(0)->SelectionButton().text().toStdString(),
                  c.type == T::kOuvertesProfils ? "&Sélection..." : "&Sélection des lignes...");
        // An empty profile is refused with its page's message.
        std::unique_ptr<CTraitement> refused = ClickOk(*dialog);
        EXPECT_EQ(refused, nullptr);
        const int message = closed != nullptr ? StringTable::kSelectionnerUneModalite : StringTable::kSelectionnerUneQuestion;
        EXPECT_EQ(ShownIds(), (std::vector<int>{message}));
        m_ui->shown.clear();

        EditProfileOf(*dialog->GetPageProfil(0),
                      Profile(c.type == T::kOuvertesProfils      ? std::vector<std::string>{"Avis sur le service"}
                              : c.type == T::kProfilsStatistiques ? std::vector<std::string>{"Âge"}
                                                                  : std::vector<std::string>{"SATISF:Très satisfait"}));
        if (ProfilePage* columns = dialog->GetPageProfil(1))
            EditProfileOf(*columns, Profile(c.type == T::kProfilsCroisesMoyenne ? std::vector<std::string>{"Âge"}
                                                                                 : std::vector<std::string>{"SEXE"}));
        // The comparison's statistics start from the numeric defaults: none for closed questions.
        if (CPageCalculsDlg* statistics = dialog->GetPageCalculs(1))
            TickAll(statistics->GetList(), false);
        std::unique_ptr<CTraitement> built = ClickOk(*dialog);
        ASSERT_NE(built, nullptr);
        EXPECT_TRUE(m_ui->shown.empty());
        EXPECT_EQ(built->type, c.type);
        EXPECT_EQ(built->GetTypeAxe(T::kLignes), c.rowKind);
        EXPECT_EQ(built->GetTypeAxe(T::kColonnes), c.columnKind);
        EXPECT_EQ(built->title, c.title);
    }
}

// Each dialog reopened on its request ("Retour à la définition...") gives it back unchanged:
// the profiles with their modalities and options, the Totals, the calculations, the tables.
TEST_F(ProfileRequestDialogTest, EveryProfileDialogReopensItsRequestAndGivesItBackUnchanged) {
    struct Case {
        std::int16_t type;
        std::vector<std::string> rows;
        std::vector<std::string> columns;
    };
    const Case cases[] = {
        {T::kProfilsSimples, {"SATISF:Plutôt satisfait|Très satisfait", "REGION"}, {}},
        {T::kProfilsStatistiques, {"Revenu mensuel", "Âge"}, {}},
        {T::kProfilsCroises, {"TRANCHE", "SATISF:Très satisfait"}, {"SEXE", "REGION:Nord-Est"}},
        {T::kComparaisonModalites, {"SEXE:Homme|Femme", "SATISF:Très satisfait|Plutôt satisfait"}, {}},
        {T::kProfilsCroisesMoyenne, {"SATISF"}, {"Revenu mensuel"}},
        {T::kOuvertesProfils, {"Avis sur le service"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        auto first = NewDialog(c.type, {});
        ASSERT_NE(first, nullptr);
        EditProfileOf(*first->GetPageProfil(0), Profile(c.rows));
        if (!c.columns.empty())
            EditProfileOf(*first->GetPageProfil(1), Profile(c.columns));
        // The row Total unticked where it is offered; a calculation more than the defaults.
        if (auto* closed = dynamic_cast<CPageArbreTotalDlg*>(first->GetPageProfil(0)); closed != nullptr &&
                                                                                       closed->TotalBox().isVisible())
            Click(closed->TotalBox());
        if (CPageCalculsDlg* page = first->GetPageCalculs(0))
            Tick(page->GetList(), 2, true);
        if (CPageCalculsDlg* statistics = first->GetPageCalculs(1))
            TickAll(statistics->GetList(), false);
        std::unique_ptr<CTraitement> original = ClickOk(*first);
        ASSERT_NE(original, nullptr);

        auto edit = EditDialog(*original);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(TreeText(edit->GetPageProfil(0)->GetTree()), TreeText(first->GetPageProfil(0)->GetTree()));
        std::unique_ptr<CTraitement> again = ClickOk(*edit);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->type, original->type);
        EXPECT_EQ(again->title, original->title);
        for (int axis : {T::kLignes, T::kColonnes}) {
            EXPECT_EQ(again->GetTypeAxe(axis), original->GetTypeAxe(axis));
            EXPECT_EQ(again->GetTotalAxe(axis), original->GetTotalAxe(axis));
            const CProfil* before = original->GetProfilAxe(axis);
            const CProfil* after = again->GetProfilAxe(axis);
            ASSERT_EQ(after == nullptr, before == nullptr);
            if (before != nullptr) {
                EXPECT_EQ(after->ToString(m_context), before->ToString(m_context));
            }
        }
        EXPECT_EQ(Codes(again->GetCalculsLignes()), Codes(original->GetCalculsLignes()));
        EXPECT_EQ(Codes(again->GetCalculsColonnes()), Codes(original->GetCalculsColonnes()));
        EXPECT_EQ(Computed(*again), Computed(*original));
    }
}

// Statistics of compared modalities need numeric questions; with none asked any profile goes.
TEST_F(ProfileRequestDialogTest, AComparisonWithStatisticsNeedsNumericQuestions) {
    auto dialog = NewDialog(T::kComparaisonModalites, {});
    EditProfileOf(*dialog->GetPageProfil(0), Profile({"SEXE:Homme|Femme", "SATISF:Très satisfait|Plutôt satisfait"}));
    // The numeric list's defaults are offered ticked.
    CCalculListCtrl& statistics = dialog->GetPageCalculs(1)->GetList();
    ASSERT_FALSE(Labels(statistics, true).empty());
    EXPECT_EQ(ClickOk(*dialog), nullptr);
    EXPECT_EQ(ShownIds(), (std::vector<int>{StringTable::kStatistiquesNonNumeriques}));
    m_ui->shown.clear();
    TickAll(statistics, false);
    std::unique_ptr<CTraitement> built = ClickOk(*dialog);
    ASSERT_NE(built, nullptr);
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_TRUE(built->GetCalculsColonnes().empty());
}

// The modalities compared line up: every question holds as many as the first.
TEST_F(ProfileRequestDialogTest, AComparisonRefusesQuestionsWithOtherNumbersOfModalities) {
    auto dialog = NewDialog(T::kComparaisonModalites, {});
    ModalAnswers answers({[](QDialog& shown) {
                              auto* profile = qobject_cast<CProfilModalitesDlg*>(&shown);
                              ASSERT_NE(profile, nullptr);
                              Profile({"SEXE", "SATISF:Très satisfait"})(shown);
                              // Refused: SEXE has three modalities, SATISF one.
                              EXPECT_TRUE(profile->isVisible());
                              profile->reject();
                          }});
    Click(dialog->GetPageProfil(0)->SelectionButton());
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(ShownIds(), (std::vector<int>{StringTable::kMemeNombreModalites}));
    EXPECT_EQ(dialog->GetPageProfil(0)->GetProfil().GetCount(), 0);
}

} // namespace
