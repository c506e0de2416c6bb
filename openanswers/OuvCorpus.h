#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/Message.h"
#include "openanswers/Forme.h"
#include "openanswers/FormeLemmatisee.h"
#include "openanswers/Segment.h"

class CContexteEtude;
class CMatriceCodes;
class CQuestionEtendue;
class CTableau;

// The lexical engine of one open question: its answers cut into forms (Tokenizer), the
// dictionary of the forms with their frequencies, the corpus (every answer as the indexes of its
// forms, one end mark per interview), the analyst's lemmas and the repeated segments, kept in
// four cache files beside the survey (LexicalCacheFiles) and rebuilt from the answers whenever
// those are missing, damaged or stale.
//
// The entry table holds the P plain forms at 0 .. P - 1 in the dictionary order
// (DictionaryOrder), then the lemmas in creation order; every structure refers to entries by
// index. The i-th run of the corpus belongs to interview i (its answer index); interview numbers
// shown to the user are answer index + 1. Everything is owned here; what the accessors return
// is borrowed and lives as long as the engine, until the next Ouvrir, Relire or Charger.
//
// Calling order: construct, Ouvrir (false: GetErreur says why, and nothing may be read), then
// read; ChargerSegments before the segments are read.
class COuvCorpus {
public:
    static constexpr std::uint32_t kFinReponse = 0xFFFFFFFF;
    // The category of an interview without one, in the codes of the question to explain.
    static constexpr std::int16_t kSansCategorie = -5;
    // Sort keys of Trier.
    enum CleTri : int { kTriTexte = 0, kTriFrequence = 1, kTriLongueur = 2 };

    COuvCorpus(CContexteEtude& survey, CQuestionEtendue& question);
    virtual ~COuvCorpus();
    COuvCorpus(const COuvCorpus&) = delete;
    COuvCorpus& operator=(const COuvCorpus&) = delete;

    // ---- Building and loading ----
    // Charger; when it fails, Sauver and Charger again. Refuses a question not asked once per
    // interview.
    bool Ouvrir();
    // Deletes the Sgm and Lem files and builds again: lemmas and segments are lost.
    bool Relire();
    // Builds the dictionary and the corpus from the answers, starting empty, and writes the Crp
    // then the Dic file (the Sgm file goes first: its indexes would no longer hold).
    bool Sauver();
    // Reads the Dic, Crp and Lem files; false when one of the first two is missing, damaged or
    // does not match the survey. The Dic path is given when asked.
    bool Charger(std::string* dicPath = nullptr);
    const Message& GetErreur() const { return m_error; }

    // The answers cut into forms, ids given in the order forms are first met (a rebuild starts
    // empty): each form's text and frequency by id, and each answer's ids followed by the end
    // mark. What Sauver writes to the cache files.
    struct Decoupage {
        std::vector<std::string> texts;
        std::vector<std::int32_t> frequencies;
        std::vector<std::uint32_t> ids;
    };
    static Decoupage DecouperReponses(std::span<const std::string> answers);

    // ---- The dictionary ----
    // Appends the ids of the answer's forms, in text order, counting or inserting each form.
    void DecouperReponse(std::string_view answer, std::vector<std::uint32_t>& ids);
    // The id of the token's form (folded), counted, or inserted at its place in the order.
    std::int32_t AjouterForme(std::string_view token);
    CForme* DonnerForme(int index) const;
    int GetNbreFormes() const { return static_cast<int>(m_entries.size()); }
    int GetNbreFormesSimples() const { return m_plainForms; }
    double GetNombreReponses() const { return m_answerCount; }
    // The first valid entry whose text equals the text, folded.
    bool ChercherForme(std::string_view text, int& index) const;
    bool ChercherSegment(std::string_view text, int& index) const;
    // The answer index of each occurrence of the entry (a lemma: of any of its forms), in corpus
    // order; an answer holding it twice is listed twice.
    void DonnerInterviewsForme(int index, std::vector<std::uint32_t>& out) const;
    // The answer index of each place where the segment's whole sequence starts, in corpus order.
    void DonnerInterviewsSegment(int index, std::vector<std::uint32_t>& out) const;

    // ---- Lemmas (each rewrites the Lem file) ----
    // A lemma of the entries (lemmas among them give their forms and are hidden), titled by the
    // first one; answers its index.
    int CreerLemme(const std::vector<int>& selected);
    // The lemma's forms become valid again (their indexes in `out`), the lemma is hidden.
    void DissocierLemme(int lemma, std::vector<int>& out);

    // ---- Frequencies in a study field ----
    bool RecalculerFrequences(std::int32_t studyField);
    bool RecalculerFrequencesSegments(std::int32_t studyField);

