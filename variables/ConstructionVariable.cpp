#include "variables/ConstructionVariable.h"

#include <memory>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "variables/CalculVariable.h"
#include "variables/DefinitionTexts.h"
#include "variables/ReponsesCalculees.h"
#include "variables/VariableCalculee.h"

namespace {

constexpr int kClosedValueType = 1;
constexpr int kNumericValueType = 5;

void TakeParts(CVariableCalculee& definition, const PartiesVariable& parts) {
    definition.label = parts.label;
    definition.kind = parts.kind;
    definition.themes = parts.themes;
    definition.definition = parts.definition;
    definition.source1 = parts.source1;
    definition.source2 = parts.source2;
    definition.reference1 = {};
    definition.reference2 = {};
    CEnquete::DonnerReferenceQuestion(parts.source1, definition.reference1.code, definition.reference1.keys,
                                      definition.reference1.recodeCode);
    CEnquete::DonnerReferenceQuestion(parts.source2, definition.reference2.code, definition.reference2.keys,
                                      definition.reference2.recodeCode);
    definition.superposition = parts.kind == CQuestionCalculee::kTypeSuperposition ? parts.superposition : 0;
}

// What happened to the answers of a build that landed.
enum class Written { kInFields, kInInvertedFileOnly };

// Makes the answer fields, writes the answers and saves the definition in one transaction. The
// question is the one the definition builds; it takes the response table the fields land in.
bool WriteAll(CContexteEtude& context, CQuestionEtendue& question, CVariableCalculee& definition,
              const CReponsesCalculees& answers, Written& where, Message& error) {
    CDataAccess access(context, false);
    CDBQuestionnaire store(context);
    bool storeFailed = false;
    where = Written::kInFields;
    const bool fallbackAllowed = definition.kind == CVariableCalculee::kProfil && context.invertedFilesValid;
    const bool written = access.EcrireEnUneFois("ConstruireVariable", [&](db::Database& database) {
        short table = static_cast<short>(definition.responseTable);
        if (!access.CreerChampsQuestion(question.code, answers.nombreReponses,
                                        answers.numerique ? kNumericValueType : kClosedValueType, table)) {
            if (!fallbackAllowed)
                return false;
            context.GetUserInterface().ShowMessage(Message(StringTable::kChampsNonCrees),
                                                   UserInterface::Icon::Warning);
            where = Written::kInInvertedFileOnly;
            storeFailed = !store.SauverVariable(database, definition);
            return !storeFailed;
        }
        definition.responseTable = table;
        question.responseTable = static_cast<std::uint16_t>(table);
        const bool answersWritten = answers.numerique ? access.EcrireValeursNumeriques(question, answers.valeurs)
                                                      : access.EcrireReponsesFermees(question, answers.codes);
        if (!answersWritten)
            return false;
        storeFailed = !store.SauverVariable(database, definition);
        return !storeFailed;
    });
    if (!written) {
        const std::string reason = storeFailed ? store.GetLastError() : access.GetErrorText();
        error = reason.empty() ? Message(StringTable::kChampsNonCrees) : Message::Text(reason);
    }
    return written;
}

// A profile variable whose answer fields could not be made keeps its answers in its inverted file
// alone: written once the definition has landed (the inverted files' record follows the
// questionnaire file), and when it cannot be, the record is put back as it was.
bool WriteInvertedFileOnly(CContexteEtude& context, CQuestionEtendue& question, const CQuestionCalculee* previous,
                           const CQuestionCalculee& definition, const CReponsesCalculees& answers, Message& error) {
    std::vector<std::int16_t> block = answers.codes;
    CInversion inversion(context);
    if (inversion.InverserDonneesCalculees(question, block))
        return true;
    error = Message::Text(context.GetLastError());
    CDBQuestionnaire store(context);
    if (previous != nullptr)
        store.SauverVariable(*previous);
    else
        store.SupprimerVariable(definition);
    return false;
}

// The inverted file of the question, when the inverted files are in use, rewritten from the
// answers just written. A file that cannot be rewritten would give the old answers: the inverted
// files are then no longer used.
void RewriteInvertedFile(CContexteEtude& context, CQuestionEtendue& question, bool numeric) {
    if (!context.invertedFilesValid)
        return;
    CInversion inversion(context);
    const bool rewritten =
        numeric ? inversion.InverserValeursNumeriques(question) : inversion.InverserReponsesFermees(question);
    if (!rewritten)
        context.invertedFilesValid = false;
}

bool ComesFromAnAnalysis(std::int16_t kind) {
    return kind == CVariableCalculee::kMultivarie || kind == CVariableCalculee::kNumeriqueMultivarie;
}

// The parts a change of a variable made by an analysis may touch: the label, and for the classes
// of a classification (kind 4) their captions and order. Refused: groups that do not read whole,
// or none left.
bool CheckAnalysisParts(const PartiesVariable& parts, Message& error) {
    if (parts.kind != CVariableCalculee::kMultivarie)
        return true;
    std::vector<Message> defects;
    const auto groups = DefinitionTexts::LireGroupes(parts.label, parts.themes, parts.definition, defects);
    if (!defects.empty() || groups.empty()) {
        error = defects.empty() ? Message(StringTable::kAucuneModaliteDefinie) : defects.front();
        return false;
    }
    return true;
}

// A variable whose answers an analysis window computed changes without computing them: its new
// parts are saved, the old ones coming back when the save fails; then the question is rebuilt and,
// for the classes, its inverted file rewritten in their new order.
CQuestionEtendue* ChangeWithoutAnswers(CContexteEtude& context, CQuestionEtendue* edited, const PartiesVariable& parts,
                                       Message& error) {
    CVariableCalculee* existing =
        edited != nullptr ? dynamic_cast<CVariableCalculee*>(edited->GetQuestionCalculee()) : nullptr;
    if (existing == nullptr || existing->kind != parts.kind) {
        error = Message(StringTable::kVariableSansCalcul, {parts.label});
        return nullptr;
    }
    if (!CheckAnalysisParts(parts, error))
        return nullptr;
    const std::string label = existing->label;
    const std::string themes = existing->themes;
    const std::string definition = existing->definition;
    existing->label = parts.label;
    if (parts.kind == CVariableCalculee::kMultivarie) {
        existing->themes = parts.themes;
        existing->definition = parts.definition;
    }
    CDBQuestionnaire store(context);
    if (!store.SauverVariable(*existing)) {
        existing->label = label;
        existing->themes = themes;
        existing->definition = definition;
        error = Message::Text(store.GetLastError());
        return nullptr;
    }
    existing->ConstruireModalites(*edited);
    if (parts.kind == CVariableCalculee::kMultivarie) {
        context.OublierDonneesQuestion(*edited);
        RewriteInvertedFile(context, *edited, false);
    }
    return edited;
}

} // namespace

