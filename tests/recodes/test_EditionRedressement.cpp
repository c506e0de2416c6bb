// A weighting scheme as the weighting dialog builds it: its tree of targets, the interviews counted
// under each target, the checks before it is stored, its definition text in the questionnaire
// and in the library, on six interviews counted by hand.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Bibliotheque.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "platform/db/Database.h"
#include "recodes/EditionRedressement.h"
#include "recodes/EnregistrerRecodages.h"
#include "recodes/ObjectifRedressement.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

// Six interviews. SEXE: H H H F F F. AGE3: J M V J M M, so within H one of each, within F J 1,
// M 2, V 0. VIDE: nobody answers S. POIDS all 1; NEG has a negative value; MISS one unanswered.
constexpr const char* kSixInterviews = R"(
questionnaire "Calage" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE3 closed
  modality 1 fr "Jeune"
  modality 2 fr "Moyen"
  modality 3 fr "Vieux"
question 3 POIDS numeric
question 4 NEG numeric
question 5 VIDE closed
  modality 1 fr "P"
  modality 2 fr "R"
  modality 3 fr "S"
question 6 MISS numeric
records
Cle1,1;1,2;1,3;1,4;1,5;1,6;1
1,1,1,1,1,1,1
2,1,2,1,1,1,
3,1,3,1,-1,2,1
4,2,1,1,1,1,1
5,2,2,1,1,2,1
6,2,2,1,1,1,1
end
)";

// The same questions under other names, as another questionnaire has them.
constexpr const char* kOtherSurvey = R"(
questionnaire "Autre" language=fr
language 1036 fr "Français"
question 7 GENRE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 8 AGE3 closed
  modality 1 fr "Jeune"
  modality 2 fr "Moyen"
  modality 3 fr "Vieux"
records
Cle1,7;1,8;1
1,1,1
2,2,2
end
)";

class WeightingEditTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        EnregistrerRecodages();
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-calage-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        Open(context, kSixInterviews, "calage");
        context.libraryPath = folder + "/bibliotheque.bib";
        db::Database created(context.libraryPath, db::Database::Access::ReadWrite,
                             db::Database::Creation::CreateIfMissing);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        SettingsFixture::TearDown();
    }

    void Open(CContexteEtude& survey, const char* description, const std::string& name) {
        survey.questionnairePath = folder + "/" + name + ".qes";
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(description, name + ".txt", folder);
        qesbuild::WriteFixture(fixture, survey.questionnairePath);
        auto recorder = std::make_unique<RecordingUserInterface>();
        if (&survey == &context)
            ui = recorder.get();
        survey.SetUserInterface(std::move(recorder));
        ASSERT_TRUE(survey.OuvrirEtude()) << survey.GetLastError();
    }

    CQuestionEtendue& Q(const std::string& name) const { return *context.TrouverQuestionParNom(name); }

    static void Desire(CObjectifRedressement& target, const std::vector<double>& values) {
        for (std::size_t k = 0; k < values.size(); ++k)
            target.SetObjectif(static_cast<int>(k), values[k]);
    }

    // SEXE 2.5 / 3.5 and AGE3 2 / 2 / 2 over the six interviews, plain targets side by side.
    CRedressement TwoQuestions() {
        CRedressement scheme;
        scheme.name = "Sexe et âge";
        scheme.NTotal = 6;
        scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
        auto sexe = NouvelObjectif(Q("SEXE"), false);
        Desire(*sexe, {2.5, 3.5});
        auto age = NouvelObjectif(Q("AGE3"), false);
        Desire(*age, {2, 2, 2});
        scheme.GetRacine()->AjouterObjectif(std::move(sexe));
        scheme.GetRacine()->AjouterObjectif(std::move(age));
        return scheme;
    }

    static std::vector<double> Observed(const CObjectifRedressement& target) {
        std::vector<double> values;
        for (int k = 0; k < target.DonnerNombreModalites(); ++k)
            values.push_back(target.DonnerValeurObservee(k));
        return values;
    }
    static std::vector<double> Desired(const CObjectifRedressement& target) {
        std::vector<double> values;
        for (int k = 0; k < target.DonnerNombreModalites(); ++k)
            values.push_back(target.DonnerValeurDesiree(k));
        return values;
    }

    std::string folder;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
};

