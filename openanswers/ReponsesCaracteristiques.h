#pragma once

#include <cstdint>
#include <span>
#include <vector>

class CMatriceCodes;

// The characteristic answers of each category of the question to explain: the answers whose
// vocabulary is closest to the category's, smaller scores first.
//
// "Réponses longues" scores an answer by the chi-square distance between its profile and the
// category's; "Réponses courtes" by the mean rank of its tokens among the category's test values
// (COuvCorpus::Classer). Every answer with a token is scored for each category of its row of the
// codes (all columns; codes outside 0 .. M - 1 skipped), in answer order; equal scores keep the
// earlier answer first.
class ReponsesCaracteristiques {
public:
    enum Methode { kLongues = 0, kCourtes = 1 };
    struct Reponse {
        double score = 0.0;
        std::uint32_t answer = 0;
    };

    // `corpus` raw or lemmatised (with end marks), `table` the matching lexical table
    // ((E + 1) x (M + 1)), `ranks` the E x M ranks (short answers only). N <= 0 lists nothing;
    // a category of no token lists no long answer.
    static std::vector<std::vector<Reponse>> Calculer(std::span<const std::uint32_t> corpus, const CMatriceCodes& codes,
                                                      std::span<const std::int32_t> table, int M, int N, Methode method,
                                                      std::span<const int> ranks);
};
