#include "app/QuestionnaireLoader.h"

#include <utility>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/QuestionnaireSource.h"
#include "app/Recodage.h"
#include "platform/questionnaire/Questionnaire.h"

namespace {

bool RecodeAppliesTo(const CRecodage& recode, const CQuestionEtendue& question) {
    return question.code == recode.sourceQuestionCode && question.recodeId == recode.sourceRecodeCode &&
           recode.EstApplicable(question);
}

// The question a recode makes of its source: as many answers per source answer as the recode
// gives, named after the recode, one level deeper in the tree.
std::unique_ptr<CQuestionEtendue> MakeRecodedQuestion(const CRecodage& recode, const CQuestionEtendue& source) {
    auto recoded = std::make_unique<CQuestionEtendue>(source);
    const int answers = recode.DonnerNombreReponses(source) * source.answerCount;
    recoded->answerCount = static_cast<std::int16_t>(answers);
    recoded->multipleAnswers = answers != 1;
    recoded->ranking = 0;
    recoded->name = source.values.empty() ? recode.label : source.name + " " + recode.label;
    recoded->depth = static_cast<std::int16_t>(source.depth + 1);
    recoded->recodeId = recode.id;
    recoded->SetRecodage(&recode);
    recoded->SetQuestionCalculee(nullptr);
    recoded->hasNoAnswer = 0;
    recode.Appliquer(*recoded, source.hasNoAnswer != 0);
    return recoded;
}

} // namespace

void InsererRecodage(const CRecodage& recode, std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                     CEnquete& /*survey*/) {
    for (std::size_t i = 0; i < questions.size(); ++i) {
        if (!RecodeAppliesTo(recode, *questions[i]))
            continue;
        auto recoded = MakeRecodedQuestion(recode, *questions[i]);
        questions.insert(questions.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(recoded));
        ++i; // go on after the inserted copy
    }
}
