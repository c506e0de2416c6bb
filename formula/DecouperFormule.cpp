#include "formula/DecouperFormule.h"

#include "app/Enquete.h"
#include "formula/FormulaDate.h"
#include "formula/FormulaFunction.h"
#include "formula/FormulaText.h"
#include "formula/NumberLists.h"
#include "platform/questionnaire/StaticTools.h"
#include "platform/questionnaire/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using V = CValeurFormule;

using E = FormulaError;

struct Keyword {
    std::string_view word;
    std::int32_t kind;
    std::int32_t code;
};

// The keywords that are no function name.
constexpr Keyword kOtherKeywords[] = {
    {"VRAI", V::kNombre, 1},
    {"TRUE", V::kNombre, 1},
    {"FAUX", V::kNombre, 0},
    {"FALSE", V::kNombre, 0},
    {"UNION", V::kOperateur, V::kPlus},
    {"INTERSECTION", V::kOperateur, V::kInter},
    {"MOD", V::kOperateur, V::kModulo},
    {"ET", V::kLogique, V::kEt},
    {"AND", V::kLogique, V::kEt},
    {"OU", V::kLogique, V::kOu},
    {"OR", V::kLogique, V::kOu},
    {"IN", V::kComparaison, V::kInferieur},
    {"ISINCLUDEDIN", V::kComparaison, V::kInferieur},
    {"ESTINCLUSDANS", V::kComparaison, V::kInferieur},
};

// Every keyword, the functions' both forms included. Where one keyword begins another both may
// match: the longer wins.
const std::vector<Keyword>& Keywords() {
    static const std::vector<Keyword> keywords = [] {
        std::vector<Keyword> all(std::begin(kOtherKeywords), std::end(kOtherKeywords));
        for (const FormulaFunction& function : FonctionsFormule()) {
            all.push_back({function.french, V::kFonction, function.number});
            if (std::string_view(function.english) != function.french)
                all.push_back({function.english, V::kFonction, function.number});
        }
        return all;
    }();
    return keywords;
}

// The tokens of one character.
struct OneCharacter {
    char character;
    std::int32_t kind;
    std::int32_t code;
};
constexpr OneCharacter kOneCharacterTokens[] = {
    {'(', V::kParenthese, V::kOuvrant}, {')', V::kParenthese, V::kFermant}, {'[', V::kCrochet, V::kOuvrant},
    {']', V::kCrochet, V::kFermant},    {'+', V::kOperateur, V::kPlus},     {'*', V::kOperateur, V::kFois},
    {'/', V::kOperateur, V::kDivise},   {'|', V::kOperateur, V::kInter},    {'=', V::kComparaison, V::kEgal},
    {',', V::kSeparateur, 0},
};

const OneCharacter* OneCharacterToken(char c) {
    for (const OneCharacter& token : kOneCharacterTokens)
        if (token.character == c)
            return &token;
    return nullptr;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The keyword's length of text at the position is the keyword, whatever the case.
bool EstMotCle(std::string_view text, std::size_t position, std::string_view keyword) {
    if (text.size() - position < keyword.size())
        return false;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (Upper(text[position + i]) != keyword[i])
            return false;
    return true;
}

const Keyword* LongestKeyword(std::string_view text, std::size_t position) {
    const Keyword* found = nullptr;
    for (const Keyword& keyword : Keywords())
        if ((found == nullptr || keyword.word.size() > found->word.size()) &&
            EstMotCle(text, position, keyword.word))
            found = &keyword;
    return found;
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return upper;
}

// The members of a list constant ("1;3 TO 5"): integers of at least 1, or ranges "a TO b" with
// a <= b. False for a member that is neither; `tooMany` when they would be more than a list may
// hold.
bool ReadMembers(std::string_view content, std::vector<double>& members, std::string& joined, bool& tooMany) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(content, ';', items);
    tooMany = false;
    auto add = [&](std::int64_t value) {
        if (!joined.empty() || !members.empty())
            joined += ';';
        joined += std::to_string(value);
        members.push_back(static_cast<double>(value));
    };
    for (const std::string& item : items) {
        const std::string member = UpperCase(item);
        const std::size_t to = member.find("TO");
        if (to != std::string::npos) {
            std::int32_t first = 0;
            std::int32_t last = 0;
            if (!CStaticTools::EstLong(std::string_view(member).substr(0, to), first) ||
                !CStaticTools::EstLong(std::string_view(member).substr(to + 2), last) || first > last)
                return false;
            if (static_cast<std::int64_t>(last) - first + 1 + static_cast<std::int64_t>(members.size()) >
                static_cast<std::int64_t>(NumberLists::kMaxElements)) {
                tooMany = true;
                return false;
            }
            for (std::int64_t value = first; value <= last; ++value)
                add(value);
        } else {
            std::int32_t value = 0;
            if (!CStaticTools::EstLong(member, value) || value < 1)
                return false;
            if (members.size() >= NumberLists::kMaxElements) {
                tooMany = true;
                return false;
            }
            add(value);
        }
    }
    return true;
}

