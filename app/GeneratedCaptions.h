#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The captions the program generates for modalities (no answer, other, total, not asked, the
// bounds of intervals and dates), in the five languages of its messages. Each has a built-in
// text per language that the user may override in the settings (one section per caption, one key
// per language: "FRA", "DEU", "ITA", "ESP", "ENG").
class CGeneratedCaptions {
public:
    enum class Kind {
        NonReponse, Autre, Total, NonInterroge, MoinsDe, OuMoins, DeA, PlusDe, OuPlus,
        Avant, OuAvant, DeADate, Apres, OuApres,
    };

    // The caption of that kind for a language id, its "%g" filled with the numbers and its "%s"
    // with the texts, each in turn. Empty for a language that has no such caption.
    static std::string Caption(Kind kind, std::int32_t languageId, const std::vector<double>& numbers,
                               const std::vector<std::string>& texts);

    // Fills a caption pattern: each "%g" takes the next number (written with "." whatever the
    // locale), each "%s" the next text, "%%" gives "%"; a placeholder with nothing left to take
    // gives nothing, and any other '%' stays as it is. Safe on any text a user may store.
    static std::string Fill(const std::string& pattern, const std::vector<double>& numbers,
                            const std::vector<std::string>& texts);
};
