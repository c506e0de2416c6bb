// The request dialogs driven as the analyst drives them, on the demo questionnaire: the requests
// they build give the tables of the same requests written as qesrun texts; every refusal on OK;
// the choices kept as the next dialog's defaults; a table's definition edited.
#include "RequestDialogTestSupport.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "gui/requests/AppliquerChoixAuContexte.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "gui/requests/RequestDialogKind.h"

#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

using namespace requests_test;
using T = CTraitement;

class RequestDialogTest : public DemoRequestTest {};

// ---- The requests built give the tables qesrun gives ----------------------------------------

struct SameTables {
    const char* name;
    std::int16_t type;
    std::vector<std::string> questions;
    // What the analyst changes in the dialog before OK.
    std::function<void(RequestDialog&)> choose;
    // The same request as a qesrun text (without its title, which the dialog's gives).
    const char* text;
};

TEST_F(RequestDialogTest, RequestsBuiltGiveTheTablesOfTheSameRequestsAsText) {
    const std::vector<SameTables> cases = {
        {"cross table with counts, row and column percentages and marks",
         T::kTriCroise,
         {"SATISF", "REGION"},
         [](RequestDialog& dialog) {
             CCalculListCtrl& calculations = dialog.GetPageCalculs(0)->GetList();
             TickLabelled(calculations, "Profil colonne", true);
             TickLabelled(calculations, "Significativité", true);
         },
         "type tri-croise\nlignes SATISF total\ncolonnes REGION total\ncalculs 0 1 2 4\n"},
        {"cross table of chosen lines in another order",
         T::kTriCroise,
         {"TRANCHE", "SEXE"},
         [](RequestDialog& dialog) {
             CModaliteListCtrl& rows = dialog.GetPageLignes(0)->GetList();
             TickLabelled(rows, "18-24 ans", false);
             SelectRows(rows, {RowLabelled(rows, "65 ans et plus")});
             QTest::mouseClick(&dialog.GetPageLignes(0)->GetButtons().UpButton(), Qt::LeftButton);
             TickLabelled(dialog.GetPageLignes(1)->GetList(), "Total", false);
         },
         "type tri-croise\nlignes TRANCHE 2 3 5 4 -2 total\ncolonnes SEXE 1 2 -2\ncalculs 0 1\n"},
        {"flat sort with cumulated percentages",
         T::kTriSimple,
         {"CSP"},
         [](RequestDialog& dialog) {
             TickLabelled(dialog.GetPageCalculs(0)->GetList(), "Pourcentages cumulés", true);
         },
         "type tri-simple\nlignes CSP total\ncalculs 0 1 2\n"},
        {"statistics with the median, the mean unticked",
         T::kStatistiques,
         {"AGE"},
         [](RequestDialog& dialog) {
             CCalculListCtrl& calculations = dialog.GetPageCalculs(0)->GetList();
             TickLabelled(calculations, "Moyenne", false);
             TickLabelled(calculations, "Médiane", true);
         },
         "type statistiques\nlignes AGE\ncalculs 1 10\n"},
        {"mean table",
         T::kTableauMoyenne,
         {"SATISF", "REVENU"},
         [](RequestDialog&) {},
         "type moyenne\nlignes SATISF total\ncolonnes REVENU\ncalculs 0 1\n"},
    };
    for (const SameTables& test : cases) {
        SCOPED_TRACE(test.name);
        auto dialog = NewDialog(test.type, test.questions);
        ASSERT_NE(dialog, nullptr);
        test.choose(*dialog);
        const std::string title = dialog->GetPageGenerale()->GetTitre();
        std::unique_ptr<CTraitement> built = ClickOk(*dialog);
        ASSERT_NE(built, nullptr);
        EXPECT_TRUE(m_ui->shown.empty());
        std::unique_ptr<CTraitement> written = FromText(std::string(test.text) + "titre " + title + "\n");
        ASSERT_NE(written, nullptr);
        const std::string tables = Computed(*built);
        EXPECT_FALSE(tables.empty());
        EXPECT_EQ(tables, Computed(*written));
    }
}

