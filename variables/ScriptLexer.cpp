#include "variables/ScriptLexer.h"

#include "app/Enquete.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "formula/FormulaText.h"
#include "platform/questionnaire/StaticTools.h"
#include "platform/questionnaire/TextEncoding.h"
#include "variables/ScriptKeywords.h"

#include <string>

namespace ScriptLexer {

std::uint32_t CouleurDe(std::uint16_t kind) {
    switch (kind) {
    case CElementCompile::kNombre:
        return kCouleurNombre;
    case CElementCompile::kLogique:
    case CElementCompile::kFonction:
    case CElementCompile::kSi:
    case CElementCompile::kAlors:
    case CElementCompile::kSinon:
    case CElementCompile::kSinonSi:
    case CElementCompile::kFinSi:
        return kCouleurMotCle;
    case CElementCompile::kQuestionNumerique:
    case CElementCompile::kQuestionFermee:
    case CElementCompile::kQuestionFermeeMultiple:
        return kCouleurQuestion;
    default:
        return kCouleurNormale;
    }
}

} // namespace ScriptLexer

namespace {

using E = CElementCompile;

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }
bool EstBlanc(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The bytes of the character at `at`, as the formula language counts characters (a malformed
// sequence too): the places of tokens and faults must count the same characters as the text's
// length does.
std::size_t OctetsDuCaractere(std::string_view text, std::size_t at) {
    std::size_t next = at;
    TextEncoding::DecodeUtf8(text, next);
    return next - at;
}

// One pass over the text: `m_byte` and `m_character` walk together.
class Cutter {
public:
    Cutter(std::string_view text, int mode, const CEnquete& survey, ScriptLexing& out)
        : m_text(text), m_compile(mode == ScriptLexer::kCompiler), m_survey(survey), m_out(out) {}

    bool Run() {
        while (m_byte < m_text.size()) {
            if (!Step() && m_compile)
                return false;
        }
        return !m_failed;
    }

private:
    // Cuts what begins at the current place; false on a fault (the place has then moved past it).
    bool Step() {
        const char c = m_text[m_byte];
        const char next = m_byte + 1 < m_text.size() ? m_text[m_byte + 1] : '\0';
        if (EstBlanc(c)) {
            Advance(1, 1);
            return true;
        }
        switch (c) {
        case '(':
            return Token(E::kParentheseOuvrante, 0.0, 1);
        case ')':
            return Token(E::kParentheseFermante, 0.0, 1);
        case '*':
            return Token(E::kArithmetique, E::kFois, 1);
        case '+':
            return Token(E::kArithmetique, E::kPlus, 1);
        case '/':
            return Token(E::kArithmetique, E::kDivise, 1);
        case '=':
            return Token(E::kComparateur, E::kEgal, 1);
        case '<':
            if (next == '=')
                return Token(E::kComparateur, E::kInferieurEgal, 2);
            if (next == '>')
                return Token(E::kComparateur, E::kDifferent, 2);
            return Token(E::kComparateur, E::kInferieur, 1);
        case '>':
            if (next == '=')
                return Token(E::kComparateur, E::kSuperieurEgal, 2);
            return Token(E::kComparateur, E::kSuperieur, 1);
        case '-':
            if (EstChiffre(next))
                return Number();
            return Token(E::kArithmetique, E::kMoins, 1);
        case '?':
            return Reference();
        default:
            if (EstChiffre(c) || c == '.' || c == ',')
                return Number();
            return Word();
        }
    }

    bool Number() {
        std::size_t end = m_byte + 1;
        while (end < m_text.size() && (EstChiffre(m_text[end]) || m_text[end] == '.' || m_text[end] == ','))
            ++end;
        const std::string_view digits = m_text.substr(m_byte, end - m_byte);
        const auto length = static_cast<std::int32_t>(digits.size());
        double number = 0.0;
        if (!CStaticTools::EstDouble(digits, number))
            return Fault(Message(StringTable::kScriptValeurNumeriqueInvalide), digits.size(), length);
        return Token(E::kNombre, number, digits.size(), length);
    }

    bool Reference() {
        if (m_byte + 1 >= m_text.size() || m_text[m_byte + 1] != '?')
            return Fault(Message(StringTable::kScriptCaractereInattendu), 1, 1);
        const std::size_t nameStart = m_byte + 2;
        std::size_t close = m_text.find("??", nameStart);
        if (close == std::string_view::npos)
            return Fault(Message(StringTable::kScriptManqueFinQuestion), 2, 2);
        if (close + 2 < m_text.size() && m_text[close + 2] == '?')
            ++close;
        const std::string name(m_text.substr(nameStart, close - nameStart));
        const std::size_t bytes = name.size() + 4;
        const std::int32_t characters = static_cast<std::int32_t>(FormulaText::CharacterCount(name)) + 4;
        CQuestionEtendue* question = m_survey.TrouverQuestionParNom(name);
        if (question == nullptr)
            return Fault(Message(StringTable::kScriptQuestionInexistante, {name}), bytes, characters);
        std::uint16_t kind = E::kQuestionNumerique;
        if (!question->EstNumerique()) {
            if (!question->EstFermee())
                return Fault(Message(StringTable::kScriptQuestionInutilisable, {name}), bytes, characters);
            const bool several = question->multipleAnswers || question->answerCount > 1;
            kind = several ? E::kQuestionFermeeMultiple : E::kQuestionFermee;
        }
        const bool cut = Token(kind, 0.0, bytes, characters);
        if (m_compile)
            m_out.tokens.back().question = question;
        return cut;
    }

    bool Word() {
        const ScriptKeyword* word = ScriptKeywords::TrouverEnDebut(m_text.substr(m_byte));
        if (word == nullptr)
            return Fault(Message(StringTable::kScriptCaractereInattendu), OctetsDuCaractere(m_text, m_byte), 1);
        return Token(word->kind, word->value, word->text.size());
    }

    // A token of ASCII characters only.
    bool Token(std::uint16_t kind, double value, std::size_t bytes) {
        return Token(kind, value, bytes, static_cast<std::int32_t>(bytes));
    }

    bool Token(std::uint16_t kind, double value, std::size_t bytes, std::int32_t characters) {
        if (m_compile)
            m_out.tokens.emplace_back(kind, value, m_character, characters);
        m_out.spans.push_back({m_character, characters, ScriptLexer::CouleurDe(kind)});
        Advance(bytes, characters);
        return true;
    }

    bool Fault(Message message, std::size_t bytes, std::int32_t characters) {
        m_out.spans.push_back({m_character, characters, ScriptLexer::kCouleurErreur});
        if (!m_failed) {
            m_failed = true;
            m_out.error.message = std::move(message);
            m_out.error.position = m_character + 1;
            m_out.error.length = characters;
        }
        Advance(bytes, characters);
        return false;
    }

    void Advance(std::size_t bytes, std::int32_t characters) {
        m_byte += bytes;
        m_character += characters;
    }

    std::string_view m_text;
    bool m_compile;
    const CEnquete& m_survey;
    ScriptLexing& m_out;
    std::size_t m_byte = 0;
    std::int32_t m_character = 0;
    bool m_failed = false;
};

} // namespace

bool LexerScript(std::string_view text, int mode, const CEnquete& survey, ScriptLexing& out) {
    if (text.empty()) {
        out.error.message = Message(StringTable::kScriptExpressionVide);
        out.error.position = 0;
        out.error.length = 0;
        return false;
    }
    return Cutter(text, mode, survey, out).Run();
}
