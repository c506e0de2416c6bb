// The parts of a weighting scheme that need its targets: they live with the recodes and
// weightings, above the survey that keeps the schemes.
#include "app/Enquete.h"
#include "app/Redressement.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/ObjectifRedressement.h"

namespace {

void DeleteRoot(CObjectifRedressement* root) { delete root; }

std::string WriteRoot(const CObjectifRedressement& root, const CEnquete& survey, bool byName) {
    return root.EcrireDefinition(survey, byName, 0);
}

// "code@recode" or "code@keys@recode"; null for any other form or when no question matches.
CQuestionEtendue* InitialWeightQuestion(const CEnquete& survey, const std::string& reference) {
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(reference, '@', parts);
    if (parts.size() != 2 && parts.size() != 3)
        return nullptr;
    const std::string keys = parts.size() == 3 ? parts[1] : std::string();
    return survey.TrouverQuestion(CStaticTools::ToLong(parts[0]), keys, CStaticTools::ToLong(parts.back()));
}

} // namespace

void CRedressement::AttacherRacine(std::unique_ptr<CObjectifRedressement> target) {
    root = std::unique_ptr<CObjectifRedressement, RootOperations>(target.release(), RootOperations{&DeleteRoot, &WriteRoot});
}

void CRedressement::LireValeurs(CEnquete& survey) {
    root.reset();
    initialWeightQuestion = nullptr;
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(definition, '~', parts);
    if (parts.size() != 2)
        return;
    initialWeightQuestion = InitialWeightQuestion(survey, parts[0]);
    auto read = std::make_unique<CObjectifRedressement>();
    read->LireDefinition(survey, false, parts[1]);
    AttacherRacine(std::move(read));
}
