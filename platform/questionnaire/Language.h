#pragma once

#include <cstdint>
#include <string>
#include <utility>

// One language of a questionnaire. Ids are Windows language ids (1036 French, 1033 English...).
class CLanguage {
public:
    explicit CLanguage(std::int32_t languageId = 0, std::string languageName = {})
        : id(languageId), name(std::move(languageName)) {}

    std::int32_t id = 0;
    std::string name;
    // Set on the language made up for files older than 401, which have no languages table.
    bool isDefault = false;
};
