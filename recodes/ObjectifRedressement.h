#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CEnquete;
class CQuestionEtendue;

// One target of a weighting scheme: a closed single-answer question with the share wanted for
// each of its modalities, and the targets nested under it. The root of a scheme is a target
// without question.
//
// Mode 0 splits the population: child k applies to the interviews answering modality k. Mode 1
// is a population node: it keeps the population its parent gives it and its children share it.
// Mode 2 is a plain target; its children take no part in raking.
class CObjectifRedressement {
public:
    static constexpr std::int16_t kModeEclate = 0;
    static constexpr std::int16_t kModePopulation = 1;
    static constexpr std::int16_t kModeSimple = 2;

    // A target without question (mode 1).
    CObjectifRedressement();
    // A target for the question (mode 2 unless given): one desired and observed value per
    // modality, both the count of the modality's answers among all the interviews (counted by the
    // survey when it has not counted them yet; 0 when they cannot be read).
    explicit CObjectifRedressement(CQuestionEtendue* question, std::int16_t mode = kModeSimple);
    // Mode, question and desired values (positions beyond the source's count are 0); no children.
    CObjectifRedressement(const CObjectifRedressement& source);
    CObjectifRedressement& operator=(const CObjectifRedressement&) = delete;
    ~CObjectifRedressement();

    std::int16_t GetMode() const { return m_mode; }
    void SetMode(std::int16_t mode) { m_mode = mode; }
    CQuestionEtendue* GetQuestion() const { return m_question; }
    int DonnerNombreModalites() const { return static_cast<int>(m_desired.size()); }
    std::string DonnerLibelleModalite(int i) const;

    double DonnerValeurDesiree(int i) const;
    double DonnerTotalDesire() const { return m_desiredTotal; }
    // desired_i / desired total × 100; 0 when the total is 0.
    double DonnerPourcentageDesire(int i) const;
    // Replaces desired value i; the desired total stays the sum.
    void SetObjectif(int i, double value);

    double DonnerValeurObservee(int i) const;
    double DonnerPourcentageObserve(int i) const;
    void SetValeurObservee(int i, double value);

    void AjouterObjectif(std::unique_ptr<CObjectifRedressement> child);
    int DonnerNombreObjectifs() const { return static_cast<int>(m_children.size()); }
    CObjectifRedressement* DonnerObjectif(int i) const; // null out of range
    // Takes child i out of the tree (null out of range).
    std::unique_ptr<CObjectifRedressement> RetirerObjectif(int i);

    // The definition text of this target and its subtree, in pre-order, this target at `depth`:
    // by reference "code@keys@recode|depth|mode|values#", by name "name|depth|mode|values#"
    // (" " for a target without question); values are "v@" per modality, "." as decimal point.
    std::string EcrireDefinition(const CEnquete& survey, bool byName, int depth) const;
    // The question the user picks for a name the survey does not have (by the name form, which
    // comes from another survey); null when the user declines.
    using ChoixQuestion = std::function<CQuestionEtendue*(const std::string& name)>;
    // Adds the targets of a definition text under this (root) target. Items that cannot be
    // resolved are skipped; a question named by name that the survey lacks is asked of `choose`
    // when given, and its item is invalid when none is chosen.
    void LireDefinition(CEnquete& survey, bool byName, const std::string& text, const ChoixQuestion& choose = {});

private:
    static double Share(double part, double total);
    void RecomputeTotals();
    std::string QuestionField(const CEnquete& survey, bool byName) const;

    std::int16_t m_mode = kModePopulation;
    CQuestionEtendue* m_question = nullptr; // not owned
    std::vector<double> m_desired;
    std::vector<double> m_observed;
    double m_desiredTotal = 0.0;
    double m_observedTotal = 0.0;
    std::vector<std::unique_ptr<CObjectifRedressement>> m_children;
};
