#pragma once

#include <cstdint>
#include <map>
#include <string>

// The captions of a question or modality, one per language id. A language without a caption
// has no entry, so "no caption" and "empty caption" are the same thing.
class LocalisedTexts {
public:
    using Map = std::map<std::int32_t, std::string>;

    static const std::string& Get(const Map& texts, std::int32_t language);
    static void Set(Map& texts, std::int32_t language, const std::string& text);
};
