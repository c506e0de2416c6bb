#include "app/ModaliteEtendue.h"
#include "ContextTestSupport.h"
#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "tools/qesbuild/DemoSurvey.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace context_test;
using survey_test::AddModality;
using survey_test::AddQuestion;
using survey_test::TemporaryFolder;

namespace {

constexpr std::int32_t kFrench = 1036;

class OpenedContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.Sub("clients.qes");
        WriteQuestionnaire(kClients, path);
        ASSERT_TRUE(test.Open(path, 3)) << test.context.GetLastError();
    }

    CQuestionEtendue& Question(const std::string& name) { return *test.context.TrouverQuestionParNom(name); }

    SettingsInMemory settings;
    TemporaryFolder folder;
    std::string path;
    TestContext test;
};

std::string Label(CContexteEtude& context, int i) {
    std::string text = "unchanged";
    context.DonnerLibelleInterview(i, text);
    return text;
}

} // namespace

// ---- Opening --------------------------------------------------------------------------------

TEST_F(OpenedContextTest, OpeningResetsTheStudyAndBuildsTheTotals) {
    CContexteEtude& context = test.context;
    EXPECT_TRUE(test.ui->shown.empty());
    EXPECT_EQ(context.DonnerNbreInterviews(), 3);
    EXPECT_EQ(context.universeCode, -1);
    EXPECT_EQ(context.universeLabel, "Toutes les interviews");
    EXPECT_EQ(context.weightingCode, -1);
    EXPECT_EQ(context.weightingLabel, "Aucun redressement");
    for (int side : {0, 1, 2}) {
        SCOPED_TRACE(side);
        const CModaliteEtendue* total = context.DonnerModaliteTotal(side);
        ASSERT_NE(total, nullptr);
        EXPECT_EQ(total->code, -4);
        EXPECT_TRUE(total->selected);
        EXPECT_EQ(total->displayOptions, (std::array<bool, 4>{true, false, false, false}));
        EXPECT_EQ(total->GetLocalisedShortCaption(kFrench), "Total");
    }
    EXPECT_NE(context.DonnerModaliteTotal(0), context.DonnerModaliteTotal(1));
    EXPECT_EQ(context.DonnerModaliteTotal(1), context.DonnerModaliteTotal(5));
}

TEST_F(OpenedContextTest, OpeningReadsTheOptionsFromTheSettings) {
    MemorySettingsStore& store = settings.Store();
    store.WriteInteger("Options", "CheckInversion", 0);
    store.WriteInteger("Options", "UseCompletedOnly", 1);
    store.WriteInteger("Options", "GroupSemiOpens", 1);
    store.WriteInteger("Options", "TotalType", 1);
    store.WriteInteger("Weighting", "MinWeight", 25);  // hundredths
    store.WriteInteger("Weighting", "MaxWeight", 350); // hundredths
    store.WriteInteger("Weighting", "IterationPerQuestion", 12);
    store.WriteInteger("Weighting", "Accuracy", 7);
    ASSERT_TRUE(test.Open(path, 3));
    const CContexteEtude& context = test.context;
    EXPECT_FALSE(context.CheckInversion);
    EXPECT_TRUE(context.UseCompletedOnly);
    EXPECT_TRUE(context.GroupSemiOpens);
    EXPECT_EQ(context.TotalType, 1);
    EXPECT_DOUBLE_EQ(context.MinWeight, 0.25);
    EXPECT_DOUBLE_EQ(context.MaxWeight, 3.5);
    EXPECT_EQ(context.IterationPerQuestion, 12);
    EXPECT_EQ(context.Accuracy, 7);

    // Out of bounds: the defaults, silently.
    store.WriteInteger("Weighting", "Accuracy", 99);
    store.WriteInteger("Options", "TotalType", 4);
    ASSERT_TRUE(test.Open(path, 3));
    EXPECT_EQ(context.Accuracy, 10);
    EXPECT_EQ(context.TotalType, 0);
}

