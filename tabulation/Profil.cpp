#include "tabulation/Profil.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

constexpr char kLineEnd = '|';
constexpr char kFieldSeparator = '@';
constexpr char kItemEnd = ';';
constexpr char kItemSeparator = ':';
constexpr const char* kSeparatorLine = "0";

// The four display options in the order of a modality item: first, second, fourth, third.
constexpr std::array<std::size_t, 4> kOptionOfItemFlag{0, 1, 3, 2};

// Fields of a question line (once an older three-field line has had its empty loop keys put in).
enum QuestionField : std::size_t { kFieldCode, kFieldKeys, kFieldRecode, kFieldModalities, kQuestionFieldCount };
constexpr std::size_t kOlderQuestionFieldCount = 3;

// Item sizes: an older item is a modality index, the current one a code and four flags.
constexpr std::size_t kIndexItemSize = 1;
constexpr std::size_t kCodeItemSize = 1 + kOptionOfItemFlag.size();

// Every field of the text, the empty last one included: "12@@0@" is four fields, the last empty.
std::vector<std::string> SplitKeepingEmpty(std::string_view text, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end = text.find(separator); end != std::string_view::npos; end = text.find(separator, start)) {
        fields.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

// The whole numbers of an item; nothing when one of them is not a whole number.
std::optional<std::vector<std::int32_t>> ItemNumbers(const std::string& item) {
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(item, kItemSeparator, parts);
    std::vector<std::int32_t> numbers(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!CStaticTools::EstLong(parts[i], numbers[i]))
            return std::nullopt;
    return numbers;
}

// A copy of the question's modality at the index; null when there is none.
std::unique_ptr<CModaliteEtendue> CopyOfModality(const CQuestionEtendue& question, int index) {
    const CModaliteEtendue* modality = question.GetModaliteEtendue(index);
    return modality ? std::make_unique<CModaliteEtendue>(*modality) : nullptr;
}

// The modality an item names, with its display options from the item; null for an item that names
// none or is malformed.
std::unique_ptr<CModaliteEtendue> ReadModalityItem(const CQuestionEtendue& question, const std::string& item) {
    const auto numbers = ItemNumbers(item);
    if (!numbers)
        return nullptr;
    std::unique_ptr<CModaliteEtendue> modality;
    if (numbers->size() == kIndexItemSize)
        modality = CopyOfModality(question, (*numbers)[0]);
    else if (numbers->size() == kCodeItemSize)
        modality = CopyOfModality(question, question.TrouverModalite((*numbers)[0]));
    if (!modality)
        return nullptr;
    // The text decides every option: an older item, which carries none, clears them all.
    modality->displayOptions = {};
    if (numbers->size() == kCodeItemSize)
        for (std::size_t flag = 0; flag < kOptionOfItemFlag.size(); ++flag)
            modality->displayOptions[kOptionOfItemFlag[flag]] = (*numbers)[1 + flag] != 0;
    return modality;
}

std::string ModalityItem(const CModaliteEtendue& modality) {
    std::string item = std::to_string(modality.code);
    for (const std::size_t option : kOptionOfItemFlag)
        item += std::string(1, kItemSeparator) + (modality.displayOptions[option] ? "1" : "0");
    return item + kItemEnd;
}

std::string QuestionLine(const CSousProfil& line) {
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    CEnquete::DonnerReferenceQuestion(line.GetQuestion(), code, keys, recode);
    std::string text = std::to_string(code) + kFieldSeparator + keys + kFieldSeparator + std::to_string(recode) +
                       kFieldSeparator;
    for (const auto& modality : line.Modalites())
        text += ModalityItem(*modality);
    return text;
}

} // namespace

CProfil::CProfil(const CProfil& other) : CObjet(other), id(other.id), label(other.label) {
    m_lines.reserve(other.m_lines.size());
    for (const auto& line : other.m_lines)
        m_lines.push_back(std::make_unique<CSousProfil>(*line));
}

CProfil& CProfil::operator=(const CProfil& other) {
    if (this != &other) {
        CProfil copy(other);
        id = copy.id;
        label = std::move(copy.label);
        m_lines = std::move(copy.m_lines);
    }
    return *this;
}

CProfil::~CProfil() = default;

void CProfil::Add(CQuestionEtendue* question, const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities) {
    m_lines.push_back(std::make_unique<CSousProfil>(question, modalities));
}