TEST_F(RequestDialogTest, NewRequestHasTheTypeKindsQuestionsAndTitleOfItsDialog) {
    struct Expected {
        std::int16_t type;
        std::vector<std::string> questions;
        const char* caption;
        std::int16_t rowKind;
        std::int16_t columnKind;
        const char* rowQuestion;
        const char* columnQuestion; // "" none
        const char* title;
    };
    const std::vector<Expected> cases = {
        {T::kTriSimple, {"SEXE"}, "Tri simple", 0, 4, "SEXE", "", "Sexe"},
        {T::kTriCroise, {"SEXE", "REGION"}, "Tri croisé", 0, 0, "SEXE", "REGION", "Sexe x Région"},
        {T::kTauxImportanceCroise, {"SEXE", "REGION"}, "Tri croisé", 0, 0, "SEXE", "REGION", "Sexe x Région"},
        {T::kStatistiques, {"AGE"}, "Statistiques", 5, 4, "AGE", "", "Âge"},
        {T::kTableauMoyenne,
         {"SEXE", "REVENU"},
         "Tableau de moyenne",
         0,
         5,
         "SEXE",
         "REVENU",
         "Sexe x Revenu mensuel"},
        {T::kTriClassement,
         {"CLASSEMENT"},
         "Morvane de classement",
         0,
         4,
         "CLASSEMENT",
         "",
         "Critères de choix"},
        {T::kTraitementMixte,
         {"SATISF"},
         "Traitement mixte (Tri simple et Statistique)",
         0,
         4,
         "SATISF",
         "",
         "Satisfaction globale"},
    };
    for (const Expected& test : cases) {
        SCOPED_TRACE(test.caption);
        auto dialog = NewDialog(test.type, test.questions);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle().toStdString(), test.caption);
        std::unique_ptr<CTraitement> request = ClickOk(*dialog);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->type, test.type);
        EXPECT_EQ(request->GetTypeAxe(T::kLignes), test.rowKind);
        EXPECT_EQ(request->GetTypeAxe(T::kColonnes), test.columnKind);
        EXPECT_EQ(request->GetQuestionAxe(T::kLignes), Question(test.rowQuestion));
        EXPECT_EQ(request->GetQuestionAxe(T::kColonnes),
                  *test.columnQuestion != '\0' ? Question(test.columnQuestion) : nullptr);
        EXPECT_EQ(request->title, test.title);
        EXPECT_EQ(request->studyFieldId, -1);
        EXPECT_EQ(request->studyFieldName, "Toutes les interviews");
        EXPECT_EQ(request->weightingName, "Aucun redressement");
    }
}

TEST_F(RequestDialogTest, NoDialogForATypeOrQuestionsItCannotTake) {
    EXPECT_EQ(NewDialog(T::kOuvertesDictionnaire, {}), nullptr);
    // The profile dialogs take no question.
    EXPECT_EQ(NewDialog(T::kProfilsSimples, {"SEXE"}), nullptr);
    EXPECT_EQ(NewDialog(T::kTriCroise, {"SEXE"}), nullptr);
    EXPECT_EQ(RequestDialog::PourNouvelleDemande(m_context, T::kTriSimple, {nullptr}), nullptr);
    CTraitement unknown;
    unknown.type = T::kOuvertesDictionnaire;
    EXPECT_EQ(EditDialog(unknown), nullptr);
}

TEST_F(RequestDialogTest, CancelBuildsNothing) {
    auto dialog = NewDialog(T::kTriCroise, {"SEXE", "REGION"});
    QTest::mouseClick(&dialog->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->GetTraitement(), nullptr);
}

// ---- Refusals on OK ----------------------------------------------------------------------------

struct Refusal {
    const char* name;
    std::int16_t type;
    std::vector<std::string> questions;
    std::function<void(RequestDialog&)> spoil;
    int message;
};