TEST_F(OpenedContextTest, ChosenStudyFieldAndLabelsDoNotSurviveAnotherOpening) {
    CContexteEtude& context = test.context;
    context.universeCode = 4;
    context.universeLabel = "Jeunes";
    context.weightingCode = 2;
    context.SetLabelQuestion(&Question("NOM"));
    context.deletedQuestions.push_back(std::make_unique<CQuestionEtendue>(&context));
    ASSERT_TRUE(test.Open(path, 3));
    EXPECT_EQ(context.universeCode, -1);
    EXPECT_EQ(context.universeLabel, "Toutes les interviews");
    EXPECT_EQ(context.weightingCode, -1);
    EXPECT_EQ(context.GetLabelQuestion(), nullptr);
    EXPECT_TRUE(context.deletedQuestions.empty());
}

TEST(ContextLifecycle, ClosingOrOpeningAnotherEmptiesTheSurvey) {
    SettingsInMemory settings;
    TemporaryFolder folder;
    const std::string clients = folder.Sub("clients.qes");
    const std::string ventes = folder.Sub("ventes.qes");
    WriteQuestionnaire(kClients, clients);
    WriteQuestionnaire(kVentes, ventes);

    struct ShellContext : CContexteEtude {
        int documentsClosed = 0;
        void FermerDocuments() override { ++documentsClosed; }
    } context;
    ASSERT_TRUE(OpenContext(context, clients, 3));
    ASSERT_TRUE(OpenContext(context, ventes, 1));
    EXPECT_EQ(context.TrouverQuestionParNom("SEXE"), nullptr);
    EXPECT_EQ(context.TrouverQuestionParNom("NOM"), nullptr);
    ASSERT_NE(context.TrouverQuestionParNom("REGION"), nullptr);
    EXPECT_EQ(context.DonnerNbreInterviews(), 1);

    std::string label;
    ASSERT_TRUE(context.DonnerLibelleInterview(0, label));
    context.FermerEtude();
    EXPECT_EQ(context.documentsClosed, 1);
    EXPECT_EQ(context.DonnerNbreQuestions(), 0);
    EXPECT_EQ(context.DonnerNbreNiveaux(), 0);
    EXPECT_EQ(context.GetClosedAnswerCache(), nullptr);
    EXPECT_FALSE(context.DonnerLibelleInterview(0, label));
}

TEST(ContextLifecycle, GetContexteAnswersTheRegisteredContext) {
    EXPECT_EQ(GetContexte(), nullptr);
    {
        CContexteEtude context;
        CContexteEtude::RegisterContext(&context);
        EXPECT_EQ(GetContexte(), &context);
    }
    // A destroyed context is never answered.
    EXPECT_EQ(GetContexte(), nullptr);
}

TEST(ContextLifecycle, WithoutAUserInterfaceNothingIsShownAndNothingIsAgreed) {
    CContexteEtude context;
    EXPECT_FALSE(context.GetUserInterface().AskYesNo(Message(63442)));
    context.SetUserInterface(nullptr);
    EXPECT_TRUE(context.GetUserInterface().ReportProgress(1));
    context.questionnairePath = "/nonexistent/folder/none.qes";
    EXPECT_FALSE(context.OuvrirEtude());
}

// ---- Paths ----------------------------------------------------------------------------------

TEST(ContextPaths, EveryPathFollowsTheQuestionnaire) {
    CContexteEtude context;
    EXPECT_EQ(context.DonnerRepertoireInversion(), "");
    EXPECT_FALSE(context.CreerRepertoireInversion());
    context.questionnairePath = "/data/études/demo.qes";
    EXPECT_EQ(context.DonnerCheminBase(), "/data/études/demo.qes");
    EXPECT_EQ(context.DonnerCheminDonnees(), "/data/études/demo.qes");
    EXPECT_EQ(context.DonnerChemin(), "/data/études/demo.qes");
    EXPECT_EQ(context.DonnerRepertoireInversion(), "/data/études/demo.dat");
    context.questionnairePath = "/data/v1.2/enquete";
    EXPECT_EQ(context.DonnerRepertoireInversion(), "/data/v1.2/enquete.dat");
}

