#include "app/ContexteEtude.h"
#include "app/DataAccess.h"

#include "app/IniFile.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionnaireLoader.h"
#include "app/Registre.h"
#include "app/SilentUserInterface.h"
#include "app/StringTable.h"
#include "app/ViderTableauObjets.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace {

CContexteEtude* g_registeredContext = nullptr;

constexpr std::int32_t kTotalCode = -4;
constexpr const char* kIniFileName = "Velto.ini";
constexpr const char* kLibrarySection = "Bibliotheque";
constexpr const char* kLibraryKey = "Chemin";
constexpr const char* kConfigurationSubfolder = "Morvane";
constexpr const char* kInvertedFilesExtension = "dat";

// One entry of a default calculation list: its code, its label and whether it starts selected.
struct CalculationDefinition {
    std::int32_t code;
    const char* label;
    bool selected;
};

// clang-format off
constexpr std::array kClosedQuestionCalculations = {
    CalculationDefinition{0, "Effectifs", true},
    CalculationDefinition{1, "Pourcentage", true},
    CalculationDefinition{2, "Pourcentages cumulés", false},
    CalculationDefinition{4, "Taux d'importance", false},
    CalculationDefinition{3, "Fréquence répondant", false},
    CalculationDefinition{5, "Fréquence interviewé", false},
    CalculationDefinition{6, "Intervalle (-)", false},
    CalculationDefinition{7, "Intervalle (+)", false},
    CalculationDefinition{8, "Coefficient de pondération", true},
    CalculationDefinition{9, "Total", true},
};

constexpr std::array kCrossTableCalculations = {
    CalculationDefinition{0, "Effectifs", true},
    CalculationDefinition{1, "Profil ligne", true},
    CalculationDefinition{2, "Profil colonne", false},
    CalculationDefinition{3, "Fréquence totale", false},
    CalculationDefinition{4, "Significativité", false},
    CalculationDefinition{6, "Valeur test", false},
    CalculationDefinition{7, "Indice d'affinité", false},
};

constexpr std::array kNumericCalculations = {
    CalculationDefinition{0, "Moyenne", true},
    CalculationDefinition{1, "Ecart-type", true},
    CalculationDefinition{2, "Nbre de réponses", false},
    CalculationDefinition{3, "Nbre de 'Non-réponses'", false},
    CalculationDefinition{4, "Somme", false},
    CalculationDefinition{5, "Minimum", false},
    CalculationDefinition{6, "Maximum", false},
    CalculationDefinition{7, "IC sur moyenne(-)", false},
    CalculationDefinition{8, "IC sur moyenne (+)", false},
    CalculationDefinition{9, "Variance", false},
    CalculationDefinition{10, "Médiane", false},
    CalculationDefinition{11, "Coefficient d'aplatissement", false},
    CalculationDefinition{12, "Coefficient d'asymétrie", false},
    CalculationDefinition{13, "Indice de Gini", false},
};

constexpr std::array kMeanTableCalculations = {
    CalculationDefinition{0, "Moyenne", true},
    CalculationDefinition{1, "Ecart-type", true},
    CalculationDefinition{2, "Nbre de réponses", false},
    CalculationDefinition{3, "Nbre de 'Non-réponses'", false},
    CalculationDefinition{4, "Somme", false},
    CalculationDefinition{5, "Minimum", false},
    CalculationDefinition{6, "Maximum", false},
    CalculationDefinition{7, "IC sur moyenne(-)", false},
    CalculationDefinition{8, "IC sur moyenne (+)", false},
    CalculationDefinition{9, "Variance", false},
    CalculationDefinition{10, "Significativité", false},
};
// clang-format on

// The closed-question list offered to plain flat tables stops after "Intervalle (+)".
constexpr std::size_t kQualitativeCount = 8;

// The calculations of a table with the advanced options, in this order, by code.
constexpr std::array<std::int32_t, 5> kEvolvedCodes = {0, 1, 8, 4, 9};

template <std::size_t N>
void Build(const std::array<CalculationDefinition, N>& table,
           std::vector<std::unique_ptr<CCalcul>>& entries) {
    for (const CalculationDefinition& definition : table)
        entries.push_back(std::make_unique<CCalcul>(definition.code, definition.label, definition.selected));
}