TEST_F(RequestDialogTest, OkRefusesAPageWithNothingChosenAndKeepsTheDialogAsItWas) {
    const auto noRow = [](int question) {
        return
            [question](RequestDialog& dialog) { TickAll(dialog.GetPageLignes(question)->GetList(), false); };
    };
    const auto noCalculation = [](RequestDialog& dialog) {
        TickAll(dialog.GetPageCalculs(0)->GetList(), false);
    };
    const std::vector<Refusal> cases = {
        {"cross table without a row line",
         T::kTriCroise,
         {"SEXE", "REGION"},
         noRow(0),
         StringTable::kSelectionnerUneModalite},
        {"cross table without a column line, its rows complete",
         T::kTriCroise,
         {"SEXE", "REGION"},
         noRow(1),
         StringTable::kSelectionnerUneModalite},
        {"cross table without a calculation",
         T::kTriCroise,
         {"SEXE", "REGION"},
         noCalculation,
         StringTable::kSelectionnerUnTraitement},
        {"importance-rate cross table without a calculation",
         T::kTauxImportanceCroise,
         {"SEXE", "REGION"},
         noCalculation,
         StringTable::kSelectionnerUnTraitement},
        {"flat sort without a line", T::kTriSimple, {"CSP"}, noRow(0), StringTable::kSelectionnerUneModalite},
        {"flat sort without a calculation",
         T::kTriSimple,
         {"CSP"},
         noCalculation,
         StringTable::kSelectionnerUnTraitement},
        {"statistics without a calculation",
         T::kStatistiques,
         {"AGE"},
         noCalculation,
         StringTable::kSelectionnerUnTraitement},
        {"mean table without a line",
         T::kTableauMoyenne,
         {"SEXE", "REVENU"},
         noRow(0),
         StringTable::kSelectionnerUneModalite},
        {"mean table without a calculation",
         T::kTableauMoyenne,
         {"SEXE", "REVENU"},
         noCalculation,
         StringTable::kSelectionnerUnTraitement},
        {"ranking table without a line",
         T::kTriClassement,
         {"CLASSEMENT"},
         noRow(0),
         StringTable::kSelectionnerUneModalite},
        {"mixed treatment without a line",
         T::kTraitementMixte,
         {"SATISF"},
         noRow(0),
         StringTable::kSelectionnerUneModalite},
        {"mixed treatment without a calculation",
         T::kTraitementMixte,
         {"SATISF"},
         noCalculation,
         StringTable::kSelectionnerUnTraitement},
    };
    for (const Refusal& test : cases) {
        SCOPED_TRACE(test.name);
        m_ui->shown.clear();
        auto dialog = NewDialog(test.type, test.questions);
        ASSERT_NE(dialog, nullptr);
        test.spoil(*dialog);
        EXPECT_EQ(ClickOk(*dialog), nullptr);
        EXPECT_EQ(ShownIds(), std::vector<int>{test.message});
        EXPECT_TRUE(dialog->isVisible());
        // Nothing was lost: choosing again is accepted.
        for (CPageQuestionsCalculsDlg* page : {dialog->GetPageLignes(0), dialog->GetPageLignes(1)})
            if (page != nullptr && page->GetList().TickedLinesInOrder().empty())
                Tick(page->GetList(), 0, true);
        if (CPageCalculsDlg* page = dialog->GetPageCalculs(0);
            page && page->GetList().TickedLinesInOrder().empty())
            Tick(page->GetList(), 0, true);
        EXPECT_NE(ClickOk(*dialog), nullptr);
    }
}

TEST_F(RequestDialogTest, TheTotalAloneIsALineEnough) {
    auto dialog = NewDialog(T::kTriSimple, {"SEXE"});
    CModaliteListCtrl& rows = dialog->GetPageLignes(0)->GetList();
    TickAll(rows, false);
    TickLabelled(rows, "Total", true);
    std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(Codes(request->GetModalitesAxe(T::kLignes)), std::vector<std::int32_t>{CLigne::kTotalCode});
}

// ---- Where the tables go -----------------------------------------------------------------------

TEST_F(RequestDialogTest, TablesOfTheDialogsWithoutMergeOptionsAlwaysOpenInAWindow) {
    CRegistre::SetFusionEstVersDossier(true);
    const std::vector<std::pair<std::int16_t, std::vector<std::string>>> alwaysInWindow = {
        {T::kTriSimple, {"SEXE"}},
        {T::kStatistiques, {"AGE"}},
        {T::kTableauMoyenne, {"SEXE", "AGE"}},
        {T::kTriClassement, {"CLASSEMENT"}},
        {T::kTraitementMixte, {"SEXE"}},
    };
    for (const auto& [type, questions] : alwaysInWindow) {
        SCOPED_TRACE(type);
        auto dialog = NewDialog(type, questions);
        EXPECT_EQ(dialog->GetPageGenerale()->FusionButton(), nullptr);
        std::unique_ptr<CTraitement> request = ClickOk(*dialog);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->mergeOptions.EstVersDossier, 0);
    }
    auto cross = NewDialog(T::kTriCroise, {"SEXE", "REGION"});
    EXPECT_NE(cross->GetPageGenerale()->FusionButton(), nullptr);
    EXPECT_EQ(ClickOk(*cross)->mergeOptions.EstVersDossier, 1);
}