TEST(ContextPaths, LibraryPathIsReadFromVeltoIniUntilFound) {
    TemporaryFolder folder;
    CContexteEtude context;
    context.SetConfigurationFolder(folder.Path());
    const std::string ini = folder.Sub("Velto.ini");

    EXPECT_EQ(context.DonnerCheminBibliotheque(), ""); // no file yet: read again next time
    std::ofstream(ini) << "; written by hand\r\n[Autre]\r\nChemin=/faux\r\n[bibliotheque]\r\n  chemin = "
                          "\"/srv/bib/Velto.mdb\" \r\n";
    EXPECT_EQ(context.DonnerCheminBibliotheque(), "/srv/bib/Velto.mdb");

    std::ofstream(ini) << "[Bibliotheque]\nChemin=/ailleurs.mdb\n";
    EXPECT_EQ(context.DonnerCheminBibliotheque(), "/srv/bib/Velto.mdb"); // found once, kept
}

TEST(ContextPaths, ConfigurationFolderFollowsTheEnvironment) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved != nullptr ? saved : "";
    CContexteEtude context;
    ::setenv("XDG_CONFIG_HOME", "/tmp/config-de-test", 1);
    EXPECT_EQ(context.DonnerDossierConfiguration(), "/tmp/config-de-test/Morvane");
    ::setenv("XDG_CONFIG_HOME", "relatif", 1); // not absolute: ignored
    const char* home = std::getenv("HOME");
    if (home != nullptr) {
        EXPECT_EQ(context.DonnerDossierConfiguration(),
                  (std::filesystem::path(home) / ".config" / "Morvane").string());
    }
    context.SetConfigurationFolder("/ici");
    EXPECT_EQ(context.DonnerDossierConfiguration(), "/ici");
    if (saved != nullptr)
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

// ---- Names and codes ------------------------------------------------------------------------

TEST(ContextNames, ExistingNames) {
    CContexteEtude context;
    CQuestionEtendue& sexe = AddQuestion(context, 1, "SEXE");
    AddQuestion(context, 2, "Sexe");
    EXPECT_TRUE(context.ExisteQuestion("SEXE"));
    EXPECT_FALSE(context.ExisteQuestion("sexe")); // byte comparison
    EXPECT_FALSE(context.ExisteAutreQuestion("SEXE", &sexe));
    EXPECT_TRUE(context.ExisteAutreQuestion("Sexe", &sexe));
    EXPECT_EQ(context.NouveauCodeQuestion(), 1);
    EXPECT_EQ(context.NouveauCodeQuestion(), 2);
}

TEST(ContextNames, RecodedQuestionNames) {
    CContexteEtude context;
    AddQuestion(context, 5, "AGE5");                                // closed, no loop keys
    AddQuestion(context, 5, "Classes", 2).recodeId = 3;             // the recode 3 of question 5
    CQuestionEtendue& member = AddQuestion(context, 8, "MEMBRE 1"); // closed, in a loop
    member.AjouterValeur(1);
    AddQuestion(context, 8, "MEMBRE 1 Groupes", 2).recodeId = 4;
    AddQuestion(context, 9, "Autre").type = 5; // numeric: not a source

    struct Case {
        const char* name;
        std::int32_t code;
        std::int32_t recode;
        bool used;
    };
    const Case cases[] = {
        {"Classes", 5, 3, false},                           // its own name
        {"Classes", 5, 7, true},                            // another recode of the same question
        {"Classes", 5, 0, true},                            // recode 0: any question bearing it
        {"AGE5", 5, 0, true},                               // the source question's own name
        {"Nouveau", 5, 0, false},                           // nobody bears it
        {"Groupes", 8, 4, false},                           // loop keys: "MEMBRE 1 Groupes" is its own
        {"Groupes", 8, 6, true},  {"Groupes", 5, 3, false}, // "Groupes" alone is free
        {"Classes", 9, 0, false},                           // no closed source of code 9
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.code) + " " + std::to_string(c.recode));
        EXPECT_EQ(context.EstNomUtilise(c.name, c.code, c.recode), c.used);
    }
}