void CProfil::Add(CQuestionEtendue* question) { m_lines.push_back(std::make_unique<CSousProfil>(question)); }

void CProfil::AddSeparator() { m_lines.push_back(std::make_unique<CSousProfil>()); }

const CSousProfil* CProfil::Line(int i) const {
    if (i < 0 || i >= GetCount())
        return nullptr;
    return m_lines[static_cast<std::size_t>(i)].get();
}

void CProfil::GetAt(int i, CQuestionEtendue*& question,
                    std::vector<std::unique_ptr<CModaliteEtendue>>& modalities) const {
    const CSousProfil* line = Line(i);
    question = line ? line->GetQuestion() : nullptr;
    if (line)
        line->GetModalites(modalities);
    else
        modalities.clear();
}

CQuestionEtendue* CProfil::GetQuestion(int i, CQuestionEtendue*& question) const {
    question = GetQuestion(i);
    return question;
}

CQuestionEtendue* CProfil::GetQuestion(int i) const {
    const CSousProfil* line = Line(i);
    return line ? line->GetQuestion() : nullptr;
}

const CSousProfil* CProfil::GetSousProfil(int i) const { return Line(i); }

int CProfil::GetNbreQuestions() const {
    int count = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (!IsSeparator(i))
            ++count;
    return count;
}

bool CProfil::IsSeparator(int i) const {
    const CSousProfil* line = Line(i);
    return line && line->IsSeparator();
}

int CProfil::GetNbreModalites(int i) const {
    const CSousProfil* line = Line(i);
    return line ? line->GetNbreModalites() : 0;
}

int CProfil::GetNbreModalitesTotal() const {
    int total = 0;
    for (const auto& line : m_lines)
        total += line->GetNbreModalites();
    return total;
}

std::unique_ptr<CProfil> CProfil::Extract(int first, int last) const {
    auto extract = std::make_unique<CProfil>();
    for (int i = std::max(first, 0); i <= last && i < GetCount(); ++i)
        extract->m_lines.push_back(std::make_unique<CSousProfil>(*m_lines[static_cast<std::size_t>(i)]));
    return extract;
}

void CProfil::RemoveSeparators() {
    std::erase_if(m_lines, [](const std::unique_ptr<CSousProfil>& line) { return line->IsSeparator(); });
}

std::string CProfil::ToString(const CEnquete& /*survey*/) const {
    std::string text;
    for (const auto& line : m_lines)
        text += (line->IsSeparator() ? std::string(kSeparatorLine) : QuestionLine(*line)) + kLineEnd;
    return text;
}

void CProfil::FromString(const CEnquete& survey, std::string_view text) {
    std::vector<std::string> pieces;
    CStaticTools::LireChaineSeparateurString(text, kLineEnd, pieces);
    std::vector<std::unique_ptr<CSousProfil>> lines;
    for (const std::string& piece : pieces) {
        if (piece == kSeparatorLine) {
            lines.push_back(std::make_unique<CSousProfil>());
            continue;
        }
        std::vector<std::string> fields = SplitKeepingEmpty(piece, kFieldSeparator);
        if (fields.size() == kOlderQuestionFieldCount)
            fields.insert(fields.begin() + kFieldKeys, std::string());
        if (fields.size() != kQuestionFieldCount)
            continue;
        std::int32_t code = 0;
        std::int32_t recode = 0;
        if (!CStaticTools::EstLong(fields[kFieldCode], code) || !CStaticTools::EstLong(fields[kFieldRecode], recode))
            continue;
        CQuestionEtendue* question = survey.TrouverQuestion(code, fields[kFieldKeys], recode);
        if (!question)
            continue;
        // An empty modality field is what a question-only line (numeric and open-question
        // profiles) writes: the line comes back without modalities.
        if (fields[kFieldModalities].empty()) {
            lines.push_back(std::make_unique<CSousProfil>(question));
            continue;
        }
        std::vector<std::string> items;
        CStaticTools::LireChaineSeparateurString(fields[kFieldModalities], kItemEnd, items);
        std::vector<std::unique_ptr<CModaliteEtendue>> kept;
        for (const std::string& item : items)
            if (auto modality = ReadModalityItem(*question, item))
                kept.push_back(std::move(modality));
        if (!kept.empty())
            lines.push_back(std::make_unique<CSousProfil>(question, kept));
    }
    m_lines = std::move(lines);
}
