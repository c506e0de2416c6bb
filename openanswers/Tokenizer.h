#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "openanswers/Windows1252.h"
#include "platform/questionnaire/TextEncoding.h"

namespace tokenizer_tables {

constexpr std::array<bool, 128> AsciiWords() {
    std::array<bool, 128> table{};
    for (int c = 0; c < 128; ++c)
        table[static_cast<std::size_t>(c)] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return table;
}

constexpr std::array<char, 128> AsciiFolds() {
    std::array<char, 128> table{};
    for (int c = 0; c < 128; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table;
}

} // namespace tokenizer_tables

// Cuts an open answer into word forms. An answer is UTF-8; one that is not valid UTF-8 is read
// as Windows-1252, byte by byte. Word characters are the digits and every letter that
// Windows-1252 holds (so that every form fits the single-byte cache files); everything else
// separates words: blanks, punctuation, apostrophes, hyphens, and characters outside the code
// page. Forms are folded: capitals are lowered, the same way for tokens, stop words and every
// text compared with them, so «c'est l'ÉTÉ du cœur» gives c, est, l, été, du, cœur.
class Tokenizer {
public:
    // Calls emit(std::string_view) with each form of the answer in text order, folded, in UTF-8.
    // The view lasts until emit returns.
    template <class Emit> static void Decouper(std::string_view answer, Emit&& emit);

    static bool EstCaractereMot(char32_t codePoint);
    // The lower-case letter of a capital that Windows-1252 holds; any other code point unchanged.
    static char32_t Replier(char32_t codePoint);
    // The text folded character by character (separators kept), read as Decouper reads it.
    static std::string ReplierTexte(std::string_view text);
    static bool EstUtf8Valide(std::string_view text);

private:
    static constexpr std::array<bool, 128> kAsciiWord = tokenizer_tables::AsciiWords();
    static constexpr std::array<char, 128> kAsciiFold = tokenizer_tables::AsciiFolds();
};

template <class Emit> void Tokenizer::Decouper(std::string_view answer, Emit&& emit) {
    const bool utf8 = EstUtf8Valide(answer);
    // The next character at `at` (moved past it), read as UTF-8 or as Windows-1252.
    const auto next = [&](std::size_t& at) -> char32_t {
        const auto byte = static_cast<std::uint8_t>(answer[at]);
        if (byte < 0x80 || !utf8) {
            ++at;
            return byte < 0x80 ? byte : Windows1252::CodePoint(byte);
        }
        return TextEncoding::DecodeUtf8(answer, at);
    };
    std::string folded;
    std::size_t position = 0;
    while (position < answer.size()) {
        const std::size_t start = position;
        // A form already folded and in UTF-8 is handed over as it stands in the answer.
        bool copy = false;
        while (position < answer.size()) {
            const auto byte = static_cast<std::uint8_t>(answer[position]);
            if (byte < 0x80) {
                if (!kAsciiWord[byte])
                    break;
                copy |= kAsciiFold[byte] != static_cast<char>(byte);
                ++position;
                continue;
            }
            std::size_t after = position;
            const char32_t c = next(after);
            if (!EstCaractereMot(c))
                break;
            copy |= !utf8 || Replier(c) != c;
            position = after;
        }
        if (position == start) {
            next(position); // a separator
            continue;
        }
        if (!copy) {
            emit(answer.substr(start, position - start));
            continue;
        }
        folded.clear();
        for (std::size_t at = start; at < position;)
            TextEncoding::AppendUtf8(folded, Replier(next(at)));
        emit(std::string_view(folded));
    }
}
