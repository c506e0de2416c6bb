#include "openanswers/Windows1252.h"

#include <array>

#include "platform/questionnaire/TextEncoding.h"

namespace {

// 0x80 .. 0x9F; the undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char32_t Windows1252::CodePoint(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80u];
    return byte;
}

bool Windows1252::Byte(char32_t codePoint, std::uint8_t& byte) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        byte = static_cast<std::uint8_t>(codePoint);
        return true;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint) {
            byte = static_cast<std::uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool Windows1252::FromUtf8(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t start = position;
        const char32_t codePoint = TextEncoding::DecodeUtf8(text, position);
        // A replacement character that the text did not spell is a fault of the text.
        if (codePoint == TextEncoding::kReplacementCharacter && text.substr(start, position - start) != "\xEF\xBF\xBD")
            return false;
        std::uint8_t byte = 0;
        if (!Byte(codePoint, byte))
            return false;
        out.push_back(static_cast<char>(byte));
    }
    return true;
}
