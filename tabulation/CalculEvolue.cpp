#include "tabulation/CalculEvolue.h"

#include <array>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

// ---- Operation labels by type and kind; a type whose kind is kAnyKind has one label for all.

constexpr std::int32_t kAnyKind = -1;

struct OperationLabel {
    std::int16_t type;
    std::int32_t kind;
    const char* label;
};

constexpr std::array kOperationLabels{
    OperationLabel{CCalculEvolue::kCrossing, 0, "Effectifs"},
    OperationLabel{CCalculEvolue::kCrossing, 1, "Profils lignes"},
    OperationLabel{CCalculEvolue::kCrossing, 2, "Profils colonnes"},
    OperationLabel{CCalculEvolue::kCrossing, 3, "Fréquence totale"},
    OperationLabel{CCalculEvolue::kCrossing, 4, "Significativité"},
    OperationLabel{CCalculEvolue::kCrossing, 6, "Valeur test"},
    OperationLabel{CCalculEvolue::kCrossing, 7, "Indice d'affinité"},
    OperationLabel{CCalculEvolue::kTotal, 0, "Effectifs"},
    OperationLabel{CCalculEvolue::kTotal, 1, "Pourcentage"},
    OperationLabel{CCalculEvolue::kTotal, 4, "Taux d'importance"},
    OperationLabel{CCalculEvolue::kTotal, 8, "Coefficient de pondération"},
    OperationLabel{CCalculEvolue::kTotal, 9, "Total"},
    OperationLabel{CCalculEvolue::kTotal, 10, "Moyenne"},
    OperationLabel{CCalculEvolue::kTotal, 11, "Ecart-type"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 0, "Moyenne"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 1, "Ecart-type"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 2, "Nbre de réponses"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 3, "Nbre de 'Non-réponses'"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 4, "Somme"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 5, "Minimum"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 6, "Maximum"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 7, "IC sur moyenne(-)"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 8, "IC sur moyenne (+)"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 9, "Variance"},
    OperationLabel{CCalculEvolue::kStatisticsSubTotal, 10, "Significativité"},
    OperationLabel{CCalculEvolue::kTestLine, kAnyKind, "Test khi2"},
};

// ---- Parts of the definition text, in order.

enum DefinitionPart : std::size_t {
    kPartStudyField,
    kPartWeighting,
    kPartLevel,
    kPartType,
    kPartPosition,
    kPartKind,
    kPartLabel,
    kPartTestText,
    kDefinitionPartCount,
};
constexpr std::size_t kNumberPartCount = kPartLabel; // the first six parts are whole numbers
constexpr char kDefinitionSeparator = ';';

// ---- The survey of the study context.

CEnquete* StudySurvey() { return GetContexte(); }

std::string DefaultStudyFieldName() { return StringTable::Text(StringTable::kToutesLesInterviews); }
std::string DefaultWeightingName() { return StringTable::Text(StringTable::kAucunRedressement); }

std::string LevelName(const CEnquete* survey, int index) {
    const CQuestionNiveau* level = survey ? survey->DonnerNiveau(index) : nullptr;
    return level ? level->name : std::string();
}

// The code of the level at the index; 0 when there is none.
std::int32_t LevelId(const CEnquete* survey, int index) {
    const CQuestionNiveau* level = survey ? survey->DonnerNiveau(index) : nullptr;
    return level ? level->code : 0;
}

// The index of the level of that code; 0 when none has it.
int LevelIndex(const CEnquete* survey, std::int32_t id) {
    int index = 0;
    if (survey == nullptr || !TrouverIndexNiveau(id, index, *survey))
        return 0;
    return index;
}

using IdNameList = std::vector<std::unique_ptr<CIdName>>;

IdNameList StudyFields(CEnquete* survey) {
    IdNameList list;
    if (survey)
        survey->DonnerListeChampsEtude(list); // a list that could not be read is only shorter
    return list;
}

IdNameList Weightings(CEnquete* survey) {
    IdNameList list;
    if (survey)
        survey->DonnerListeRedressements(list);
    return list;
}

// The name of the first entry of that id; `otherwise` when none.
std::string NameOfId(const IdNameList& list, std::int32_t id, const std::string& otherwise) {
    for (const auto& entry : list)
        if (entry && entry->id == id)
            return entry->name;
    return otherwise;
}

// The id of the first entry of exactly that name; -1 when none.
std::int32_t IdOfName(const IdNameList& list, const std::string& name) {
    for (const auto& entry : list)
        if (entry && entry->name == name)
            return entry->id;
    return -1;
}

} // namespace

