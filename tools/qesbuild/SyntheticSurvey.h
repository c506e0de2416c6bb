#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

class CQuestionnaire;

namespace qesbuild {

// A large questionnaire for measuring the program: `questions` closed questions (question j has
// the codes 1 .. L with L = 2 + j mod 9, drawn with skewed frequencies, about 2 % left blank)
// and a numeric weight question, over `interviews` interviews. The data follow from the seed.
class SyntheticSurvey {
public:
    // The questionnaire: closed questions coded 1 .. questions, the weight question after them.
    static std::unique_ptr<CQuestionnaire> Questionnaire(int questions);
    static void Write(const std::filesystem::path& target, long long interviews, int questions,
                      std::uint64_t seed);
};

} // namespace qesbuild
