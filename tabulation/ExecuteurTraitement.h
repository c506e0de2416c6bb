#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

class AdvancedTableKernels;
class CContexteEtude;
class CFusion;
class CMatriceCreuse;
class CQuestionEtendue;
class TablesOuvertes;

// Runs one request for the study context and collects the tables it produces.
//
// The dispatcher (Calculer) picks the compute function from the request's row kind, column kind
// and type code in one table (see ExecuteurTraitement.cpp); each compute function counts through
// CMoteurTableau, lays the values out as CTableau objects and adds them here.
//
// Ownership: a request is handed over with its unique_ptr and every table made from it owns it
// (or a copy of it); a request that produces no table is freed by the executor, once. Whoever
// wants to keep its request passes a copy. The executor owns its tables until the caller takes
// them (TakeTableaux); those never taken are freed with the executor.
class CExecuteurTraitement {
public:
    // One array of labels per header level; a null entry stands for an empty label. Labels are
    // copied by whoever receives them.
    using NiveauxLibelles = std::vector<std::vector<const CLigne*>>;

    explicit CExecuteurTraitement(CContexteEtude& context);
    CExecuteurTraitement(const CExecuteurTraitement&) = delete;
    CExecuteurTraitement& operator=(const CExecuteurTraitement&) = delete;
    ~CExecuteurTraitement();

    // Calculer under the wait cursor.
    int Executer(std::unique_ptr<CTraitement> request);
    // 1 when the combination of kinds is known, whether or not a table came out; 0 (with a
    // message) when it is not. Also called for each sub-request a compute function makes. When the
    // outermost call ends, a raking that did not converge on weights the request took from the
    // cache is told once more (the raking itself told it when it ran).
    int Calculer(std::unique_ptr<CTraitement> request);

    void AjouterTableau(std::unique_ptr<CTableau> table);
    int GetNbTableaux() const { return static_cast<int>(m_tables.size()); }
    // Table i, still owned by the executor; null out of range.
    CTableau* GetTableau(int i) const;
    // Hands every table over to the caller, in the order they were added.
    std::vector<std::unique_ptr<CTableau>> TakeTableaux();
    // What failed since the executor was made: for each error shown (a table, or some of its
    // cells, that could not be computed), the title of the request it was computing, or the name
    // of its compute function when it has none, then ": " and the error. Empty when every table
    // the requests make was computed whole.
    const std::vector<std::string>& GetEchecs() const { return m_failures; }

    // ---- The dispatch table, for those who need to know what a request would run ----
    // The name of the compute function for the combination ("CalculerTriCroise"...), "" for a
    // known pair of kinds that computes nothing with that type code, null for an unknown pair.
    static const char* DonnerNomCalcul(std::int16_t rowKind, std::int16_t columnKind, std::int16_t type);

    // ---- Compute functions of flat and cross tables ----
    // Each reports a kernel's failure in a message box with the kernel's text and adds no table.
    void CalculerTriSimple(std::unique_ptr<CTraitement> request);
    void CalculerTriClassement(std::unique_ptr<CTraitement> request);
    void CalculerTriRegroupe(std::unique_ptr<CTraitement> request);
    void CalculerTraitementMixte(std::unique_ptr<CTraitement> request);
    void CalculerTableauStatistiques(std::unique_ptr<CTraitement> request);
    void CalculerTriCroise(std::unique_ptr<CTraitement> request);
    void CalculerTauxImportanceCroise(std::unique_ptr<CTraitement> request);
    void CalculerTriCroiseRegroupe(std::unique_ptr<CTraitement> request);
    void CalculerTableauMoyenne(std::unique_ptr<CTraitement> request);

    // ---- Advanced tables ----
    // Every question of the row profile crossed with every question of the column profile in one
    // table filled by the calculation lines of the request's style; the request is first split as
    // its merge options say. A count that fails leaves the cells it should fill empty, and its
    // text is shown once, after the table is added.
    void CalculerTableauxEvolues(std::unique_ptr<CTraitement> request);
    // The advanced table of the request as a whole (no split), counted through these kernels.
    void CalculerTableauEvolue(std::unique_ptr<CTraitement> request, AdvancedTableKernels& kernels);
    // Every occurrence of the placeholder in the text replaced by the value.
    static void RemplacerTexte(std::string& text, std::string_view placeholder, std::string_view value);
    // ---- Compute functions of profile tables ----
    // A profile that names what the survey lacks, or holds no question, is refused with a message
    // naming the fault; a kernel's failure is shown and no table is made (but in a comparison of
    // modalities, whose failed statistics show empty cells).
    void CalculerProfilsSimples(std::unique_ptr<CTraitement> request);
    void CalculerProfilsStatistiques(std::unique_ptr<CTraitement> request);
    void CalculerComparaisonModalites(std::unique_ptr<CTraitement> request);
    void CalculerProfilsCroises(std::unique_ptr<CTraitement> request);
    void CalculerProfilsCroisesMoyenne(std::unique_ptr<CTraitement> request);
    void CalculerProfilsOuvertes(std::unique_ptr<CTraitement> request);

