#include "app/QuestionCalculee.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/Enquete.h"
#include "app/QuestionEtendue.h"

namespace {

CQuestionCalculee::Fabrique& RegisteredFactory() {
    static CQuestionCalculee::Fabrique factory;
    return factory;
}

// Kinds whose answers never hold the not-asked modality.
constexpr std::array<std::int16_t, 5> kKindsWithoutNotAsked{1, 2, 6, 8, 9};

// The class attribute that marks a question as computed, beside its kind 1.
constexpr std::int16_t kComputedClassAttribute = 2;

} // namespace

std::unique_ptr<CQuestionCalculee> CQuestionCalculee::Creer() {
    const Fabrique& factory = RegisteredFactory();
    if (factory)
        if (auto definition = factory())
            return definition;
    return std::make_unique<CQuestionCalculee>();
}

CQuestionCalculee::Fabrique CQuestionCalculee::EnregistrerFabrique(Fabrique fabrique) {
    return std::exchange(RegisteredFactory(), std::move(fabrique));
}

std::unique_ptr<CQuestionEtendue> CQuestionCalculee::CreerQuestion(std::unique_ptr<CQuestionCalculee> definition,
                                                                   CEnquete& survey) {
    auto question = std::make_unique<CQuestionEtendue>(&survey);
    if (!definition)
        return question;
    question->kind = 1;
    question->classAttribute = kComputedClassAttribute;
    question->name = definition->label;
    question->SetLocalisedLongCaption(survey.questionnaireLanguage, definition->label);
    question->code = -definition->code;
    question->depth = kProfondeurQuestion;
    CQuestionCalculee& held = *definition;
    question->SetQuestionCalculee(std::move(definition));
    held.ConstruireModalites(*question);
    return question;
}

void CQuestionCalculee::ConstruireModalites(CQuestionEtendue&) {}

void CQuestionCalculee::ResoudreQuestions(CEnquete&) {}

std::string CQuestionCalculee::DonnerDefinition() const { return definition; }

std::vector<Message> CQuestionCalculee::DonnerDefauts() const { return {}; }

bool CQuestionCalculee::AModaliteAutre() const {
    return std::find(kKindsWithoutNotAsked.begin(), kKindsWithoutNotAsked.end(), kind) == kKindsWithoutNotAsked.end();
}
