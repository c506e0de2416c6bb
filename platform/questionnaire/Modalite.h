#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/questionnaire/Objet.h"

// An answer category of a closed question. The code is what the response tables store; the
// value is the number the statistics use (missing values are -999999.99 and -888888.88).
class CModalite : public CObjet {
public:
    CModalite() = default;
    CModalite(std::int32_t modalityCode, double modalityValue = kNoAnswerValue)
        : code(modalityCode), value(modalityValue) {}
    CModalite(const CModalite&) = default;
    CModalite& operator=(const CModalite&) = default;

    // Copies keep the dynamic type (the program derives its own modality class).
    virtual std::unique_ptr<CModalite> Clone() const { return std::make_unique<CModalite>(*this); }

    // The caption in that language; empty when it has none.
    const std::string& GetLocalisedShortCaption(std::int32_t language) const;
    // Sets the caption in that language; an empty text removes it.
    void SetLocalisedShortCaption(std::int32_t language, const std::string& text);
    // Replaces the contents of both arrays with every caption and its language, by ascending
    // language id.
    void GetAllLocalisedTexts(std::vector<std::int32_t>& languages, std::vector<std::string>& texts) const;

    static constexpr double kNoAnswerValue = -999999.99;
    static constexpr double kNotAskedValue = -888888.88;

    std::int32_t code = 0;
    double value = kNoAnswerValue;
    std::map<std::int32_t, std::string> shortCaptions; // by language id
};
