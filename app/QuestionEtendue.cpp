#include "app/QuestionEtendue.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/Recodage.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

constexpr std::int32_t kNoAnswerCode = -1;
constexpr std::int32_t kNotAskedCode = -2;
constexpr std::int32_t kNoModalityCode = -5;

// The caption modes: 0 the name, 1 the long caption, 2 (and above) the short caption.
constexpr int kModeName = 0;
constexpr int kModeLong = 1;
constexpr int kModeShort = 2;

bool IsMissingCode(std::int32_t code) { return code == kNoAnswerCode || code == kNotAskedCode; }

// The value every modality with a missing-answer code takes; false for any other code.
bool SetMissingValue(CModalite& modality) {
    if (modality.code == kNoAnswerCode)
        modality.value = CModalite::kNoAnswerValue;
    else if (modality.code == kNotAskedCode)
        modality.value = CModalite::kNotAskedValue;
    else
        return false;
    return true;
}

// The text with its first occurrence of the marker replaced; unchanged for an empty or absent
// marker.
std::string RemplacerPremier(const std::string& text, const std::string& marker, const std::string& replacement) {
    if (marker.empty())
        return text;
    const auto at = text.find(marker);
    if (at == std::string::npos)
        return text;
    return text.substr(0, at) + replacement + text.substr(at + marker.size());
}

const std::string& CaptionIn(const std::map<std::int32_t, std::string>& captions, std::int32_t language) {
    static const std::string none;
    const auto found = captions.find(language);
    return found != captions.end() ? found->second : none;
}

// Where a number starts at or after `from`: a numeric character, or a sign immediately followed
// by one. npos when none.
std::size_t FindNumberStart(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (CQuestionEtendue::EstCaractereNumerique(text[i]))
            return i;
        const bool sign = text[i] == '+' || text[i] == '-';
        if (sign && i + 1 < text.size() && CQuestionEtendue::EstCaractereNumerique(text[i + 1]))
            return i;
    }
    return std::string_view::npos;
}

// One past the last numeric character of the run that starts at `start` (its sign included).
std::size_t NumberEnd(std::string_view text, std::size_t start) {
    std::size_t end = start;
    if (text[end] == '+' || text[end] == '-')
        ++end;
    while (end < text.size() && CQuestionEtendue::EstCaractereNumerique(text[end]))
        ++end;
    return end;
}

bool ReadNumber(std::string_view text, std::size_t start, std::size_t end, double& value) {
    return CStaticTools::EstDouble(std::string(text.substr(start, end - start)), value);
}

bool HasNumericCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), CQuestionEtendue::EstCaractereNumerique);
}

} // namespace

CQuestionEtendue::CQuestionEtendue(CEnquete* survey) : m_survey(survey) {}

CQuestionEtendue::CQuestionEtendue(CEnquete* survey, const CQuestion& model) : CQuestion(model), m_survey(survey) {
    ReplaceModalitiesByOwnClass();
}

CQuestionEtendue::CQuestionEtendue(const CQuestionEtendue& other)
    : CQuestion(other), level(other.level), recodeId(other.recodeId), generated(other.generated),
      values(other.values), m_survey(other.m_survey) {
    ReplaceModalitiesByOwnClass();
}

CQuestionEtendue::~CQuestionEtendue() = default;

void CQuestionEtendue::ReplaceModalitiesByOwnClass() {
    for (auto& modality : modalities)
        if (modality)
            modality = CopyOfModality(*modality);
}

std::unique_ptr<CModaliteEtendue> CQuestionEtendue::CopyOfModality(const CModalite& modality) const {
    if (const auto* own = dynamic_cast<const CModaliteEtendue*>(&modality))
        return std::make_unique<CModaliteEtendue>(*own);
    return std::make_unique<CModaliteEtendue>(m_survey, modality);
}

// ---- Captions -------------------------------------------------------------------------------

std::string CQuestionEtendue::GetCaption() const {
    return GetCaption(m_survey != nullptr ? m_survey->CaptionType : kModeShort);
}