    // ---- The corpus ----
    std::span<const std::uint32_t> DonnerCorpus() const { return m_corpus; }
    // A copy in which every form of a valid lemma is replaced by the lemma's index.
    std::vector<std::uint32_t> CorpusLemmatise() const;
    // One row per interview and one byte column per active then illustrative entry: 1 where the
    // answer (lemmatised) holds the entry.
    bool MatriceTypologie(std::vector<std::uint8_t>& out, const std::vector<int>& active,
                          const std::vector<int>& illustrative) const;
    // Sorts entries or segments by text, by frequency (descending, then text) or by length
    // (descending, then text); any other key leaves the order as it is.
    static void Trier(std::vector<CForme*>& items, int key);

    // ---- Repeated segments (OuvCorpusSegments.cpp) ----
    bool ChargerSegments();
    bool RecalculerSegments();
    bool ChargerFichierSegments(std::string* path = nullptr);
    bool CalculerEtSauverSegments();
    int GetNbreSegments() const { return static_cast<int>(m_segments.size()); }
    CSegment* DonnerSegment(int index) const;
    void DonnerOccurrences(int form, std::vector<std::uint32_t>& positions, std::vector<std::uint32_t>& answers) const;
    // The segments that start with the form, each listing every place where it occurs: in the
    // order of their first two places, then of their length.
    void CalculerSegments(int form, const std::vector<std::uint32_t>& positions,
                          const std::vector<std::uint32_t>& answers,
                          std::vector<std::unique_ptr<CSegment>>& created) const;
    static void ElaguerPrefixes(std::vector<std::unique_ptr<CSegment>>& created);
    void FusionnerSegments(std::vector<std::unique_ptr<CSegment>>& created);

    // ---- Concordances (OuvCorpusConcordances.cpp) ----
    enum GenreConcordance : int { kConcordanceSegment = 0, kConcordanceForme = 1 };
    // Every place of the entry (kConcordanceForme: a form, or a lemma by its grouped forms) or of
    // the segment (kConcordanceSegment, by segment index; the whole sequence, not running past
    // the corpus), in corpus order: the entry's text, then for each place up to ten forms before
    // it and after it (the segment's last form) within its answer, each form followed by one
    // blank, and the interview number (answer index + 1). Nothing for an index out of range.
    void Concordances(int kind, int index, std::string& text, std::vector<std::string>& left,
                      std::vector<std::string>& right, std::vector<std::int32_t>& interviews) const;

    // ---- Lexical tables (OuvCorpusTables.cpp) ----
    // (E + 1) x (M + 1) counts of the entries by category, row-major; none when the codes cannot
    // be read. Lemmatised: the forms of each valid lemma move to its row.
    std::optional<std::vector<std::int32_t>> ConstruireTableLexicale(bool lemmatise, CQuestionEtendue& explained,
                                                                     int& M);
    std::optional<std::vector<std::int32_t>> ConstruireTableLexicaleSegments(CQuestionEtendue& explained, int& M);
    std::optional<std::vector<double>> ConstruireTableLexicaleCorrespondance(const std::vector<int>& entries,
                                                                            CQuestionEtendue& explained, int& M);
    // The test values, E x M (S x M) row-major.
    std::vector<double> CalculerSpecificites(std::span<const std::int32_t> table, int M) const;
    std::vector<double> CalculerSpecificitesSegments(std::span<const std::int32_t> table, int M) const;
    // For each category, the rank of each entry by decreasing test value (ties share a rank);
    // the values are destroyed.
    static std::vector<int> Classer(std::vector<double>& values, int rows, int M);

    // The dictionary table: valid entries of at least the frequency, stop words only when asked.
    std::unique_ptr<CTableau> ConstruireTableauDictionnaire(int minimumFrequency, bool withStopWords, int sortKey);
    std::unique_ptr<CTableau> ConstruireTableauSegments(int minimumFrequency, int sortKey);

    // The codes of the question to explain at the open question's level; false with the error.
    bool LireCategories(CQuestionEtendue& explained, CMatriceCodes& codes);

    CContexteEtude& GetContexte() const { return m_survey; }
    CQuestionEtendue& GetQuestion() const { return m_question; }

private:
    std::string CheminFichier(const char* prefix) const;
    void Vider();
    void EcrireLemmes();
    void ChargerLemmes();
    bool ReadStopWords(std::vector<std::string>& words) const;
    // Binary search of the plain forms; false with the insertion position.
    bool ChercherFormeSimple(std::string_view text, int& position) const;
    int LemmaCount() const { return GetNbreFormes() - m_plainForms; }
    template <class Visit> void WalkCategories(const CMatriceCodes& codes, int M, Visit&& visit) const;

    CContexteEtude& m_survey;
    CQuestionEtendue& m_question;
    std::vector<std::unique_ptr<CForme>> m_entries;
    std::vector<std::unique_ptr<CSegment>> m_segments;
    // The segment table by the places of its segments, for FusionnerSegments; it covers the
    // first m_indexedSegments segments and is rebuilt when the table has changed otherwise.
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_segmentsByPlaces;
    std::size_t m_indexedSegments = kNoIndex;
    static constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);
    std::vector<std::uint32_t> m_corpus;
    std::int32_t m_nextId = 0;
    int m_plainForms = 0;
    double m_answerCount = 0.0;
    Message m_error;
};
