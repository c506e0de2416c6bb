#include "app/Enquete.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <utility>

#include "app/CacheDonnees.h"
#include "app/CacheDonnees3.h"
#include "app/ChampEtude.h"
#include "app/CommittedState.h"
#include "app/DataAccess.h"
#include "app/DBQuestionnaire.h"
#include "app/GeneratedCaptions.h"
#include "app/IdName.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/OneStateScope.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/QuestionnaireLoader.h"
#include "app/RecordKeySource.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

constexpr int kClosedCacheSlots = 5;
constexpr int kNumericCacheSlots = 5;
constexpr int kWeightCacheSlots = 6;

constexpr const char* kStampFileName = "Velto.dat";


using Kind = CGeneratedCaptions::Kind;

// Sets the modality's short caption in every language of the survey.
void SetCaptionInEveryLanguage(const std::vector<CLanguage>& languages, CModalite& modality, Kind kind,
                               const std::vector<double>& numbers, const std::vector<std::string>& texts) {
    for (const CLanguage& language : languages)
        modality.SetLocalisedShortCaption(language.id, CGeneratedCaptions::Caption(kind, language.id, numbers, texts));
}

bool SameKeys(const std::vector<std::int32_t>& keys, const CQuestionEtendue& question) {
    return keys == question.values;
}

// The entry of the list with the id, or end.
template <class T>
auto FindById(std::vector<std::unique_ptr<T>>& list, std::int32_t id) {
    return std::find_if(list.begin(), list.end(), [id](const auto& entry) { return entry && entry->id == id; });
}

// Replaces the entry of the same id by a copy of `item`, or appends one.
template <class T>
void ReplaceOrAppend(std::vector<std::unique_ptr<T>>& list, const T& item) {
    const auto found = FindById(list, item.id);
    if (found != list.end())
        **found = item;
    else
        list.push_back(std::make_unique<T>(item));
}

template <class T>
void AppendIdNames(const std::vector<std::unique_ptr<T>>& list, std::vector<std::unique_ptr<CIdName>>& out) {
    for (const auto& entry : list)
        if (entry)
            out.push_back(std::make_unique<CIdName>(entry->id, entry->name));
}

} // namespace

CEnquete::CEnquete() : m_committedState(std::make_unique<CommittedState>()) {}

CEnquete::~CEnquete() = default;

// ---- The question set -----------------------------------------------------------------------

bool CEnquete::TrouverIndexParNom(const std::string& name, int& index) const {
    for (int i = 0; i < DonnerNbreQuestions(); ++i) {
        if (questions[static_cast<std::size_t>(i)]->name == name) {
            index = i;
            return true;
        }
    }
    return false;
}

void CEnquete::DonnerTypeQuestion(int i, int& kind, int& extra) const {
    kind = 0;
    extra = 0;
    const CQuestionEtendue* question = DonnerQuestion(i);
    if (question == nullptr)
        return;
    if (question->kind == 2) {
        extra = 1;
        return;
    }
    if (question->kind != 1)
        return;
    switch (question->type) {
    case 1:
    case 6:
    case 7:
        extra = question->multipleAnswers ? 1 : 0;
        break;
    case 3:
        kind = 2;
        break;
    case 4:
        kind = 1;
        extra = question->typeFlag ? 1 : 0;
        break;
    default:
        break;
    }
}

CQuestionEtendue* CEnquete::DonnerQuestion(int i) const {
    if (i < 0 || i >= DonnerNbreQuestions())
        return nullptr;
    return questions[static_cast<std::size_t>(i)].get();
}

// ---- Questions and levels -------------------------------------------------------------------

CQuestionNiveau* CEnquete::DonnerNiveau(int i) const {
    if (i < 0 || i >= DonnerNbreNiveaux())
        return nullptr;
    return levels[static_cast<std::size_t>(i)].get();
}

bool CEnquete::EstQuestionFermee(int i) const {
    const CQuestionEtendue* question = DonnerQuestion(i);
    return question != nullptr && question->EstFermee();
}

bool CEnquete::EstQuestionNumerique(int i) const {
    const CQuestionEtendue* question = DonnerQuestion(i);
    return question != nullptr && question->EstNumerique();
}

int CEnquete::DonnerNbreModalites(int i) const {
    const CQuestionEtendue* question = DonnerQuestion(i);
    return question != nullptr ? question->GetNbreModalite() : 0;
}