std::string CQuestionEtendue::GetCaption(int mode) const {
    const std::int32_t current = m_survey != nullptr ? m_survey->currentLanguage : 0;
    const std::int32_t fallback = m_survey != nullptr ? m_survey->questionnaireLanguage : 0;
    for (int m = std::min(mode, kModeShort); m > kModeName; --m) {
        const auto& captions = m == kModeLong ? longCaptions : shortCaptions;
        if (const std::string& text = CaptionIn(captions, current); !text.empty())
            return text;
        if (const std::string& text = CaptionIn(captions, fallback); !text.empty())
            return text;
    }
    return name;
}

void CQuestionEtendue::RemplacerMarqueur(const std::string& marker, const CModalite& modality,
                                         std::int32_t fallbackLanguage) {
    auto replaceIn = [&](std::map<std::int32_t, std::string>& captions) {
        for (auto& [language, text] : captions) {
            if (text.empty())
                continue;
            const std::string* replacement = &modality.GetLocalisedShortCaption(language);
            if (replacement->empty())
                replacement = &modality.GetLocalisedShortCaption(fallbackLanguage);
            text = RemplacerPremier(text, marker, *replacement);
        }
    };
    replaceIn(longCaptions);
    replaceIn(shortCaptions);
}

// ---- Modalities -----------------------------------------------------------------------------

void CQuestionEtendue::DonnerModalites(std::vector<std::unique_ptr<CModaliteEtendue>>& out, bool load) {
    if (load && !modalitiesLoaded && m_survey != nullptr)
        m_survey->CompterEffectifsModalites(*this);
    for (const auto& modality : modalities)
        if (modality)
            out.push_back(CopyOfModality(*modality));
}

CModaliteEtendue* CQuestionEtendue::GetModaliteEtendue(int i) const {
    return dynamic_cast<CModaliteEtendue*>(GetModalite(i));
}

std::int32_t CQuestionEtendue::GetCodeModalite(int i) const {
    const CModalite* modality = i >= 0 ? GetModalite(i) : nullptr;
    return modality != nullptr ? modality->code : kNoModalityCode;
}

int CQuestionEtendue::TrouverModalite(std::int32_t modalityCode) const {
    for (int i = 0; i < GetNbreModalite(); ++i)
        if (const CModalite* modality = GetModalite(i); modality != nullptr && modality->code == modalityCode)
            return i;
    return -1;
}

int CQuestionEtendue::TrouverNonReponse() const { return TrouverModalite(kNotAskedCode); }

void CQuestionEtendue::DonnerModalitesRecodees(std::vector<std::unique_ptr<CModaliteEtendue>>& out) const {
    if (m_recode)
        m_recode->CopyGroups(out);
}

void CQuestionEtendue::CopierModalites(std::vector<std::unique_ptr<CModaliteEtendue>>& target,
                                       const CQuestion& source) {
    target.clear();
    const auto* extended = dynamic_cast<const CQuestionEtendue*>(&source);
    CEnquete* survey = extended != nullptr ? extended->GetEnquete() : nullptr;
    for (const auto& modality : source.modalities) {
        if (!modality)
            continue;
        if (const auto* own = dynamic_cast<const CModaliteEtendue*>(modality.get()))
            target.push_back(std::make_unique<CModaliteEtendue>(*own));
        else
            target.push_back(std::make_unique<CModaliteEtendue>(survey, *modality));
    }
}

bool CQuestionEtendue::EstCaractereNumerique(char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; }

// ---- Modality values ------------------------------------------------------------------------

void CQuestionEtendue::CalculerValeursModalites() {
    switch (type) {
    case 1:
        ValueClosedModalities();
        break;
    case 6:
        ValueModalitiesFromCaptions(false);
        break;
    case 7:
        ValueModalitiesFromCaptions(true);
        break;
    default:
        break;
    }
}

