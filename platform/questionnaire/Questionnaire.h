#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/questionnaire/Language.h"
#include "platform/questionnaire/Question.h"
#include "platform/questionnaire/QuestionClass.h"
#include "platform/questionnaire/Version.h"

// A whole questionnaire as stored in a ".qes" file: properties, languages, question classes,
// versions and the questions in outline pre-order.
class CQuestionnaire {
public:
    CQuestionnaire() = default;
    CQuestionnaire(const CQuestionnaire&) = delete;
    CQuestionnaire& operator=(const CQuestionnaire&) = delete;

    int GetLanguageCount() const { return static_cast<int>(languages.size()); }
    const CLanguage& GetLanguage(int i) const { return languages.at(static_cast<std::size_t>(i)); }
    void AddLanguage(const CLanguage& added) { languages.push_back(added); }
    int GetQuestionClassCount() const { return static_cast<int>(questionClasses.size()); }
    const CQuestionClass& GetQuestionClass(int i) const { return questionClasses.at(static_cast<std::size_t>(i)); }
    int GetVersionCount() const { return static_cast<int>(versions.size()); }
    const CVersion& GetVersion(int i) const { return versions.at(static_cast<std::size_t>(i)); }

    int GetNbreQuestion() const { return static_cast<int>(questions.size()); }
    CQuestion* GetQuestion(int i) const;       // null when out of range
    void AddQuestion(std::unique_ptr<CQuestion> question); // a null question is ignored
    // Number of items after item i that lie under it (greater depth, up to the next item of
    // its depth or shallower); 0 when i is out of range.
    int DonnerNbreSousQuestion(int i) const;

    // Prepares the questionnaire for data entry once it has been read: numbers the response
    // tables of the questions that have none and fills the per-order tables. Only numbers
    // left at 0 are given; numbers read from the file are kept.
    // - The interview level is table 1. A loop (kind 2) without the no-level flag opens a level
    //   for the items under it; when its levelTable is 0 it takes the table of the loop whose
    //   code is its shared-level code (shared-level flag set), else of an earlier loop with its
    //   own code, else the next number after every table used in the questionnaire.
    // - Any other item with levelTable 0 takes the table of the level it lies in; a loop's own
    //   answer (responseTable 0) lies in the enclosing level, a question's in its levelTable.
    // - A non-empty tablePerOrder is extended to answerCount entries with responseTable, and
    //   its 0 entries become responseTable.
    void PreparerSaisie();

    // Maps a language id to the language of generated messages: 1 French, 2 German,
    // 3 Italian, 4 Spanish, anything else English (0). Only the primary language (the low
    // 10 bits) counts, so French of Belgium (2060) is French.
    static int GetErrorLanguageFromLanguage(std::int32_t languageId);

    int GetFileVersion() const { return majorVersion * 100 + minorVersion; }

    int majorVersion = 4;
    int minorVersion = 4;
    std::int32_t language = 1036;   // the questionnaire's own language
    std::string name;
    std::vector<CLanguage> languages;
    std::vector<CQuestionClass> questionClasses;
    std::vector<CVersion> versions;
    std::vector<std::unique_ptr<CQuestion>> questions;
};
