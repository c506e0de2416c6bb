#include "variables/CalculSources.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/db/DbException.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/AppliquerChampEtude.h"
#include "variables/NomsLangues.h"
#include "variables/VariableCalculee.h"

namespace {

constexpr std::int16_t kEmptyAnswer = -2;
constexpr double kNotAsked = -888888.88;

// The interview-record fields a kind-12 variable is made from, by the number its definition
// stores.
enum Information : std::int32_t {
    kEnqueteur = 0,
    kDebut = 1,
    kFin = 2,
    kNumero = 3,
    kCode = 4,
    kLangue = 6,
    kComplete = 7,
};

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

std::string Joined(const std::vector<std::string>& captions) {
    std::string themes;
    for (const std::string& caption : captions) {
        std::string stored = caption;
        std::replace(stored.begin(), stored.end(), '|', '/');
        themes += stored + "|";
    }
    return themes;
}

// The interviews a study field keeps at the interview level.
bool Membership(std::int32_t field, CEnquete& survey, std::vector<bool>& out, Message& error) {
    CVecteurDouble weights(survey.DonnerNbreInterviews());
    weights.Remplir(1.0);
    std::string reason;
    if (!AppliquerChampEtude(field, 0, weights, survey, reason)) {
        error = Message::Text(reason);
        return false;
    }
    out.assign(static_cast<std::size_t>(weights.GetSize()), false);
    for (int i = 0; i < weights.GetSize(); ++i)
        out[static_cast<std::size_t>(i)] = weights.GetAt(i) == 1.0;
    return true;
}

// One modality of a kind-2 variable: the fields whose interviews it holds; none for the
// catch-all modality.
struct FieldModality {
    std::vector<std::int32_t> fields;
    bool catchAll = false;
};

bool ReadFieldModalities(const CVariableCalculee& definition, std::vector<FieldModality>& out, Message& error) {
    const std::vector<std::string> captions = Split(definition.themes, '|');
    const std::vector<std::string> pieces = Split(definition.definition, '|');
    if (captions.size() != pieces.size() || pieces.empty()) {
        error = Message(StringTable::kVariableDefinitionIncoherente,
                        {definition.label, std::to_string(pieces.size()), std::to_string(captions.size())});
        return false;
    }
    for (const std::string& piece : pieces) {
        std::vector<std::int32_t> ids;
        CStaticTools::LireChaineSeparateurLong(piece, '@', ids);
        FieldModality modality;
        if (!ids.empty() && ids.front() == 0)
            modality.fields.assign(ids.begin() + 1, ids.end());
        else if (!ids.empty())
            modality.fields.push_back(ids.front());
        modality.catchAll = modality.fields.empty();
        out.push_back(std::move(modality));
    }
    return true;
}

// A number for the interview field: the value, -888888.88 where there is none or it is no number.
double NumberOf(const db::Value& value, bool whole) {
    if (value.isNull())
        return kNotAsked;
    try {
        const double number = value.toDouble();
        return whole ? static_cast<double>(value.toInteger()) : number;
    } catch (const db::DbException&) {
        return kNotAsked;
    }
}

// Codes given in order of first appearance to the values the caption function knows; -2 for no
// value or one it does not know.
template <class Caption>
CReponsesCalculees CodesByFirstAppearance(const std::vector<db::Value>& values, Caption caption,
                                          std::vector<std::string>& captions) {
    std::map<long long, std::int16_t> codes;
    std::vector<std::vector<std::int16_t>> rows;
    for (const db::Value& value : values) {
        auto& row = rows.emplace_back();
        long long key = 0;
        std::string text;
        if (value.isNull() || value.toWholeNumber(key) != db::Value::Whole::Exact || !caption(key, text)) {
            row.push_back(kEmptyAnswer);
            continue;
        }
        const auto [found, added] = codes.emplace(key, static_cast<std::int16_t>(captions.size()));
        if (added)
            captions.push_back(text);
        row.push_back(found->second);
    }
    return DisposerReponsesFermees(rows);
}

bool Interviewers(CEnquete& survey, const std::vector<db::Value>& values, CReponsesCalculees& out, Message& error) {
    CDBQuestionnaire database(survey);
    std::vector<std::int32_t> codes;
    std::vector<std::string> names;
    std::vector<std::string> texts;
    if (!database.Open(true) || !database.GetAgentList(codes, names, texts)) {
        error = Message::Text(database.GetErrorText());
        return false;
    }
    std::vector<std::string> captions;
    out = CodesByFirstAppearance(
        values,
        [&](long long key, std::string& caption) {
            const auto found = std::find(codes.begin(), codes.end(), key);
            if (found == codes.end())
                return false;
            const auto i = static_cast<std::size_t>(found - codes.begin());
            caption = names[i] + " " + texts[i];
            return true;
        },
        captions);
    out.libelles = Joined(captions);
    return true;
}

CReponsesCalculees Languages(const std::vector<db::Value>& values) {
    std::vector<std::string> captions;
    CReponsesCalculees answers = CodesByFirstAppearance(
        values,
        [](long long key, std::string& caption) {
            caption = NomsLangues::Nom(static_cast<std::int32_t>(key));
            return true;
        },
        captions);
    answers.libelles = Joined(captions);
    return answers;
}

CReponsesCalculees Completion(const std::vector<db::Value>& values) {
    std::vector<std::vector<std::int16_t>> rows;
    for (const db::Value& value : values) {
        bool completed = false;
        if (!value.isNull()) {
            try {
                completed = value.toBool();
            } catch (const db::DbException&) {
                completed = false;
            }
        }
        rows.push_back({static_cast<std::int16_t>(completed ? 0 : 1)});
    }
    CReponsesCalculees answers = DisposerReponsesFermees(rows);
    answers.libelles = Joined({StringTable::Text(StringTable::kOui), StringTable::Text(StringTable::kNon)});
    return answers;
}

CReponsesCalculees Numbers(const std::vector<db::Value>& values, bool whole) {
    CReponsesCalculees answers;
    answers.numerique = true;
    answers.nombreReponses = 1;
    for (const db::Value& value : values)
        answers.valeurs.push_back(NumberOf(value, whole));
    return answers;
}

} // namespace

