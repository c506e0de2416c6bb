#pragma once

#include <string>

namespace qesbuild {

class RandomSource;

// Plausible French answers to "Qu'avez-vous pensé du service ?", put together from a small stock
// of phrase pieces so that words and whole segments repeat across answers as they do in real
// open answers. The tone follows the respondent's satisfaction (1 very satisfied .. 5 not at all).
class OpenAnswerPhrases {
public:
    static std::string ServiceOpinion(RandomSource& random, int satisfaction);
};

} // namespace qesbuild
