#include "gui/openanswers/ResultatsLexicaux.h"

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Ligne.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "openanswers/FormeSurRepresentee.h"
#include "openanswers/OuvCorpus.h"
#include "openanswers/ReponsesCaracteristiques.h"
#include "tabulation/Tableau.h"

#include <cstddef>

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The category's caption; a column of the codes beyond the modalities (none expected) shows none.
std::string Category(const CQuestionEtendue& explained, int j) {
    const CModaliteEtendue* modality = explained.GetModaliteEtendue(j);
    return modality != nullptr ? modality->GetShortCaption() : std::string();
}

} // namespace

ResultatsLexicaux::Tableaux ResultatsLexicaux::Vides(COuvCorpus& corpus, CQuestionEtendue& explained, int M,
                                                     const std::vector<int>& rows, const std::vector<int>& columnIds) {
    Tableaux tables;
    const int columns = static_cast<int>(columnIds.size());
    for (int j = 0; j < M; ++j) {
        auto table = std::make_unique<CTableau>(1, 1, rows[Index(j)], columns, CTableauBase::kMarqueParColonne);
        table->title = Category(explained, j);
        table->base = corpus.GetContexte().DonnerNbreInterviews();
        for (int c = 0; c < columns; ++c) {
            const CLigne caption(StringTable::Text(columnIds[Index(c)]));
            table->SetLibelleColonne(0, c, &caption);
            // The test values and distances are reals, the occurrences counts.
            const bool real = columnIds[Index(c)] == StringTable::kValeurTest || columnIds[Index(c)] == StringTable::kDistance;
            table->SetMarque(c, real ? CTableauBase::kMarqueReel : CTableauBase::kMarqueEffectif);
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

std::string ResultatsLexicaux::TexteEntree(const COuvCorpus& corpus, bool segments, int index) {
    return segments ? corpus.DonnerSegment(index)->text : corpus.DonnerForme(index)->text;
}

namespace {

struct Selection {
    std::vector<int> counts;
    std::vector<std::vector<FormeSurRepresentee>> selected;
};

Selection Select(const std::vector<double>& values, const std::vector<std::int32_t>& table, int M, int count,
                   int minimumFrequency) {
    Selection result;
    for (int j = 0; j < M; ++j) {
        result.selected.push_back(SelectionnerSurRepresentees(values, table, M, j, count, minimumFrequency));
        result.counts.push_back(static_cast<int>(result.selected.back().size()));
    }
    return result;
}

} // namespace

ResultatsLexicaux::Tableaux ResultatsLexicaux::Specifiques(COuvCorpus& corpus, CQuestionEtendue& explained,
                                                           const std::vector<std::int32_t>& lexical,
                                                           const std::vector<double>& values, int M, bool segments,
                                                           int count, int minimumFrequency) {
    const Selection chosen = Select(values, lexical, M, count, minimumFrequency);
    Tableaux tables = Vides(corpus, explained, M, chosen.counts,
                            {StringTable::kValeurTest, StringTable::kOccPartie, StringTable::kOccCorpus});
    const std::size_t width = Index(M) + 1;
    for (int j = 0; j < M; ++j)
        for (int r = 0; r < chosen.counts[Index(j)]; ++r) {
            const FormeSurRepresentee& entry = chosen.selected[Index(j)][Index(r)];
            CTableau& table = *tables[Index(j)];
            const CLigne label(TexteEntree(corpus, segments, entry.index));
            table.SetLibelleLigne(0, r, &label);
            table.SetValeur(r, 0, entry.value);
            table.SetValeur(r, 1, lexical[Index(entry.index) * width + Index(j)]);
            table.SetValeur(r, 2, lexical[Index(entry.index) * width + Index(M)]);
        }
    return tables;
}

std::optional<ResultatsLexicaux::Tableaux> ResultatsLexicaux::FormesSpecifiques(COuvCorpus& corpus,
                                                                                CQuestionEtendue& explained,
                                                                                bool lemmatise, int count,
                                                                                int minimumFrequency) {
    int M = 0;
    const auto lexical = corpus.ConstruireTableLexicale(lemmatise, explained, M);
    if (!lexical)
        return std::nullopt;
    return Specifiques(corpus, explained, *lexical, corpus.CalculerSpecificites(*lexical, M), M, false, count,
                       minimumFrequency);
}

std::optional<ResultatsLexicaux::Tableaux> ResultatsLexicaux::SegmentsSpecifiques(COuvCorpus& corpus,
                                                                                  CQuestionEtendue& explained,
                                                                                  int count, int minimumFrequency) {
    int M = 0;
    const auto lexical = corpus.ConstruireTableLexicaleSegments(explained, M);
    if (!lexical)
        return std::nullopt;
    return Specifiques(corpus, explained, *lexical, corpus.CalculerSpecificitesSegments(*lexical, M), M, true, count,
                       minimumFrequency);
}

std::optional<ResultatsLexicaux::Tableaux> ResultatsLexicaux::Caracteristiques(COuvCorpus& corpus,
                                                                               CQuestionEtendue& explained,
                                                                               bool lemmatise, int method, int count) {
    int M = 0;
    const auto lexical = corpus.ConstruireTableLexicale(lemmatise, explained, M);
    CMatriceCodes codes;
    if (!lexical || !corpus.LireCategories(explained, codes))
        return std::nullopt;
    const auto methode = method == 1 ? ReponsesCaracteristiques::kCourtes : ReponsesCaracteristiques::kLongues;
    std::vector<int> ranks;
    if (methode == ReponsesCaracteristiques::kCourtes) {
        std::vector<double> values = corpus.CalculerSpecificites(*lexical, M);
        ranks = COuvCorpus::Classer(values, static_cast<int>(values.size()) / (M > 0 ? M : 1), M);
    }
    const std::vector<std::uint32_t> text = lemmatise ? corpus.CorpusLemmatise()
                                                      : std::vector<std::uint32_t>(corpus.DonnerCorpus().begin(),
                                                                                   corpus.DonnerCorpus().end());
    const auto scored = ReponsesCaracteristiques::Calculer(text, codes, *lexical, M, count, methode, ranks);
    std::vector<std::string> answers;
    {
        CDataAccess access(corpus.GetContexte(), true);
        if (!access.LireReponsesOuvertes(corpus.GetQuestion(), answers))
            return std::nullopt;
    }
    std::vector<int> counts;
    for (const auto& list : scored)
        counts.push_back(static_cast<int>(list.size()));
    Tableaux tables = Vides(corpus, explained, M, counts, {StringTable::kDistance});
    for (int j = 0; j < M; ++j)
        for (int r = 0; r < counts[Index(j)]; ++r) {
            const ReponsesCaracteristiques::Reponse& answer = scored[Index(j)][Index(r)];
            const CLigne label(answer.answer < answers.size() ? answers[answer.answer] : std::string());
            tables[Index(j)]->SetLibelleLigne(0, r, &label);
            tables[Index(j)]->SetValeur(r, 0, answer.score);
        }
    return tables;
}
