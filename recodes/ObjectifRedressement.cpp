#include "recodes/ObjectifRedressement.h"

#include <charconv>
#include <map>
#include <string_view>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

constexpr char kItemEnd = '#';
constexpr char kFieldSeparator = '|';
constexpr char kValueEnd = '@';
constexpr const char* kNoQuestionName = " ";
constexpr const char* kNoQuestionCode = "0";

// The shortest text that reads back as the same double, "." as decimal point in any locale.
std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool ReadInteger(std::string_view text, int& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && !text.empty();
}

// Values typed where the decimal separator is a comma read as well.
std::vector<double> ReadValues(std::string text) {
    for (char& c : text)
        if (c == ',')
            c = '.';
    std::vector<double> values;
    CStaticTools::LireChaineSeparateurDouble(text, kValueEnd, values);
    return values;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

// The question a by-reference field names: "code@keys@recode" or "code@recode". Null when none
// is found; `withoutQuestion` tells the code "0" of a target without question.
CQuestionEtendue* QuestionByReference(const CEnquete& survey, const std::string& field, bool& withoutQuestion) {
    const std::vector<std::string> parts = Split(field, '@');
    withoutQuestion = !parts.empty() && parts[0] == kNoQuestionCode;
    if (parts.size() != 2 && parts.size() != 3)
        return nullptr;
    const std::int32_t code = CStaticTools::ToLong(parts[0]);
    const std::string keys = parts.size() == 3 ? parts[1] : std::string();
    const std::int32_t recode = CStaticTools::ToLong(parts.back());
    return survey.TrouverQuestion(code, keys, recode);
}

bool IsClosedSingleAnswer(const CQuestionEtendue& question) {
    return question.EstFermee() && question.answerCount == 1;
}

// The "non interrogé" modality that the program appends to every closed question holds the
// interviews that were not asked: it can take no target, and counting it among the K modalities
// would dilute every deviation. Its interviews take no part in the target, like empty answers.
int TargetModalityCount(const CQuestionEtendue* question) {
    if (question == nullptr)
        return 0;
    const int count = question->GetNbreModalite();
    return count > 0 && question->GetCodeModalite(count - 1) == -2 ? count - 1 : count;
}

} // namespace

CObjectifRedressement::CObjectifRedressement() = default;

CObjectifRedressement::CObjectifRedressement(CQuestionEtendue* question, std::int16_t mode)
    : m_mode(mode), m_question(question) {
    const int count = TargetModalityCount(question);
    m_observed.assign(static_cast<std::size_t>(count), 0.0);
    if (question != nullptr) {
        if (!question->modalitiesLoaded && question->GetEnquete() != nullptr)
            question->GetEnquete()->CompterEffectifsModalites(*question);
        for (int i = 0; i < count; ++i)
            if (const CModaliteEtendue* modality = question->GetModaliteEtendue(i))
                m_observed[static_cast<std::size_t>(i)] = modality->extraWord;
    }
    m_desired = m_observed;
    RecomputeTotals();
}

CObjectifRedressement::CObjectifRedressement(const CObjectifRedressement& source)
    : CObjectifRedressement(source.m_question, source.m_mode) {
    for (int i = 0; i < DonnerNombreModalites(); ++i)
        m_desired[static_cast<std::size_t>(i)] = source.DonnerValeurDesiree(i);
    RecomputeTotals();
}

CObjectifRedressement::~CObjectifRedressement() = default;

std::string CObjectifRedressement::DonnerLibelleModalite(int i) const {
    if (m_question == nullptr)
        return {};
    const CModalite* modality = m_question->GetModalite(i);
    return modality != nullptr ? CModaliteEtendue::ShortCaptionFor(*modality, m_question->GetEnquete()) : std::string();
}

double CObjectifRedressement::DonnerValeurDesiree(int i) const {
    return i >= 0 && i < DonnerNombreModalites() ? m_desired[static_cast<std::size_t>(i)] : 0.0;
}

double CObjectifRedressement::DonnerValeurObservee(int i) const {
    return i >= 0 && i < DonnerNombreModalites() ? m_observed[static_cast<std::size_t>(i)] : 0.0;
}

double CObjectifRedressement::Share(double part, double total) { return total != 0.0 ? part / total * 100.0 : 0.0; }

double CObjectifRedressement::DonnerPourcentageDesire(int i) const {
    return Share(DonnerValeurDesiree(i), m_desiredTotal);
}

