#pragma once

#include <cstdint>
#include <string>

class CQuestion;

// The question set the library works on: the survey implements it and the library calls back.
class CQuestionSet {
public:
    virtual ~CQuestionSet() = default;

    // Index of the first question whose name equals the text; false when none.
    virtual bool TrouverIndexParNom(const std::string& name, int& index) const = 0;
    virtual bool EstEnSaisie() const = 0;
    // Data kind of question i: 0 codes, 1 text, 2 date; extra is 1 for multiple answers.
    virtual void DonnerTypeQuestion(int i, int& kind, int& extra) const = 0;
    virtual CQuestion* DonnerQuestion(int i) const = 0;
    virtual std::string DonnerCheminBase() const = 0;
    virtual std::string DonnerCheminDonnees() const = 0;
    virtual std::string DonnerRepertoireInversion() const = 0;

protected:
    CQuestionSet() = default;
    CQuestionSet(const CQuestionSet&) = default;
    CQuestionSet& operator=(const CQuestionSet&) = default;
};
