#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

class CQuestionnaire;

namespace qesbuild {

// A large questionnaire for measuring the program: `questions` closed questions (question j has
// the codes 1 .. L with L = 2 + j mod 9, drawn with skewed frequencies, about 2 % left blank)
// and a numeric weight question, over `interviews` interviews. The data follow from the seed.
//
// With open answers, an open question AVIS follows the weight: each interview's opinion of the
// service (OpenAnswerPhrases), its tone following question 8 (ten categories, two by two from
// "very satisfied" to "not at all") when there is one, and one answer in five naming an order
// number from 1 to 1000. The closed answers are the same with or without it.
class SyntheticSurvey {
public:
    // The questionnaire: closed questions coded 1 .. questions, the weight question after them,
    // then the open question when asked.
    static std::unique_ptr<CQuestionnaire> Questionnaire(int questions, bool openAnswers = false);
    static void Write(const std::filesystem::path& target, long long interviews, int questions,
                      std::uint64_t seed, bool openAnswers = false);
};

} // namespace qesbuild