// Values set elsewhere are kept; otherwise the first modality gets the highest value, counting
// down from the number of real answers (the modalities less the no-answer and not-asked ones).
void CQuestionEtendue::ValueClosedModalities() {
    bool anyValueSet = false;
    for (const auto& modality : modalities) {
        if (!modality)
            continue;
        if (modality->value != CModalite::kNoAnswerValue)
            anyValueSet = true;
        SetMissingValue(*modality);
    }
    if (anyValueSet)
        return;
    int counter = GetNbreModalite() - (hasNoAnswer != 0 ? 1 : 0) - (AModaliteAutre() ? 1 : 0);
    for (const auto& modality : modalities) {
        if (modality && !IsMissingCode(modality->code))
            modality->value = counter;
        --counter;
    }
}

void CQuestionEtendue::ValueModalitiesFromCaptions(bool intervals) {
    for (const auto& modality : modalities) {
        if (!modality || SetMissingValue(*modality))
            continue;
        const std::string& caption = CModaliteEtendue::ShortCaptionFor(*modality, m_survey);
        double low = 0.0;
        double high = 0.0;
        const bool read = intervals ? ExtraireNombre(caption, low, high) : CStaticTools::EstDouble(caption, low);
        if (!read)
            modality->value = CModalite::kNoAnswerValue;
        else
            modality->value = intervals ? (low + high) / 2.0 : low;
    }
}

bool CQuestionEtendue::ExtraireNombre(const std::string& text, double& low, double& high) {
    const std::string_view view(text);
    const std::size_t firstStart = FindNumberStart(view, 0);
    if (firstStart == std::string_view::npos)
        return false;
    const std::size_t firstEnd = NumberEnd(view, firstStart);
    if (!ReadNumber(view, firstStart, firstEnd, low))
        return false;
    high = low;
    const std::size_t secondStart = FindNumberStart(view, firstEnd);
    if (secondStart == std::string_view::npos)
        return true;
    const std::size_t secondEnd = NumberEnd(view, secondStart);
    if (!ReadNumber(view, secondStart, secondEnd, high) || high < low)
        return false;
    return !HasNumericCharacter(view.substr(secondEnd));
}

// ---- Kind tests -----------------------------------------------------------------------------

bool CQuestionEtendue::EstFermee() const {
    switch (kind) {
    case 1:
        return type == 1 || type == 6 || type == 7;
    case 2:
        return type == 1 || type == 2 || type == 3;
    default:
        return false;
    }
}

bool CQuestionEtendue::AModaliteAutre() const {
    if (EstRecodageModalite())
        return false;
    if (!m_computed)
        return true;
    return m_computed->AModaliteAutre();
}

std::int16_t CQuestionEtendue::RecodeType() const { return m_recode ? m_recode->GetType() : std::int16_t{-1}; }

bool CQuestionEtendue::EstRecodageModalite() const { return RecodeType() == CRecodage::kModalite; }
bool CQuestionEtendue::EstRecodageIntervalle() const { return RecodeType() == CRecodage::kIntervalle; }
bool CQuestionEtendue::EstRecodageDiscrete() const { return RecodeType() == CRecodage::kDiscrete; }
bool CQuestionEtendue::EstRecodageLevelModalite() const { return RecodeType() == CRecodage::kLevelModalite; }
bool CQuestionEtendue::EstRecodageLevelNumerique() const { return RecodeType() == CRecodage::kLevelNumerique; }
bool CQuestionEtendue::EstRecodageLevelOpen() const { return RecodeType() == CRecodage::kLevelOpen; }

// ---- Owned parts ----------------------------------------------------------------------------

void CQuestionEtendue::SetRecodage(const CRecodage* recode) { m_recode = CRecodage::Cloner(recode); }

void CQuestionEtendue::SetQuestionCalculee(std::unique_ptr<CQuestionCalculee> definition) {
    if (definition.get() == m_computed.get()) {
        // The definition is already this question's: keep the one owner.
        (void)definition.release();
        return;
    }
    m_computed = std::move(definition);
}

void CQuestionEtendue::SetQuestionNiveau(std::unique_ptr<CQuestionEtendue> levelQuestion) {
    m_levelQuestion = std::move(levelQuestion);
}
