#pragma once

#include <vector>

#include "formula/FormulaData.h"
#include "variables/ValeurScript.h"

class CEnquete;
class ScriptProgram;

// Evaluates a checked script for one interview at a time, in one left-to-right pass per level
// of parentheses with three accumulators (arithmetic, comparison, logical). Errors never stop
// it: they become values of kind error. The answers of the questions it names come from the
// data, read beforehand; a question without answers there reads as a non-response.
class ScriptEvaluator {
public:
    // The program and the data must outlive the evaluator.
    ScriptEvaluator(const ScriptProgram& program, const CEnquete& survey, const FormulaData& data);

    // The value of the whole script for the interview (0-based).
    CValeurScript Evaluer(int interview) const;
    // The value of the tokens [first, end).
    CValeurScript CompilerScript(int first, int end, int interview) const;
    // What the interview stores: the number of a single finite number, else the non-response.
    double Resultat(int interview) const;

private:
    // What a reference token reads: its answers and the number of modalities of its question.
    struct Reference {
        const FormulaData::Answers* answers = nullptr;
        int modalities = 0;
    };

    CValeurScript Lire(int token, int interview) const;
    // Evaluates the SI block beginning at `si` into the operand when a branch is taken.
    void Si(int si, int interview, CValeurScript& operand) const;

    const ScriptProgram& m_program;
    std::vector<Reference> m_references; // one per token
};
