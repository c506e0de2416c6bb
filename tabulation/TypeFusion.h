#pragma once

#include <cstdint>

#include "platform/questionnaire/Objet.h"

// How the sub-tables of a request are merged and where its results go. A new object takes the
// user's saved choices (settings section "Fusion", CRegistre::ReadTypeFusion).
//
// Archive, in this order: 16-bit Type, then 32-bit EstTableauParLigne, EstTableauParColonne,
// EstLibelleTraitement, EstVersDossier, IsEmptyLinePerQuestion (read back as 1 when non-zero).
class CTypeFusion : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CTypeFusion", 1, &CObjet::CreateObject<CTypeFusion>};

    // Values of Type, as the table assembly reads them.
    enum : std::int16_t { kSeparateTables = 0, kBlocksInColumns = 1, kBlocksInRows = 2 };

    // Type 1, one table for the request titled with its label, results in windows; then the
    // user's saved choices.
    CTypeFusion();
    CTypeFusion(const CTypeFusion&) = default;
    CTypeFusion& operator=(const CTypeFusion&) = default;
    ~CTypeFusion() override = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    // Loading replaces the fields only once the whole record has been read.
    void Serialize(CArchiveVersion& archive) override;

    bool operator==(const CTypeFusion& other) const;

    std::int16_t Type = kBlocksInColumns;
    std::int32_t EstTableauParLigne = 0;   // one table per row question
    std::int32_t EstTableauParColonne = 0; // one table per column question
    std::int32_t EstLibelleTraitement = 1; // tables titled with the request's label
    std::int32_t EstVersDossier = 0;       // results go to the portfolio
    std::int32_t IsEmptyLinePerQuestion = 0; // an empty line between questions of merged tables

private:
    struct BuiltIn {};
    // The built-in values alone, without the saved choices.
    explicit CTypeFusion(BuiltIn) {}
};