// ---- The choices kept for the next dialog -------------------------------------------------------

TEST_F(RequestDialogTest, TheChoicesWrittenBackOpenTheNextDialog) {
    auto first = NewDialog(T::kTriCroise, {"SATISF", "REGION"});
    CModaliteListCtrl& rows = first->GetPageLignes(0)->GetList();
    TickLabelled(rows, "Ni satisfait ni insatisfait", false);
    SelectRows(rows, {RowLabelled(rows, "Très satisfait")});
    QTest::mouseClick(&first->GetPageLignes(0)->GetButtons().OptionButton(LineListWidget::kItalic),
                      Qt::LeftButton);
    TickLabelled(first->GetPageLignes(1)->GetList(), "Sud-Est", false);
    CCalculListCtrl& calculations = first->GetPageCalculs(0)->GetList();
    TickLabelled(calculations, "Profil ligne", false);
    TickLabelled(calculations, "Valeur test", true);
    std::unique_ptr<CTraitement> request = ClickOk(*first);
    ASSERT_NE(request, nullptr);
    AppliquerChoixAuContexte(*request, m_context);

    auto next = NewDialog(T::kTriCroise, {"SATISF", "REGION"});
    CModaliteListCtrl& nextRows = next->GetPageLignes(0)->GetList();
    EXPECT_EQ(nextRows.topLevelItem(RowLabelled(nextRows, "Ni satisfait ni insatisfait"))->checkState(0),
              Qt::Unchecked);
    EXPECT_TRUE(nextRows.topLevelItem(RowLabelled(nextRows, "Très satisfait"))->font(0).italic());
    EXPECT_EQ(Labels(next->GetPageLignes(1)->GetList(), true),
              (std::vector<std::string>{"Île-de-France", "Nord-Est", "Nord-Ouest", "Sud-Ouest",
                                        "Non interrogé", "Total"}));
    EXPECT_EQ(Labels(next->GetPageCalculs(0)->GetList(), true),
              (std::vector<std::string>{"Effectifs", "Valeur test"}));

    // A flat sort of the same question keeps the row choices; its calculations are its own.
    auto flat = NewDialog(T::kTriSimple, {"SATISF"});
    CModaliteListCtrl& flatRows = flat->GetPageLignes(0)->GetList();
    EXPECT_EQ(flatRows.topLevelItem(RowLabelled(flatRows, "Ni satisfait ni insatisfait"))->checkState(0),
              Qt::Unchecked);
    EXPECT_EQ(Labels(flat->GetPageCalculs(0)->GetList(), true),
              (std::vector<std::string>{"Effectifs", "Pourcentage"}));
}

TEST_F(RequestDialogTest, StatisticsChoicesBecomeTheNumericDefaults) {
    auto first = NewDialog(T::kStatistiques, {"AGE"});
    TickLabelled(first->GetPageCalculs(0)->GetList(), "Somme", true);
    AppliquerChoixAuContexte(*ClickOk(*first), m_context);
    auto next = NewDialog(T::kStatistiques, {"REVENU"});
    EXPECT_EQ(Labels(next->GetPageCalculs(0)->GetList(), true),
              (std::vector<std::string>{"Moyenne", "Ecart-type", "Somme"}));
}

// ---- A table's definition edited --------------------------------------------------------------