CQuestionEtendue* CEnquete::TrouverQuestion(std::int32_t code, const std::string& keys, std::int32_t recodeCode) const {
    if (code == 0)
        return nullptr;
    std::vector<std::int32_t> loopKeys;
    CStaticTools::LireChaineSeparateurLong(keys, ';', loopKeys);
    for (const auto& question : questions)
        if (question->code == code && question->recodeId == recodeCode && SameKeys(loopKeys, *question))
            return question.get();
    return nullptr;
}

void CEnquete::DonnerReferenceQuestion(const CQuestionEtendue* question, std::int32_t& code, std::string& keys,
                                       std::int32_t& recodeCode) {
    code = 0;
    keys.clear();
    recodeCode = 0;
    if (question == nullptr)
        return;
    code = question->code;
    recodeCode = question->recodeId;
    for (std::int32_t key : question->values)
        keys += std::to_string(key) + ";";
}

CQuestionEtendue* CEnquete::TrouverQuestionParNom(const std::string& name) const {
    int index = -1;
    return TrouverIndexParNom(name, index) ? DonnerQuestion(index) : nullptr;
}

bool CEnquete::TrouverIndexQuestion(const CQuestionEtendue* question, int& index) const {
    for (int i = 0; i < DonnerNbreQuestions(); ++i) {
        if (questions[static_cast<std::size_t>(i)].get() == question) {
            index = i;
            return true;
        }
    }
    return false;
}

int CEnquete::DonnerIndexParent(int i) const {
    const CQuestionEtendue* question = i >= 1 ? DonnerQuestion(i) : nullptr;
    if (question == nullptr)
        return -1;
    for (int j = i - 1; j >= 0; --j)
        if (questions[static_cast<std::size_t>(j)]->depth < question->depth)
            return j;
    return -1;
}

CQuestionEtendue* CEnquete::DonnerParentMemeCode(const CQuestionEtendue* question) const {
    int index = -1;
    if (question == nullptr || !TrouverIndexQuestion(question, index))
        return nullptr;
    CQuestionEtendue* parent = DonnerQuestion(DonnerIndexParent(index));
    return parent != nullptr && parent->code == question->code ? parent : nullptr;
}

void CEnquete::CollecterAscendants(int i, std::vector<int>& levelList, std::vector<int>& indexList) const {
    const CQuestionEtendue* question = DonnerQuestion(i);
    if (question == nullptr)
        return;
    CollecterAscendants(DonnerIndexParent(i), levelList, indexList);
    if (std::find(levelList.begin(), levelList.end(), question->level) != levelList.end())
        return;
    // The loader's own question of a loop: generated for it, at the loop's level.
    const bool opensLoop = question->generated != 0 && !question->EstType8() && question->level != 0;
    if (opensLoop) {
        levelList.push_back(question->level);
        indexList.push_back(i);
    }
}

bool CEnquete::ChercherQuestionModalite(const std::string& text, int& index, std::int32_t& code) const {
    const auto colon = text.rfind(':');
    if (colon != std::string::npos && TrouverIndexParNom(text.substr(0, colon), index)) {
        code = static_cast<std::int32_t>(CStaticTools::ToLong(text.substr(colon + 1)));
        return true;
    }
    code = -1;
    return TrouverIndexParNom(text, index);
}

// ---- Answer data ----------------------------------------------------------------------------

// The count of each modality goes into its extra word; a cell of -5 is no answer.
bool CEnquete::CompterEffectifsModalites(CQuestionEtendue& question) {
    CDataAccess access(*this, true);
    CMatriceCodes* matrix = nullptr;
    if (!access.LireReponsesFermees(question, matrix))
        return false;
    std::vector<std::int32_t> counts(static_cast<std::size_t>(question.GetNbreModalite()), 0);
    for (int row = 0; row < matrix->GetNbLignes(); ++row)
        for (int column = 0; column < matrix->GetNbColonnes(); ++column) {
            const int index = matrix->GetAt(row, column);
            if (index >= 0 && index < static_cast<int>(counts.size()))
                ++counts[static_cast<std::size_t>(index)];
        }
    access.MemoriserReponsesFermees(question, matrix);
    for (int i = 0; i < question.GetNbreModalite(); ++i)
        if (auto* modality = dynamic_cast<CModaliteEtendue*>(question.GetModalite(i)))
            modality->extraWord = counts[static_cast<std::size_t>(i)];
    question.modalitiesLoaded = true;
    return true;
}

