#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Message.h"
#include "platform/questionnaire/Objet.h"
#include "tabulation/CalculEvolue.h"

// A named list of calculations (CCalculEvolue) that can be applied to requests and stored in the
// questionnaire's style table ("MFW Style") or inside a request.
//
// Text form (the table's "Calculs" field): each calculation's definition text followed by "|".
//
// Archive:
// - a style defined in the request (id < 1): 32-bit 0, the count of calculations, then each
//   calculation's record;
// - a style stored in the questionnaire (id >= 1): 32-bit 1, then its name. Loading looks the
//   name up (exactly, case counts) in the style list of the study's questionnaire and reads the
//   first style of that name; when the list cannot be read or no style has the name, the style
//   keeps the name and no calculation (the request that holds it is then invalid).
// Any other first word leaves the style empty (a name and no calculation) and reads nothing more.
class CStyle : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CStyle", 1, &CObjet::CreateObject<CStyle>};

    CStyle() = default;
    // Deep copies: id, name and a copy of every calculation.
    CStyle(const CStyle& other);
    CStyle& operator=(const CStyle& other);
    ~CStyle() override = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    int GetCount() const { return static_cast<int>(m_calculations.size()); }
    // Appends the calculation (a null one is ignored: -1) and answers its index.
    int Add(std::unique_ptr<CCalculEvolue> calculation);
    // Null out of range.
    CCalculEvolue* GetAt(int i) const;
    void RemoveAll() { m_calculations.clear(); }

    // The text form; empty for a style without calculation.
    std::string DonnerChaine() const;
    // Replaces the calculations by those of the text; parts that are not definition texts are
    // skipped.
    void LireChaine(const std::string& text);
    // Whether every calculation's label and test text can go into the text form; otherwise false
    // with the refusal message.
    bool VerifierTextes(Message& refusal) const;

    // The archive; loading replaces the style only once the whole record has been read.
    void Serialize(CArchiveVersion& archive) override;

    // The key of the style in the questionnaire's style table; 0 or less for a style that lives
    // only inside a request.
    std::int32_t id = 0;
    std::string name;

private:
    void Store(CArchiveVersion& archive) const;
    void Load(CArchiveVersion& archive);
    // Fills this style from the questionnaire's style of that name; false when none can be read.
    bool LireStyleEnregistre(const std::string& storedName);

    std::vector<std::unique_ptr<CCalculEvolue>> m_calculations;
};
