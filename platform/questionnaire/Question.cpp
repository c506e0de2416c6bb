#include "platform/questionnaire/Question.h"

#include <algorithm>
#include <initializer_list>

#include "platform/questionnaire/LocalisedTexts.h"

namespace {

enum class KindTest { AModalite, Numerique, NumeriqueLibre, Date, Ouverte };

// The kind and the types each query answers true for.
struct KindTestRule {
    KindTest test;
    std::int16_t kind;
    std::initializer_list<std::int16_t> types;
};

const KindTestRule kKindTestRules[] = {
    {KindTest::AModalite, 1, {1, 6, 7}},
    {KindTest::Numerique, 1, {5, 6, 7}},
    {KindTest::NumeriqueLibre, 1, {5}},
    {KindTest::Date, 1, {3}},
    {KindTest::Ouverte, 1, {4}},
};

bool Passes(KindTest test, std::int16_t kind, std::int16_t type) {
    for (const KindTestRule& rule : kKindTestRules) {
        if (rule.test == test)
            return rule.kind == kind && std::find(rule.types.begin(), rule.types.end(), type) != rule.types.end();
    }
    return false;
}

std::vector<std::unique_ptr<CModalite>> CloneModalities(const std::vector<std::unique_ptr<CModalite>>& source) {
    std::vector<std::unique_ptr<CModalite>> copies;
    copies.reserve(source.size());
    for (const auto& modality : source)
        copies.push_back(modality ? modality->Clone() : nullptr);
    return copies;
}

} // namespace

CQuestion::CQuestion(const CQuestion& other)
    : CObjet(other), code(other.code), name(other.name), depth(other.depth), kind(other.kind),
      classAttribute(other.classAttribute), type(other.type), typeFlag(other.typeFlag),
      dateKind(other.dateKind), questionClass(other.questionClass), answerCount(other.answerCount),
      multipleAnswers(other.multipleAnswers), hasNoAnswer(other.hasNoAnswer), ranking(other.ranking),
      lowerBound(other.lowerBound), upperBound(other.upperBound), responseTable(other.responseTable),
      levelTable(other.levelTable), tablePerOrder(other.tablePerOrder), inUse(other.inUse),
      inUseForAnalysis(other.inUseForAnalysis), semiOpen(other.semiOpen), semiOpens(other.semiOpens),
      loopWithoutLevel(other.loopWithoutLevel), loopSharesLevel(other.loopSharesLevel),
      sharedLevelCode(other.sharedLevelCode), expandIterations(other.expandIterations),
      shortCaptions(other.shortCaptions), longCaptions(other.longCaptions),
      modalities(CloneModalities(other.modalities)) {}

CQuestion& CQuestion::operator=(const CQuestion& other) {
    if (this != &other) {
        CQuestion copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CQuestion::~CQuestion() = default;

bool CQuestion::EstAModalite() const { return Passes(KindTest::AModalite, kind, type); }
bool CQuestion::EstNumerique() const { return Passes(KindTest::Numerique, kind, type); }
bool CQuestion::EstNumeriqueLibre() const { return Passes(KindTest::NumeriqueLibre, kind, type); }
bool CQuestion::EstDate() const { return Passes(KindTest::Date, kind, type); }
bool CQuestion::EstOuverte() const { return Passes(KindTest::Ouverte, kind, type); }

CModalite* CQuestion::GetModalite(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= modalities.size())
        return nullptr;
    return modalities[static_cast<std::size_t>(i)].get();
}

void CQuestion::AddModalite(std::unique_ptr<CModalite> modality) {
    if (modality)
        modalities.push_back(std::move(modality));
}

void CQuestion::DonnerCodeModalites(std::vector<std::int32_t>& codes) const {
    for (const auto& modality : modalities)
        codes.push_back(modality->code);
}

const std::string& CQuestion::GetLocalisedShortCaption(std::int32_t language) const {
    return LocalisedTexts::Get(shortCaptions, language);
}

void CQuestion::SetLocalisedShortCaption(std::int32_t language, const std::string& text) {
    LocalisedTexts::Set(shortCaptions, language, text);
}

const std::string& CQuestion::GetLocalisedLongCaption(std::int32_t language) const {
    return LocalisedTexts::Get(longCaptions, language);
}

void CQuestion::SetLocalisedLongCaption(std::int32_t language, const std::string& text) {
    LocalisedTexts::Set(longCaptions, language, text);
}

void CQuestion::GetTablePerResponse(std::vector<int>& tables, std::vector<int>& tableOfOrder) const {
    tables.clear();
    tableOfOrder.clear();
    if (answerCount <= 0)
        tables.push_back(responseTable);
    for (int order = 1; order <= answerCount; ++order) {
        const auto index = static_cast<std::size_t>(order - 1);
        const int table = index < tablePerOrder.size() ? tablePerOrder[index] : responseTable;
        auto found = std::find(tables.begin(), tables.end(), table);
        if (found == tables.end())
            found = tables.insert(tables.end(), table);
        tableOfOrder.push_back(static_cast<int>(found - tables.begin()));
    }
}