TEST(ContextNames, ParentQuestionHasTheSameCode) {
    CContexteEtude context;
    CQuestionEtendue& loop = AddQuestion(context, 8, "MEMBRES", 1, 2);
    CQuestionEtendue& first = AddQuestion(context, 8, "MEMBRE 1", 2);
    CQuestionEtendue& age = AddQuestion(context, 9, "AGE 1", 3);
    CQuestionEtendue& other = AddQuestion(context, 10, "AUTRE", 2);
    CQuestionEtendue stranger(&context);
    EXPECT_EQ(context.DonnerQuestionParente(&first), &loop);
    EXPECT_EQ(context.DonnerQuestionParente(&age), nullptr); // parent of another code
    EXPECT_EQ(context.DonnerQuestionParente(&other), nullptr);
    EXPECT_EQ(context.DonnerQuestionParente(&loop), nullptr);
    EXPECT_EQ(context.DonnerQuestionParente(&stranger), nullptr);
    EXPECT_EQ(context.DonnerQuestionParente(nullptr), nullptr);
}

// ---- Interview labels -----------------------------------------------------------------------

TEST_F(OpenedContextTest, NumberedLabelsWithoutALabelQuestion) {
    CContexteEtude& context = test.context;
    EXPECT_EQ(Label(context, 0), "Intvw 1");
    EXPECT_EQ(Label(context, 2), "Intvw 3");
    std::string text = "unchanged";
    EXPECT_FALSE(context.DonnerLibelleInterview(3, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(context.DonnerLibelleInterview(-1, text));
}

// The answers of the label question are read by a subclass here, as the data access will.
struct LabelledContext : CContexteEtude {
    std::vector<std::string> answers;
    bool readFails = false;
    int reads = 0;

protected:
    bool ReadLabelAnswers(const CQuestionEtendue&, std::vector<std::string>& labels) override {
        ++reads;
        labels = answers;
        return !readFails;
    }
};

TEST(ContextLabels, LabelQuestionAskedOncePerInterviewLabelsThem) {
    SettingsInMemory settings;
    TemporaryFolder folder;
    const std::string path = folder.Sub("clients.qes");
    WriteQuestionnaire(kClients, path);
    LabelledContext context;
    ASSERT_TRUE(OpenContext(context, path, 3));
    CQuestionEtendue& nom = *context.TrouverQuestionParNom("NOM");

    context.answers = {"Alice", "Bruno"}; // one short: the third is numbered
    context.SetLabelQuestion(&nom);
    EXPECT_EQ(Label(context, 0), "Alice");
    EXPECT_EQ(Label(context, 1), "Bruno");
    EXPECT_EQ(Label(context, 2), "Intvw 3");
    EXPECT_EQ(context.reads, 1);
    EXPECT_EQ(Label(context, 1), "Bruno");
    EXPECT_EQ(context.reads, 1); // ready: not read again

    context.answers = {"Anne", "Bernard", "Claire"};
    context.RechargerLibellesInterviews();
    EXPECT_EQ(Label(context, 2), "Claire");

    context.readFails = true; // a failed read: numbered, no message
    context.RechargerLibellesInterviews();
    EXPECT_EQ(Label(context, 0), "Intvw 1");

    context.readFails = false;
    nom.answerCount = 2; // more than one answer per interview: not a label question
    context.RechargerLibellesInterviews();
    EXPECT_EQ(Label(context, 0), "Intvw 1");
    nom.answerCount = 1;
    nom.level = 1; // asked in a loop
    context.RechargerLibellesInterviews();
    EXPECT_EQ(Label(context, 0), "Intvw 1");
}

// ---- Calculation lists ----------------------------------------------------------------------

namespace {

struct Entry {
    std::int32_t code;
    std::string label;
    bool selected;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{" << e.code << ", " << e.label << ", " << e.selected << "}";
}

std::vector<Entry> Entries(const std::vector<std::unique_ptr<CCalcul>>& calculations) {
    std::vector<Entry> entries;
    for (const auto& c : calculations)
        entries.push_back({c->code, c->label, c->kept != 0});
    return entries;
}

template <class Give> std::vector<Entry> Given(CContexteEtude& context, Give give) {
    std::vector<std::unique_ptr<CCalcul>> out;
    (context.*give)(out);
    return Entries(out);
}

std::vector<std::unique_ptr<CCalcul>> Chosen(std::initializer_list<std::int32_t> codes) {
    std::vector<std::unique_ptr<CCalcul>> chosen;
    for (std::int32_t code : codes)
        chosen.push_back(std::make_unique<CCalcul>(code, "ignored", true));
    return chosen;
}

} // namespace

TEST(ContextCalculations, DefaultLists) {
    CContexteEtude context;
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsQualitatifs),
              (std::vector<Entry>{{0, "Effectifs", true},
                                  {1, "Pourcentage", true},
                                  {2, "Pourcentages cumulés", false},
                                  {4, "Taux d'importance", false},
                                  {3, "Fréquence répondant", false},
                                  {5, "Fréquence interviewé", false},
                                  {6, "Intervalle (-)", false},
                                  {7, "Intervalle (+)", false}}));
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsEvolues),
              (std::vector<Entry>{{0, "Effectifs", true},
                                  {1, "Pourcentage", true},
                                  {8, "Coefficient de pondération", true},
                                  {4, "Taux d'importance", false},
                                  {9, "Total", true}}));
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsCroises),
              (std::vector<Entry>{{0, "Effectifs", true},
                                  {1, "Profil ligne", true},
                                  {2, "Profil colonne", false},
                                  {3, "Fréquence totale", false},
                                  {4, "Significativité", false},
                                  {6, "Valeur test", false},
                                  {7, "Indice d'affinité", false}}));
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsNumeriques),
              (std::vector<Entry>{{0, "Moyenne", true},
                                  {1, "Ecart-type", true},
                                  {2, "Nbre de réponses", false},
                                  {3, "Nbre de 'Non-réponses'", false},
                                  {4, "Somme", false},
                                  {5, "Minimum", false},
                                  {6, "Maximum", false},
                                  {7, "IC sur moyenne(-)", false},
                                  {8, "IC sur moyenne (+)", false},
                                  {9, "Variance", false},
                                  {10, "Médiane", false},
                                  {11, "Coefficient d'aplatissement", false},
                                  {12, "Coefficient d'asymétrie", false},
                                  {13, "Indice de Gini", false}}));
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsMoyennes),
              (std::vector<Entry>{{0, "Moyenne", true},
                                  {1, "Ecart-type", true},
                                  {2, "Nbre de réponses", false},
                                  {3, "Nbre de 'Non-réponses'", false},
                                  {4, "Somme", false},
                                  {5, "Minimum", false},
                                  {6, "Maximum", false},
                                  {7, "IC sur moyenne(-)", false},
                                  {8, "IC sur moyenne (+)", false},
                                  {9, "Variance", false},
                                  {10, "Significativité", false}}));
}

