#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/questionnaire/Modalite.h"
#include "platform/questionnaire/Objet.h"
#include "platform/questionnaire/SemiOpen.h"

// A question of the questionnaire model, in the flat pre-order list of its questionnaire: the
// outline depth gives the tree (the sub-questions of item i are the following items of greater
// depth). Kind 0 is a chapter heading, kind 1 a question, kind 2 a loop (or a derived question
// once in the program). The type of a kind-1 question: 1 with modalities, 3 date, 4 open,
// 5 free numeric, 6 discrete numeric, 7 numeric with intervals, 8 generated per level; a loop
// of type 4 is counted by a number, any other loop iterates over its modalities.
class CQuestion : public CObjet {
public:
    CQuestion() = default;
    // Deep copies: the modalities are cloned with their dynamic type. Assignment gives the strong
    // guarantee (on failure the target is unchanged).
    CQuestion(const CQuestion& other);
    CQuestion& operator=(const CQuestion& other);
    CQuestion(CQuestion&& other) = default;
    CQuestion& operator=(CQuestion&& other) = default;
    ~CQuestion() override;

    // Kind and type queries; they read kind and type only.
    bool EstAModalite() const;      // kind 1, type 1, 6 or 7
    bool EstNumerique() const;      // kind 1, type 5, 6 or 7
    bool EstNumeriqueLibre() const; // kind 1, type 5
    bool EstDate() const;           // kind 1, type 3
    bool EstOuverte() const;        // kind 1, type 4

    int GetNbreModalite() const { return static_cast<int>(modalities.size()); }
    CModalite* GetModalite(int i) const;    // null when out of range
    CModalite* GetAdrModalite(int i) const { return GetModalite(i); }
    void AddModalite(std::unique_ptr<CModalite> modality); // a null modality is ignored
    void DetruireModalites() { modalities.clear(); }
    void DonnerCodeModalites(std::vector<std::int32_t>& codes) const; // appends, in order

    // Captions by language: empty when the question has none in that language; setting an
    // empty text removes the caption.
    const std::string& GetLocalisedShortCaption(std::int32_t language) const;
    void SetLocalisedShortCaption(std::int32_t language, const std::string& text);
    const std::string& GetLocalisedLongCaption(std::int32_t language) const;
    void SetLocalisedLongCaption(std::int32_t language, const std::string& text);

    int GetSemiOpenCount() const { return static_cast<int>(semiOpens.size()); }
    const CSemiOpen& GetSemiOpen(int i) const { return semiOpens.at(static_cast<std::size_t>(i)); }

    // The response tables that hold this question's answers (distinct, in order of first use)
    // and, for each answer order 1..answerCount (at index order - 1), the index in that list
    // of the table holding that order. Order k is in tablePerOrder[k - 1] when that entry
    // exists, else in responseTable. Both arrays are replaced; a question without answers
    // (answerCount <= 0) still lists responseTable.
    void GetTablePerResponse(std::vector<int>& tables, std::vector<int>& tableOfOrder) const;

    // Identity and outline.
    std::int32_t code = 0;      // names the answer fields "%ld;%d" and the inverted files
    std::string name;           // short name, unique in the questionnaire
    std::int16_t depth = 1;     // outline depth, 1 = top
    std::int16_t kind = 1;      // 0 chapter, 1 question, 2 loop / derived
    std::int16_t classAttribute = 0; // beside the kind; a computed question has kind 1 and 2 here
    std::int16_t type = 1;
    bool typeFlag = false;      // the further flag beside the type
    std::int16_t dateKind = 0;  // 0 date and time, 1 date only, 2 time only
    std::int32_t questionClass = 0; // code of its CQuestionClass, 0 for none

    // Answers.
    std::int16_t answerCount = 1;   // "Nbre de réponses"
    bool multipleAnswers = false;
    std::int32_t hasNoAnswer = 0;   // offers the non-response modality (code -1)
    std::int32_t ranking = 0;       // answers are ranks
    double lowerBound = 0.0;        // bounds of a free numeric question
    double upperBound = 0.0;
    std::uint16_t responseTable = 1; // "VEL Reponse%d" holding order 1
    std::uint16_t levelTable = 1;    // the response table of its loop level
    // Table of each order when the answers are spread over several tables; empty when every
    // order is in responseTable.
    std::vector<std::uint16_t> tablePerOrder;

    // Use flags: an item whose first flag is clear is dropped with its sub-questions; so is a
    // question of non-zero kind whose second flag is clear.
    bool inUse = true;
    bool inUseForAnalysis = true;

    // Semi-open answers of a closed question.
    bool semiOpen = false;
    std::vector<CSemiOpen> semiOpens;

    // Loops (kind 2).
    bool loopWithoutLevel = false;
    bool loopSharesLevel = false;
    std::int32_t sharedLevelCode = 0;
    bool expandIterations = false;

    std::map<std::int32_t, std::string> shortCaptions; // by language id
    std::map<std::int32_t, std::string> longCaptions;
    std::vector<std::unique_ptr<CModalite>> modalities;
};
