#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/Calcul.h"
#include "app/Message.h"

class CEnquete;

// The calculation of a style: an operation (a crossing, a total, a statistics sub-total or a test
// line) computed on a study field, a weighting and a level of its own, placed on the rows, the
// columns or both. Its code (inherited) is the kind of operation within its type; its label is
// the user's.
//
// The study field, weighting and level are resolved in the survey of the study context
// (GetContexte()); without a context the names stay as they are and every level lookup answers
// level 0.
//
// Two forms are stored:
// - the definition text of the style table, "%d;%d;%d;%d;%d;%d;%s;%s": study-field id,
//   weighting id, level id (the level's code, not its index), type, position, kind, label,
//   test-line text. Neither text may hold ";" or "|", the separators of this text and of the
//   style's text (SontTextesAutorises; the texts are refused with kMessageCaracteresInterdits);
// - the versioned archive: 32-bit kind, label, 16-bit type, 16-bit position, 32-bit level id,
//   study-field name, weighting name, and from version 404 on the test-line text. On loading the
//   ids are looked up by name (exactly, case counts), -1 when no entry has it; the level by its
//   id, level 0 when none.
class CCalculEvolue : public CCalcul {
public:
    static constexpr RuntimeClass kRuntimeClass{"CCalculEvolue", 1, &CObjet::CreateObject<CCalculEvolue>};

    // Operation types.
    enum Type : std::int16_t { kCrossing = 0, kTotal = 1, kStatisticsSubTotal = 2, kTestLine = 3 };
    // Where a total goes.
    enum Position : std::int16_t { kRowsOnly = 0, kColumnsOnly = 1, kRowsAndColumns = 2 };

    // The first archive version that stores the test-line text.
    static constexpr int kVersionTestLineText = 404;
    // Separators of the stored texts, which labels and test texts may not hold.
    static constexpr std::string_view kCaracteresInterdits = ";|";
    static constexpr const char* kMessageCaracteresInterdits = "Vous ne pouvez utiliser les caractères suivants ; et |";

    // All interviews, no weighting, level 0 (with its name), a crossing of kind 0 on rows and
    // columns, empty label and test text.
    CCalculEvolue();
    CCalculEvolue(const CCalculEvolue&) = default;
    CCalculEvolue& operator=(const CCalculEvolue&) = default;
    ~CCalculEvolue() override = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    std::unique_ptr<CLigne> Clone() const override { return std::make_unique<CCalculEvolue>(*this); }

    // The name of the operation (type, kind); empty for a pair that has none.
    std::string DonnerLibelleOperation() const;
    static std::string DonnerLibelleOperation(std::int16_t operationType, std::int32_t kind);

    // The definition text. Texts holding a separator make a text that does not read back the
    // same: whoever stores one checks SontTextesAutorises first.
    std::string DonnerDefinition() const;
    // A new calculation from a definition text; null when the text has fewer than six parts or
    // one of its first six parts is not a whole number. Six or seven parts leave the missing
    // label and test text empty. A study field or weighting id that the survey does not list
    // keeps the default name and the id as read; an unknown level id gives level 0.
    static std::unique_ptr<CCalculEvolue> LireDefinition(std::string_view text);

    // Whether a label or test text can go into the stored texts (no ";" nor "|").
    static bool EstTexteAutorise(std::string_view text);
    bool SontTextesAutorises() const { return EstTexteAutorise(label) && EstTexteAutorise(testLineText); }
    static Message MessageCaracteresInterdits() { return Message::Text(kMessageCaracteresInterdits); }
    // Set the label or the test text; a text holding a separator is refused (false, the message
    // in refusal, the calculation unchanged).
    bool SetLibelle(const std::string& text, Message& refusal);
    bool SetTexteTest(const std::string& text, Message& refusal);

    // The archive; loading replaces the calculation only once the whole record has been read.
    void Serialize(CArchiveVersion& archive) override;

    std::int32_t studyFieldId = -1; // -1 all interviews
    std::int32_t weightingId = -1;  // -1 no weighting
    std::int32_t levelIndex = 0;    // in the survey's level list; 0 the interviews
    std::string studyFieldName;     // "Toutes les interviews" by default
    std::string weightingName;      // "Aucun redressement" by default
    std::string levelName;          // the name of level 0 by default
    std::int16_t type = kCrossing;
    std::int16_t position = kRowsAndColumns;
    std::string testLineText;
};