CCalculEvolue::CCalculEvolue()
    : studyFieldName(DefaultStudyFieldName()), weightingName(DefaultWeightingName()),
      levelName(LevelName(StudySurvey(), 0)) {}

std::string CCalculEvolue::DonnerLibelleOperation() const { return DonnerLibelleOperation(type, code); }

std::string CCalculEvolue::DonnerLibelleOperation(std::int16_t operationType, std::int32_t kind) {
    for (const OperationLabel& entry : kOperationLabels)
        if (entry.type == operationType && (entry.kind == kAnyKind || entry.kind == kind))
            return entry.label;
    return std::string();
}

std::string CCalculEvolue::DonnerDefinition() const {
    const std::string separator(1, kDefinitionSeparator);
    std::string text;
    for (const std::int32_t number : {studyFieldId, weightingId, LevelId(StudySurvey(), levelIndex),
                                      std::int32_t{type}, std::int32_t{position}, code})
        text += std::to_string(number) + separator;
    return text + label + separator + testLineText;
}

std::unique_ptr<CCalculEvolue> CCalculEvolue::LireDefinition(std::string_view text) {
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(text, kDefinitionSeparator, parts);
    if (parts.size() < kNumberPartCount)
        return nullptr;
    std::array<std::int32_t, kNumberPartCount> numbers{};
    for (std::size_t i = 0; i < kNumberPartCount; ++i)
        if (!CStaticTools::EstLong(parts[i], numbers[i]))
            return nullptr;

    CEnquete* survey = StudySurvey();
    auto calculation = std::make_unique<CCalculEvolue>();
    calculation->studyFieldId = numbers[kPartStudyField];
    if (calculation->studyFieldId != -1)
        calculation->studyFieldName = NameOfId(StudyFields(survey), calculation->studyFieldId, calculation->studyFieldName);
    calculation->weightingId = numbers[kPartWeighting];
    if (calculation->weightingId != -1)
        calculation->weightingName = NameOfId(Weightings(survey), calculation->weightingId, calculation->weightingName);
    calculation->levelIndex = LevelIndex(survey, numbers[kPartLevel]);
    calculation->levelName = LevelName(survey, calculation->levelIndex);
    calculation->type = static_cast<std::int16_t>(numbers[kPartType]);
    calculation->position = static_cast<std::int16_t>(numbers[kPartPosition]);
    calculation->code = numbers[kPartKind];
    if (parts.size() > kPartLabel)
        calculation->label = parts[kPartLabel];
    if (parts.size() > kPartTestText)
        calculation->testLineText = parts[kPartTestText];
    return calculation;
}

bool CCalculEvolue::EstTexteAutorise(std::string_view text) {
    return text.find_first_of(kCaracteresInterdits) == std::string_view::npos;
}

bool CCalculEvolue::SetLibelle(const std::string& text, Message& refusal) {
    if (!EstTexteAutorise(text)) {
        refusal = MessageCaracteresInterdits();
        return false;
    }
    label = text;
    return true;
}

bool CCalculEvolue::SetTexteTest(const std::string& text, Message& refusal) {
    if (!EstTexteAutorise(text)) {
        refusal = MessageCaracteresInterdits();
        return false;
    }
    testLineText = text;
    return true;
}

void CCalculEvolue::Serialize(CArchiveVersion& archive) {
    const bool withTestText = archive.GetVersion() >= kVersionTestLineText;
    CEnquete* survey = StudySurvey();
    if (archive.IsStoring()) {
        archive << code << label << type << position << LevelId(survey, levelIndex) << studyFieldName
                << weightingName;
        if (withTestText)
            archive << testLineText;
        return;
    }

    // The record holds no flag: a loaded calculation is a new one with the stored fields.
    CCalculEvolue loaded;
    std::int32_t levelId = 0;
    archive >> loaded.code >> loaded.label >> loaded.type >> loaded.position >> levelId >> loaded.studyFieldName >>
        loaded.weightingName;
    if (withTestText)
        archive >> loaded.testLineText;
    loaded.levelIndex = LevelIndex(survey, levelId);
    loaded.levelName = LevelName(survey, loaded.levelIndex);
    loaded.studyFieldId = IdOfName(StudyFields(survey), loaded.studyFieldName);
    loaded.weightingId = IdOfName(Weightings(survey), loaded.weightingName);
    *this = std::move(loaded);
}
