#include "fuzz/FuzzSurvey.h"

#include <array>
#include <memory>
#include <string>

#include "app/ChampEtude.h"
#include "app/MemorySettingsStore.h"
#include "app/QuestionNiveau.h"
#include "app/Redressement.h"
#include "app/Registre.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/EnregistrerClassesTabulation.h"

namespace fuzz {
namespace {

constexpr std::int32_t kFrench = 1036;
constexpr std::array kVersions{403, 404, 405};

void AddLevel(CContexteEtude& survey, std::int32_t code, const std::string& name) {
    auto level = std::make_unique<CQuestionNiveau>(&survey);
    level->code = code;
    level->kind = 2;
    level->depth = static_cast<std::int16_t>(survey.levels.size());
    level->name = name;
    survey.levels.push_back(std::move(level));
}

CQuestionEtendue& AddQuestion(CContexteEtude& survey, std::int32_t code, const std::string& name, std::int16_t type,
                              std::initializer_list<std::int32_t> codes) {
    auto question = std::make_unique<CQuestionEtendue>(&survey);
    question->code = code;
    question->name = name;
    question->type = type;
    for (std::int32_t modalityCode : codes) {
        auto modality = std::make_unique<CModaliteEtendue>(&survey);
        modality->code = modalityCode;
        modality->SetLocalisedShortCaption(kFrench, "M" + std::to_string(modalityCode));
        question->AddModalite(std::move(modality));
    }
    survey.questions.push_back(std::move(question));
    return *survey.questions.back();
}

void AddGroupedQuestion(CContexteEtude& survey, const CQuestionEtendue& parent) {
    CRecodageModalite recode(&survey);
    recode.label = "Q12G";
    recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 0, "Groupe A", std::int16_t{0}));
    recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 1, "M1", std::int16_t{1}));
    recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 3, "M3", std::int16_t{0}));
    CQuestionEtendue& grouped = AddQuestion(survey, parent.code, "Q12G", 1, {1, 2});
    grouped.depth = static_cast<std::int16_t>(parent.depth + 1);
    grouped.recodeId = 5;
    grouped.SetRecodage(&recode);
}

std::unique_ptr<CContexteEtude> MakeSurvey() {
    CRegistre::InstallStore(std::make_unique<MemorySettingsStore>());
    EnregistrerClassesTabulation();
    auto survey = std::make_unique<CContexteEtude>();
    survey->languages = {CLanguage(kFrench, "Français")};
    survey->questionnaireLanguage = kFrench;
    survey->currentLanguage = kFrench;
    AddLevel(*survey, 0, "Interviews");
    AddLevel(*survey, 7, "Membres");
    CChampEtude field;
    field.id = 3;
    field.name = "Hommes";
    survey->MettreAJourChampEtude(field);
    CRedressement weighting;
    weighting.id = 4;
    weighting.name = "Redressement A";
    survey->MettreAJourRedressement(weighting);
    AddQuestion(*survey, 1, "Q1", 1, {1, 2, 3});
    AddQuestion(*survey, 2, "Q2", 1, {1, 2});
    const CQuestionEtendue& q12 = AddQuestion(*survey, 12, "Q12", 1, {1, 2, 3});
    AddGroupedQuestion(*survey, q12);
    AddQuestion(*survey, 20, "Q20", 1, {1, 2}).values = {3};
    AddQuestion(*survey, 30, "Q30", 5, {});
    AddQuestion(*survey, 31, "Q31", 4, {});
    CContexteEtude::RegisterContext(survey.get());
    return survey;
}

} // namespace

CContexteEtude& Survey() {
    static const std::unique_ptr<CContexteEtude> survey = MakeSurvey();
    return *survey;
}

int VersionOf(std::uint8_t first) { return kVersions[first % kVersions.size()]; }

std::uint8_t FirstByteOf(int version) {
    for (std::size_t i = 0; i < kVersions.size(); ++i)
        if (kVersions[i] == version)
            return static_cast<std::uint8_t>(i);
    return 0;
}

} // namespace fuzz
