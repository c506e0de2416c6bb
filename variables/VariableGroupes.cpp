#include "variables/VariableGroupes.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "variables/VariableCalculee.h"

namespace {

// What the response writers take for an interview without an answer.
constexpr std::int16_t kSansReponse = -2;

} // namespace

PartiesVariable CVariableGroupes::Parties(const std::string& label, int nbGroupes) {
    PartiesVariable parts;
    parts.label = label;
    parts.kind = CVariableCalculee::kMultivarie;
    for (int g = 1; g <= nbGroupes; ++g) {
        parts.definition += std::to_string(g) + "|";
        parts.themes += StringTable::Format(Message(StringTable::kGroupeNumero, {std::to_string(g)})) + "|";
    }
    return parts;
}

CReponsesCalculees CVariableGroupes::Reponses(int nbInterviews, int nbGroupes,
                                              const std::vector<std::int32_t>& interviewsLignes,
                                              const std::vector<double>& parIndividu) {
    CReponsesCalculees answers;
    answers.numerique = false;
    answers.nombreReponses = 1;
    answers.codes.assign(static_cast<std::size_t>(nbInterviews), kSansReponse);
    for (std::size_t row = 0; row < interviewsLignes.size() && row * 2 < parIndividu.size(); ++row) {
        const std::int32_t interview = interviewsLignes[row];
        const double group = parIndividu[row * 2];
        if (interview < 0 || interview >= nbInterviews || !(group >= 1 && group <= nbGroupes))
            continue;
        answers.codes[static_cast<std::size_t>(interview)] = static_cast<std::int16_t>(group - 1);
    }
    return answers;
}

CQuestionEtendue* CVariableGroupes::Generer(CContexteEtude& context, const std::string& label, int nbGroupes,
                                            const std::vector<std::int32_t>& interviewsLignes,
                                            const std::vector<double>& parIndividu, Message& error) {
    return CConstructionVariable::ConstruireAvecReponses(
        context, Parties(label, nbGroupes),
        Reponses(context.DonnerNbreInterviews(), nbGroupes, interviewsLignes, parIndividu), error);
}
