// The variables made from the dictionary of an open question: each modality a list of words and
// quoted segments, each interview receiving every modality whose list its answer holds. The
// expected codes are read off the six answers below by hand.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "VariablesTestSupport.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/StringTable.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "openanswers/OuvCorpus.h"
#include "variables/CalculDictionnaire.h"
#include "variables/ConstructionVariable.h"

using namespace variables_test;

namespace {

constexpr const char* kAnswers = R"(
questionnaire "Dictionnaire" language=fr
language 1036 fr "Français"
question 1 AVIS open
question 2 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
records
Cle1,1;1,2;1
1,"Trop cher pour moi",1
2,"Bon prix",2
3,"vraiment TROP cher",1
4,"Les prix sont chers",2
5,,1
6,"Service rapide, bon accueil",2
end
)";

// "trop cher" is a repeated segment (answers 1 and 3); "inconnu" is in no answer.
constexpr const char* kCaptions = "Prix|Service|Cher|Bon|";
constexpr const char* kLists = "prix \"trop cher\"|  service accueil inconnu |cher|Bon|";

using Positions = std::vector<std::vector<int>>;

class VariableDictionnaireTest : public VariablesFixture {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        EnregistrerOuvertes();
        OpenFixture(kAnswers, "dictionnaire");
    }

    PartiesVariable Parts(CQuestionEtendue* source, const std::string& lists = kLists) {
        PartiesVariable parts;
        parts.label = "Thèmes";
        parts.kind = CVariableCalculee::kDictionnaire;
        parts.themes = kCaptions;
        parts.definition = lists;
        parts.source1 = source;
        return parts;
    }

    // The modality positions each interview holds, in interview order.
    Positions Received(CQuestionEtendue& question) {
        CDataAccess access(context, true);
        CMatriceCodes codes;
        EXPECT_TRUE(access.LireReponsesFermeesNiveau(question, 0, codes)) << access.GetErrorText();
        Positions rows(static_cast<std::size_t>(codes.GetNbLignes()));
        for (int row = 0; row < codes.GetNbLignes(); ++row)
            for (int column = 0; column < codes.GetNbColonnes(); ++column)
                if (codes.GetAt(row, column) >= 0 && codes.GetAt(row, column) < question.GetNbreModalite())
                    rows[static_cast<std::size_t>(row)].push_back(codes.GetAt(row, column));
        return rows;
    }
};

TEST(CalculDictionnaire, WordListsSplitAtBlanksWithQuotedSegmentsWhole) {
    struct Case {
        const char* text;
        std::vector<std::string> words;
        std::vector<std::string> segments;
    } cases[] = {
        {"prix \"trop cher\"", {"prix"}, {"trop cher"}},
        {"  a   b  ", {"a", "b"}, {}},
        {"avant\"au milieu\"après", {"avant", "après"}, {"au milieu"}},
        {"\"jamais fermé", {}, {"jamais fermé"}},
        {"", {}, {}},
        {"\"\"", {}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CalculDictionnaire::ListeMots list = CalculDictionnaire::DecouperListe(c.text);
        EXPECT_EQ(list.mots, c.words);
        EXPECT_EQ(list.segments, c.segments);
    }
}

TEST_F(VariableDictionnaireTest, EachInterviewReceivesEveryModalityItsAnswerHoldsAndKeepsItAfterReopening) {
    Message error;
    CQuestionEtendue* built = CConstructionVariable::Construire(context, nullptr, Parts(&Named("AVIS")), error);
    ASSERT_NE(built, nullptr) << StringTable::Format(error);
    // Prix: "prix" in 2 and 4, the segment in 1 and 3; Service: 6; Cher: the form alone, so not
    // "chers" (4); Bon: 2 and 6, capitals folded. Interview 5 answered nothing.
    const Positions expected = {{0, 2}, {0, 3}, {0, 2}, {0}, {}, {1, 3}};
    EXPECT_EQ(Received(*built), expected);

    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    EXPECT_EQ(Received(Named("Thèmes")), expected);
}

TEST_F(VariableDictionnaireTest, RecalculationFollowsALemmaMadeAfterwards) {
    Message error;
    ASSERT_NE(CConstructionVariable::Construire(context, nullptr, Parts(&Named("AVIS")), error), nullptr);
    {
        COuvCorpus corpus(context, Named("AVIS"));
        ASSERT_TRUE(corpus.Ouvrir());
        int cher = 0;
        int chers = 0;
        ASSERT_TRUE(corpus.ChercherForme("cher", cher));
        ASSERT_TRUE(corpus.ChercherForme("chers", chers));
        corpus.CreerLemme({cher, chers});
    }
    ASSERT_TRUE(CConstructionVariable::Recalculer(context, Named("Thèmes"), error)) << StringTable::Format(error);
    // The lemma "cher" now holds "chers": interview 4 receives Cher too.
    EXPECT_EQ(Received(Named("Thèmes")), (Positions{{0, 2}, {0, 3}, {0, 2}, {0, 2}, {}, {1, 3}}));
}

TEST_F(VariableDictionnaireTest, ASourceThatIsNotAnOpenQuestionOrListsThatDisagreeBuildNothing) {
    const int questions = context.DonnerNbreQuestions();
    struct Case {
        const char* name;
        CQuestionEtendue* source;
        const char* lists;
        std::int32_t message;
    } cases[] = {
        {"closed source", &Named("SEXE"), kLists, StringTable::kSelectionnerQuestionAutorisee},
        {"no source", nullptr, kLists, StringTable::kSelectionnerQuestionAutorisee},
        {"three lists for four captions", &Named("AVIS"), "a|b|c|", StringTable::kVariableDefinitionIncoherente},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Message error;
        EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, Parts(c.source, c.lists), error), nullptr);
        EXPECT_EQ(error.id, c.message);
        EXPECT_EQ(context.DonnerNbreQuestions(), questions);
    }
}

} // namespace