bool CEnquete::LireCodesQuestion(int i, CMatriceCodes& out) {
    CQuestionEtendue* question = DonnerQuestion(i);
    if (question == nullptr || !EstQuestionFermee(i))
        return false;
    CDataAccess access(*this, true);
    CMatriceCodes* matrix = nullptr;
    if (!access.LireReponsesFermees(*question, matrix) || matrix == nullptr)
        return false;
    out = *matrix;
    access.MemoriserReponsesFermees(*question, matrix);
    return true;
}

bool CEnquete::LireValeursQuestion(int i, CVecteurDouble& out) {
    CQuestionEtendue* question = DonnerQuestion(i);
    if (question == nullptr || !EstQuestionNumerique(i))
        return false;
    CDataAccess access(*this, true);
    CVecteurDouble* values = nullptr;
    if (!access.LireValeursNumeriques(*question, values) || values == nullptr)
        return false;
    out = *values;
    access.MemoriserValeursNumeriques(*question, values);
    return true;
}

void CEnquete::OublierDonneesQuestion(const CQuestionEtendue& question) {
    if (m_closedAnswerCache)
        m_closedAnswerCache->Invalider(&question);
    if (m_numericCache)
        m_numericCache->Invalider(&question);
}

bool CEnquete::NoteUnknownAnswersReport(const CQuestionEtendue& question) {
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    DonnerReferenceQuestion(&question, code, keys, recode);
    const std::string reference = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "@" +
                                  std::to_string(question.generated) + "@" + question.name;
    return m_unknownAnswersReported.insert(reference).second;
}

void CEnquete::SetRecordKeySource(std::unique_ptr<CRecordKeySource> source) { m_recordKeySource = std::move(source); }

// ---- Study fields and weightings ------------------------------------------------------------

// Without a questionnaire database the lists start empty and live in memory.
bool CEnquete::ReadStudyFields(std::vector<std::unique_ptr<CChampEtude>>& out, std::string& error) {
    if (DonnerCheminBase().empty())
        return true;
    CDBQuestionnaire database(*this);
    if (database.ReadSubPopulationList(out))
        return true;
    error = database.GetLastError();
    return false;
}

bool CEnquete::ReadWeightings(std::vector<std::unique_ptr<CRedressement>>& out, std::string& error) {
    if (DonnerCheminBase().empty())
        return true;
    CDBQuestionnaire database(*this);
    if (database.GetWeightingList(out))
        return true;
    error = database.GetLastError();
    return false;
}

// A failed read leaves the list as it is and the next query tries again.
bool CEnquete::EnsureStudyFieldsLoaded() {
    if (studyFieldsLoaded)
        return true;
    std::vector<std::unique_ptr<CChampEtude>> read;
    std::string error;
    if (!ReadStudyFields(read, error)) {
        lastError = error;
        return false;
    }
    studyFields = std::move(read);
    studyFieldsLoaded = true;
    return true;
}

bool CEnquete::EnsureWeightingsLoaded() {
    if (weightingsLoaded)
        return true;
    std::vector<std::unique_ptr<CRedressement>> read;
    std::string error;
    if (!ReadWeightings(read, error)) {
        lastError = error;
        return false;
    }
    weightings = std::move(read);
    weightingsLoaded = true;
    return true;
}

void CEnquete::InvalidateWeightsOfStudyField(std::int32_t id) {
    if (m_weightCache)
        m_weightCache->InvaliderCle2(id);
}

void CEnquete::InvalidateWeightsOfWeighting(std::int32_t id) {
    if (m_weightCache)
        m_weightCache->InvaliderCle3(id);
}

bool CEnquete::DonnerListeChampsEtude(std::vector<std::unique_ptr<CIdName>>& out) {
    const bool loaded = EnsureStudyFieldsLoaded();
    AppendIdNames(studyFields, out);
    return loaded;
}

bool CEnquete::DonnerChampEtude(std::int32_t id, CChampEtude& out) {
    EnsureStudyFieldsLoaded();
    const auto found = FindById(studyFields, id);
    if (found == studyFields.end())
        return false;
    out = **found;
    out.ResoudreQuestions(*this);
    return true;
}

void CEnquete::MettreAJourChampEtude(const CChampEtude& field) {
    EnsureStudyFieldsLoaded();
    ReplaceOrAppend(studyFields, field);
    InvalidateWeightsOfStudyField(field.id);
}

void CEnquete::SupprimerChampEtude(std::int32_t id) {
    EnsureStudyFieldsLoaded();
    const auto found = FindById(studyFields, id);
    if (found != studyFields.end())
        studyFields.erase(found);
    InvalidateWeightsOfStudyField(id);
}

