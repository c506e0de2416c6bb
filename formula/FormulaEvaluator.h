#pragma once

#include "formula/FormulaData.h"
#include "formula/NumberLists.h"
#include "formula/ValeurFormule.h"

#include <cstdint>
#include <locale>
#include <memory>
#include <vector>

// Computes a compiled formula for one interview after another: every node of the compiled list,
// in order, takes its value from its operands' values; the last node holds the result. Nodes
// whose value depends on no answer (constants and what is computed from constants alone) are
// computed for the first interview only, and their long lists are searched through a lookup made
// once. A value that cannot be computed is the error value; no interview's data make it fault.
class FormulaEvaluator {
public:
    // The compiled list stays the caller's; it and the data must outlive the evaluator, and
    // neither may change.
    FormulaEvaluator(std::vector<CValeurFormule>& compiled, const FormulaData& data);
    ~FormulaEvaluator();
    FormulaEvaluator(const FormulaEvaluator&) = delete;
    FormulaEvaluator& operator=(const FormulaEvaluator&) = delete;

    // Computes every node for the interview (0 for the first).
    void Evaluer(std::int32_t interview);
    const CValeurFormule& Resultat() const { return m_compiled.back(); }

private:
    void EvaluateNode(CValeurFormule& node, std::size_t index, std::int32_t interview);
    void Reference(CValeurFormule& node, std::size_t index, std::int32_t interview) const;
    void ModalityReference(CValeurFormule& node, std::size_t index, std::int32_t interview) const;
    void Arithmetic(CValeurFormule& node);
    void Comparison(CValeurFormule& node);
    void Logical(CValeurFormule& node) const;
    void Index(CValeurFormule& node) const;

    bool Equal(std::size_t left, std::size_t right);
    bool Included(std::size_t left, std::size_t right);
    bool Less(std::size_t left, std::size_t right, bool orEqual);
    const CValeurFormule& Operand(const CValeurFormule& node, std::size_t i) const {
        return m_compiled[OperandIndex(node, i)];
    }
    static std::size_t OperandIndex(const CValeurFormule& node, std::size_t i) {
        return static_cast<std::size_t>(node.operands[i]);
    }

    std::vector<CValeurFormule>& m_compiled;
    std::locale m_locale;
    std::vector<char> m_constant;                                // by node
    std::vector<const FormulaData::Answers*> m_answers;          // by node: the answers of its question
    std::vector<double> m_modality;                              // by node: the modality number referred to
    std::vector<std::unique_ptr<NumberLists::Lookup>> m_lookups; // by node: a long constant list's lookup
    bool m_constantsDone = false;
};