// One scan of a formula.
class Scanner {
public:
    Scanner(std::string_view text, std::vector<V>& tokens, FormulaError& error, const CEnquete& survey)
        : m_text(text), m_tokens(tokens), m_error(error), m_survey(survey) {}

    bool Run() {
        while (m_p < m_text.size()) {
            if (!Step())
                return false;
        }
        return m_clean;
    }

private:
    static constexpr std::size_t npos = std::string_view::npos;

    bool Step() {
        const char c = m_text[m_p];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            ++m_p;
            return true;
        }
        if (const OneCharacter* token = OneCharacterToken(c))
            return Single(token->kind, token->code);
        switch (c) {
        case '<':
            if (Next() == '=')
                return Add(V::kComparaison, V::kInferieurEgal, 2);
            if (Next() == '>')
                return Add(V::kComparaison, V::kDifferent, 2);
            return Single(V::kComparaison, V::kInferieur);
        case '>':
            if (Next() == '=')
                return Add(V::kComparaison, V::kSuperieurEgal, 2);
            return Single(V::kComparaison, V::kSuperieur);
        case '-':
            if (IsDigit(Next()))
                return LireNombre();
            return Single(V::kOperateur, V::kMoins);
        case '"':
            return String();
        case '#':
            return DateOrTime('#', FormulaDate::Part::Date, E::kDateNonFermee, E::kDateInvalide);
        case '&':
            return DateOrTime('&', FormulaDate::Part::Time, E::kHeureNonFermee, E::kHeureInvalide);
        case '{':
            return List();
        case '?':
            return LireReference();
        default:
            if (IsDigit(c) || c == '.')
                return LireNombre();
            return Word();
        }
    }

    char Next() const { return m_p + 1 < m_text.size() ? m_text[m_p + 1] : '\0'; }

    // Positions and lengths are counted in characters; the scan only moves forward, so the
    // count goes on from where it was.
    std::int32_t CharacterPosition(std::size_t byte) {
        if (byte < m_countedBytes) {
            m_countedBytes = 0;
            m_countedCharacters = 0;
        }
        m_countedCharacters +=
            FormulaText::CharactersBefore(m_text.substr(m_countedBytes), byte - m_countedBytes);
        m_countedBytes = byte;
        return static_cast<std::int32_t>(m_countedCharacters) + 1;
    }
    std::int32_t Characters(std::size_t from, std::size_t bytes) const {
        return static_cast<std::int32_t>(FormulaText::CharacterCount(m_text.substr(from, bytes)));
    }

    V& Append(std::int32_t kind, double code, std::size_t bytes) {
        V token;
        token.kind = kind;
        token.code = code;
        token.position = CharacterPosition(m_p);
        token.length = Characters(m_p, bytes);
        m_p += bytes;
        m_tokens.push_back(std::move(token));
        return m_tokens.back();
    }
    bool Add(std::int32_t kind, double code, std::size_t bytes) {
        Append(kind, code, bytes);
        return true;
    }
    bool Single(std::int32_t kind, double code) { return Add(kind, code, 1); }

    // An error that ends the scan; it is reported only when no error was recorded before.
    bool Stop(std::int32_t code, std::size_t at, std::size_t bytes) {
        Record(code, at, bytes);
        return false;
    }
    void Record(std::int32_t code, std::size_t at, std::size_t bytes) {
        if (!m_clean)
            return;
        m_clean = false;
        m_error.code = code;
        m_error.position = CharacterPosition(at);
        m_error.length = Characters(at, bytes);
    }

    // The text from `from` up to the next occurrence of the character, or npos.
    std::size_t LireJusqua(std::size_t from, char closing) const { return m_text.find(closing, from); }

    bool LireNombre() {
        std::size_t end = m_p + (m_text[m_p] == '-' ? 1 : 0);
        while (end < m_text.size() && (IsDigit(m_text[end]) || m_text[end] == '.'))
            ++end;
        double value = 0.0;
        if (!CStaticTools::EstDouble(m_text.substr(m_p, end - m_p), value))
            return Stop(E::kNombreInvalide, m_p, end - m_p);
        return Add(V::kNombre, value, end - m_p);
    }

    bool String() {
        const std::size_t closing = LireJusqua(m_p + 1, '"');
        if (closing == npos)
            return Stop(E::kChaineNonFermee, m_p, 1);
        const std::string content(m_text.substr(m_p + 1, closing - m_p - 1));
        Append(V::kChaine, 0.0, closing + 1 - m_p).text = content;
        return true;
    }

    bool DateOrTime(char delimiter, FormulaDate::Part part, std::int32_t unclosed, std::int32_t invalid) {
        const std::size_t closing = LireJusqua(m_p + 1, delimiter);
        if (closing == npos)
            return Stop(unclosed, m_p, 1);
        double serial = 0.0;
        if (!FormulaDate::Read(m_text.substr(m_p + 1, closing - m_p - 1), part, serial))
            return Stop(invalid, m_p, 1);
        Append(V::kDate, serial, closing + 1 - m_p);
        return true;
    }

    bool List() {
        const std::size_t closing = LireJusqua(m_p + 1, '}');
        if (closing == npos)
            return Stop(E::kListeNonFermee, m_p, 1);
        std::vector<double> members;
        std::string joined;
        bool tooMany = false;
        if (!ReadMembers(m_text.substr(m_p + 1, closing - m_p - 1), members, joined, tooMany))
            return Stop(tooMany ? E::kListeTropLongue : E::kMembreInvalide, m_p, closing + 1 - m_p);
        V& token = Append(V::kListe, 0.0, closing + 1 - m_p);
        token.text = std::move(joined);
        token.DefinirListe(members);
        return true;
    }

    bool LireReference() {
        if (Next() != '?')
            return Stop(E::kPointInterrogationSeul, m_p, 1);
        const std::size_t start = m_p + 2;
        std::size_t closing = m_text.find("??", start);
        if (closing == npos)
            return Stop(E::kReferenceNonFermee, m_p, 2);
        if (closing + 2 < m_text.size() && m_text[closing + 2] == '?')
            ++closing;
        const std::string name(m_text.substr(start, closing - start));
        const std::size_t bytes = closing + 2 - m_p;

        int index = -1;
        const std::size_t colon = name.rfind(':');
        if (colon != std::string::npos && m_survey.TrouverIndexParNom(name.substr(0, colon), index)) {
            const std::int32_t modality = CStaticTools::ToLong(std::string_view(name).substr(colon + 1));
            if (!m_survey.EstQuestionFermee(index))
                return Stop(E::kQuestionNonFermee, m_p, bytes);
            if (modality < 1 || modality > m_survey.DonnerNbreModalites(index))
                return Stop(E::kModaliteHorsLimites, m_p, bytes);
            Append(V::kModalite, index, bytes).text = std::to_string(modality);
            return true;
        }
        if (!m_survey.TrouverIndexParNom(name, index))
            return Stop(E::kQuestionInconnue, m_p, bytes);
        Append(V::kQuestion, index, bytes);
        return true;
    }

    bool Word() {
        if (const Keyword* keyword = LongestKeyword(m_text, m_p))
            return Add(keyword->kind, keyword->code, keyword->word.size());
        // An unknown word: its first character and the ASCII letters after it. The scan goes on.
        const std::size_t start = m_p;
        TextEncoding::DecodeUtf8(m_text, m_p);
        while (m_p < m_text.size() && IsAsciiLetter(m_text[m_p]))
            ++m_p;
        Record(E::kMotInconnu, start, 1);
        return true;
    }

    std::string_view m_text;
    std::vector<V>& m_tokens;
    FormulaError& m_error;
    const CEnquete& m_survey;
    std::size_t m_p = 0;
    bool m_clean = true;
    std::size_t m_countedBytes = 0;
    std::size_t m_countedCharacters = 0;
};

} // namespace

bool DecouperFormule(std::string_view formula, std::vector<CValeurFormule>& tokens, FormulaError& error,
                     const CEnquete& survey) {
    return Scanner(formula, tokens, error, survey).Run();
}