bool CEnquete::DonnerListeRedressements(std::vector<std::unique_ptr<CIdName>>& out) {
    const bool loaded = EnsureWeightingsLoaded();
    AppendIdNames(weightings, out);
    return loaded;
}

bool CEnquete::DonnerRedressement(std::int32_t id, CRedressement& out) {
    EnsureWeightingsLoaded();
    const auto found = FindById(weightings, id);
    if (found == weightings.end())
        return false;
    out = **found;
    out.Lier(*this);
    return true;
}

void CEnquete::MettreAJourRedressement(const CRedressement& weighting) {
    EnsureWeightingsLoaded();
    ReplaceOrAppend(weightings, weighting);
    InvalidateWeightsOfWeighting(weighting.id);
}

void CEnquete::SupprimerRedressement(std::int32_t id) {
    EnsureWeightingsLoaded();
    const auto found = FindById(weightings, id);
    if (found != weightings.end())
        weightings.erase(found);
    InvalidateWeightsOfWeighting(id);
}

// ---- Opening --------------------------------------------------------------------------------

bool CEnquete::Ouvrir() {
    Vider();
    lastErrorMessage = Message();
    // The structure, the interview keys and the inversion's stamp of one committed state.
    m_committedState->Forget();
    const OneStateScope oneState(*this);
    if (oneState.Refusal().id != 0) {
        lastErrorMessage = oneState.Refusal();
        return FailOpening(StringTable::Format(lastErrorMessage));
    }
    if (!LoadQuestionnaire())
        return FailOpening(lastError);
    currentLanguage = questionnaireLanguage;
    CreerCaches();
    currentLevel = 0;
    invertedFilesValid = false;
    if (!CountInterviews())
        return FailOpening(lastError);
    studyFieldsLoaded = false;
    weightingsLoaded = false;
    currentLevel = 0;
    return true;
}

// A failed opening leaves the survey empty, with the reason.
bool CEnquete::FailOpening(const std::string& reason) {
    const std::string kept = reason;
    const Message keptMessage = lastErrorMessage;
    Vider();
    lastError = kept;
    lastErrorMessage = keptMessage;
    return false;
}

void CEnquete::Vider() {
    questions.clear();
    levels.clear();
    languages.clear();
    versions.clear();
    questionClasses.clear();
    studyFields.clear();
    weightings.clear();
    studyFieldsLoaded = false;
    weightingsLoaded = false;
    interviewCount = 0;
    invertedFilesValid = false;
    m_invertedFilesFingerprint.reset();
    currentLevel = 0;
    m_unknownAnswersReported.clear();
    DetruireCaches();
}

void CEnquete::CreerCaches() {
    m_closedAnswerCache = std::make_unique<CCacheDonnees>(kClosedCacheSlots);
    m_numericCache = std::make_unique<CCacheDonnees>(kNumericCacheSlots);
    m_weightCache = std::make_unique<CCacheDonnees3>(kWeightCacheSlots);
}

void CEnquete::DetruireCaches() {
    m_closedAnswerCache.reset();
    m_numericCache.reset();
    m_weightCache.reset();
}

// Opens the questionnaire database read-only and runs the loader over the survey's arrays.
bool CEnquete::LoadQuestionnaire() {
    CDBQuestionnaire database(*this);
    database.SetLangueApplication(DonnerLangueApplication());
    bool loaded = database.Open(true);
    if (loaded) {
        CQuestionnaireLoader loader(database, *this);
        loaded = loader.Charger(languages, questions, levels, versions, questionClasses, questionnaireLanguage,
                                fileVersion);
        if (!loaded && loader.GetRefusal().id != 0) {
            lastErrorMessage = loader.GetRefusal();
            lastError = StringTable::Format(lastErrorMessage);
            return false;
        }
    }
    if (loaded)
        return true;
    lastError = !database.GetLastError().empty() ? database.GetLastError() : database.GetErrorText();
    if (lastError.empty())
        lastError = "Le questionnaire '" + DonnerCheminBase() + "' ne peut pas être lu";
    return false;
}