TEST(ContextCalculations, GivenListsAreTheCallersAndAppended) {
    CContexteEtude context;
    std::vector<std::unique_ptr<CCalcul>> out;
    out.push_back(std::make_unique<CCalcul>(42, "déjà là", false));
    context.DonnerCalculsCroises(out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0]->code, 42);
    out[1]->label = "changé";
    out[1]->kept = 0;
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsCroises).front(), (Entry{0, "Effectifs", true}));
}

TEST(ContextCalculations, AppliedChoicesBecomeTheDefaultsForTheWholeRun) {
    SettingsInMemory settings;
    TemporaryFolder folder;
    const std::string path = folder.Sub("clients.qes");
    WriteQuestionnaire(kClients, path);
    TestContext test;
    CContexteEtude& context = test.context;

    auto chosen = Chosen({9, 2, 0, 77});
    chosen[1]->bold = 1;
    chosen[1]->shadow = 3;
    context.AppliquerCalculsQualitatifs(chosen); // builds the list first
    ASSERT_TRUE(test.Open(path, 3));             // choices outlive an opening

    std::vector<std::unique_ptr<CCalcul>> out;
    context.DonnerCalculsQualitatifs(out);
    EXPECT_EQ(Entries(out)[0], (Entry{0, "Effectifs", true}));
    EXPECT_EQ(Entries(out)[1], (Entry{1, "Pourcentage", false}));
    EXPECT_EQ(Entries(out)[2], (Entry{2, "Pourcentages cumulés", true}));
    EXPECT_EQ(out[2]->bold, 1);
    EXPECT_EQ(out[2]->shadow, 3);
    EXPECT_EQ(out[2]->italic, 0);
    EXPECT_EQ(Given(context, &CContexteEtude::DonnerCalculsEvolues),
              (std::vector<Entry>{{0, "Effectifs", true},
                                  {1, "Pourcentage", false},
                                  {8, "Coefficient de pondération", false},
                                  {4, "Taux d'importance", false},
                                  {9, "Total", true}}));

    struct Apply {
        void (CContexteEtude::*apply)(const std::vector<std::unique_ptr<CCalcul>>&);
        void (CContexteEtude::*give)(std::vector<std::unique_ptr<CCalcul>>&);
    };
    for (const Apply& a :
         {Apply{&CContexteEtude::AppliquerCalculsCroises, &CContexteEtude::DonnerCalculsCroises},
          Apply{&CContexteEtude::AppliquerCalculsNumeriques, &CContexteEtude::DonnerCalculsNumeriques},
          Apply{&CContexteEtude::AppliquerCalculsMoyennes, &CContexteEtude::DonnerCalculsMoyennes}}) {
        (context.*a.apply)(Chosen({3}));
        std::vector<Entry> entries = Given(context, a.give);
        for (const Entry& e : entries)
            EXPECT_EQ(e.selected, e.code == 3) << e;
    }
}

