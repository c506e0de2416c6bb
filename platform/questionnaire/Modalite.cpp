#include "platform/questionnaire/Modalite.h"

#include "platform/questionnaire/LocalisedTexts.h"

const std::string& CModalite::GetLocalisedShortCaption(std::int32_t language) const {
    return LocalisedTexts::Get(shortCaptions, language);
}

void CModalite::SetLocalisedShortCaption(std::int32_t language, const std::string& text) {
    LocalisedTexts::Set(shortCaptions, language, text);
}

void CModalite::GetAllLocalisedTexts(std::vector<std::int32_t>& languages, std::vector<std::string>& texts) const {
    languages.clear();
    texts.clear();
    for (const auto& [language, text] : shortCaptions) {
        languages.push_back(language);
        texts.push_back(text);
    }
}
