#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "recodes/EnregistrerRecodages.h"
#include "support/SettingsFixture.h"

namespace recodes_test {

constexpr std::int32_t kFrench = 1036;
constexpr std::int32_t kEnglish = 1033;

// A survey in French (its default language) and English, with the recode kinds registered and
// a settings store of its own (the generated captions read their overrides there).
class RecodesFixture : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        EnregistrerRecodages();
        survey.languages = {CLanguage(kFrench, "Français"), CLanguage(kEnglish, "English")};
        survey.questionnaireLanguage = kFrench;
        survey.currentLanguage = kFrench;
    }

    // A closed question of the survey whose modalities have these codes, captioned "M<code>".
    std::unique_ptr<CQuestionEtendue> ClosedQuestion(std::int32_t code, std::initializer_list<std::int32_t> codes) {
        auto question = std::make_unique<CQuestionEtendue>(&survey);
        question->code = code;
        question->name = "Q" + std::to_string(code);
        question->type = 1;
        for (std::int32_t modalityCode : codes) {
            auto modality = std::make_unique<CModaliteEtendue>(&survey);
            modality->code = modalityCode;
            modality->SetLocalisedShortCaption(kFrench, "M" + std::to_string(modalityCode));
            question->AddModalite(std::move(modality));
        }
        return question;
    }

    // A question of kind 1 and the type (5 free numeric, 3 date, 4 open...).
    std::unique_ptr<CQuestionEtendue> QuestionOfType(std::int32_t code, std::int16_t type) {
        auto question = std::make_unique<CQuestionEtendue>(&survey);
        question->code = code;
        question->name = "Q" + std::to_string(code);
        question->type = type;
        return question;
    }

    static std::string Caption(const CQuestionEtendue& question, int i, std::int32_t language) {
        const CModalite* modality = question.GetModalite(i);
        return modality != nullptr ? modality->GetLocalisedShortCaption(language) : std::string("<none>");
    }

    CContexteEtude survey;
};

} // namespace recodes_test
