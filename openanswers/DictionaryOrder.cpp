#include "openanswers/DictionaryOrder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "openanswers/Tokenizer.h"
#include "platform/questionnaire/TextEncoding.h"

namespace {

// The base letters of the folded letters 0xDF .. 0xFF: one or two code points (0 for none).
struct Base {
    char first;
    char second;
};
constexpr std::array<Base, 33> kBaseOfLatin1 = {{
    {'s', 's'},                                                         // ß
    {'a', 0}, {'a', 0}, {'a', 0}, {'a', 0}, {'a', 0}, {'a', 0}, {'a', 'e'}, // à á â ã ä å æ
    {'c', 0}, {'e', 0}, {'e', 0}, {'e', 0}, {'e', 0},                   // ç è é ê ë
    {'i', 0}, {'i', 0}, {'i', 0}, {'i', 0},                             // ì í î ï
    {0, 0},   {'n', 0},                                                 // ð ñ
    {'o', 0}, {'o', 0}, {'o', 0}, {'o', 0}, {'o', 0},                   // ò ó ô õ ö
    {0, 0},   {'o', 0},                                                 // ÷ ø
    {'u', 0}, {'u', 0}, {'u', 0}, {'u', 0},                             // ù ú û ü
    {'y', 0}, {0, 0},   {'y', 0},                                       // ý þ ÿ
}};

// Reads a text as the primary units of the order: folded code points, each accented letter
// replaced by its base letter (or two).
class PrimaryUnits {
public:
    explicit PrimaryUnits(std::string_view text) : m_text(text), m_utf8(Tokenizer::EstUtf8Valide(text)) {}

    // The next unit; 0 at the end (a text holds no NUL worth ordering).
    char32_t Next() {
        if (m_pending != 0)
            return std::exchange(m_pending, 0);
        if (m_position >= m_text.size())
            return 0;
        const auto byte = static_cast<std::uint8_t>(m_text[m_position]);
        if (byte < 0x80) {
            ++m_position;
            return Tokenizer::Replier(byte);
        }
        char32_t c = 0;
        if (m_utf8) {
            c = TextEncoding::DecodeUtf8(m_text, m_position);
        } else {
            c = Windows1252::CodePoint(byte);
            ++m_position;
        }
        return BaseOf(Tokenizer::Replier(c));
    }

private:
    char32_t BaseOf(char32_t c) {
        if (c >= 0xDF && c <= 0xFF) {
            const Base base = kBaseOfLatin1[c - 0xDF];
            if (base.first == 0)
                return c;
            m_pending = static_cast<char32_t>(base.second);
            return static_cast<char32_t>(base.first);
        }
        switch (c) {
        case 0x153: m_pending = U'e'; return U'o'; // œ
        case 0x161: return U's';                   // š
        case 0x17E: return U'z';                   // ž
        default: return c;
        }
    }

    std::string_view m_text;
    bool m_utf8;
    std::size_t m_position = 0;
    char32_t m_pending = 0;
};

int ComparePrimary(std::string_view a, std::string_view b) {
    PrimaryUnits left(a);
    PrimaryUnits right(b);
    for (;;) {
        const char32_t x = left.Next();
        const char32_t y = right.Next();
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
}

int CompareAsciiFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t x = Tokenizer::Replier(static_cast<std::uint8_t>(a[i]));
        const char32_t y = Tokenizer::Replier(static_cast<std::uint8_t>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

int DictionaryOrder::Comparer(std::string_view a, std::string_view b) {
    // Most forms are plain ASCII: their units are their folded bytes.
    if (IsAscii(a) && IsAscii(b))
        return CompareAsciiFolded(a, b);
    if (const int primary = ComparePrimary(a, b); primary != 0)
        return primary;
    const std::string x = Tokenizer::ReplierTexte(a);
    const std::string y = Tokenizer::ReplierTexte(b);
    // UTF-8 bytes order as their code points.
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

void DictionaryOrder::TrierListe(std::vector<std::string>& words) {
    for (std::string& word : words)
        word = Tokenizer::ReplierTexte(word);
    std::stable_sort(words.begin(), words.end(), &DictionaryOrder::Avant);
}

bool DictionaryOrder::Contient(const std::vector<std::string>& sorted, std::string_view word) {
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), word,
                                     [](const std::string& a, std::string_view b) { return Avant(a, b); });
    return it != sorted.end() && Comparer(*it, word) == 0;
}