// ---- Totals and modality selections ---------------------------------------------------------

namespace {

std::unique_ptr<CLigne> Line(std::int32_t code) {
    auto line = std::make_unique<CLigne>();
    line->code = code;
    return line;
}

} // namespace

TEST_F(OpenedContextTest, SelectionOfAQuestionsModalities) {
    CContexteEtude& context = test.context;
    CQuestionEtendue& sexe = Question("SEXE");
    ASSERT_EQ(sexe.GetNbreModalite(), 3); // 1, 2 and -2
    std::vector<std::unique_ptr<CLigne>> selection;
    selection.push_back(Line(1));
    selection.back()->italic = 5; // any non-zero sets the option
    selection.back()->underline = 1;

    context.AppliquerSelectionModalites(&sexe, selection, 1);
    EXPECT_TRUE(sexe.GetModaliteEtendue(0)->selected);
    EXPECT_EQ(sexe.GetModaliteEtendue(0)->displayOptions, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_FALSE(sexe.GetModaliteEtendue(1)->selected);
    EXPECT_FALSE(sexe.GetModaliteEtendue(2)->selected);
    // Without -4 the column Total is left as it was, the row Total is hidden.
    EXPECT_TRUE(context.DonnerModaliteTotal(1)->selected);
    EXPECT_TRUE(context.DonnerModaliteTotal(1)->displayOptions[0]);
    EXPECT_TRUE(context.DonnerModaliteTotal(0)->selected);
    context.AppliquerSelectionModalites(&sexe, selection, 0);
    EXPECT_FALSE(context.DonnerModaliteTotal(0)->selected);
    EXPECT_TRUE(context.DonnerModaliteTotal(1)->selected);

    // A Total line goes to its side's Total only.
    selection.push_back(Line(-4));
    selection.back()->shadow = 1;
    context.AppliquerSelectionModalites(&sexe, selection, 1);
    EXPECT_TRUE(context.DonnerModaliteTotal(1)->selected);
    EXPECT_EQ(context.DonnerModaliteTotal(1)->displayOptions,
              (std::array<bool, 4>{false, false, false, true}));
    EXPECT_FALSE(context.DonnerModaliteTotal(0)->selected);
    context.AppliquerSelectionModalites(&sexe, selection, 0);
    EXPECT_TRUE(context.DonnerModaliteTotal(0)->selected);
}

TEST_F(OpenedContextTest, SelectionOfAQuestionOutsideTheSurveyChangesNothing) {
    CContexteEtude& context = test.context;
    CQuestionEtendue stranger(&context);
    AddModality(stranger, 1);
    std::vector<std::unique_ptr<CLigne>> selection;
    selection.push_back(Line(2));
    context.AppliquerSelectionModalites(&stranger, selection, 0);
    context.AppliquerSelectionModalites(nullptr, selection, 0);
    EXPECT_TRUE(stranger.GetModaliteEtendue(0)->selected);
    EXPECT_TRUE(context.DonnerModaliteTotal(0)->selected);
}

TEST(ContextTotals, NoTotalsBeforeTheFirstOpening) {
    CContexteEtude context;
    EXPECT_EQ(context.DonnerModaliteTotal(0), nullptr);
    EXPECT_EQ(context.DonnerModaliteTotal(1), nullptr);
    AddModality(AddQuestion(context, 1, "Q"), 1);
    std::vector<std::unique_ptr<CLigne>> selection;
    selection.push_back(Line(-4));
    context.AppliquerSelectionModalites(context.DonnerQuestion(0), selection, 0); // no crash
    EXPECT_FALSE(context.DonnerQuestion(0)->GetModaliteEtendue(0)->selected);
}

// ---- The demo questionnaire's tree ----------------------------------------------------------

namespace {

std::string DumpTree(const CContexteEtude& context) {
    std::ostringstream out;
    out << "levels " << context.DonnerNbreNiveaux() << "\n";
    for (int i = 0; i < context.DonnerNbreNiveaux(); ++i) {
        const CQuestionNiveau& level = *context.DonnerNiveau(i);
        out << "level " << i << " code=" << level.code << " depth=" << level.depth << " " << level.name
            << "\n";
    }
    out << "questions " << context.DonnerNbreQuestions() << "\n";
    for (int i = 0; i < context.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue& q = *context.DonnerQuestion(i);
        out << i << std::string(static_cast<std::size_t>(std::max<int>(q.depth, 0)) * 2, ' ')
            << "depth=" << q.depth << " code=" << q.code << " " << q.name << " kind=" << q.kind
            << " type=" << q.type << " level=" << q.level << " answers=" << q.answerCount << " modalities=";
        for (int m = 0; m < q.GetNbreModalite(); ++m)
            out << (m == 0 ? "" : ",") << q.GetCodeModalite(m);
        out << "\n";
    }
    return out.str();
}

} // namespace

TEST(ContextDemo, QuestionTreeMatchesTheGoldenFile) {
    SettingsInMemory settings;
    TemporaryFolder folder;
    qesbuild::DemoSurvey::Write(folder.Path());
    TestContext test;
    ASSERT_TRUE(test.Open(folder.Sub("demo.qes"), qesbuild::DemoSurvey::kInterviews))
        << test.context.GetLastError();
    const std::string dump = DumpTree(test.context);

    const std::string golden = std::string(MORVANE_SOURCE_DIR) + "/tests/golden/demo-tree.txt";
    const char* update = std::getenv("MORVANE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(golden, std::ios::binary) << dump;
        GTEST_SKIP() << "golden file rewritten: " << golden;
    }
    const std::string expected = FileBytes(golden);
    ASSERT_FALSE(expected.empty()) << "missing " << golden << " (run with MORVANE_UPDATE_GOLDEN=1)";
    EXPECT_EQ(dump, expected);
}

// ---- Answers read through the data access ---------------------------------------------------

TEST_F(OpenedContextTest, TheLabelQuestionsAnswersLabelTheInterviews) {
    test.context.SetLabelQuestion(&Question("NOM"));
    EXPECT_EQ(Label(test.context, 0), "Alice");
    EXPECT_EQ(Label(test.context, 2), "Chloé");
}

TEST_F(OpenedContextTest, ModalityCountsGoIntoTheModalities) {
    CQuestionEtendue& sexe = Question("SEXE");
    ASSERT_TRUE(test.context.CompterEffectifsModalites(sexe));
    std::vector<std::int32_t> counts;
    for (int i = 0; i < sexe.GetNbreModalite(); ++i)
        counts.push_back(dynamic_cast<CModaliteEtendue&>(*sexe.GetModalite(i)).extraWord);
    EXPECT_EQ(counts, (std::vector<std::int32_t>{2, 1, 0})); // Homme, Femme, non interrogé
    EXPECT_TRUE(sexe.modalitiesLoaded);
}
