#include "app/QuestionnaireLoader.h"

#include <map>
#include <string>
#include <utility>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/QuestionnaireSource.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "platform/questionnaire/Questionnaire.h"

namespace {

constexpr std::int32_t kOtherCode = -3;
constexpr std::int32_t kNoAnswerCode = -1;
constexpr std::int32_t kNotAskedCode = -2;
constexpr std::int32_t kComputedGroupCode = -100000;
constexpr const char* kComputedGroupName = "Questions calculées";
constexpr const char* kInterviewLevelName = "Interviews";
constexpr int kFirstVersionWithLanguages = 401;
constexpr std::int16_t kCountedLoopType = 4;
constexpr std::int16_t kFreeNumericType = 5;
constexpr std::int16_t kPerLevelType = 8;
constexpr int kComputedKindWithOwnModalities = 13;

// The number of items right after item i that lie under it, within [.., last].
int SubQuestionCount(const CQuestionnaireLoader::Questions& items, int i, int last) {
    int j = i + 1;
    while (j <= last && items[static_cast<std::size_t>(j)]->depth > items[static_cast<std::size_t>(i)]->depth)
        ++j;
    return j - i - 1;
}

CModaliteEtendue* FindModality(CQuestionEtendue& question, std::int32_t code) {
    const int index = question.TrouverModalite(code);
    return index < 0 ? nullptr : question.GetModaliteEtendue(index);
}

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
    // Its tables and lists say what the recode made of the question, not the source's wording;
    // an iteration keeps its own wording, which tells it from the other iterations.
    for (auto* captions : {&recoded->shortCaptions, &recoded->longCaptions})
        for (auto& entry : *captions)
            entry.second = source.values.empty() ? recode.label : entry.second + " " + recode.label;
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

// ---- The loader --------------------------------------------------------------------------------

CQuestionnaireLoader::CQuestionnaireLoader(CQuestionnaireSource& source, CEnquete& survey)
    : m_source(source), m_survey(survey) {}

bool CQuestionnaireLoader::Charger(std::vector<CLanguage>& languages, Questions& questions, Levels& levels,
                                   std::vector<CVersion>& versions, std::vector<CQuestionClass>& classes,
                                   std::int32_t& language, std::int32_t& version) {
    Questions treeQuestions;
    if (!LireQuestionnaire(languages, treeQuestions, versions, classes, language, version))
        return false;
    CreateInterviewLevel(levels);
    std::set<std::string> usedNames;
    std::vector<Iteration> iterations;
    std::vector<std::string> markers;
    if (!treeQuestions.empty())
        DevelopperQuestions(0, static_cast<int>(treeQuestions.size()) - 1, treeQuestions, questions, levels,
                            usedNames, iterations, markers, Expansion{}, language);
    treeQuestions.clear();
    AjouterQuestionsCalculees(questions, language);
    m_source.LireRecodages(questions, levels);
    PreparerQuestionsCalculees(questions);
    return true;
}

bool CQuestionnaireLoader::LireQuestionnaire(std::vector<CLanguage>& languages, Questions& treeQuestions,
                                             std::vector<CVersion>& versions, std::vector<CQuestionClass>& classes,
                                             std::int32_t& language, std::int32_t& version) {
    m_refusal = Message();
    CQuestionnaire questionnaire;
    if (!m_source.LireStructure(questionnaire))
        return false;
    // A file older than the languages table speaks the program's own language.
    if (questionnaire.languages.empty() && questionnaire.GetFileVersion() < kFirstVersionWithLanguages) {
        CLanguage own(m_survey.DonnerLangueApplication());
        own.isDefault = true;
        questionnaire.AddLanguage(own);
        questionnaire.language = own.id;
    }
    version = questionnaire.GetFileVersion();
    language = questionnaire.language;
    languages.insert(languages.end(), questionnaire.languages.begin(), questionnaire.languages.end());
    // The captions of the added modalities are made in the survey's languages.
    if (&languages != &m_survey.languages)
        m_survey.languages = languages;
    for (int i = 0; i < questionnaire.GetNbreQuestion(); ++i) {
        const CQuestion* model = questionnaire.GetQuestion(i);
        if (model == nullptr)
            continue;
        if (!model->inUse || (model->kind != 0 && !model->inUseForAnalysis)) {
            i += questionnaire.DonnerNbreSousQuestion(i);
            continue;
        }
        auto question = std::make_unique<CQuestionEtendue>(&m_survey, *model);
        if (question->EstFermee()) {
            AddProgramModalities(*question);
            if (!CheckCountable(*question))
                return false;
        }
        treeQuestions.push_back(std::move(question));
    }
    versions.insert(versions.end(), questionnaire.versions.begin(), questionnaire.versions.end());
    classes.insert(classes.end(), questionnaire.questionClasses.begin(), questionnaire.questionClasses.end());
    return true;
}

bool CQuestionnaireLoader::CheckCountable(const CQuestionEtendue& question) {
    // A loop's answer count is the number of its iterations, never a number of answer columns.
    if (question.kind == 1 && question.answerCount < 1) {
        m_refusal = Message(StringTable::kNombreReponsesInvalide, {question.name, std::to_string(question.answerCount)});
        return false;
    }
    std::map<std::int64_t, int> modalityOfCode;
    for (int i = 0; i < question.GetNbreModalite(); ++i) {
        const CModalite* modality = question.GetModalite(i);
        if (modality == nullptr)
            continue;
        std::vector<std::int64_t> codes{modality->code};
        if (const CModaliteEtendue* own = question.GetModaliteEtendue(i))
            codes.insert(codes.end(), own->values.begin(), own->values.end());
        for (const std::int64_t code : codes) {
            const auto [owner, first] = modalityOfCode.emplace(code, i);
            if (!first && owner->second != i) {
                m_refusal = Message(StringTable::kCodeModaliteEnDouble, {question.name, std::to_string(code)});
                return false;
            }
        }
    }
    return true;
}

// The modalities a closed question gets beside its own: the one gathering semi-open answers, the
// second missing-answer code when the question lowers its counts, and always the not-asked one.
void CQuestionnaireLoader::AddProgramModalities(CQuestionEtendue& question) const {
    if (question.semiOpen)
        AddSemiOpenModalities(question);
    if (question.hasNoAnswer != 0) {
        auto noAnswer = std::make_unique<CModaliteEtendue>(&m_survey);
        noAnswer->code = kNoAnswerCode;
        noAnswer->value = CModalite::kNoAnswerValue;
        m_survey.LibellerNonReponse(*noAnswer);
        question.AddModalite(std::move(noAnswer));
    }
    auto notAsked = std::make_unique<CModaliteEtendue>(&m_survey);
    notAsked->code = kNotAskedCode;
    notAsked->value = CModalite::kNotAskedValue;
    m_survey.LibellerNonInterroge(*notAsked);
    question.AddModalite(std::move(notAsked));
    if (question.EstNumerique())
        question.CalculerValeursModalites();
}

// Semi-open answers are read as minus their id: such a code is counted under the modality whose
// value list holds it. Kind 1 belongs to one of the question's modalities; the other kinds go to
// the "other" modality, or become modalities of their own when they are not grouped.
void CQuestionnaireLoader::AddSemiOpenModalities(CQuestionEtendue& question) const {
    auto other = std::make_unique<CModaliteEtendue>(&m_survey);
    other->code = kOtherCode;
    m_survey.LibellerAutre(*other);
    question.AddModalite(std::move(other));
    const auto owner = [&question](const CSemiOpen& answer) {
        CModaliteEtendue* found = answer.kind == 1 ? FindModality(question, answer.modalityCode) : nullptr;
        return found != nullptr ? found : FindModality(question, kOtherCode);
    };
    if (m_survey.GroupSemiOpens) {
        for (const CSemiOpen& answer : question.semiOpens)
            owner(answer)->values.push_back(-answer.id);
        return;
    }
    for (const CSemiOpen& answer : question.semiOpens) {
        if (answer.kind == 1)
            continue;
        auto own = std::make_unique<CModaliteEtendue>(&m_survey);
        own->code = -answer.id;
        own->shortCaptions = answer.shortCaptions;
        question.AddModalite(std::move(own));
    }
    for (const CSemiOpen& answer : question.semiOpens)
        if (answer.kind == 1)
            owner(answer)->values.push_back(-answer.id);
}

void CQuestionnaireLoader::CreateInterviewLevel(Levels& levels) const {
    auto level = std::make_unique<CQuestionNiveau>(&m_survey);
    level->kind = 2;
    level->type = 1;
    level->depth = 0;
    level->levelTable = 1;
    level->name = kInterviewLevelName;
    levels.push_back(std::move(level));
}

// ---- Expansion -----------------------------------------------------------------------------------

void CQuestionnaireLoader::DevelopperQuestions(int first, int last, const Questions& source, Questions& out,
                                               Levels& levels, std::set<std::string>& usedNames,
                                               std::vector<Iteration>& iterations, std::vector<std::string>& markers,
                                               const Expansion& expansion, std::int32_t languageId) {
    for (int i = first; i <= last; ++i) {
        const CQuestionEtendue& item = *source[static_cast<std::size_t>(i)];
        if (item.kind != 2) {
            AppendItem(item, out, usedNames, iterations, markers, expansion, languageId);
            continue;
        }
        const int subCount = SubQuestionCount(source, i, last);
        ExpandLoop(i, subCount, source, out, levels, usedNames, iterations, markers, expansion, languageId);
        i += subCount;
    }
}

std::int32_t CQuestionnaireLoader::FindOrCreateLevel(const CQuestionEtendue& loop, int depth, Levels& levels) const {
    const auto indexOf = [&levels](std::int32_t code) {
        for (std::size_t l = 0; l < levels.size(); ++l)
            if (levels[l]->code == code)
                return static_cast<std::int32_t>(l);
        return std::int32_t{-1};
    };
    std::int32_t found = -1;
    if (loop.loopSharesLevel && loop.sharedLevelCode != 0)
        found = indexOf(loop.sharedLevelCode);
    if (found < 0)
        found = indexOf(loop.code);
    if (found >= 0)
        return found;
    auto level = std::make_unique<CQuestionNiveau>(&m_survey, loop);
    level->depth = static_cast<std::int16_t>(depth);
    levels.push_back(std::move(level));
    return static_cast<std::int32_t>(levels.size() - 1);
}

// The question that stands for the loop itself: which iteration a record is (or, for a loop
// counted by a number, how many iterations there are).
std::unique_ptr<CQuestionEtendue> CQuestionnaireLoader::MakeLoopQuestion(const CQuestionEtendue& loop,
                                                                         std::int32_t level) const {
    auto question = std::make_unique<CQuestionEtendue>(loop);
    question->kind = 1;
    question->generated = 1;
    question->level = level;
    if (loop.type == kCountedLoopType) {
        question->type = kFreeNumericType;
        question->upperBound = static_cast<double>(loop.answerCount);
    } else {
        question->type = 1;
    }
    question->answerCount = 1;
    return question;
}

void CQuestionnaireLoader::ExpandLoop(int index, int subCount, const Questions& source, Questions& out,
                                      Levels& levels, std::set<std::string>& usedNames,
                                      std::vector<Iteration>& iterations, std::vector<std::string>& markers,
                                      const Expansion& expansion, std::int32_t languageId) {
    const CQuestionEtendue& loop = *source[static_cast<std::size_t>(index)];
    const int firstSub = index + 1;
    const int lastSub = index + subCount;
    if (loop.loopWithoutLevel) {
        const CQuestionEtendue* sub = subCount == 1 ? source[static_cast<std::size_t>(firstSub)].get() : nullptr;
        if (sub == nullptr || !sub->EstNumerique())
            return;
        auto perLevel = std::make_unique<CQuestionEtendue>(loop);
        perLevel->name = loop.name + " (P)";
        perLevel->kind = 1;
        perLevel->generated = 1;
        perLevel->level = expansion.level;
        perLevel->type = kPerLevelType;
        perLevel->answerCount = 1;
        perLevel->SetQuestionNiveau(std::make_unique<CQuestionEtendue>(*sub));
        ApplyIterations(*perLevel, iterations, markers, expansion.nesting, languageId, true);
        out.push_back(std::move(perLevel));
        return;
    }
    const std::int32_t level = FindOrCreateLevel(loop, expansion.depth, levels);
    if (expansion.expand) {
        markers.resize(static_cast<std::size_t>(expansion.nesting) + 1);
        markers[static_cast<std::size_t>(expansion.nesting)] = "??" + loop.name + "??";
    }
    auto loopQuestion = MakeLoopQuestion(loop, level);
    ApplyIterations(*loopQuestion, iterations, markers, expansion.nesting, languageId, true);
    out.push_back(std::move(loopQuestion));
    if (subCount == 0)
        return;
    if (expansion.buildAtLevel) {
        Expansion atLevel = expansion;
        atLevel.singleSubQuestion = subCount == 1;
        atLevel.depth = expansion.depth + 1;
        atLevel.level = level;
        atLevel.expand = false;
        DevelopperQuestions(firstSub, lastSub, source, out, levels, usedNames, iterations, markers, atLevel,
                            languageId);
    }
    if (!loop.expandIterations || !expansion.expand)
        return;
    // The iterations: the loop's modalities, or 1 .. N for a loop counted by a number.
    std::vector<std::unique_ptr<CModalite>> counted;
    std::vector<const CModalite*> fixed;
    if (loop.type == kCountedLoopType) {
        for (int k = 1; k <= loop.answerCount; ++k) {
            auto modality = std::make_unique<CModalite>(k);
            modality->SetLocalisedShortCaption(languageId, std::to_string(k));
            fixed.push_back(modality.get());
            counted.push_back(std::move(modality));
        }
    } else {
        for (const auto& modality : loop.modalities)
            if (modality && modality->code != kNoAnswerCode && modality->code != kNotAskedCode)
                fixed.push_back(modality.get());
    }
    Expansion perIteration = expansion;
    perIteration.nesting = expansion.nesting + 1;
    perIteration.singleSubQuestion = subCount == 1;
    perIteration.depth = expansion.depth + 1;
    perIteration.buildAtLevel = false;
    for (const CModalite* modality : fixed) {
        iterations.resize(static_cast<std::size_t>(expansion.nesting) + 1);
        iterations[static_cast<std::size_t>(expansion.nesting)] = Iteration{modality->code, modality};
        DevelopperQuestions(firstSub, lastSub, source, out, levels, usedNames, iterations, markers, perIteration,
                            languageId);
    }
    iterations.resize(static_cast<std::size_t>(expansion.nesting));
}

void CQuestionnaireLoader::AppendItem(const CQuestionEtendue& item, Questions& out, std::set<std::string>& usedNames,
                                      const std::vector<Iteration>& iterations,
                                      const std::vector<std::string>& markers, const Expansion& expansion,
                                      std::int32_t languageId) const {
    auto question = std::make_unique<CQuestionEtendue>(item);
    question->level = expansion.level;
    if (expansion.nesting > 0) {
        if (expansion.singleSubQuestion) {
            std::string joined;
            for (int j = 0; j < expansion.nesting; ++j)
                joined += (j == 0 ? "" : " x ") + IterationCaption(iterations[static_cast<std::size_t>(j)], languageId);
            question->name = joined;
            ApplyIterations(*question, iterations, markers, expansion.nesting, languageId, false);
        } else {
            ApplyIterations(*question, iterations, markers, expansion.nesting, languageId, true);
        }
    }
    if (expansion.singleSubQuestion && usedNames.count(question->name) != 0)
        question->name = item.name + " (" + question->name + ")";
    usedNames.insert(question->name);
    out.push_back(std::move(question));
}

void CQuestionnaireLoader::ApplyIterations(CQuestionEtendue& question, const std::vector<Iteration>& iterations,
                                           const std::vector<std::string>& markers, int nesting,
                                           std::int32_t languageId, bool captionsInName) const {
    for (int j = 0; j < nesting && j < static_cast<int>(iterations.size()); ++j) {
        const Iteration& iteration = iterations[static_cast<std::size_t>(j)];
        if (captionsInName)
            question.name += " (" + IterationCaption(iteration, languageId) + ")";
        if (j < static_cast<int>(markers.size()))
            question.RemplacerMarqueur(markers[static_cast<std::size_t>(j)], *iteration.modality, languageId);
        question.AjouterValeur(iteration.code);
    }
}

std::string CQuestionnaireLoader::IterationCaption(const Iteration& iteration, std::int32_t languageId) const {
    return iteration.modality != nullptr ? iteration.modality->GetLocalisedShortCaption(languageId) : std::string();
}

// ---- Computed questions ------------------------------------------------------------------------

void CQuestionnaireLoader::AjouterQuestionsCalculees(Questions& questions, std::int32_t languageId) {
    if (!m_source.ExisteTableVariable())
        return;
    auto group = std::make_unique<CQuestionEtendue>(&m_survey);
    group->kind = 0;
    group->name = kComputedGroupName;
    group->SetLocalisedLongCaption(languageId, kComputedGroupName);
    group->depth = 1;
    group->code = kComputedGroupCode;
    questions.push_back(std::move(group));
    std::vector<std::unique_ptr<CQuestionCalculee>> definitions;
    m_source.LireVariables(definitions);
    for (auto& definition : definitions) {
        if (!definition)
            continue;
        m_survey.newQuestionCode = definition->code;
        questions.push_back(CQuestionCalculee::CreerQuestion(std::move(definition), m_survey));
    }
}

void CQuestionnaireLoader::PreparerQuestionsCalculees(Questions& questions) {
    for (auto& question : questions) {
        CQuestionCalculee* definition = question->GetQuestionCalculee();
        if (definition == nullptr)
            continue;
        if (definition->kind == kComputedKindWithOwnModalities)
            definition->ConstruireModalites(*question);
        definition->ResoudreQuestions(m_survey);
    }
}