    // ---- Open-answer tables (built by the lexical engine, see TablesOuvertes) ----
    void ConstruireTableauReponses(std::unique_ptr<CTraitement> request);
    void ConstruireTableauReponsesSelon(std::unique_ptr<CTraitement> request);
    void ConstruireTableauDictionnaire(std::unique_ptr<CTraitement> request);
    void ConstruireTableauSegments(std::unique_ptr<CTraitement> request);
    // Splits a request of two profiles (crossed profiles, crossed mean profiles, advanced tables:
    // `type` 8, 13 or 14) into sub-requests computed here one by one, as its merge options and
    // the separators of its profiles say. True when it was split: the request is then freed.
    bool DecouperProfils(std::unique_ptr<CTraitement>& request, std::int16_t type);

    // ---- Derived values that need the study context ----
    // Ten values for each of resultRows rows of a flat table whose modalities are grouped, from
    // countRows weighted counts (rows 10 apart in `rows`, all zeroed first); base1 the
    // respondents, base2 all interviews. Answers the total that "Taux d'importance" and the
    // cumulative percentages were measured against: the sum of the counts, or answerTotal when
    // larger.
    double CalculerValeursTriRegroupe(std::vector<double>& rows, std::span<const double> counts, double base1,
                                      double base2, int resultRows, int countRows, double answerTotal) const;

    // ---- Table assembly ----
    // Builds one table of H column-header levels, V row-header levels, R rows and C columns from
    // row-major cells, markers (one per row, column or cell as markerMode says), labels (copied),
    // merge maps and line marks (taken; each may be null), and adds it. The table takes the
    // request, its presentations and captions, and the base rounded to a whole number.
    void ConstruireTableau(int H, int V, int R, int C, std::span<const double> cells,
                           std::span<const std::uint16_t> markers, const NiveauxLibelles& rowLabels,
                           const NiveauxLibelles& columnLabels, std::unique_ptr<CFusion> rowMerges,
                           std::unique_ptr<CFusion> columnMerges, std::unique_ptr<CMatriceCreuse> lineMarks,
                           double base, int markerMode, std::unique_ptr<CTraitement> request);
    // One block of R x C cells per calculation line (calculations[i] names blocks[i] and
    // markers[i] is its marker), turned into tables as the request's merge options say: one table
    // per block, or every block in one table side by side in columns or stacked in rows. The
    // input merge maps (sized (H, V, R, C)) and labels stay the caller's. With several blocks and
    // a merge Type outside 0 to 2 nothing is made and the request is freed.
    void AssemblerTableaux(std::unique_ptr<CTraitement> request, const std::vector<std::vector<double>>& blocks, int H,
                           int R, int V, int C, const NiveauxLibelles& rowLabels,
                           const NiveauxLibelles& columnLabels, const CTraitement::Calculs& calculations,
                           const CFusion& rowMerges, const CFusion& columnMerges,
                           std::span<const std::uint16_t> markers, double base);

    CContexteEtude& GetContexte() const { return m_context; }

private:
    // The line of the dispatcher for the request, run.
    int RunDispatched(std::unique_ptr<CTraitement> request);
    // Title, presentations, base, captions, request and open-as-chart: what every table made here
    // takes from its request; a weighting whose weights did not converge has it in its caption.
    void FinirTableau(CTableau& table, std::unique_ptr<CTraitement> request, double base) const;
    // An open-answer table: when the request names its open question and holds the row
    // calculations the table reads, `build` makes it with the registered engine (without one the
    // user is told the table is not available yet); the table takes the request's title and the
    // request, and is added.
    using OpenTableBuilder =
        std::function<std::unique_ptr<CTableau>(TablesOuvertes&, CQuestionEtendue&, const CTraitement&)>;
    void ConstruireTableauOuvert(std::unique_ptr<CTraitement> request, std::size_t parameters, const char* name,
                                 const OpenTableBuilder& build);
    // Shows a kernel's error text, and keeps it among the failures with what was being computed.
    void SignalerErreur(const std::string& error);

    CContexteEtude& m_context;
    std::vector<std::unique_ptr<CTableau>> m_tables;
    int m_depth = 0; // calls of Calculer under way
    std::string m_computing; // the request Calculer is running, as GetEchecs names it
    std::vector<std::string> m_failures;
};
