#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class COuvCorpus;
class CQuestionEtendue;
class CTableau;

// The result tables of the specificity windows, one per category of the question to explain, in
// modality order, each titled by the category's short caption and based on the survey's number
// of interviews: the specific forms or segments of each category ("Valeur test", "Occ. partie",
// "Occ. corpus"), and its characteristic answers ("Distance"). None when the codes of the
// question to explain cannot be read; a category with nothing to show gets a table without rows.
class ResultatsLexicaux {
public:
    using Tableaux = std::vector<std::unique_ptr<CTableau>>;

    // At most `count` forms per category of a margin strictly above `minimumFrequency`, raw or
    // lemmatised, of strictly positive test value, largest first.
    static std::optional<Tableaux> FormesSpecifiques(COuvCorpus& corpus, CQuestionEtendue& explained, bool lemmatise,
                                                     int count, int minimumFrequency);
    // The same for the repeated segments, which must be loaded.
    static std::optional<Tableaux> SegmentsSpecifiques(COuvCorpus& corpus, CQuestionEtendue& explained, int count,
                                                       int minimumFrequency);
    // The `count` answers closest to each category: method 0 long answers (chi-square distance),
    // 1 short answers (mean rank of their forms); an answer of an interview in two categories is
    // listed in both.
    static std::optional<Tableaux> Caracteristiques(COuvCorpus& corpus, CQuestionEtendue& explained, bool lemmatise,
                                                    int method, int count);

private:
    // One table per category: rows and columns given, titled and based.
    static Tableaux Vides(COuvCorpus& corpus, CQuestionEtendue& explained, int M, const std::vector<int>& rows,
                          const std::vector<int>& columnIds);
    static Tableaux Specifiques(COuvCorpus& corpus, CQuestionEtendue& explained, const std::vector<std::int32_t>& lexical,
                                const std::vector<double>& values, int M, bool segments, int count,
                                int minimumFrequency);
    static std::string TexteEntree(const COuvCorpus& corpus, bool segments, int index);
};
