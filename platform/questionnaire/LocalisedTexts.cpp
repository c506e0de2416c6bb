#include "platform/questionnaire/LocalisedTexts.h"

const std::string& LocalisedTexts::Get(const Map& texts, std::int32_t language) {
    static const std::string kNone;
    const auto found = texts.find(language);
    return found == texts.end() ? kNone : found->second;
}

void LocalisedTexts::Set(Map& texts, std::int32_t language, const std::string& text) {
    if (text.empty())
        texts.erase(language);
    else
        texts[language] = text;
}
