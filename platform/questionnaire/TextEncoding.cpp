#include "platform/questionnaire/TextEncoding.h"

#include <array>

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the other bytes are Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Lead byte of a multi-byte UTF-8 sequence: the number of continuation bytes, the payload bits
// of the lead byte and the range allowed for the first continuation byte (which is how overlong
// forms, surrogates and values above U+10FFFF are refused).
struct LeadByte {
    unsigned char first;
    unsigned char last;
    int continuations;
    unsigned char payloadMask;
    unsigned char secondLow;
    unsigned char secondHigh;
};

constexpr LeadByte kLeadBytes[] = {
    {0xC2, 0xDF, 1, 0x1F, 0x80, 0xBF}, {0xE0, 0xE0, 2, 0x0F, 0xA0, 0xBF}, {0xE1, 0xEC, 2, 0x0F, 0x80, 0xBF},
    {0xED, 0xED, 2, 0x0F, 0x80, 0x9F}, {0xEE, 0xEF, 2, 0x0F, 0x80, 0xBF}, {0xF0, 0xF0, 3, 0x07, 0x90, 0xBF},
    {0xF1, 0xF3, 3, 0x07, 0x80, 0xBF}, {0xF4, 0xF4, 3, 0x07, 0x80, 0x8F},
};

const LeadByte* FindLeadByte(unsigned char byte) {
    for (const LeadByte& lead : kLeadBytes) {
        if (byte >= lead.first && byte <= lead.last)
            return &lead;
    }
    return nullptr;
}

} // namespace

char32_t TextEncoding::DecodeUtf8(std::string_view text, std::size_t& position) {
    const auto first = static_cast<unsigned char>(text[position++]);
    if (first < 0x80)
        return first;
    const LeadByte* lead = FindLeadByte(first);
    if (lead == nullptr)
        return kReplacementCharacter;
    char32_t codePoint = first & lead->payloadMask;
    unsigned char low = lead->secondLow;
    unsigned char high = lead->secondHigh;
    for (int i = 0; i < lead->continuations; ++i) {
        if (position >= text.size())
            return kReplacementCharacter;
        const auto next = static_cast<unsigned char>(text[position]);
        if (next < low || next > high)
            return kReplacementCharacter; // the bad byte starts the next sequence
        codePoint = (codePoint << 6) | (next & 0x3Fu);
        ++position;
        low = 0x80;
        high = 0xBF;
    }
    return codePoint;
}

void TextEncoding::AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacementCharacter;
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

std::u16string TextEncoding::Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const char32_t codePoint = DecodeUtf8(text, position);
        if (codePoint < 0x10000) {
            out.push_back(static_cast<char16_t>(codePoint));
        } else {
            const char32_t offset = codePoint - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        }
    }
    return out;
}

std::string TextEncoding::Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t high = unit - 0xD800u;
            const char32_t low = text[++i] - 0xDC00u;
            AppendUtf8(out, 0x10000 + (high << 10) + low);
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string TextEncoding::Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            AppendUtf8(out, kWindows1252High[byte - 0x80u]);
        else
            AppendUtf8(out, byte);
    }
    return out;
}
