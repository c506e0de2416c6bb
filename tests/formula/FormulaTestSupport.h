#pragma once

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "formula/EvaluerFormule.h"
#include "formula/FormulaData.h"
#include "formula/FormulaEvaluator.h"
#include "support/SettingsFixture.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace formula_test {

// A survey held in memory, without answers, whose questions the formulas name:
//   index 0 AGE numeric, 1 Q1 closed (3 modalities), 2 Q2 closed with several answers
//   (4 modalities), 3 AVIS open, 4 D date, 5 "Âge:2" numeric (a name with a colon and an
//   accented letter), 6 QQ? numeric (a name ending with "?"), 7 L loop (modalities 1, 2),
//   8 N discrete numeric (modalities 10, 20).
class SmallSurvey {
public:
    SmallSurvey() {
        Add("AGE", 1, 5, 0);
        Add("Q1", 1, 1, 3);
        Add("Q2", 1, 1, 4).multipleAnswers = true;
        Add("AVIS", 1, 4, 0);
        Add("D", 1, 3, 0);
        Add("Âge:2", 1, 5, 0);
        Add("QQ?", 1, 5, 0);
        Add("L", 2, 1, 2);
        Add("N", 1, 6, 2);
    }
    CContexteEtude& Get() { return m_survey; }

private:
    CQuestionEtendue& Add(const std::string& name, std::int16_t kind, std::int16_t type, int modalities) {
        auto question = std::make_unique<CQuestionEtendue>(&m_survey);
        question->code = static_cast<std::int32_t>(m_survey.questions.size()) + 1;
        question->name = name;
        question->kind = kind;
        question->type = type;
        for (int m = 1; m <= modalities; ++m) {
            auto modality = std::make_unique<CModaliteEtendue>(&m_survey);
            modality->code = m;
            question->AddModalite(std::move(modality));
        }
        m_survey.questions.push_back(std::move(question));
        return *m_survey.questions.back();
    }
    CContexteEtude m_survey;
};

// What a formula gives for one interview of no answers: the text form of its value, or the
// error.
struct Outcome {
    bool compiled = false;
    FormulaError error;
    std::string text;
    std::int32_t valueType = -1;
    std::int16_t dimension = -1;
};

inline Outcome Evaluate(const std::string& formula, const CEnquete& survey) {
    Outcome outcome;
    std::vector<CValeurFormule> compiled;
    outcome.compiled = PreparerFormule(formula, compiled, outcome.error, survey);
    if (!outcome.compiled)
        return outcome;
    const FormulaData noAnswers;
    FormulaEvaluator evaluator(compiled, noAnswers);
    evaluator.Evaluer(0);
    outcome.text = evaluator.Resultat().DonnerTexte();
    outcome.valueType = evaluator.Resultat().valueType;
    outcome.dimension = evaluator.Resultat().dimension;
    return outcome;
}

// A formula and the text of its value.
struct ValueCase {
    const char* formula;
    const char* text; // "" for the error value
};

// A formula refused, with its error code, position and length.
struct ErrorCase {
    const char* formula;
    std::int32_t code;
    std::int32_t position;
    std::int32_t length;
};

// A test on the small survey: formulas compiled against it and evaluated for one interview of no
// answers.
class FormulaFixture : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        m_survey = std::make_unique<SmallSurvey>();
    }
    void TearDown() override {
        m_survey.reset();
        SettingsFixture::TearDown();
    }

    CContexteEtude& Survey() { return m_survey->Get(); }
    Outcome Run(const std::string& formula) { return Evaluate(formula, m_survey->Get()); }

    void ExpectValues(const std::vector<ValueCase>& cases) {
        for (const ValueCase& item : cases) {
            SCOPED_TRACE(item.formula);
            const Outcome outcome = Run(item.formula);
            ASSERT_TRUE(outcome.compiled)
                << "error " << outcome.error.code << " at " << outcome.error.position;
            EXPECT_EQ(outcome.text, item.text);
        }
    }

    void ExpectErrors(const std::vector<ErrorCase>& cases) {
        for (const ErrorCase& item : cases) {
            SCOPED_TRACE(item.formula);
            const Outcome outcome = Run(item.formula);
            EXPECT_FALSE(outcome.compiled);
            ExpectError(outcome.error, item);
        }
    }

    static void ExpectError(const FormulaError& error, const ErrorCase& expected) {
        EXPECT_EQ(error.code, expected.code);
        EXPECT_EQ(error.position, expected.position);
        EXPECT_EQ(error.length, expected.length);
    }

private:
    std::unique_ptr<SmallSurvey> m_survey;
};

// Sets an environment variable for the life of the object.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const char* value) : m_name(name) {
        if (const char* previous = std::getenv(name))
            m_previous = previous;
        ::setenv(name, value, 1);
    }
    ~EnvironmentGuard() {
        if (m_previous)
            ::setenv(m_name.c_str(), m_previous->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace formula_test