double CObjectifRedressement::DonnerPourcentageObserve(int i) const {
    return Share(DonnerValeurObservee(i), m_observedTotal);
}

void CObjectifRedressement::SetObjectif(int i, double value) {
    if (i < 0 || i >= DonnerNombreModalites())
        return;
    m_desired[static_cast<std::size_t>(i)] = value;
    RecomputeTotals();
}

void CObjectifRedressement::SetValeurObservee(int i, double value) {
    if (i < 0 || i >= DonnerNombreModalites())
        return;
    m_observed[static_cast<std::size_t>(i)] = value;
    RecomputeTotals();
}

void CObjectifRedressement::RecomputeTotals() {
    m_desiredTotal = 0.0;
    for (double value : m_desired)
        m_desiredTotal += value;
    m_observedTotal = 0.0;
    for (double value : m_observed)
        m_observedTotal += value;
}

void CObjectifRedressement::AjouterObjectif(std::unique_ptr<CObjectifRedressement> child) {
    if (child != nullptr)
        m_children.push_back(std::move(child));
}

CObjectifRedressement* CObjectifRedressement::DonnerObjectif(int i) const {
    return i >= 0 && i < DonnerNombreObjectifs() ? m_children[static_cast<std::size_t>(i)].get() : nullptr;
}

std::unique_ptr<CObjectifRedressement> CObjectifRedressement::RetirerObjectif(int i) {
    if (i < 0 || i >= DonnerNombreObjectifs())
        return nullptr;
    auto taken = std::move(m_children[static_cast<std::size_t>(i)]);
    m_children.erase(m_children.begin() + i);
    return taken;
}

std::string CObjectifRedressement::QuestionField(const CEnquete& survey, bool byName) const {
    (void)survey;
    if (byName)
        return m_question != nullptr ? m_question->name : std::string(kNoQuestionName);
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    CEnquete::DonnerReferenceQuestion(m_question, code, keys, recode);
    return std::to_string(code) + '@' + keys + '@' + std::to_string(recode);
}

std::string CObjectifRedressement::EcrireDefinition(const CEnquete& survey, bool byName, int depth) const {
    std::string text = QuestionField(survey, byName);
    text += kFieldSeparator + std::to_string(depth) + kFieldSeparator + std::to_string(m_mode) + kFieldSeparator;
    for (double value : m_desired)
        text += NumberText(value) + kValueEnd;
    text += kItemEnd;
    for (const auto& child : m_children)
        text += child->EcrireDefinition(survey, byName, depth + 1);
    return text;
}

void CObjectifRedressement::LireDefinition(CEnquete& survey, bool byName, const std::string& text,
                                           const ChoixQuestion& choose) {
    const std::vector<std::string> items = Split(text, kItemEnd);
    if (items.size() < 2)
        return;
    // The last target read at each depth: the parent of the next deeper item.
    std::map<int, CObjectifRedressement*> lastAtDepth{{0, this}};
    for (std::size_t item = 1; item < items.size(); ++item) {
        const std::vector<std::string> fields = Split(items[item], kFieldSeparator);
        if (fields.size() < 3)
            continue;
        CQuestionEtendue* question = nullptr;
        bool withoutQuestion = false;
        if (byName) {
            withoutQuestion = fields[0] == kNoQuestionName;
            if (!withoutQuestion)
                question = survey.TrouverQuestionParNom(fields[0]);
            if (question == nullptr && !withoutQuestion && choose)
                question = choose(fields[0]);
        } else {
            question = QuestionByReference(survey, fields[0], withoutQuestion);
        }
        if (question == nullptr && !withoutQuestion)
            continue;
        int depth = 0;
        int mode = 0;
        if (!ReadInteger(fields[1], depth) || !ReadInteger(fields[2], mode))
            continue;
        const auto parent = lastAtDepth.find(depth - 1);
        if (depth < 1 || parent == lastAtDepth.end())
            continue;
        if (question != nullptr && !IsClosedSingleAnswer(*question))
            continue;
        auto target = std::make_unique<CObjectifRedressement>(question, static_cast<std::int16_t>(mode));
        if (fields.size() > 3) {
            const std::vector<double> values = ReadValues(fields[3]);
            for (int k = 0; k < target->DonnerNombreModalites() && k < static_cast<int>(values.size()); ++k)
                target->SetObjectif(k, values[static_cast<std::size_t>(k)]);
        }
        CObjectifRedressement* added = target.get();
        parent->second->AjouterObjectif(std::move(target));
        lastAtDepth[depth] = added;
    }
}
