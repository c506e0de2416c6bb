#include "variables/CalculListes.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/CalculRedressement.h"
#include "tabulation/Profil.h"
#include "variables/DefinitionTexts.h"
#include "variables/VariableCalculee.h"

namespace {

using Rows = std::vector<std::vector<std::int16_t>>;

Rows EmptyRows(const CContexteEtude& context) {
    return Rows(static_cast<std::size_t>(std::max(context.DonnerNbreInterviews(), 0)));
}

bool ReadCodes(CDataAccess& access, CQuestionEtendue& question, CMatriceCodes& out, Message& error) {
    if (access.LireReponsesFermeesNiveau(question, 0, out))
        return true;
    error = Message::Text(access.GetErrorText());
    return false;
}

// Calls `each(row, position)` for every answer of the question that names one of its modalities:
// the other cells (no answer, not asked, codes beyond the modalities) are no answer.
template <typename Each>
void ForEachAnswer(const CMatriceCodes& codes, const CQuestionEtendue& question, std::size_t rows, Each each) {
    const int interviews = std::min(codes.GetNbLignes(), static_cast<int>(rows));
    const int modalities = question.GetNbreModalite();
    for (int row = 0; row < interviews; ++row)
        for (int column = 0; column < codes.GetNbColonnes(); ++column) {
            const std::int16_t position = codes.GetAt(row, column);
            if (position >= 0 && position < modalities)
                each(static_cast<std::size_t>(row), position);
        }
}

std::vector<const CSousProfil*> QuestionLines(const CProfil& profile) {
    std::vector<const CSousProfil*> lines;
    for (int i = 0; i < profile.GetCount(); ++i)
        if (!profile.IsSeparator(i))
            lines.push_back(profile.GetSousProfil(i));
    return lines;
}

bool Contains(const std::vector<std::int16_t>& cells, std::int16_t value) {
    return std::find(cells.begin(), cells.end(), value) != cells.end();
}

} // namespace

namespace CalculListes {

bool Superposition(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                   Message& error) {
    std::vector<Message> defects;
    const auto modalities = DefinitionTexts::LireModalitesSuperposees(definition.label, definition.themes, defects);
    const auto questions =
        DefinitionTexts::LireQuestionsSuperposees(definition.label, definition.definition, context, defects);
    if (!defects.empty()) {
        error = defects.front();
        return false;
    }
    if (modalities.empty() || questions.empty()) {
        error = Message(modalities.empty() ? StringTable::kAucuneModaliteDefinie
                                           : StringTable::kAucuneQuestionSelectionnee);
        return false;
    }
    const bool cumulate = definition.superposition != 0;
    CDataAccess access(context, true);
    Rows rows = EmptyRows(context);
    for (CQuestionEtendue* question : questions) {
        CMatriceCodes codes;
        if (!ReadCodes(access, *question, codes, error))
            return false;
        ForEachAnswer(codes, *question, rows.size(), [&](std::size_t row, std::int16_t position) {
            const auto wanted = std::find_if(modalities.begin(), modalities.end(), [position](const auto& item) {
                return item.number - 1 == position;
            });
            if (wanted == modalities.end())
                return;
            const auto p = static_cast<std::int16_t>(wanted - modalities.begin());
            if (cumulate || !Contains(rows[row], p))
                rows[row].push_back(p);
        });
    }
    out = DisposerReponsesFermees(rows);
    return true;
}

bool Redressement(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                  Message& error) {
    std::int32_t weighting = -1;
    if (!CStaticTools::EstLong(definition.definition, weighting) || weighting < 0) {
        error = Message(StringTable::kSelectionnerRedressement);
        return false;
    }
    CVecteurDouble weights;
    std::string reason;
    if (!CalculerRedressement(weighting, 0, weights, reason, context)) {
        error = reason.empty() ? Message(StringTable::kSelectionnerRedressement) : Message::Text(reason);
        return false;
    }
    CReponsesCalculees answers;
    answers.numerique = true;
    answers.nombreReponses = 1;
    answers.valeurs.assign(weights.Valeurs().begin(), weights.Valeurs().end());
    out = std::move(answers);
    return true;
}

bool Profil(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out, Message& error) {
    const std::vector<const CSousProfil*> lines = QuestionLines(definition.GetProfil());
    if (lines.empty() || definition.GetProfil().GetNbreModalitesTotal() == 0) {
        error = Message(lines.empty() ? StringTable::kSelectionnerUneQuestion : StringTable::kSelectionnerUneModalite);
        return false;
    }
    CDataAccess access(context, true);
    Rows rows = EmptyRows(context);
    std::string captions;
    std::int16_t offset = 0;
    for (const CSousProfil* line : lines) {
        CQuestionEtendue& question = *line->GetQuestion();
        CMatriceCodes codes;
        if (!ReadCodes(access, question, codes, error))
            return false;
        const auto& chosen = line->Modalites();
        ForEachAnswer(codes, question, rows.size(), [&](std::size_t row, std::int16_t position) {
            const std::int32_t code = question.GetModalite(position)->code;
            const auto match = std::find_if(chosen.begin(), chosen.end(),
                                            [code](const auto& modality) { return modality->code == code; });
            if (match != chosen.end())
                rows[row].push_back(static_cast<std::int16_t>(offset + (match - chosen.begin())));
        });
        for (const auto& modality : chosen)
            captions += DefinitionTexts::LibelleStockable(modality->GetShortCaption(), false) + "|";
        offset = static_cast<std::int16_t>(offset + chosen.size());
    }
    out = DisposerReponsesFermees(rows);
    out.libelles = captions;
    return true;
}

bool DureesSaisie(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                  Message& error) {
    const std::vector<const CSousProfil*> lines = QuestionLines(definition.GetProfil());
    if (lines.empty()) {
        error = Message(StringTable::kSelectionnerUneQuestion);
        return false;
    }
    CDataAccess access(context, true);
    std::vector<double> sums(static_cast<std::size_t>(std::max(context.DonnerNbreInterviews(), 0)), 0.0);
    for (const CSousProfil* line : lines) {
        CVecteurDouble durations;
        if (!access.LireDureesSaisie(*line->GetQuestion(), durations)) {
            error = Message::Text(access.GetErrorText());
            return false;
        }
        const auto values = durations.Valeurs();
        for (std::size_t i = 0; i < std::min(sums.size(), values.size()); ++i)
            sums[i] += values[i];
    }
    CReponsesCalculees answers;
    answers.numerique = true;
    answers.nombreReponses = 1;
    answers.valeurs = std::move(sums);
    out = std::move(answers);
    return true;
}

} // namespace CalculListes
