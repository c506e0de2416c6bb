#include "recodes/RecodageModalite.h"

#include <algorithm>
#include <limits>
#include <map>
#include <string_view>

#include "app/Enquete.h"
#include "app/QuestionEtendue.h"
#include "platform/questionnaire/PropertyList.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

constexpr char kPieceEnd = '|';
constexpr char kFieldSeparator = ';';
constexpr std::int32_t kNoModalityCode = -5;

// Whether a caption written as it stands reads back as itself: it must not end its piece early
// nor look like the property list of several languages.
bool ReadsBackAsItself(const std::string& caption) {
    if (caption.find(kPieceEnd) != std::string::npos)
        return false;
    CPropertyList list;
    list.SetString(caption);
    return list.GetCount() < 2;
}

// The caption field of a node's piece.
std::string CaptionText(const CModalite& node) {
    std::vector<std::int32_t> languages;
    std::vector<std::string> texts;
    node.GetAllLocalisedTexts(languages, texts);
    if (texts.empty())
        return {};
    if (texts.size() == 1 && ReadsBackAsItself(texts[0]))
        return texts[0];
    CPropertyList list;
    for (std::size_t i = 0; i < texts.size(); ++i)
        list.SetProperty(std::to_string(languages[i]), texts[i]);
    if (texts.size() == 1) {
        // One caption that cannot stand as it is: the same property twice reads back as the
        // list of several languages and gives that language its caption.
        return list.GetString() + list.GetString();
    }
    return list.GetString();
}

// Gives the node the captions of a caption field: a list of at least two languages gives each
// language its caption, anything else is the caption in the survey's default language.
void ReadCaptionText(CModaliteGroupe& node, const std::string& text) {
    CPropertyList list;
    list.SetString(text);
    std::vector<std::string> names;
    std::vector<std::string> values;
    list.GetNamesAndValues(names, values);
    if (names.size() < 2) {
        node.SetDefaultShortCaption(text);
        return;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::int32_t language = 0;
        if (CStaticTools::EstLong(names[i], language))
            node.SetLocalisedShortCaption(language, values[i]);
    }
}

// One piece of a definition text: its first two fields, which must be whole numbers (and the
// level a valid depth), and the caption, which is the rest of the piece and may hold ';'.
struct Piece {
    std::int32_t first = 0;
    std::int16_t level = 0;
    std::string caption;
};

bool ReadPiece(std::string_view text, Piece& piece) {
    const std::size_t firstEnd = text.find(kFieldSeparator);
    if (firstEnd == std::string_view::npos)
        return false;
    const std::size_t secondEnd = text.find(kFieldSeparator, firstEnd + 1);
    const std::string_view levelText =
        text.substr(firstEnd + 1, secondEnd == std::string_view::npos ? std::string_view::npos : secondEnd - firstEnd - 1);
    std::int32_t level = 0;
    if (!CStaticTools::EstLong(text.substr(0, firstEnd), piece.first) || !CStaticTools::EstLong(levelText, level))
        return false;
    if (level < 0 || level > std::numeric_limits<std::int16_t>::max())
        return false;
    piece.level = static_cast<std::int16_t>(level);
    piece.caption = secondEnd == std::string_view::npos ? std::string() : std::string(text.substr(secondEnd + 1));
    return true;
}

std::vector<std::int32_t> ModalityCodes(const CQuestionEtendue& question) {
    std::vector<std::int32_t> codes;
    question.DonnerCodeModalites(codes);
    return codes;
}

} // namespace

CRecodageModalite::CRecodageModalite(CEnquete* survey) : CRecodage(survey) {}

CRecodageModalite::CRecodageModalite(const CRecodageModalite& other)
    : CRecodage(other), m_estCumule(other.m_estCumule) {
    m_noeuds.reserve(other.m_noeuds.size());
    for (const auto& node : other.m_noeuds)
        m_noeuds.push_back(std::make_unique<CModaliteGroupe>(*node));
}

CRecodageModalite::~CRecodageModalite() = default;

std::unique_ptr<CRecodage> CRecodageModalite::Clone() const { return std::make_unique<CRecodageModalite>(*this); }

// ---- The recode's operations -----------------------------------------------------------------

int CRecodageModalite::DonnerNombreReponses(const CQuestionEtendue&) const {
    std::map<std::int32_t, int> occurrences;
    int most = 1; // a recode of groups alone still gives one answer
    for (const auto& node : m_noeuds)
        if (node->code != 0)
            most = std::max(most, ++occurrences[node->code]);
    return most;
}

void CRecodageModalite::Appliquer(CQuestionEtendue& target, bool) const {
    target.DetruireModalites();
    std::int32_t nextCode = 1;
    for (const auto& node : m_noeuds) {
        if (node->level != 0)
            continue;
        auto modality = std::make_unique<CModaliteEtendue>(static_cast<const CModaliteEtendue&>(*node));
        modality->code = nextCode++;
        modality->displayOptions[0] = false;
        target.AddModalite(std::move(modality));
    }
    target.hasNoAnswer = 0;
    target.type = 1;
}