Message CConstructionVariable::VerifierLibelle(const CContexteEtude& context, const std::string& label,
                                               const CQuestionEtendue* edited) {
    if (label.empty())
        return Message(StringTable::kEntrerUnLibelle);
    const Message separator = CVariableCalculee::VerifierLibelle(0, label);
    if (separator.id != 0)
        return separator;
    if (context.ExisteAutreQuestion(label, edited))
        return Message(StringTable::kLibelleDejaUtilise);
    return Message();
}

CQuestionEtendue* CConstructionVariable::Construire(CContexteEtude& context, CQuestionEtendue* edited,
                                                    const PartiesVariable& parts, Message& error) {
    if (ComesFromAnAnalysis(parts.kind))
        return ChangeWithoutAnswers(context, edited, parts, error);
    CVariableCalculee* existing =
        edited != nullptr ? dynamic_cast<CVariableCalculee*>(edited->GetQuestionCalculee()) : nullptr;
    if (edited != nullptr && existing == nullptr) {
        error = Message(StringTable::kVariableSansCalcul, {parts.label});
        return nullptr;
    }
    auto draft = std::make_unique<CVariableCalculee>();
    TakeParts(*draft, parts);
    draft->ResoudreQuestions(context);
    draft->code = existing != nullptr ? existing->code : context.newQuestionCode + 1;
    CReponsesCalculees answers;
    if (!CCalculVariable::Calculer(*draft, context, answers, error))
        return nullptr;
    return Enregistrer(context, edited, parts, std::move(draft), answers, error);
}

CQuestionEtendue* CConstructionVariable::ConstruireAvecReponses(CContexteEtude& context, const PartiesVariable& parts,
                                                                const CReponsesCalculees& answers, Message& error) {
    auto draft = std::make_unique<CVariableCalculee>();
    TakeParts(*draft, parts);
    return Enregistrer(context, nullptr, parts, std::move(draft), answers, error);
}

