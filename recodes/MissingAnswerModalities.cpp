#include "recodes/MissingAnswerModalities.h"

#include <memory>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"

namespace {

constexpr std::int32_t kNoAnswerCode = -1;
constexpr std::int32_t kNotAskedCode = -2;

std::unique_ptr<CModaliteEtendue> MissingModality(CEnquete* survey, std::int32_t code, double value) {
    auto modality = std::make_unique<CModaliteEtendue>(survey);
    modality->code = code;
    modality->value = value;
    return modality;
}

} // namespace

void MissingAnswerModalities::Append(CQuestionEtendue& target, CEnquete* survey, bool withNoAnswer) {
    if (withNoAnswer) {
        auto noAnswer = MissingModality(survey, kNoAnswerCode, CModalite::kNoAnswerValue);
        if (survey != nullptr)
            survey->LibellerNonReponse(*noAnswer);
        target.AddModalite(std::move(noAnswer));
    }
    target.hasNoAnswer = withNoAnswer ? 1 : 0;

    auto notAsked = MissingModality(survey, kNotAskedCode, CModalite::kNotAskedValue);
    if (survey != nullptr)
        survey->LibellerNonInterroge(*notAsked);
    notAsked->selected = false;
    target.AddModalite(std::move(notAsked));
}
