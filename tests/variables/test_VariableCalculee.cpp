// What each kind of computed question builds from its stored texts: type, flags, answers and
// modalities, and the findings a damaged definition leaves for the user.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VariablesTestSupport.h"
#include "app/StringTable.h"
#include "tabulation/Profil.h"

using namespace variables_test;

namespace {

constexpr std::int32_t kNoAnswer = -1;
constexpr std::int32_t kNotAsked = -2;

struct KindCase {
    const char* what;
    std::int16_t kind;
    const char* themes;
    const char* definition;
    int maxAnswers;
    std::int16_t type;
    bool flag;
    std::int16_t answers;
    bool multiple;
    std::vector<std::int32_t> codes;
    std::vector<std::string> captions; // empty: not checked
    std::vector<int> defects;          // message ids, in order
};

class VariableCalculeeTest : public VariablesFixture {};

TEST_F(VariableCalculeeTest, EachKindBuildsItsQuestion) {
    using K = CVariableCalculee;
    using S = StringTable::Id;
    // clang-format off
    const std::vector<KindCase> cases = {
        {"crossing, three answers", K::kCroisement, "a|b|c|", "0;0@|1;1@|0;1@|", 3, 1, false, 3, true, {1, 2, 3}, {"a", "b", "c"}, {}},
        {"study fields, one answer", K::kChampsEtude, "x|y", "1|2|", 1, 1, false, 1, false, {1, 2}, {"x", "y"}, {}},
        {"script", K::kScript, "", "AGE * 2", 1, 5, true, 1, false, {}, {}, {}},
        {"groups", K::kMultivarie, "g1|g2|", "4|9|", 1, 1, false, 1, false, {4, 9, kNotAsked}, {"g1", "g2", "Non interrogé"}, {}},
        {"groups with fewer codes than captions", K::kMultivarie, "g1|g2|g3|", "4|9|", 1, 1, false, 1, false, {kNotAsked}, {},
         {S::kVariableDefinitionIncoherente}},
        {"groups with a code that is no number", K::kMultivarie, "g1|g2|", "4|x|", 1, 1, false, 1, false, {kNotAsked}, {},
         {S::kVariableElementIllisible}},
        {"groups sharing a code", K::kMultivarie, "g1|g2|", "4|4|", 1, 1, false, 1, false, {4, kNotAsked}, {"g1", "Non interrogé"},
         {S::kVariableCodeEnDouble}},
        {"factor coordinates", K::kNumeriqueMultivarie, "", "", 1, 5, true, 1, false, {}, {}, {}},
        {"superposition, five items", K::kSuperposition, "un@1|deux@2|trois|quatre@4@x|cinq@z|", "", 2, 1, false, 2, true,
         {1, 2}, {"un", "deux"},
         {S::kVariableElementIllisible, S::kVariableElementIllisible, S::kVariableElementIllisible}},
        {"superposition sharing a code", K::kSuperposition, "un@1|autre un@1|", "", 1, 1, false, 1, false, {1}, {"un"},
         {S::kVariableCodeEnDouble}},
        {"weighting", K::kRedressement, "", "3", 1, 5, true, 1, false, {}, {}, {}},
        {"weighting without a code", K::kRedressement, "", "Sexe", 1, 5, true, 1, false, {}, {}, {S::kVariableElementIllisible}},
        {"profile", K::kProfil, "p|q|", "", 2, 1, false, 2, true, {1, 2}, {"p", "q"}, {}},
        {"dictionary", K::kDictionnaire, "mot|", "", 1, 1, false, 1, false, {1}, {"mot"}, {}},
        {"postcodes", K::kCodagePostal, "rural|urbain|", "3", 1, 1, true, 1, false, {1, 2, kNoAnswer},
         {"rural", "urbain", "Non réponse"}, {}},
        {"entry durations", K::kDureesSaisie, "", "", 1, 5, false, 1, false, {}, {}, {}},
        {"information 0: closed", K::kInfosGenerales, "fr|en|", "0", 1, 1, false, 1, false, {1, 2}, {"fr", "en"}, {}},
        {"information 2: a date", K::kInfosGenerales, "", "2", 1, 3, false, 1, false, {}, {}, {}},
        {"information 4: a number", K::kInfosGenerales, "", "4", 1, 5, false, 1, false, {}, {}, {}},
        {"trailing separators add nothing", K::kCroisement, "a||b|", "", 2, 1, false, 2, true, {1, 2, 3}, {"a", "", "b"}, {}},
        {"a stored count of no answer", K::kCroisement, "a|", "", 0, 1, false, 1, false, {1}, {"a"}, {S::kVariableNombreReponses}},
        {"a kind out of range", 14, "a|", "", 1, 1, false, 1, false, {}, {}, {S::kVariableTypeInconnu}},
        {"kind 0", 0, "a|", "", 1, 1, false, 1, false, {}, {}, {S::kVariableTypeInconnu}},
    };
    // clang-format on
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto question = Build(Definition(c.kind, c.themes, c.definition, c.maxAnswers));
        EXPECT_EQ(question->code, -7);
        EXPECT_EQ(question->kind, 1);
        EXPECT_EQ(question->classAttribute, 2);
        EXPECT_EQ(question->depth, 2);
        EXPECT_EQ(question->name, "Variable");
        EXPECT_EQ(question->GetLocalisedLongCaption(kFrench), "Variable");
        EXPECT_EQ(question->type, c.type);
        EXPECT_EQ(question->typeFlag, c.flag);
        EXPECT_EQ(question->answerCount, c.answers);
        EXPECT_EQ(question->multipleAnswers, c.multiple);
        EXPECT_EQ(Codes(*question), c.codes);
        if (!c.captions.empty()) {
            EXPECT_EQ(Captions(*question), c.captions);
        }
        std::vector<int> defects;
        for (const Message& message : question->GetQuestionCalculee()->DonnerDefauts())
            defects.push_back(message.id);
        EXPECT_EQ(defects, c.defects);
    }
}