template <class Line>
const Line* FindByCode(const std::vector<std::unique_ptr<Line>>& lines, std::int32_t code) {
    for (const auto& line : lines)
        if (line && line->code == code)
            return line.get();
    return nullptr;
}

void CopyDisplayFlags(const CLigne& line, CModaliteEtendue& modality) {
    modality.selected = true;
    modality.displayOptions = {line.bold != 0, line.italic != 0, line.underline != 0, line.shadow != 0};
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

CContexteEtude* GetContexte() {
    return g_registeredContext;
}

CContexteEtude::CContexteEtude() : m_userInterface(std::make_unique<SilentUserInterface>()) {
    currentLevel = 0;
    CaptionType = 2;
    CheckInversion = true;
    interviewCount = 0;
}

CContexteEtude::~CContexteEtude() {
    if (g_registeredContext == this)
        g_registeredContext = nullptr;
}

void CContexteEtude::RegisterContext(CContexteEtude* context) {
    g_registeredContext = context;
}

void CContexteEtude::SetUserInterface(std::unique_ptr<UserInterface> userInterface) {
    m_userInterface = userInterface ? std::move(userInterface) : std::make_unique<SilentUserInterface>();
}

// ---- Paths ----------------------------------------------------------------------------------

std::string CContexteEtude::DonnerRepertoireInversion() const {
    if (questionnairePath.empty())
        return {};
    return std::filesystem::path(questionnairePath).replace_extension(kInvertedFilesExtension).string();
}

std::string CContexteEtude::DonnerDossierConfiguration() const {
    if (!m_configurationFolder.empty())
        return m_configurationFolder;
    std::filesystem::path base = EnvironmentValue("XDG_CONFIG_HOME");
    if (base.empty() || !base.is_absolute()) {
        const std::string home = EnvironmentValue("HOME");
        if (home.empty())
            return {};
        base = std::filesystem::path(home) / ".config";
    }
    return (base / kConfigurationSubfolder).string();
}

std::string CContexteEtude::DonnerCheminBibliotheque() {
    if (libraryPath.empty()) {
        const std::string folder = DonnerDossierConfiguration();
        if (!folder.empty())
            libraryPath = IniFile::ReadValue(std::filesystem::path(folder) / kIniFileName, kLibrarySection,
                                             kLibraryKey, {});
    }
    return libraryPath;
}

// ---- Analysis options -----------------------------------------------------------------------

void CContexteEtude::ReadStartupOptions() {
    CaptionType = static_cast<std::int16_t>(CRegistre::GetCaptionType());
    EffectifSignificativite = static_cast<std::int16_t>(CRegistre::GetEffectifSignificativite());
    SignificanceType = static_cast<std::int16_t>(CRegistre::GetSignificanceType());
    SignificanceThreshold3 = CRegistre::GetSignificanceThreshold3();
    SignificanceThreshold2 = CRegistre::GetSignificanceThreshold2();
    SignificanceThreshold1 = CRegistre::GetSignificanceThreshold1();
    ConfidenceIntervalThreshold = CRegistre::GetConfidenceIntervalThreshold();
}

// ---- Opening and closing --------------------------------------------------------------------

bool CContexteEtude::OuvrirEtude() {
    ReadOpeningOptions();
    // The questions of the previous survey go with it, and so does what was set on them.
    ViderTableauObjets(deletedQuestions);
    SetLabelQuestion(nullptr);
    ResetStudyState();
    if (!Ouvrir()) {
        ShowOpeningFailure();
        return false;
    }
    RebuildTotals();
    ReadWeightingOptions();
    ReportDamagedComputedQuestions();
    return true;
}

// Stored computed questions whose definition could not be rebuilt as it was saved: one message
// for the opening, one line per finding.
void CContexteEtude::ReportDamagedComputedQuestions() {
    std::string lines;
    for (const auto& question : questions) {
        const CQuestionCalculee* definition = question->GetQuestionCalculee();
        if (definition == nullptr)
            continue;
        for (const Message& defect : definition->DonnerDefauts())
            lines += StringTable::Format(defect) + "\n";
    }
    if (!lines.empty())
        GetUserInterface().ShowMessage(Message(StringTable::kVariablesCalculeesDefectueuses, {lines}),
                                       UserInterface::Icon::Warning);
}

void CContexteEtude::ReadOpeningOptions() {
    CheckInversion = CRegistre::GetCheckInversion();
    UseCompletedOnly = CRegistre::GetUseCompletedOnly();
    GroupSemiOpens = CRegistre::GetGroupSemiOpens();
}

void CContexteEtude::ReadWeightingOptions() {
    TotalType = static_cast<std::int16_t>(CRegistre::GetTotalType());
    MinWeight = CRegistre::GetMinWeight();
    MaxWeight = CRegistre::GetMaxWeight();
    IterationPerQuestion = CRegistre::GetIterationPerQuestion();
    Accuracy = CRegistre::GetAccuracy();
}

// All interviews, no weighting, labels to be built again.
void CContexteEtude::ResetStudyState() {
    universeCode = -1;
    universeLabel = StringTable::Text(StringTable::kToutesLesInterviews);
    weightingCode = -1;
    weightingLabel = StringTable::Text(StringTable::kAucunRedressement);
    labelsReady = false;
    interviewLabels.clear();
}

void CContexteEtude::RebuildTotals() {
    for (auto* total : {&m_rowTotal, &m_columnTotal}) {
        auto modality = std::make_unique<CModaliteEtendue>(this);
        modality->code = kTotalCode;
        modality->selected = true;
        modality->displayOptions = {true, false, false, false};
        LibellerTotal(*modality);
        *total = std::move(modality);
    }
}

// The survey's error text is the database's own; the message adds which file it was about. A
// questionnaire refused for what it holds is told by the program's own message.
void CContexteEtude::ShowOpeningFailure() {
    const Message failure(StringTable::kImpossibleOuvrirQuestionnaire, {questionnairePath, GetLastError()});
    if (GetLastErrorMessage().id != 0) {
        GetUserInterface().ShowMessage(failure, UserInterface::Icon::Error);
        return;
    }
    GetUserInterface().ShowMessage(Message::Text(StringTable::Format(failure)), UserInterface::Icon::Error);
}

void CContexteEtude::FermerEtude() {
    FermerDocuments();
    Vider();
    ViderTableauObjets(deletedQuestions);
    SetLabelQuestion(nullptr);
    labelsReady = false;
    interviewLabels.clear();
}

// ---- Names and codes ------------------------------------------------------------------------

bool CContexteEtude::ExisteQuestion(const std::string& name) const {
    return ExisteAutreQuestion(name, nullptr);
}

bool CContexteEtude::ExisteAutreQuestion(const std::string& name, const CQuestionEtendue* question) const {
    return std::any_of(questions.begin(), questions.end(),
                       [&](const auto& other) { return other.get() != question && other->name == name; });
}

bool CContexteEtude::EstNomUtilise(const std::string& name, std::int32_t code,
                                   std::int32_t recodeCode) const {
    for (const auto& source : questions) {
        if (source->code != code || source->recodeId != 0 || !source->EstFermee())
            continue;
        const std::string candidate = source->values.empty() ? name : source->name + " " + name;
        for (const auto& other : questions)
            if (other->name == candidate &&
                (other->code != code || other->recodeId != recodeCode || recodeCode == 0))
                return true;
    }
    return false;
}

std::int32_t CContexteEtude::NouveauCodeQuestion() {
    return ++newQuestionCode;
}

CQuestionEtendue* CContexteEtude::DonnerQuestionParente(const CQuestionEtendue* question) const {
    int index = -1;
    if (question == nullptr || !TrouverIndexQuestion(question, index))
        return nullptr;
    for (int i = index - 1; i >= 0; --i) {
        CQuestionEtendue* candidate = DonnerQuestion(i);
        if (candidate->depth == question->depth - 1)
            return candidate->code == question->code ? candidate : nullptr;
    }
    return nullptr;
}

// ---- Interview labels -----------------------------------------------------------------------

void CContexteEtude::SetLabelQuestion(const CQuestionEtendue* question) {
    DonnerReferenceQuestion(question, m_labelQuestionCode, m_labelQuestionKeys, m_labelQuestionRecode);
    labelsReady = false;
}

CQuestionEtendue* CContexteEtude::GetLabelQuestion() const {
    return TrouverQuestion(m_labelQuestionCode, m_labelQuestionKeys, m_labelQuestionRecode);
}

// Only a question asked once per interview gives one label per interview.
bool CContexteEtude::IsUsableLabelQuestion(const CQuestionEtendue& question) const {
    return question.level == 0 && question.answerCount == 1;
}

bool CContexteEtude::ReadLabelAnswers(const CQuestionEtendue& question, std::vector<std::string>& labels) {
    // The readers take the survey's own question, not a const view of it.
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    DonnerReferenceQuestion(&question, code, keys, recode);
    CQuestionEtendue* own = TrouverQuestion(code, keys, recode);
    if (own == nullptr)
        return false;
    CDataAccess access(*this, true);
    return access.LireReponsesOuvertes(*own, labels);
}

void CContexteEtude::PreparerLibellesInterviews() {
    if (labelsReady)
        return;
    interviewLabels.clear();
    const CQuestionEtendue* question = GetLabelQuestion();
    std::vector<std::string> read;
    if (question != nullptr && IsUsableLabelQuestion(*question) && ReadLabelAnswers(*question, read))
        interviewLabels = std::move(read);
    // Interviews the read gave no label to are numbered.
    NumberLabelsFrom(interviewLabels.size());
    labelsReady = true;
}

void CContexteEtude::NumberLabelsFrom(std::size_t first) {
    const auto count = static_cast<std::size_t>(std::max<std::int32_t>(interviewCount, 0));
    interviewLabels.resize(std::max(count, first));
    for (std::size_t i = first; i < count; ++i)
        interviewLabels[i] = StringTable::Format(
            Message(StringTable::kIntvw, {std::to_string(static_cast<long long>(i) + 1)}));
}

void CContexteEtude::RechargerLibellesInterviews() {
    labelsReady = false;
    PreparerLibellesInterviews();
}

bool CContexteEtude::DonnerLibelleInterview(int i, std::string& text) {
    PreparerLibellesInterviews();
    if (i < 0 || static_cast<std::size_t>(i) >= interviewLabels.size()) {
        text.clear();
        return false;
    }
    text = interviewLabels[static_cast<std::size_t>(i)];
    return true;
}

// ---- Calculation lists ----------------------------------------------------------------------

CContexteEtude::CalculationList& CContexteEtude::List(ListKind kind) {
    const auto built = [](CalculationList& list, const auto& table) -> CalculationList& {
        if (!list.built)
            Build(table, list.entries);
        list.built = true;
        return list;
    };
    switch (kind) {
    case ListKind::Cross:
        return built(m_crossCalculations, kCrossTableCalculations);
    case ListKind::Numeric:
        return built(m_numericCalculations, kNumericCalculations);
    case ListKind::Mean:
        return built(m_meanCalculations, kMeanTableCalculations);
    case ListKind::Closed:
        break;
    }
    return built(m_closedCalculations, kClosedQuestionCalculations);
}

void CContexteEtude::CopyEntries(ListKind kind, std::size_t count,
                                 std::vector<std::unique_ptr<CCalcul>>& out) {
    const auto& entries = List(kind).entries;
    for (std::size_t i = 0; i < std::min(count, entries.size()); ++i)
        out.push_back(std::make_unique<CCalcul>(*entries[i]));
}

void CContexteEtude::DonnerCalculsQualitatifs(std::vector<std::unique_ptr<CCalcul>>& out) {
    CopyEntries(ListKind::Closed, kQualitativeCount, out);
}

void CContexteEtude::DonnerCalculsEvolues(std::vector<std::unique_ptr<CCalcul>>& out) {
    const auto& entries = List(ListKind::Closed).entries;
    for (std::int32_t code : kEvolvedCodes)
        if (const CCalcul* entry = FindByCode(entries, code))
            out.push_back(std::make_unique<CCalcul>(*entry));
}

void CContexteEtude::DonnerCalculsCroises(std::vector<std::unique_ptr<CCalcul>>& out) {
    CopyEntries(ListKind::Cross, kCrossTableCalculations.size(), out);
}

void CContexteEtude::DonnerCalculsNumeriques(std::vector<std::unique_ptr<CCalcul>>& out) {
    CopyEntries(ListKind::Numeric, kNumericCalculations.size(), out);
}

void CContexteEtude::DonnerCalculsMoyennes(std::vector<std::unique_ptr<CCalcul>>& out) {
    CopyEntries(ListKind::Mean, kMeanTableCalculations.size(), out);
}

void CContexteEtude::ApplyCalculations(ListKind kind, const std::vector<std::unique_ptr<CCalcul>>& entries) {
    for (auto& entry : List(kind).entries) {
        const CCalcul* chosen = FindByCode(entries, entry->code);
        entry->kept = chosen != nullptr ? 1 : 0;
        if (chosen == nullptr)
            continue;
        entry->bold = chosen->bold;
        entry->italic = chosen->italic;
        entry->underline = chosen->underline;
        entry->shadow = chosen->shadow;
    }
}

void CContexteEtude::AppliquerCalculsQualitatifs(const std::vector<std::unique_ptr<CCalcul>>& entries) {
    ApplyCalculations(ListKind::Closed, entries);
}

void CContexteEtude::AppliquerCalculsCroises(const std::vector<std::unique_ptr<CCalcul>>& entries) {
    ApplyCalculations(ListKind::Cross, entries);
}

void CContexteEtude::AppliquerCalculsNumeriques(const std::vector<std::unique_ptr<CCalcul>>& entries) {
    ApplyCalculations(ListKind::Numeric, entries);
}

void CContexteEtude::AppliquerCalculsMoyennes(const std::vector<std::unique_ptr<CCalcul>>& entries) {
    ApplyCalculations(ListKind::Mean, entries);
}

// ---- Totals ---------------------------------------------------------------------------------

CModaliteEtendue* CContexteEtude::DonnerModaliteTotal(int side) const {
    return side == 0 ? m_rowTotal.get() : m_columnTotal.get();
}

void CContexteEtude::AppliquerSelectionModalites(CQuestionEtendue* question,
                                                 const std::vector<std::unique_ptr<CLigne>>& selection,
                                                 int side) {
    int index = -1;
    if (question == nullptr || !TrouverIndexQuestion(question, index))
        return;
    for (int i = 0; i < question->GetNbreModalite(); ++i) {
        CModaliteEtendue* modality = question->GetModaliteEtendue(i);
        if (modality == nullptr)
            continue;
        if (const CLigne* line = FindByCode(selection, modality->code))
            CopyDisplayFlags(*line, *modality);
        else
            modality->selected = false;
    }
    CModaliteEtendue* total = DonnerModaliteTotal(side);
    if (total == nullptr)
        return;
    if (const CLigne* line = FindByCode(selection, kTotalCode))
        CopyDisplayFlags(*line, *total);
    else if (side == 0)
        total->selected = false;
}

// ---- What the shell does with its windows ---------------------------------------------------

int CContexteEtude::ActiverFenetreQuestion(CQuestionEtendue*) {
    return 0;
}

bool CContexteEtude::EnregistrerTout() {
    return true;
}

void CContexteEtude::InsererQuestionsRecodage(const CRecodage& recode, bool) {
    InsererRecodage(recode, questions, *this);
}

void CContexteEtude::MettreAJourQuestionsRecodage(const CRecodage&, CQuestionEtendue*) {}

void CContexteEtude::SupprimerQuestionsRecodage(const CRecodage&) {}

CQuestionEtendue* CContexteEtude::AjouterQuestionCalculee(std::unique_ptr<CQuestionEtendue> question) {
    if (!question)
        return nullptr;
    const auto lastOfDepthOne = std::find_if(questions.rbegin(), questions.rend(),
                                             [](const auto& q) { return q->depth == 1; });
    if (lastOfDepthOne == questions.rend() || (*lastOfDepthOne)->code != CQuestionCalculee::kCodeGroupe) {
        auto group = std::make_unique<CQuestionEtendue>(this);
        const std::string& caption = StringTable::Text(StringTable::kQuestionsCalculees);
        group->kind = 0;
        group->name = caption;
        group->SetLocalisedLongCaption(questionnaireLanguage, caption);
        group->depth = 1;
        group->code = CQuestionCalculee::kCodeGroupe;
        questions.push_back(std::move(group));
    }
    questions.push_back(std::move(question));
    return questions.back().get();
}
