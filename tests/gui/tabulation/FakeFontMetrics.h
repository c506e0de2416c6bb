#pragma once

#include "presentation/PoliceAna.h"
#include "gui/tabulation/FontMetricsSource.h"

#include <algorithm>
#include <string>
#include <vector>

// Metrics that a test can count by hand: every character is as many units wide as the font's
// size in points (10 for the default font), every line twice as high. Lines break at "\n" ("\r"
// takes no room) and then between words, a word wider than the box standing alone on its line
// and overflowing it. An empty text is one line high.
class FakeFontMetrics final : public FontMetricsSource {
public:
    TextExtent MeasureWrapped(const CPoliceAna& font, const std::string& text, int width) const override {
        const int charWidth = static_cast<int>(font.GetTaille());
        const int lineHeight = 2 * charWidth;
        width = std::max(width, 1);
        int widest = 0;
        int lines = 0;
        for (const std::string& paragraph : Split(text, '\n')) {
            std::string line;
            for (const std::string& word : Split(paragraph, ' ')) {
                const std::string candidate = line.empty() ? word : line + " " + word;
                if (line.empty() || Length(candidate) * charWidth <= width) {
                    line = candidate;
                    continue;
                }
                widest = std::max(widest, Length(line) * charWidth);
                ++lines;
                line = word;
            }
            widest = std::max(widest, Length(line) * charWidth);
            ++lines;
        }
        return TextExtent{widest, std::max(lines, 1) * lineHeight};
    }

private:
    static std::vector<std::string> Split(const std::string& text, char separator) {
        std::vector<std::string> parts(1);
        for (const char c : text) {
            if (c == separator)
                parts.emplace_back();
            else if (c != '\r')
                parts.back() += c;
        }
        return parts;
    }
    // Characters, not bytes: UTF-8 continuation bytes take no room of their own.
    static int Length(const std::string& text) {
        return static_cast<int>(std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    }
};