TEST_F(RequestDialogTest, AnEditedRequestLosesWhatIsRemovedAndNeverGainsALine) {
    auto first = NewDialog(T::kTriCroise, {"SATISF", "REGION"});
    TickLabelled(first->GetPageLignes(0)->GetList(), "Ni satisfait ni insatisfait", false);
    TickLabelled(first->GetPageCalculs(0)->GetList(), "Profil colonne", true);
    std::unique_ptr<CTraitement> original = ClickOk(*first);
    ASSERT_NE(original, nullptr);
    // The question's own defaults still select every modality: the edited request does not.
    ASSERT_TRUE(Question("SATISF")->GetModaliteEtendue(2)->selected);

    auto edit = EditDialog(*original);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Labels(edit->GetPageCalculs(0)->GetList(), true),
              (std::vector<std::string>{"Effectifs", "Profil ligne", "Profil colonne"}));
    TickLabelled(edit->GetPageCalculs(0)->GetList(), "Profil ligne", false);
    std::unique_ptr<CTraitement> edited = ClickOk(*edit);
    ASSERT_NE(edited, nullptr);

    EXPECT_EQ(Codes(edited->GetCalculsLignes()), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(Codes(edited->GetModalitesAxe(T::kLignes)), Codes(original->GetModalitesAxe(T::kLignes)));
    EXPECT_EQ(Codes(edited->GetModalitesAxe(T::kColonnes)), Codes(original->GetModalitesAxe(T::kColonnes)));
    EXPECT_EQ(Codes(original->GetCalculsLignes()), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST_F(RequestDialogTest, EditingKeepsTheTypeLabelsLevelStudyFieldAndWeightingOfTheRequest) {
    auto first = NewDialog(T::kTauxImportanceCroise, {"SATISF", "REGION"});
    CModaliteListCtrl& rows = first->GetPageLignes(0)->GetList();
    SelectRows(rows, {0});
    rows.EditFirstSelected();
    TypeLabel(rows, "Ravis");
    first->GetPageGenerale()->TitleEdit().setText("Mon taux");
    std::unique_ptr<CTraitement> original = ClickOk(*first);
    ASSERT_NE(original, nullptr);
    ASSERT_EQ(original->GetModalitesAxe(T::kLignes).front()->label, "Ravis");
    original->studyFieldId = 3;
    original->studyFieldName = "Hommes";
    original->weightingId = 4;
    original->weightingName = "Redressement A";

    m_context.currentLevel = 1;
    auto edit = EditDialog(*original);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->windowTitle(), "Tri croisé");
    EXPECT_EQ(edit->GetPageGenerale()->TitleEdit().text(), "Mon taux");
    std::unique_ptr<CTraitement> edited = ClickOk(*edit);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->type, T::kTauxImportanceCroise);
    EXPECT_EQ(edited->title, "Mon taux");
    EXPECT_EQ(edited->level, 0);
    EXPECT_EQ(edited->studyFieldId, 3);
    EXPECT_EQ(edited->studyFieldName, "Hommes");
    EXPECT_EQ(edited->weightingId, 4);
    EXPECT_EQ(edited->weightingName, "Redressement A");
    EXPECT_EQ(edited->GetModalitesAxe(T::kLignes).front()->label, "Ravis");
}

TEST_F(RequestDialogTest, EveryDialogReopensItsRequestAndGivesItBackUnchanged) {
    const std::vector<std::pair<std::int16_t, std::vector<std::string>>> dialogs = {
        {T::kTriSimple, {"CSP"}},
        {T::kTriCroise, {"SATISF", "REGION"}},
        {T::kStatistiques, {"AGE"}},
        {T::kTableauMoyenne, {"SATISF", "REVENU"}},
        {T::kTriClassement, {"CLASSEMENT"}},
        {T::kTraitementMixte, {"SATISF"}},
    };
    for (const auto& [type, questions] : dialogs) {
        SCOPED_TRACE(type);
        auto first = NewDialog(type, questions);
        // Another order and another choice than the defaults, on every list of the dialog.
        for (int question = 0; question < 2; ++question)
            if (CPageQuestionsCalculsDlg* page = first->GetPageLignes(question)) {
                Tick(page->GetList(), 0, false);
                SelectRows(page->GetList(), {page->GetList().topLevelItemCount() - 1});
                page->GetList().MoveFirstSelected(-1);
                Tick(page->GetList(), page->GetList().topLevelItemCount() - 2, true);
            }
        if (CPageCalculsDlg* page = first->GetPageCalculs(0)) {
            Tick(page->GetList(), 2, true);
            SelectRows(page->GetList(), {2});
            page->GetList().MoveFirstSelected(-1);
        }
        std::unique_ptr<CTraitement> original = ClickOk(*first);
        ASSERT_NE(original, nullptr);
        auto edit = EditDialog(*original);
        ASSERT_NE(edit, nullptr);
        std::unique_ptr<CTraitement> again = ClickOk(*edit);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->type, original->type);
        EXPECT_EQ(again->title, original->title);
        for (int axis : {T::kLignes, T::kColonnes}) {
            EXPECT_EQ(again->GetTypeAxe(axis), original->GetTypeAxe(axis));
            EXPECT_EQ(again->GetQuestionAxe(axis), original->GetQuestionAxe(axis));
            EXPECT_EQ(Codes(again->GetModalitesAxe(axis)), Codes(original->GetModalitesAxe(axis)));
        }
        EXPECT_EQ(Codes(again->GetCalculsLignes()), Codes(original->GetCalculsLignes()));
        EXPECT_EQ(Computed(*again), Computed(*original));
    }
}