namespace CalculSources {

bool ChampsEtude(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error) {
    std::vector<FieldModality> modalities;
    if (!ReadFieldModalities(definition, modalities, error))
        return false;
    std::map<std::int32_t, std::vector<bool>> members;
    for (const FieldModality& modality : modalities)
        for (std::int32_t field : modality.fields)
            if (!members.contains(field) && !Membership(field, survey, members[field], error))
                return false;
    const auto catchAll = std::find_if(modalities.begin(), modalities.end(),
                                       [](const FieldModality& m) { return m.catchAll; });
    const std::size_t interviews = static_cast<std::size_t>(survey.DonnerNbreInterviews());
    std::vector<std::vector<std::int16_t>> rows(interviews);
    for (std::size_t row = 0; row < interviews; ++row) {
        for (std::size_t m = 0; m < modalities.size(); ++m) {
            const auto& fields = modalities[m].fields;
            const bool holds = std::any_of(fields.begin(), fields.end(), [&](std::int32_t field) {
                const std::vector<bool>& in = members[field];
                return row < in.size() && in[row];
            });
            if (holds)
                rows[row].push_back(static_cast<std::int16_t>(m));
        }
        if (rows[row].empty() && catchAll != modalities.end())
            rows[row].push_back(static_cast<std::int16_t>(catchAll - modalities.begin()));
    }
    out = DisposerReponsesFermees(rows);
    return true;
}

bool InfosGenerales(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error) {
    std::int32_t information = -1;
    CStaticTools::EstLong(definition.definition, information);
    const bool known = information == kEnqueteur || information == kDebut || information == kFin ||
                       information == kNumero || information == kCode || information == kLangue ||
                       information == kComplete;
    if (!known) {
        error = Message(StringTable::kVariableSansReponse, {definition.label});
        return false;
    }
    std::vector<db::Value> values;
    CDataAccess access(survey, false);
    if (!access.LireInfoInterview(static_cast<short>(information), values)) {
        error = Message::Text(access.GetErrorText());
        return false;
    }
    switch (information) {
    case kEnqueteur: return Interviewers(survey, values, out, error);
    case kDebut:
    case kFin: out = Numbers(values, false); return true;
    case kNumero:
    case kCode: out = Numbers(values, true); return true;
    case kLangue: out = Languages(values); return true;
    default: out = Completion(values); return true;
    }
}

bool QuestionFiltree(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error) {
    CQuestionEtendue* source = definition.source1;
    if (source == nullptr) {
        error = Message(StringTable::kVariableQuestionAbsente, {definition.label, std::to_string(definition.reference1.code)});
        return false;
    }
    std::int32_t field = -1;
    if (!CStaticTools::EstLong(definition.definition, field) || field == -1) {
        error = Message(StringTable::kSelectionnerChampEtude);
        return false;
    }
    std::vector<bool> kept;
    if (!Membership(field, survey, kept, error))
        return false;
    CDataAccess access(survey, true);
    if (source->EstFermee()) {
        CMatriceCodes codes;
        if (!access.LireReponsesFermeesNiveau(*source, 0, codes)) {
            error = Message::Text(access.GetErrorText());
            return false;
        }
        CReponsesCalculees answers;
        answers.nombreReponses = std::max(codes.GetNbColonnes(), 1);
        for (int row = 0; row < codes.GetNbLignes(); ++row) {
            const bool in = static_cast<std::size_t>(row) < kept.size() && kept[static_cast<std::size_t>(row)];
            for (int column = 0; column < answers.nombreReponses; ++column) {
                const std::int16_t cell = in && column < codes.GetNbColonnes() ? codes.GetAt(row, column)
                                                                               : CMatriceCodes::kEmptyCell;
                answers.codes.push_back(cell == CMatriceCodes::kEmptyCell ? kEmptyAnswer : cell);
            }
        }
        out = std::move(answers);
        return true;
    }
    if (source->EstNumeriqueLibre() || source->EstDate()) {
        CVecteurDouble values;
        if (!access.LireValeursNumeriquesNiveau(*source, 0, values)) {
            error = Message::Text(access.GetErrorText());
            return false;
        }
        CReponsesCalculees answers;
        answers.numerique = true;
        answers.nombreReponses = 1;
        for (int row = 0; row < values.GetSize(); ++row) {
            const bool in = static_cast<std::size_t>(row) < kept.size() && kept[static_cast<std::size_t>(row)];
            answers.valeurs.push_back(in ? values.GetAt(row) : kNotAsked);
        }
        out = std::move(answers);
        return true;
    }
    error = source->EstOuverte() ? Message(StringTable::kNonImplemente) : Message(StringTable::kSelectionnerQuestion);
    return false;
}

} // namespace CalculSources
