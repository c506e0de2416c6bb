#pragma once

#include "formula/FormulaData.h"
#include "formula/FormulaError.h"
#include "formula/ValeurFormule.h"

#include <string>
#include <string_view>
#include <vector>

class CEnquete;

// The formula language: a condition or an expression on the answers of the survey's questions,
// computed once for every interview. docs/formula-language.md describes it as a user writes it.

// Evaluates the formula for every interview of the survey and appends one result text per
// interview to `results`, in the order of the interviews (the records of the interview level in
// key order, the order of CQuestionNiveau::GetEnregistrements of level 0). A result is the text
// form of the formula's value: "%g" for a number, so a condition gives "1" or "0"; empty where no
// value could be computed for that interview. The results belong to the interviews: a caller
// working at another level carries them down to its records (CQuestionNiveau::TransfererTextes
// from level 0), each record taking the result of its interview.
//
// False when the formula does not compile, or when the answers of a question it names cannot be
// read; `error` then gives the code, position and length (and, for a reading, the reader's text)
// and nothing is appended. On success the error code is 0.
bool EvaluerFormule(std::string_view formula, FormulaError& error, CEnquete& survey,
                    std::vector<std::string>& results);

// The steps of EvaluerFormule.

// Cuts and compiles the formula into `compiled`, whose last node is then the formula's value.
// Besides the errors of the tokenizer and the compiler: 0 for a formula without any operand, 123
// for one that leaves more than one value (both at position 0, over the whole formula).
bool PreparerFormule(std::string_view formula, std::vector<CValeurFormule>& compiled, FormulaError& error,
                     const CEnquete& survey);
// Reads the answers of every question the compiled formula names into the data; false with
// error 200 at the first reference to a question whose answers cannot be read.
bool ChargerDonneesFormule(const std::vector<CValeurFormule>& compiled, FormulaData& data,
                           FormulaError& error);
// Reads the answers and evaluates the compiled formula for every interview, appending the result
// texts; false, with nothing appended, when answers cannot be read.
bool CalculerFormule(std::vector<CValeurFormule>& compiled, CEnquete& survey,
                     std::vector<std::string>& results, FormulaError& error);
