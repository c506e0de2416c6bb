#include "gui/tabulation/TextWrapping.h"

#include "gui/tabulation/FontMetricsSource.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// The number of bytes of the UTF-8 sequence that starts with `lead` (1 for a stray byte, so that
// malformed text still advances).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// Closing punctuation that follows its word after a blank and must not begin a line.
bool IsClosingSign(const std::string& word) {
    static const std::vector<std::string> kSigns{":", ";", "!", "?", "%", "\xC2\xBB" /* » in UTF-8 */};
    if (word.empty())
        return false;
    for (std::size_t at = 0; at < word.size();) {
        const auto sign = std::find_if(kSigns.begin(), kSigns.end(), [&](const std::string& s) {
            return word.compare(at, s.size(), s) == 0;
        });
        if (sign == kSigns.end())
            return false;
        at += sign->size();
    }
    return true;
}

// Wide enough for any word of a cell: a word measured in it stands on one line.
constexpr int kOneLineWidth = 1 << 20;

} // namespace

namespace TextWrapping {

std::vector<std::string> WholeWords(const std::string& text) {
    std::vector<std::string> words;
    // Where the last word of the current line starts in the text; npos at the start of a line.
    std::size_t lastWordStart = std::string::npos;
    for (std::size_t at = 0; at < text.size();) {
        if (IsLineBreak(text[at])) {
            lastWordStart = std::string::npos;
            ++at;
            continue;
        }
        if (IsBlank(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !IsBlank(text[end]) && !IsLineBreak(text[end]))
            ++end;
        const std::string word = text.substr(at, end - at);
        if (lastWordStart != std::string::npos && IsClosingSign(word)) {
            words.back() = text.substr(lastWordStart, end - lastWordStart);
        } else {
            words.push_back(word);
            lastWordStart = at;
        }
        at = end;
    }
    return words;
}

std::string WrapToColumn(const std::string& text, int left, int right, const CPoliceAna& font,
                         const FontMetricsSource& metrics) {
    const int width = right - left;
    if (width <= 1)
        return text;
    if (metrics.MeasureWrapped(font, text, width).width <= width)
        return text;

    std::string wrapped;
    wrapped.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        const std::size_t before = wrapped.size();
        wrapped.append(text, at, length);
        if (metrics.MeasureWrapped(font, wrapped, width).width > width)
            wrapped.insert(before, 1, '\n');
        at += length;
    }
    return wrapped;
}

int WidestWholeWord(const std::string& text, const CPoliceAna& font, const FontMetricsSource& metrics) {
    int widest = 0;
    for (const std::string& word : WholeWords(text))
        widest = std::max(widest, metrics.MeasureWrapped(font, word, kOneLineWidth).width);
    return widest;
}

} // namespace TextWrapping