CQuestionEtendue* CConstructionVariable::Enregistrer(CContexteEtude& context, CQuestionEtendue* edited,
                                                     const PartiesVariable& parts,
                                                     std::unique_ptr<CVariableCalculee> draft,
                                                     const CReponsesCalculees& answers, Message& error) {
    CVariableCalculee* existing =
        edited != nullptr ? dynamic_cast<CVariableCalculee*>(edited->GetQuestionCalculee()) : nullptr;
    if (answers.libelles)
        draft->themes = *answers.libelles;
    const std::size_t expected = static_cast<std::size_t>(context.DonnerNbreInterviews());
    const std::size_t given = answers.numerique ? answers.valeurs.size()
                                                : answers.codes.size() / static_cast<std::size_t>(std::max(answers.nombreReponses, 1));
    if (answers.nombreReponses < 1 || given != expected) {
        error = Message(StringTable::kVariableSansReponse, {parts.label});
        return nullptr;
    }

    const std::int32_t counter = context.newQuestionCode;
    if (existing == nullptr)
        draft->code = context.NouveauCodeQuestion();
    draft->maxAnswers = answers.nombreReponses;
    draft->responseTable = existing != nullptr ? existing->responseTable : 0;
    CVariableCalculee& definition = *draft;
    std::unique_ptr<CQuestionEtendue> built = CQuestionCalculee::CreerQuestion(std::move(draft), context);
    Written where = Written::kInFields;
    if (!WriteAll(context, *built, definition, answers, where, error) ||
        (where == Written::kInInvertedFileOnly &&
         !WriteInvertedFileOnly(context, *built, existing, definition, answers, error))) {
        context.newQuestionCode = counter;
        return nullptr;
    }

    CQuestionEtendue* question = nullptr;
    if (existing != nullptr) {
        TakeParts(*existing, parts);
        existing->ResoudreQuestions(context);
        existing->themes = definition.themes;
        existing->maxAnswers = definition.maxAnswers;
        existing->responseTable = definition.responseTable;
        existing->ConstruireModalites(*edited);
        question = edited;
    } else {
        question = context.AjouterQuestionCalculee(std::move(built));
    }
    context.OublierDonneesQuestion(*question);
    if (where == Written::kInFields)
        RewriteInvertedFile(context, *question, answers.numerique);
    return question;
}

PartiesVariable CConstructionVariable::PartiesDe(const CQuestionEtendue& question) {
    PartiesVariable parts;
    const CQuestionCalculee* definition = question.GetQuestionCalculee();
    if (definition == nullptr)
        return parts;
    parts.label = definition->label;
    parts.kind = definition->kind;
    parts.themes = definition->themes;
    parts.definition = definition->DonnerDefinition();
    parts.source1 = definition->source1;
    parts.source2 = definition->source2;
    parts.superposition = definition->superposition;
    return parts;
}

bool CConstructionVariable::Recalculer(CContexteEtude& context, CQuestionEtendue& question, Message& error) {
    const CQuestionCalculee* definition = question.GetQuestionCalculee();
    if (definition == nullptr)
        return true;
    switch (definition->kind) {
    case CVariableCalculee::kMultivarie:
    case CVariableCalculee::kNumeriqueMultivarie:
    case CVariableCalculee::kCodagePostal: return true;
    default: break;
    }
    return Construire(context, &question, PartiesDe(question), error) != nullptr;
}

std::vector<CConstructionVariable::Echec> CConstructionVariable::RecalculerTout(CContexteEtude& context) {
    std::vector<CQuestionEtendue*> computed;
    for (int i = 0; i < context.DonnerNbreQuestions(); ++i) {
        CQuestionEtendue* question = context.DonnerQuestion(i);
        if (question != nullptr && question->GetQuestionCalculee() != nullptr)
            computed.push_back(question);
    }
    std::vector<Echec> failures;
    for (CQuestionEtendue* question : computed) {
        Message reason;
        if (!Recalculer(context, *question, reason))
            failures.push_back({question, reason});
    }
    return failures;
}

bool CConstructionVariable::CopierSurBoucle(CContexteEtude& context, const PartiesVariable& parts, int& built,
                                            Message& error) {
    built = 0;
    const bool firstVaries = parts.source1 != nullptr && parts.source1->GetNbreValeurs() >= 1;
    const bool secondVaries = parts.source2 != nullptr && parts.source2->GetNbreValeurs() >= 1;
    if (!firstVaries && !secondVaries) {
        error = Message(StringTable::kPasDansUneBoucle);
        return false;
    }
    const CQuestionEtendue& varying = firstVaries ? *parts.source1 : *parts.source2;
    std::vector<CQuestionEtendue*> iterations;
    for (int i = 0; i < context.DonnerNbreQuestions(); ++i) {
        CQuestionEtendue* question = context.DonnerQuestion(i);
        if (question != nullptr && question->code == varying.code && question->recodeId == varying.recodeId &&
            EstDansNiveau(*question, 0, context))
            iterations.push_back(question);
    }
    int counter = 1;
    for (CQuestionEtendue* question : iterations) {
        PartiesVariable copy = parts;
        (firstVaries ? copy.source1 : copy.source2) = question;
        copy.label = parts.label + " (" + std::to_string(counter) + ")";
        while (VerifierLibelle(context, copy.label, nullptr).id != 0)
            copy.label = parts.label + " (" + std::to_string(++counter) + ")";
        Message ignored;
        if (Construire(context, nullptr, copy, ignored) == nullptr)
            continue;
        ++built;
        ++counter;
    }
    return true;
}
