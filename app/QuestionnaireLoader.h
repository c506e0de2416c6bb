#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Message.h"
#include "platform/questionnaire/Language.h"
#include "platform/questionnaire/QuestionClass.h"
#include "platform/questionnaire/Version.h"

class CEnquete;
class CModalite;
class CQuestion;
class CQuestionEtendue;
class CQuestionNiveau;
class CQuestionnaire;
class CQuestionnaireSource;
class CRecodage;

// Inserts, right after every question the recode applies to (same code, same recode code, and
// the recode's own test), the question that the recode makes of it. Called by the source while
// it reads the recodes, and by the study context for the open survey.
void InsererRecodage(const CRecodage& recode, std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                     CEnquete& survey);

// Turns the questionnaire that a source reads into the survey's arrays: languages, questions in
// tree order (with the modalities the program adds for missing answers, one question per loop
// iteration, the computed questions and the recoded ones), levels, versions and question classes.
class CQuestionnaireLoader {
public:
    using Questions = std::vector<std::unique_ptr<CQuestionEtendue>>;
    using Levels = std::vector<std::unique_ptr<CQuestionNiveau>>;

    CQuestionnaireLoader(CQuestionnaireSource& source, CEnquete& survey);

    // The whole load into the given arrays (appended to); false when the source cannot read the
    // structure, or when the structure holds a question the program cannot count (GetRefusal()
    // then says which), nothing else being done then.
    bool Charger(std::vector<CLanguage>& languages, Questions& questions, Levels& levels,
                 std::vector<CVersion>& versions, std::vector<CQuestionClass>& classes, std::int32_t& language,
                 std::int32_t& version);

    // Reads the library questionnaire into the survey's questions (in use only, with the added
    // modalities), kept in `treeQuestions`; false when the source fails or a question cannot be
    // counted.
    bool LireQuestionnaire(std::vector<CLanguage>& languages, Questions& treeQuestions,
                           std::vector<CVersion>& versions, std::vector<CQuestionClass>& classes,
                           std::int32_t& language, std::int32_t& version);

    // One iteration fixed by an enclosing expanded loop: the modality that stands for it.
    struct Iteration {
        std::int32_t code = 0;
        const CModalite* modality = nullptr; // not owned
    };

    // What one call of the tree expansion works with.
    struct Expansion {
        int nesting = 0;            // number of iterations fixed so far
        bool singleSubQuestion = false;
        int depth = 1;
        std::int32_t level = 0;     // the enclosing level
        bool expand = true;         // loops with the expand flag are expanded
        bool buildAtLevel = true;   // loops' sub-questions are built at the loop's level
    };

    // Expands items first..last (indexes of `source`) into `out`, making the levels of the loops.
    void DevelopperQuestions(int first, int last, const Questions& source, Questions& out, Levels& levels,
                             std::set<std::string>& usedNames, std::vector<Iteration>& iterations,
                             std::vector<std::string>& markers, const Expansion& expansion,
                             std::int32_t languageId);

    // Appends the group of computed questions and one question per definition, when the source
    // has the table of computed variables.
    void AjouterQuestionsCalculees(Questions& questions, std::int32_t languageId);
    // Rebuilds the modalities of the kind-13 definitions, then binds every definition's sources.
    void PreparerQuestionsCalculees(Questions& questions);

    // Why the last load refused the questionnaire's structure; id 0 when it did not.
    const Message& GetRefusal() const { return m_refusal; }

private:
    // A question whose answers cannot be counted: a question with fewer than one answer column,
    // or a code that would stand for two of its modalities (its own, the ones added for missing
    // answers and the semi-open answers they gather), so that its answers would go to the wrong
    // line or to none. False with the refusal set.
    bool CheckCountable(const CQuestionEtendue& question);
    void AddProgramModalities(CQuestionEtendue& question) const;
    void AddSemiOpenModalities(CQuestionEtendue& question) const;
    void CreateInterviewLevel(Levels& levels) const;
    std::int32_t FindOrCreateLevel(const CQuestionEtendue& loop, int depth, Levels& levels) const;
    std::unique_ptr<CQuestionEtendue> MakeLoopQuestion(const CQuestionEtendue& loop, std::int32_t level) const;
    void ExpandLoop(int index, int subCount, const Questions& source, Questions& out, Levels& levels,
                    std::set<std::string>& usedNames, std::vector<Iteration>& iterations,
                    std::vector<std::string>& markers, const Expansion& expansion, std::int32_t languageId);
    void AppendItem(const CQuestionEtendue& item, Questions& out, std::set<std::string>& usedNames,
                    const std::vector<Iteration>& iterations, const std::vector<std::string>& markers,
                    const Expansion& expansion, std::int32_t languageId) const;
    void ApplyIterations(CQuestionEtendue& question, const std::vector<Iteration>& iterations,
                         const std::vector<std::string>& markers, int nesting, std::int32_t languageId,
                         bool captionsInName) const;
    std::string IterationCaption(const Iteration& iteration, std::int32_t languageId) const;

    CQuestionnaireSource& m_source;
    CEnquete& m_survey;
    Message m_refusal;
};
