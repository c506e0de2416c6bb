#include "openanswers/OuvCorpus.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Ligne.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "openanswers/CorpusPlaces.h"
#include "tabulation/Tableau.h"

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The category of each answer from the first column of the codes: beyond the last row the last
// category stays; -5 (no category) where there is none at all.
class Categories {
public:
    Categories(const CMatriceCodes& codes, int M) : m_codes(codes), m_modalities(M) {}
    // The category of answer k, or -1 when it counts nowhere.
    int Of(std::size_t k) const {
        const int rows = m_codes.GetNbLignes();
        if (rows == 0 || m_codes.GetNbColonnes() == 0)
            return -1;
        const int row = k < Index(rows) ? static_cast<int>(k) : rows - 1;
        const int code = m_codes.GetAt(row, 0);
        return code >= 0 && code < m_modalities ? code : -1;
    }

private:
    const CMatriceCodes& m_codes;
    int m_modalities;
};

// z of a proportion x / n against p: (x / n - p) / sqrt(p (1 - p) / n); 0 where n or the
// variance is not strictly positive.
double TestValue(double x, double n, double p) {
    if (!(n > 0.0))
        return 0.0;
    const double variance = p * (1.0 - p) / n;
    if (!(variance > 0.0))
        return 0.0;
    return (x / n - p) / std::sqrt(variance);
}

std::vector<double> TestValues(std::span<const std::int32_t> table, int rows, int M,
                               const std::vector<double>& columnTotals, double N) {
    const std::size_t width = Index(M) + 1;
    std::vector<double> values(Index(rows) * Index(M), 0.0);
    for (int i = 0; i < rows; ++i) {
        const double p = N > 0.0 ? table[Index(i) * width + Index(M)] / N : 0.0;
        for (int j = 0; j < M; ++j)
            values[Index(i) * Index(M) + Index(j)] = TestValue(table[Index(i) * width + Index(j)], columnTotals[Index(j)], p);
    }
    return values;
}

} // namespace

bool COuvCorpus::LireCategories(CQuestionEtendue& explained, CMatriceCodes& codes) {
    CDataAccess access(m_survey, true);
    if (!access.LireReponsesFermeesNiveau(explained, m_question.level, codes)) {
        m_error = Message::Text(access.GetErrorText());
        return false;
    }
    return true;
}

std::optional<std::vector<std::int32_t>> COuvCorpus::ConstruireTableLexicale(bool lemmatise, CQuestionEtendue& explained,
                                                                             int& M) {
    CMatriceCodes codes;
    if (!LireCategories(explained, codes))
        return std::nullopt;
    M = explained.GetNbreModalite();
    const int E = GetNbreFormes();
    const std::size_t width = Index(M) + 1;
    std::vector<std::int32_t> table((Index(E) + 1) * width, 0);
    const Categories categories(codes, M);
    std::size_t answer = 0;
    int category = categories.Of(0);
    for (const std::uint32_t value : m_corpus) {
        if (value == kFinReponse) {
            category = categories.Of(++answer);
            continue;
        }
        if (category >= 0 && value < Index(E))
            ++table[value * width + Index(category)];
    }
    for (int i = 0; i < m_plainForms; ++i) {
        for (int j = 0; j < M; ++j) {
            const std::int32_t count = table[Index(i) * width + Index(j)];
            table[Index(i) * width + Index(M)] += count;
            table[Index(E) * width + Index(j)] += count;
            table[Index(E) * width + Index(M)] += count;
        }
    }
    if (lemmatise) {
        for (int l = m_plainForms; l < E; ++l) {
            const auto* lemma = dynamic_cast<const CFormeLemmatisee*>(m_entries[Index(l)].get());
            if (lemma == nullptr || lemma->valid != 1)
                continue;
            for (const std::int32_t g : lemma->Formes()) {
                for (std::size_t column = 0; column < width; ++column) {
                    table[Index(l) * width + column] += table[Index(g) * width + column];
                    table[Index(g) * width + column] = 0;
                }
            }
        }
    }
    return table;
}

std::optional<std::vector<std::int32_t>> COuvCorpus::ConstruireTableLexicaleSegments(CQuestionEtendue& explained, int& M) {
    CMatriceCodes codes;
    if (!LireCategories(explained, codes))
        return std::nullopt;
    M = explained.GetNbreModalite();
    const int S = GetNbreSegments();
    const std::size_t width = Index(M) + 1;
    std::vector<std::int32_t> table((Index(S) + 1) * width, 0);
    const Categories categories(codes, M);
    const CorpusPlaces places(m_corpus, m_plainForms);
    for (int s = 0; s < S; ++s) {
        const std::vector<std::int32_t>& sequence = m_segments[Index(s)]->Sequence();
        if (sequence.empty())
            continue;
        const auto positions = places.Positions(sequence.front());
        const auto answers = places.Answers(sequence.front());
        for (std::size_t k = 0; k < positions.size(); ++k) {
            const std::size_t p = positions[k];
            if (p + sequence.size() > m_corpus.size())
                continue;
            bool whole = true;
            for (std::size_t t = 1; t < sequence.size() && whole; ++t)
                whole = m_corpus[p + t] == static_cast<std::uint32_t>(sequence[t]);
            const int category = whole ? categories.Of(answers[k]) : -1;
            if (category < 0)
                continue;
            ++table[Index(s) * width + Index(category)];
            ++table[Index(s) * width + Index(M)];
        }
    }
    std::size_t answer = 0;
    int category = categories.Of(0);
    for (const std::uint32_t value : m_corpus) {
        if (value == kFinReponse) {
            category = categories.Of(++answer);
        } else if (category >= 0) {
            ++table[Index(S) * width + Index(category)];
            ++table[Index(S) * width + Index(M)];
        }
    }
    return table;
}