using Values = std::vector<double>;

// ---- The tree and its counts ---------------------------------------------------------------

TEST_F(WeightingEditTest, ANewTargetStartsFromTheCountsOfItsModalities) {
    auto split = NouvelObjectif(Q("AGE3"), true);
    EXPECT_EQ(split->GetMode(), CObjectifRedressement::kModeEclate);
    EXPECT_EQ(Observed(*split), (Values{2, 3, 1}));
    EXPECT_EQ(Desired(*split), (Values{2, 3, 1}));
    EXPECT_EQ(split->DonnerTotalDesire(), 6.0);
    // One population node per modality, the "non interrogé" modality taking none.
    ASSERT_EQ(split->DonnerNombreObjectifs(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(split->DonnerObjectif(k)->GetMode(), CObjectifRedressement::kModePopulation);
        EXPECT_TRUE(EstNoeudModalite(*split->DonnerObjectif(k), split.get()));
    }
    auto plain = NouvelObjectif(Q("SEXE"), false);
    EXPECT_EQ(plain->GetMode(), CObjectifRedressement::kModeSimple);
    EXPECT_EQ(plain->DonnerNombreObjectifs(), 0);
    EXPECT_FALSE(EstNoeudModalite(*plain, split.get()));
}

TEST_F(WeightingEditTest, TargetsUnderAModalityCountTheInterviewsOfThatModalityOnly) {
    CObjectifRedressement root;
    auto sexe = NouvelObjectif(Q("SEXE"), true);
    sexe->DonnerObjectif(0)->AjouterObjectif(NouvelObjectif(Q("AGE3"), false));
    sexe->DonnerObjectif(1)->AjouterObjectif(NouvelObjectif(Q("AGE3"), false));
    root.AjouterObjectif(std::move(sexe));
    root.AjouterObjectif(NouvelObjectif(Q("VIDE"), false));
    std::string error;
    ASSERT_TRUE(RecompterObservees(root, context, error)) << error;
    const CObjectifRedressement& split = *root.DonnerObjectif(0);
    EXPECT_EQ(Observed(split), (Values{3, 3}));
    EXPECT_EQ(Observed(*split.DonnerObjectif(0)->DonnerObjectif(0)), (Values{1, 1, 1}));
    EXPECT_EQ(Observed(*split.DonnerObjectif(1)->DonnerObjectif(0)), (Values{1, 2, 0}));
    EXPECT_EQ(Observed(*root.DonnerObjectif(1)), (Values{4, 2, 0}));
}

TEST_F(WeightingEditTest, ATargetAddedUnderAModalityWantsWhatThatModalityAnswers) {
    CObjectifRedressement root;
    std::string error;
    CObjectifRedressement* sexe = AjouterObjectifArbre(root, root, Q("SEXE"), true, context, error);
    ASSERT_NE(sexe, nullptr) << error;
    CObjectifRedressement* women = sexe->DonnerObjectif(1);
    CObjectifRedressement* age = AjouterObjectifArbre(root, *women, Q("AGE3"), false, context, error);
    ASSERT_NE(age, nullptr) << error;
    EXPECT_EQ(women->DonnerObjectif(0), age);
    EXPECT_EQ(Observed(*age), (Values{1, 2, 0}));
    EXPECT_EQ(Desired(*age), (Values{1, 2, 0}));
    EXPECT_EQ(Desired(*sexe), (Values{3, 3}));
}

// ---- Checks before storing -----------------------------------------------------------------

struct RefusalCase {
    const char* what;
    double total;
    const char* initialWeight; // "" for none
    Values sexe;               // desired values of the plain target on SEXE
    Values vide;               // of a plain target on VIDE; empty for none
    int expectedId;            // -1: accepted
    std::vector<std::string> arguments;
};

class WeightingRefusalTest : public WeightingEditTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(WeightingRefusalTest, TheSchemeIsCheckedBeforeItIsStored) {
    const RefusalCase& c = GetParam();
    CRedressement scheme;
    scheme.NTotal = c.total;
    scheme.initialWeightQuestion = *c.initialWeight != '\0' ? &Q(c.initialWeight) : nullptr;
    scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
    auto sexe = NouvelObjectif(Q("SEXE"), false);
    Desire(*sexe, c.sexe);
    scheme.GetRacine()->AjouterObjectif(std::move(sexe));
    if (!c.vide.empty()) {
        auto vide = NouvelObjectif(Q("VIDE"), false);
        Desire(*vide, c.vide);
        scheme.GetRacine()->AjouterObjectif(std::move(vide));
    }
    const std::optional<Message> refused = VerifierRedressement(scheme, context);
    if (c.expectedId < 0) {
        EXPECT_FALSE(refused.has_value()) << c.what << ": " << StringTable::Format(*refused);
        return;
    }
    ASSERT_TRUE(refused.has_value()) << c.what;
    EXPECT_EQ(*refused, Message(c.expectedId, c.arguments)) << c.what << ": " << StringTable::Format(*refused);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WeightingRefusalTest,
    ::testing::Values(
        RefusalCase{"accepted", 6, "", {2.5, 3.5}, {3, 3, 0}, -1, {}},
        RefusalCase{"accepted with initial weights", 6, "POIDS", {3, 3}, {}, -1, {}},
        RefusalCase{"total 0", 0, "", {3, 3}, {}, StringTable::kEntrerNombrePositif, {}},
        RefusalCase{"negative total", -6, "", {3, 3}, {}, StringTable::kEntrerNombrePositif, {}},
        RefusalCase{"desired values short of the total", 6, "", {2, 3}, {}, StringTable::kObjectifsMalTotalises,
                    {"SEXE", "5", "6"}},
        RefusalCase{"desired values over the total", 10, "", {3, 3}, {}, StringTable::kObjectifsMalTotalises,
                    {"SEXE", "6", "10"}},
        RefusalCase{"a modality nobody answers is wanted", 6, "", {3, 3}, {3, 2, 1},
                    StringTable::kRedressementNeConvergePas, {"VIDE"}},
        RefusalCase{"negative initial weight", 6, "NEG", {3, 3}, {}, StringTable::kPoidsInitialInvalide, {"NEG"}},
        RefusalCase{"missing initial weight", 6, "MISS", {3, 3}, {}, StringTable::kPoidsInitialInvalide,
                    {"MISS"}}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) { return "Case" + std::to_string(param.index); });

// Under a split question, the targets of a modality add up to the desired value of that modality.
TEST_F(WeightingEditTest, TargetsUnderAModalityAddUpToThatModalitysDesiredValue) {
    CRedressement scheme;
    scheme.NTotal = 10;
    scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
    auto sexe = NouvelObjectif(Q("SEXE"), true);
    Desire(*sexe, {4, 6});
    auto young = NouvelObjectif(Q("AGE3"), false);
    Desire(*young, {1, 2, 1});
    sexe->DonnerObjectif(0)->AjouterObjectif(std::move(young));
    auto old = NouvelObjectif(Q("AGE3"), false);
    Desire(*old, {3, 3, 1}); // 7 where Femme wants 6
    CObjectifRedressement* oldTarget = old.get();
    sexe->DonnerObjectif(1)->AjouterObjectif(std::move(old));
    scheme.GetRacine()->AjouterObjectif(std::move(sexe));
    EXPECT_EQ(VerifierRedressement(scheme, context), Message(StringTable::kObjectifsMalTotalises, {"AGE3", "7", "6"}));
    // Nobody of the women is old: wanting some cannot be reached.
    Desire(*oldTarget, {3, 2, 1});
    EXPECT_EQ(VerifierRedressement(scheme, context), Message(StringTable::kRedressementNeConvergePas, {"AGE3"}));
    Desire(*oldTarget, {3, 3, 0});
    EXPECT_EQ(VerifierRedressement(scheme, context), std::nullopt);
}

// ---- The definition text ---------------------------------------------------------------------

TEST_F(WeightingEditTest, TheStoredTextIsBuiltFromTheWeightQuestionAndTheTargets) {
    CRedressement scheme = TwoQuestions();
    EXPECT_EQ(scheme.EcrireValeurs(context, false), "0@@0~0@@0|0|1|#1@@0|1|2|2.5@3.5@#2@@0|1|2|2@2@2@#");
    EXPECT_EQ(scheme.EcrireValeurs(context, true), "0@@0~ |0|1|#SEXE|1|2|2.5@3.5@#AGE3|1|2|2@2@2@#");
    scheme.initialWeightQuestion = &Q("POIDS");
    EXPECT_EQ(scheme.EcrireValeurs(context, false).substr(0, 6), "3@@0~0");
    // Without targets the scheme keeps the text it was read with.
    CRedressement textOnly;
    textOnly.definition = "3@0~0@@0|0|1|#";
    EXPECT_EQ(textOnly.EcrireValeurs(context, false), "3@0~0@@0|0|1|#");
}

TEST_F(WeightingEditTest, SavedTwiceItIsOneRecordThatReadsBackAsTheSameTree) {
    CRedressement scheme = TwoQuestions();
    std::string error;
    ASSERT_TRUE(EnregistrerRedressement(scheme, context, error)) << error;
    const std::int32_t id = scheme.id;
    EXPECT_GT(id, 0);
    scheme.GetRacine()->DonnerObjectif(0)->SetObjectif(0, 3);
    scheme.GetRacine()->DonnerObjectif(0)->SetObjectif(1, 3);
    ASSERT_TRUE(EnregistrerRedressement(scheme, context, error)) << error;
    EXPECT_EQ(scheme.id, id);

    CDBQuestionnaire file(context);
    std::vector<std::unique_ptr<CRedressement>> stored;
    ASSERT_TRUE(file.GetWeightingList(stored)) << file.GetLastError();
    ASSERT_EQ(stored.size(), 2u); // "Aucun redressement" and the one record
    EXPECT_EQ(stored[1]->id, id);
    EXPECT_EQ(stored[1]->definition, "0@@0~0@@0|0|1|#1@@0|1|2|3@3@#2@@0|1|2|2@2@2@#");

    // The survey's copy comes with its targets.
    CRedressement copy;
    ASSERT_TRUE(context.DonnerRedressement(id, copy));
    ASSERT_NE(copy.GetRacine(), nullptr);
    ASSERT_EQ(copy.GetRacine()->DonnerNombreObjectifs(), 2);
    EXPECT_EQ(copy.GetRacine()->DonnerObjectif(0)->GetQuestion(), &Q("SEXE"));
    EXPECT_EQ(Desired(*copy.GetRacine()->DonnerObjectif(0)), (Values{3, 3}));
    EXPECT_EQ(Desired(*copy.GetRacine()->DonnerObjectif(1)), (Values{2, 2, 2}));
    EXPECT_EQ(copy.EcrireValeurs(context, false), stored[1]->definition);
}

TEST_F(WeightingEditTest, DeletingTheDefaultSchemeLeavesTheStudyWithoutWeighting) {
    CRedressement scheme = TwoQuestions();
    std::string error;
    ASSERT_TRUE(EnregistrerRedressement(scheme, context, error)) << error;
    context.weightingCode = scheme.id;
    context.weightingLabel = scheme.name;
    ASSERT_TRUE(EffacerRedressement(scheme.id, context, error)) << error;
    CRedressement gone;
    EXPECT_FALSE(context.DonnerRedressement(scheme.id, gone));
    EXPECT_EQ(context.weightingCode, -1);
    EXPECT_EQ(context.weightingLabel, "Aucun redressement");
}

// ---- The library -------------------------------------------------------------------------------

TEST_F(WeightingEditTest, CopiedToTheLibraryItIsReadInAnotherQuestionnaireByName) {
    CRedressement scheme = TwoQuestions();
    scheme.description = "Calage sur le sexe et l'âge";
    std::string error;
    ASSERT_EQ(CopierVersBibliotheque(scheme, context, error), CopieBibliotheque::Copiee) << error;

    CContexteEtude other;
    Open(other, kOtherSurvey, "autre");
    other.libraryPath = context.libraryPath;
    CBibliotheque library(other);
    ASSERT_TRUE(library.Open());
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(library.GetWeightingList(list));
    ASSERT_EQ(list.size(), 1u);

    CRedressement read;
    read.NTotal = 2;
    read.AttacherRacine(std::make_unique<CObjectifRedressement>());
    std::vector<std::string> asked;
    // SEXE is GENRE here: the analyst is asked for it by its name.
    const auto choose = [&](const std::string& name) {
        asked.push_back(name);
        return other.TrouverQuestionParNom("GENRE");
    };
    ASSERT_TRUE(LireDeBibliotheque(library, list[0]->id, read, other, choose));
    EXPECT_EQ(asked, std::vector<std::string>{"SEXE"});
    EXPECT_EQ(read.name, "Sexe et âge");
    EXPECT_EQ(read.description, "Calage sur le sexe et l'âge");
    EXPECT_EQ(read.NTotal, 2.0);
    ASSERT_EQ(read.GetRacine()->DonnerNombreObjectifs(), 2);
    const CObjectifRedressement& genre = *read.GetRacine()->DonnerObjectif(0);
    EXPECT_EQ(genre.GetQuestion(), other.TrouverQuestionParNom("GENRE"));
    EXPECT_EQ(Desired(genre), (Values{2.5, 3.5}));
    EXPECT_EQ(Observed(genre), (Values{1, 1})); // counted in the other questionnaire
    EXPECT_EQ(Desired(*read.GetRacine()->DonnerObjectif(1)), (Values{2, 2, 2}));
}

TEST_F(WeightingEditTest, ANameTheAnalystDoesNotMatchDropsItsTarget) {
    CRedressement scheme = TwoQuestions();
    std::string error;
    ASSERT_EQ(CopierVersBibliotheque(scheme, context, error), CopieBibliotheque::Copiee) << error;
    CContexteEtude other;
    Open(other, kOtherSurvey, "autre");
    other.libraryPath = context.libraryPath;
    CBibliotheque library(other);
    ASSERT_TRUE(library.Open());
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(library.GetWeightingList(list));
    CRedressement read;
    ASSERT_TRUE(LireDeBibliotheque(library, list[0]->id, read, other,
                                   [](const std::string&) -> CQuestionEtendue* { return nullptr; }));
    ASSERT_EQ(read.GetRacine()->DonnerNombreObjectifs(), 1);
    EXPECT_EQ(read.GetRacine()->DonnerObjectif(0)->GetQuestion(), other.TrouverQuestionParNom("AGE3"));
}

TEST_F(WeightingEditTest, CopyingToTheLibraryEndsAsTheLibraryAndTheAnalystSay) {
    CRedressement scheme = TwoQuestions();
    std::string error;
    ASSERT_EQ(CopierVersBibliotheque(scheme, context, error), CopieBibliotheque::Copiee) << error;
    // Same name again: the analyst declines to replace it.
    ui->ScriptReplies({false});
    EXPECT_EQ(CopierVersBibliotheque(scheme, context, error), CopieBibliotheque::Refusee);
    ASSERT_EQ(ui->asked.size(), 1u);
    EXPECT_EQ(ui->asked[0], Message(StringTable::kEcraserRedressement));
    context.libraryPath = folder + "/absent/bibliotheque.bib";
    EXPECT_EQ(CopierVersBibliotheque(scheme, context, error), CopieBibliotheque::BibliothequeInaccessible);
}

} // namespace