TEST_F(RequestDialogTest, ARequestThatNoLongerResolvesOpensNoDialog) {
    auto dialog = NewDialog(T::kTriCroise, {"SATISF", "REGION"});
    std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    request->SetQuestionAxe(nullptr, T::kColonnes);
    EXPECT_EQ(EditDialog(*request), nullptr);
}

// ---- The general page --------------------------------------------------------------------------

// Installs choosers for the test's life.
class ChoosersScope {
public:
    explicit ChoosersScope(CPageGeneraleDlg::Choosers choosers)
        : m_previous(CPageGeneraleDlg::InstallChoosers(std::move(choosers))) {}
    ~ChoosersScope() { CPageGeneraleDlg::InstallChoosers(std::move(m_previous)); }
    ChoosersScope(const ChoosersScope&) = delete;
    ChoosersScope& operator=(const ChoosersScope&) = delete;

private:
    CPageGeneraleDlg::Choosers m_previous;
};

TEST_F(RequestDialogTest, AStudyFieldOrWeightingChosenChangesTheRequestOnly) {
    CIdName offered;
    CPageGeneraleDlg::Choosers choosers;
    choosers.studyField = [&offered](QWidget*, CIdName& field) {
        offered = field;
        field = CIdName(3, "Hommes");
        return true;
    };
    choosers.weighting = [](QWidget*, CIdName& weighting) {
        weighting = CIdName(9, "Refusé");
        return false;
    };
    ChoosersScope scope(std::move(choosers));
    auto dialog = NewDialog(T::kTriSimple, {"SEXE"});
    CPageGeneraleDlg& page = *dialog->GetPageGenerale();
    EXPECT_FALSE(page.PresentationButton().isEnabled());
    QTest::mouseClick(&page.StudyFieldButton(), Qt::LeftButton);
    QTest::mouseClick(&page.WeightingButton(), Qt::LeftButton);
    EXPECT_EQ(offered.id, -1);
    EXPECT_EQ(offered.name, "Toutes les interviews");
    std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->studyFieldId, 3);
    EXPECT_EQ(request->studyFieldName, "Hommes");
    EXPECT_EQ(request->weightingId, -1);
    EXPECT_EQ(request->weightingName, "Aucun redressement");
    EXPECT_EQ(m_context.universeCode, -1);
    EXPECT_EQ(m_context.universeLabel, "Toutes les interviews");
}

TEST_F(RequestDialogTest, WithoutTheirDialogsTheChooserButtonsAreDisabled) {
    auto dialog = NewDialog(T::kTriCroise, {"SEXE", "REGION"});
    CPageGeneraleDlg& page = *dialog->GetPageGenerale();
    EXPECT_FALSE(page.PresentationButton().isEnabled());
    // The study field and the weighting have their own dialogs, "Champ d'étude" and "Redressement".
    EXPECT_TRUE(page.StudyFieldButton().isEnabled());
    EXPECT_TRUE(page.WeightingButton().isEnabled());
    ASSERT_NE(page.FusionButton(), nullptr);
    EXPECT_TRUE(page.FusionButton()->isEnabled());
}

TEST_F(RequestDialogTest, ANewRequestIsComputedOnTheContextsCurrentLevel) {
    m_context.currentLevel = 1;
    auto dialog = NewDialog(T::kTriSimple, {"LIEN"});
    std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->level, 1);
}

} // namespace