std::optional<std::vector<double>> COuvCorpus::ConstruireTableLexicaleCorrespondance(const std::vector<int>& entries,
                                                                                    CQuestionEtendue& explained, int& M) {
    CMatriceCodes codes;
    if (!LireCategories(explained, codes))
        return std::nullopt;
    M = explained.GetNbreModalite();
    std::vector<double> table(entries.size() * Index(M), 0.0);
    const Categories categories(codes, M);
    const CorpusPlaces places(m_corpus, m_plainForms);
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const CForme* entry = DonnerForme(entries[row]);
        if (entry == nullptr)
            continue;
        std::vector<std::int32_t> forms;
        if (dynamic_cast<const CFormeLemmatisee*>(entry) != nullptr)
            entry->DonnerFormes(forms);
        else
            forms.assign(1, entries[row]);
        for (const std::int32_t form : forms)
            for (const std::uint32_t answer : places.Answers(form))
                if (const int category = categories.Of(answer); category >= 0)
                    table[row * Index(M) + Index(category)] += 1.0;
    }
    return table;
}

std::vector<double> COuvCorpus::CalculerSpecificites(std::span<const std::int32_t> table, int M) const {
    const std::size_t width = Index(M) + 1;
    const int E = static_cast<int>(table.size() / width) - 1;
    std::vector<double> totals(Index(M), 0.0);
    double N = 0.0;
    for (int j = 0; j < M; ++j) {
        for (int i = 0; i < E; ++i)
            totals[Index(j)] += table[Index(i) * width + Index(j)];
        N += totals[Index(j)];
    }
    return TestValues(table, E, M, totals, N);
}

std::vector<double> COuvCorpus::CalculerSpecificitesSegments(std::span<const std::int32_t> table, int M) const {
    const std::size_t width = Index(M) + 1;
    const int S = static_cast<int>(table.size() / width) - 1;
    std::vector<double> totals(Index(M), 0.0);
    for (int j = 0; j < M; ++j)
        totals[Index(j)] = table[Index(S) * width + Index(j)];
    return TestValues(table, S, M, totals, table[Index(S) * width + Index(M)]);
}

std::vector<int> COuvCorpus::Classer(std::vector<double>& values, int rows, int M) {
    constexpr double kDone = -1e8;
    std::vector<int> ranks(values.size(), 0);
    std::vector<int> order(Index(rows));
    for (int j = 0; j < M; ++j) {
        for (int i = 0; i < rows; ++i)
            order[Index(i)] = i;
        const auto value = [&](int i) -> double& { return values[Index(i) * Index(M) + Index(j)]; };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return value(a) > value(b); });
        int rank = 0;
        for (std::size_t k = 0; k < order.size();) {
            const double best = value(order[k]);
            if (!(best > kDone))
                break;
            std::size_t end = k;
            while (end < order.size() && value(order[end]) == best)
                ++end;
            for (std::size_t t = k; t < end; ++t) {
                ranks[Index(order[t]) * Index(M) + Index(j)] = rank;
                value(order[t]) = kDone;
            }
            rank += static_cast<int>(end - k);
            k = end;
        }
    }
    return ranks;
}

// ---- Tables of the dispatcher ----------------------------------------------------------------

namespace {

std::unique_ptr<CTableau> CountTable(const std::vector<CForme*>& items, int titleId, const std::string& caption,
                                     double answers) {
    const auto rows = static_cast<std::int32_t>(items.size());
    auto table = std::make_unique<CTableau>(1, 1, rows, 1, CTableauBase::kMarqueParColonne);
    table->title = StringTable::Format(Message(titleId, {caption}));
    const CLigne column(StringTable::Text(StringTable::kEffectif));
    table->SetLibelleColonne(0, 0, &column);
    table->SetMarque(0, CTableauBase::kMarqueEffectif);
    table->base = answers;
    for (std::int32_t row = 0; row < rows; ++row) {
        const CLigne label(items[Index(row)]->text);
        table->SetLibelleLigne(0, row, &label);
        table->SetValeur(row, 0, items[Index(row)]->frequency);
    }
    return table;
}

} // namespace

std::unique_ptr<CTableau> COuvCorpus::ConstruireTableauDictionnaire(int minimumFrequency, bool withStopWords,
                                                                    int sortKey) {
    std::vector<CForme*> items;
    for (const auto& entry : m_entries)
        if (entry->valid == 1 && entry->frequency >= minimumFrequency && (withStopWords || entry->stopWord == 0))
            items.push_back(entry.get());
    Trier(items, sortKey);
    return CountTable(items, StringTable::kDictionnaireDe, m_question.GetCaption(), m_answerCount);
}

std::unique_ptr<CTableau> COuvCorpus::ConstruireTableauSegments(int minimumFrequency, int sortKey) {
    std::vector<CForme*> items;
    for (const auto& segment : m_segments)
        if (segment->frequency >= minimumFrequency)
            items.push_back(segment.get());
    Trier(items, sortKey);
    return CountTable(items, StringTable::kInventaireSegmentsDe, m_question.GetCaption(), m_answerCount);
}
