#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "support/FixtureStudyTest.h"
#include "variables/EnregistrerQuestionsCalculees.h"
#include "variables/VariableCalculee.h"

namespace variables_test {

constexpr std::int32_t kFrench = 1036;

// Six interviews: SEXE (1 Homme, 2 Femme; the fifth not asked), AGE, MARQUES (two answers of
// Alpha, Bêta, Gamma; the fourth gave none). After loading, SEXE holds the positions 0 Homme,
// 1 Femme, 2 not asked; MARQUES 0 Alpha, 1 Bêta, 2 Gamma, 3 not asked.
constexpr const char* kSurvey = R"(
questionnaire "Variables" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE numeric
question 3 MARQUES closed answers=2
  modality 1 fr "Alpha"
  modality 2 fr "Bêta"
  modality 3 fr "Gamma"
question 4 AVIS open
records
Cle1,1;1,2;1,3;1,3;2,4;1
1,1,25,1,2,"bien"
2,2,40,3,,
3,2,31,2,3,
4,1,60,,,
5,-2,18,1,,
6,2,52,2,,
end
)";

// A study over the survey above, with the computed questions' factory installed before it opens.
class VariablesFixture : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        OpenFixture(kSurvey, "variables");
    }

    void TearDown() override {
        CQuestionCalculee::EnregistrerFabrique(nullptr);
        FixtureStudyTest::TearDown();
    }

    // A definition of the kind, with its captions, definition text and maximum of answers.
    static std::unique_ptr<CVariableCalculee> Definition(std::int16_t kind, const std::string& themes,
                                                         const std::string& definition, int maxAnswers = 1) {
        auto variable = std::make_unique<CVariableCalculee>();
        variable->code = 7;
        variable->label = "Variable";
        variable->kind = kind;
        variable->themes = themes;
        variable->definition = definition;
        variable->maxAnswers = maxAnswers;
        return variable;
    }

    // The question a definition builds in the opened survey.
    std::unique_ptr<CQuestionEtendue> Build(std::unique_ptr<CVariableCalculee> definition) {
        return CQuestionCalculee::CreerQuestion(std::move(definition), context);
    }

    static std::vector<std::int32_t> Codes(const CQuestionEtendue& question) {
        std::vector<std::int32_t> codes;
        question.DonnerCodeModalites(codes);
        return codes;
    }

    static std::vector<std::string> Captions(const CQuestionEtendue& question) {
        std::vector<std::string> captions;
        for (int i = 0; i < question.GetNbreModalite(); ++i)
            captions.push_back(question.GetModalite(i)->GetLocalisedShortCaption(kFrench));
        return captions;
    }
};

} // namespace variables_test
