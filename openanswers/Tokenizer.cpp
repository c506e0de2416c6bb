#include "openanswers/Tokenizer.h"

#include <cstring>

namespace {

constexpr char32_t kCapitalS = 0x160, kSmallS = 0x161, kCapitalOE = 0x152, kSmallOE = 0x153;
constexpr char32_t kCapitalZ = 0x17D, kSmallZ = 0x17E, kCapitalY = 0x178, kSmallF = 0x192;
constexpr char32_t kMultiplication = 0xD7, kDivision = 0xF7;
constexpr char32_t kOrdinalA = 0xAA, kMicro = 0xB5, kOrdinalO = 0xBA;

} // namespace

bool Tokenizer::EstCaractereMot(char32_t c) {
    if (c < 0x80)
        return kAsciiWord[c];
    if (c >= 0xC0 && c <= 0xFF)
        return c != kMultiplication && c != kDivision;
    switch (c) {
    case kOrdinalA: case kMicro: case kOrdinalO:
    case kCapitalS: case kSmallS: case kCapitalOE: case kSmallOE:
    case kCapitalZ: case kSmallZ: case kCapitalY: case kSmallF:
        return true;
    default:
        return false;
    }
}

char32_t Tokenizer::Replier(char32_t c) {
    if (c < 0x80)
        return static_cast<unsigned char>(kAsciiFold[c]);
    if (c >= 0xC0 && c <= 0xDE && c != kMultiplication)
        return c + 0x20;
    switch (c) {
    case kCapitalS: return kSmallS;
    case kCapitalOE: return kSmallOE;
    case kCapitalZ: return kSmallZ;
    case kCapitalY: return 0xFF;
    default: return c;
    }
}

std::string Tokenizer::ReplierTexte(std::string_view text) {
    const bool utf8 = EstUtf8Valide(text);
    std::string folded;
    folded.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        char32_t codePoint = 0;
        if (utf8) {
            codePoint = TextEncoding::DecodeUtf8(text, position);
        } else {
            codePoint = Windows1252::CodePoint(static_cast<std::uint8_t>(text[position]));
            ++position;
        }
        TextEncoding::AppendUtf8(folded, Replier(codePoint));
    }
    return folded;
}

bool Tokenizer::EstUtf8Valide(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // Eight ASCII bytes at a time: most answers are mostly ASCII.
        std::uint64_t eight = 0;
        if (n - i >= sizeof eight) {
            std::memcpy(&eight, text.data() + i, sizeof eight);
            if ((eight & 0x8080808080808080ull) == 0) {
                i += sizeof eight;
                continue;
            }
        }
        const auto lead = static_cast<std::uint8_t>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t smallest = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (n - i < static_cast<std::size_t>(length))
            return false;
        char32_t value = lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3Fu);
        }
        if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}
