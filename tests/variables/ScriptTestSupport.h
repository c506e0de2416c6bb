#pragma once

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "support/SettingsFixture.h"

#include <cstdint>
#include <memory>
#include <string>

namespace script_test {

// A survey in memory, without answers, whose questions the scripts name: A, B, C, D and AGE
// numeric, SEXE closed (2 modalities), M closed with several answers (4 modalities), AVIS open,
// "QQ?" numeric (a name ending with "?") and "Âge" numeric (a name with an accented letter).
class ScriptSurvey {
public:
    ScriptSurvey() {
        for (const char* name : {"A", "B", "C", "D", "AGE"})
            Add(name, 5, 0);
        Add("SEXE", 1, 2);
        Add("M", 1, 4).multipleAnswers = true;
        Add("AVIS", 4, 0);
        Add("QQ?", 5, 0);
        Add("Âge", 5, 0);
    }
    CContexteEtude& Get() { return m_survey; }

private:
    CQuestionEtendue& Add(const std::string& name, std::int16_t type, int modalities) {
        auto question = std::make_unique<CQuestionEtendue>(&m_survey);
        question->code = static_cast<std::int32_t>(m_survey.questions.size()) + 1;
        question->name = name;
        question->kind = 1;
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

// A test on the survey above.
class ScriptSurveyTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        m_survey = std::make_unique<ScriptSurvey>();
    }
    void TearDown() override {
        m_survey.reset();
        SettingsFixture::TearDown();
    }
    CContexteEtude& Survey() { return m_survey->Get(); }

private:
    std::unique_ptr<ScriptSurvey> m_survey;
};

} // namespace script_test