// Counts the records of level 0 and checks the stamp of the inverted files, in the order the
// CheckInversion option asks: the interview count that stays is level 0's record count. When the
// inversion can be believed, the interview keys come from their level file (itself checked
// against the fingerprint), which costs a fraction of a walk of the interview table; if the stamp
// then disagrees with that count, nothing inverted is believed and the keys are read again from
// the table. Level 0 that cannot be counted fails the opening with the level's error text.
bool CEnquete::CountInterviews() {
    CQuestionNiveau& interviews = *levels.front();
    std::int32_t stamp = 0;
    bool stampMatches = false;
    if (!CheckInversion)
        stampMatches = VerifierInversion(stamp);
    const bool inversionBelieved =
        (CheckInversion || stampMatches) && GetInvertedFilesFingerprint().IsInversionValid();
    invertedFilesValid = inversionBelieved;
    std::string error;
    if (!interviews.ChargerEffectifs(*this, 0, error)) {
        invertedFilesValid = false;
        lastError = error;
        return false;
    }
    if (CheckInversion) {
        std::int32_t count = interviews.GetNbreEnregistrements();
        stampMatches = VerifierInversion(count);
    }
    invertedFilesValid = stampMatches && inversionBelieved;
    if (inversionBelieved && !invertedFilesValid) {
        interviews.OublierEnregistrements();
        if (!interviews.ChargerEffectifs(*this, 0, error)) {
            lastError = error;
            return false;
        }
    }
    interviewCount = interviews.GetNbreEnregistrements();
    return true;
}

bool CEnquete::VerifierInversion(std::int32_t& count) const {
    const std::string folder = DonnerRepertoireInversion();
    if (folder.empty())
        return false;
    std::ifstream file(std::filesystem::path(folder) / kStampFileName, std::ios::binary);
    std::array<unsigned char, 4> bytes{};
    if (!file || !file.read(reinterpret_cast<char*>(bytes.data()), bytes.size()))
        return false;
    // Little-endian, as every file the program writes.
    const auto stamp = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) |
                                                 (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                                 (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                                 (static_cast<std::uint32_t>(bytes[3]) << 24));
    if (!CheckInversion) {
        count = stamp;
        return true;
    }
    return stamp == count;
}

InvertedFilesFingerprint& CEnquete::GetInvertedFilesFingerprint() {
    const std::string questionnaire = DonnerCheminBase();
    const std::string folder = DonnerRepertoireInversion();
    if (!m_invertedFilesFingerprint || m_invertedFilesFingerprint->QuestionnairePath() != questionnaire ||
        m_invertedFilesFingerprint->Folder() != folder)
        m_invertedFilesFingerprint = std::make_unique<InvertedFilesFingerprint>(questionnaire, folder);
    return *m_invertedFilesFingerprint;
}

bool CEnquete::CreerRepertoireInversion() {
    const std::string folder = DonnerRepertoireInversion();
    if (folder.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    return !error && std::filesystem::is_directory(folder, error);
}

// ---- Captions -------------------------------------------------------------------------------

void CEnquete::LibellerNonReponse(CModalite& modality) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::NonReponse, {}, {});
}

void CEnquete::LibellerAutre(CModalite& modality) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::Autre, {}, {});
}

void CEnquete::LibellerTotal(CModalite& modality) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::Total, {}, {});
}

void CEnquete::LibellerNonInterroge(CModalite& modality) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::NonInterroge, {}, {});
}

void CEnquete::LibellerMoinsDe(CModalite& modality, double bound, const std::string& unit) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::MoinsDe, {bound}, {unit});
}

void CEnquete::LibellerOuMoins(CModalite& modality, double bound, const std::string& unit) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::OuMoins, {bound}, {unit});
}

void CEnquete::LibellerDeA(CModalite& modality, double low, double high, const std::string& unit) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::DeA, {low, high}, {unit});
}

void CEnquete::LibellerPlusDe(CModalite& modality, double bound, const std::string& unit) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::PlusDe, {bound}, {unit});
}

void CEnquete::LibellerOuPlus(CModalite& modality, double bound, const std::string& unit) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::OuPlus, {bound}, {unit});
}

void CEnquete::LibellerAvant(CModalite& modality, const std::string& date) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::Avant, {}, {date});
}

void CEnquete::LibellerOuAvant(CModalite& modality, const std::string& date) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::OuAvant, {}, {date});
}

void CEnquete::LibellerDeADate(CModalite& modality, const std::string& first, const std::string& second) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::DeADate, {}, {first, second});
}

void CEnquete::LibellerApres(CModalite& modality, const std::string& date) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::Apres, {}, {date});
}

void CEnquete::LibellerOuApres(CModalite& modality, const std::string& date) const {
    SetCaptionInEveryLanguage(languages, modality, Kind::OuApres, {}, {date});
}