// An information kind that builds nothing leaves the type as it was.
TEST_F(VariableCalculeeTest, InformationKindFiveKeepsTheType) {
    auto question = std::make_unique<CQuestionEtendue>(&context);
    question->type = 4;
    auto definition = Definition(CVariableCalculee::kInfosGenerales, "a|", "5");
    CVariableCalculee& held = *definition;
    question->SetQuestionCalculee(std::move(definition));
    held.ConstruireModalites(*question);
    EXPECT_EQ(question->type, 4);
    EXPECT_EQ(question->GetNbreModalite(), 0);
}

TEST_F(VariableCalculeeTest, AFilteredQuestionCopiesItsSource) {
    auto filtered = Definition(CVariableCalculee::kQuestionFiltree, "", "1@", 2);
    filtered->reference1 = {3, "", 0}; // MARQUES
    auto question = Build(std::move(filtered));
    EXPECT_EQ(question->type, 1);
    EXPECT_EQ(question->answerCount, 2);
    EXPECT_TRUE(question->multipleAnswers);
    // MARQUES already holds its not-asked modality: none is added.
    EXPECT_EQ(Codes(*question), (std::vector<std::int32_t>{1, 2, 3, -2}));
    EXPECT_EQ(Captions(*question)[1], "Bêta");

    auto numeric = Definition(CVariableCalculee::kQuestionFiltree, "", "1@", 3);
    numeric->reference1 = {2, "", 0}; // AGE
    question = Build(std::move(numeric));
    EXPECT_EQ(question->type, 5);
    EXPECT_EQ(question->answerCount, 1);
    EXPECT_TRUE(Codes(*question).empty());
}

TEST_F(VariableCalculeeTest, AFilteredQuestionWhoseSourceIsGoneKeepsItsType) {
    auto question = std::make_unique<CQuestionEtendue>(&context);
    question->type = 4;
    auto definition = Definition(CVariableCalculee::kQuestionFiltree, "", "1@", 1);
    definition->reference1 = {99, "", 0};
    CVariableCalculee& held = *definition;
    question->SetQuestionCalculee(std::move(definition));
    held.ConstruireModalites(*question);
    EXPECT_EQ(question->type, 4);
    EXPECT_EQ(question->GetNbreModalite(), 0);
    ASSERT_EQ(held.DonnerDefauts().size(), 1u);
    EXPECT_EQ(held.DonnerDefauts()[0], Message(StringTable::kVariableQuestionAbsente, {"Variable", "99"}));
    // Binding again reports the missing question once.
    held.ResoudreQuestions(context);
    EXPECT_EQ(held.DonnerDefauts().size(), 1u);
}

TEST_F(VariableCalculeeTest, ProfileKindsKeepTheirProfileAcrossBindings) {
    auto definition = Definition(CVariableCalculee::kProfil, "p|", "1@@0@1:0:0:0:0;2:0:0:0:0;|", 1);
    CVariableCalculee& held = *definition;
    auto question = Build(std::move(definition));
    held.ResoudreQuestions(context);
    EXPECT_TRUE(held.definition.empty());
    ASSERT_EQ(held.GetProfil().GetCount(), 1);
    EXPECT_EQ(held.GetProfil().GetQuestion(0), &Named("SEXE"));
    EXPECT_EQ(held.DonnerDefinition(), "1@@0@1:0:0:0:0;2:0:0:0:0;|");
    held.ResoudreQuestions(context);
    EXPECT_EQ(held.DonnerDefinition(), "1@@0@1:0:0:0:0;2:0:0:0:0;|");

    CProfil other;
    other.Add(&Named("AGE"));
    held.DefinirProfil(other);
    EXPECT_EQ(held.DonnerDefinition(), "2@@0@|");
}

TEST_F(VariableCalculeeTest, OtherModality) {
    for (std::int16_t kind = 1; kind <= 13; ++kind) {
        CVariableCalculee definition;
        definition.kind = kind;
        const bool fromCaptions = kind == 1 || kind == 2 || kind == 6 || kind == 8 || kind == 9;
        EXPECT_EQ(definition.AModaliteAutre(), !fromCaptions) << kind;
    }
}

TEST(VerifierLibelleTest, SeparatorsAreRefusedAtInput) {
    using K = CVariableCalculee;
    EXPECT_EQ(K::VerifierLibelle(K::kCroisement, "Hommes|Femmes").id, StringTable::kLibelleSansBarre);
    EXPECT_EQ(K::VerifierLibelle(K::kCroisement, "Hommes@Femmes").id, 0);
    EXPECT_EQ(K::VerifierLibelle(K::kSuperposition, "Hommes@Femmes").id, StringTable::kLibelleSansBarreNiArobase);
    EXPECT_EQ(K::VerifierLibelle(K::kSuperposition, "a|b").id, StringTable::kLibelleSansBarreNiArobase);
    EXPECT_EQ(K::VerifierLibelle(K::kSuperposition, "Hommes").id, 0);
}

} // namespace