bool CRecodageModalite::EstApplicable(const CQuestionEtendue& question) const { return question.EstFermee(); }

void CRecodageModalite::Reinitialiser() {
    for (const auto& node : m_noeuds) {
        node->displayOptions = {};
        node->displayOptions[0] = node->level == 0;
    }
}

std::string CRecodageModalite::GetRegroupement() const {
    return WriteDefinition([](const CModaliteGroupe& node) { return std::to_string(node.code); });
}

std::string CRecodageModalite::GetRegroupement(const CQuestionEtendue& question) const {
    const std::vector<std::int32_t> codes = ModalityCodes(question);
    return WriteDefinition([&codes](const CModaliteGroupe& node) {
        const auto found = std::find(codes.begin(), codes.end(), node.code);
        return std::to_string(found == codes.end() ? 0 : found - codes.begin() + 1);
    });
}

void CRecodageModalite::SetRegroupement(const std::string& text) {
    ReadDefinition(text, [](std::int32_t code) { return code; });
}

void CRecodageModalite::SetRegroupement(const CQuestionEtendue& question, const std::string& text) {
    const std::vector<std::int32_t> codes = ModalityCodes(question);
    ReadDefinition(text, [&codes](std::int32_t position) {
        const bool inRange = position >= 1 && static_cast<std::size_t>(position) <= codes.size();
        return inRange ? codes[static_cast<std::size_t>(position - 1)] : 0;
    });
}

template <class CodeText> std::string CRecodageModalite::WriteDefinition(CodeText codeText) const {
    std::string text;
    for (const auto& node : m_noeuds) {
        text += codeText(*node);
        text += kFieldSeparator;
        text += std::to_string(node->level);
        text += kFieldSeparator;
        text += CaptionText(*node);
        text += kPieceEnd;
    }
    return text;
}

template <class CodeOf> void CRecodageModalite::ReadDefinition(const std::string& text, CodeOf codeOf) {
    std::vector<std::unique_ptr<CModaliteGroupe>> nodes;
    std::vector<std::string> pieces;
    CStaticTools::LireChaineSeparateurString(text, kPieceEnd, pieces);
    for (const std::string& pieceText : pieces) {
        Piece piece;
        if (!ReadPiece(pieceText, piece))
            continue;
        auto node = std::make_unique<CModaliteGroupe>(GetEnquete(), codeOf(piece.first), std::string(), piece.level);
        ReadCaptionText(*node, piece.caption);
        nodes.push_back(std::move(node));
    }
    m_noeuds = std::move(nodes);
}

void CRecodageModalite::CopyGroups(std::vector<std::unique_ptr<CModaliteEtendue>>& groups) const {
    for (const auto& node : m_noeuds)
        groups.push_back(std::make_unique<CModaliteGroupe>(*node));
}

void CRecodageModalite::DonnerGroupesDuCode(std::int32_t code, int level, std::vector<std::int16_t>& groups) const {
    if (code == kNoModalityCode)
        return;
    int group = -1;
    bool insideGroup = false;
    for (const auto& node : m_noeuds) {
        if (node->level == level) {
            insideGroup = true;
            ++group;
        } else if (node->level < level) {
            insideGroup = false;
        }
        // A deeper node before the first group of the level, or after a shallower node, belongs
        // to no group of the level.
        if (node->code == code && insideGroup)
            groups.push_back(static_cast<std::int16_t>(group));
    }
}

// ---- The nodes -------------------------------------------------------------------------------

int CRecodageModalite::AjouterNoeud(std::unique_ptr<CModaliteGroupe> node) {
    if (!node)
        return -1;
    m_noeuds.push_back(std::move(node));
    return static_cast<int>(m_noeuds.size()) - 1;
}

void CRecodageModalite::ViderNoeuds() { m_noeuds.clear(); }

CModaliteGroupe* CRecodageModalite::Node(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= m_noeuds.size())
        return nullptr;
    return m_noeuds[static_cast<std::size_t>(i)].get();
}

int CRecodageModalite::DonnerNombreNiveaux() const {
    int deepest = 0;
    for (const auto& node : m_noeuds)
        deepest = std::max(deepest, static_cast<int>(node->level));
    return deepest + 1;
}

int CRecodageModalite::DonnerNombreNoeudsNiveau(int level) const {
    return static_cast<int>(
        std::count_if(m_noeuds.begin(), m_noeuds.end(), [level](const auto& node) { return node->level == level; }));
}

int CRecodageModalite::DonnerIndexNoeud(int n, int level) const {
    int seen = 0;
    for (std::size_t i = 0; i < m_noeuds.size(); ++i)
        if (m_noeuds[i]->level == level && seen++ == n)
            return static_cast<int>(i);
    return 0;
}

int CRecodageModalite::DonnerNombreDescendants(int i) const {
    const CModaliteGroupe* node = Node(i);
    if (node == nullptr)
        return 0;
    int count = 0;
    for (std::size_t j = static_cast<std::size_t>(i) + 1; j < m_noeuds.size() && m_noeuds[j]->level > node->level; ++j)
        ++count;
    return count;
}
