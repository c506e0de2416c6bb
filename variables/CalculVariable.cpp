#include "variables/CalculVariable.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "variables/CalculDictionnaire.h"
#include "variables/CalculListes.h"
#include "variables/CalculScript.h"
#include "variables/CalculSources.h"
#include "variables/CodagePostal.h"
#include "variables/VariableCalculee.h"

namespace {

std::unique_ptr<CCalculScript>& InstalledScriptEvaluator() {
    static std::unique_ptr<CCalculScript> evaluator;
    return evaluator;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

// A pair of modality positions, one in each crossed question.
struct Pair {
    int first;
    int second;
};

// The pairs of each modality of a crossing, from its definition: per modality "%d;%d@" per pair,
// then "|". Pairs outside the two questions' modalities, or that do not read as two whole
// numbers, are skipped.
std::vector<std::vector<Pair>> CrossingPairs(const std::string& definition, int firstCount, int secondCount) {
    std::vector<std::vector<Pair>> modalities;
    for (const std::string& piece : Split(definition, '|')) {
        std::vector<Pair>& pairs = modalities.emplace_back();
        for (const std::string& part : Split(piece, '@')) {
            const std::vector<std::string> numbers = Split(part, ';');
            std::int32_t first = 0;
            std::int32_t second = 0;
            if (numbers.size() == 2 && CStaticTools::EstLong(numbers[0], first) &&
                CStaticTools::EstLong(numbers[1], second) && first >= 0 && first < firstCount && second >= 0 &&
                second < secondCount)
                pairs.push_back({first, second});
        }
    }
    return modalities;
}

bool Holds(const CMatriceCodes& answers, int row, int position) {
    for (int column = 0; column < answers.GetNbColonnes(); ++column)
        if (answers.GetAt(row, column) == position)
            return true;
    return false;
}

bool ReadAtInterviewLevel(CDataAccess& access, CQuestionEtendue& question, CMatriceCodes& out, Message& error) {
    if (access.LireReponsesFermeesNiveau(question, 0, out))
        return true;
    error = Message::Text(access.GetErrorText());
    return false;
}

// Kind 1: each interview receives, in order, every modality one of whose pairs it answered in
// both questions.
bool Crossing(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error) {
    CQuestionEtendue* first = definition.source1;
    CQuestionEtendue* second = definition.source2;
    if (first == nullptr || second == nullptr) {
        const auto& missing = first == nullptr ? definition.reference1 : definition.reference2;
        error = Message(StringTable::kVariableQuestionAbsente, {definition.label, std::to_string(missing.code)});
        return false;
    }
    if (!first->EstFermee() || !second->EstFermee()) {
        error = Message(StringTable::kDeuxQuestionsAModalites);
        return false;
    }
    if (first == second) {
        error = Message(StringTable::kCroisementAvecElleMeme);
        return false;
    }
    const std::vector<std::string> captions = Split(definition.themes, '|');
    const auto modalities = CrossingPairs(definition.definition, first->GetNbreModalite(), second->GetNbreModalite());
    if (captions.size() != modalities.size()) {
        error = Message(StringTable::kVariableDefinitionIncoherente,
                        {definition.label, std::to_string(modalities.size()), std::to_string(captions.size())});
        return false;
    }
    CDataAccess access(survey, true);
    CMatriceCodes firstAnswers;
    CMatriceCodes secondAnswers;
    if (!ReadAtInterviewLevel(access, *first, firstAnswers, error) ||
        !ReadAtInterviewLevel(access, *second, secondAnswers, error))
        return false;
    const int interviews = std::min(firstAnswers.GetNbLignes(), secondAnswers.GetNbLignes());
    std::vector<std::vector<std::int16_t>> received(static_cast<std::size_t>(interviews));
    for (int row = 0; row < interviews; ++row) {
        auto& cells = received[static_cast<std::size_t>(row)];
        for (std::size_t m = 0; m < modalities.size(); ++m) {
            const bool belongs = std::any_of(modalities[m].begin(), modalities[m].end(), [&](const Pair& pair) {
                return Holds(firstAnswers, row, pair.first) && Holds(secondAnswers, row, pair.second);
            });
            if (belongs)
                cells.push_back(static_cast<std::int16_t>(m));
        }
    }
    out = DisposerReponsesFermees(received);
    return true;
}

// Kind 3: the script language's values.
bool Script(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error) {
    CCalculScript* evaluator = InstalledScriptEvaluator().get();
    if (evaluator == nullptr) {
        error = Message(StringTable::kVariableSansCalcul, {definition.label});
        return false;
    }
    CReponsesCalculees answers;
    answers.numerique = true;
    answers.nombreReponses = 1;
    if (!evaluator->Calculer(definition.definition, survey, answers.valeurs, error))
        return false;
    out = std::move(answers);
    return true;
}

using Computation = bool (*)(const CVariableCalculee&, CContexteEtude&, CReponsesCalculees&, Message&);

// The computations that need no more than the survey.
template <bool (*Compute)(const CVariableCalculee&, CEnquete&, CReponsesCalculees&, Message&)>
bool OnSurvey(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out, Message& error) {
    return Compute(definition, context, out, error);
}

struct KindComputation {
    std::int16_t kind;
    Computation compute;
};

constexpr KindComputation kComputations[] = {
    {CVariableCalculee::kCroisement, &OnSurvey<&Crossing>},
    {CVariableCalculee::kChampsEtude, &OnSurvey<&CalculSources::ChampsEtude>},
    {CVariableCalculee::kScript, &OnSurvey<&Script>},
    {CVariableCalculee::kSuperposition, &CalculListes::Superposition},
    {CVariableCalculee::kRedressement, &CalculListes::Redressement},
    {CVariableCalculee::kProfil, &CalculListes::Profil},
    {CVariableCalculee::kDictionnaire, &CalculDictionnaire::Calculer},
    {CVariableCalculee::kCodagePostal, &OnSurvey<&CodagePostal::Calculer>},
    {CVariableCalculee::kDureesSaisie, &CalculListes::DureesSaisie},
    {CVariableCalculee::kInfosGenerales, &OnSurvey<&CalculSources::InfosGenerales>},
    {CVariableCalculee::kQuestionFiltree, &OnSurvey<&CalculSources::QuestionFiltree>},
};

} // namespace

bool CCalculVariable::Calculer(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                               Message& error) {
    const auto computation =
        std::find_if(std::begin(kComputations), std::end(kComputations),
                     [&definition](const KindComputation& c) { return c.kind == definition.kind; });
    if (computation == std::end(kComputations)) {
        error = Message(StringTable::kVariableSansCalcul, {definition.label});
        return false;
    }
    return computation->compute(definition, context, out, error);
}

std::unique_ptr<CCalculScript> CCalculVariable::EnregistrerCalculScript(std::unique_ptr<CCalculScript> evaluator) {
    return std::exchange(InstalledScriptEvaluator(), std::move(evaluator));
}
