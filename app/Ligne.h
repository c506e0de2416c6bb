#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/questionnaire/Objet.h"

class CModaliteEtendue;
class CPoliceAna;

// One line of a table axis: a modality, the Total line (code -4) or, through CCalcul, a
// calculation line. The kept flag and the four display flags are 32-bit words because requests
// store them that way; any non-zero value means set.
//
// A plain line has no archive of its own: the request stores its lines field by field. It is a
// run-time class all the same, so that arrays of lines and calculation lines share one base.
class CLigne : public CObjet {
public:
    static constexpr std::int32_t kTotalCode = -4;
    static constexpr RuntimeClass kRuntimeClass{"CLigne", 1, &CObjet::CreateObject<CLigne>};

    CLigne() = default;
    explicit CLigne(std::string text) : label(std::move(text)) {}
    // Code, short caption in the survey's language, the selected flag and the four display
    // options; marked as built from a modality.
    explicit CLigne(const CModaliteEtendue& modality);
    CLigne(const CLigne&) = default;
    CLigne& operator=(const CLigne&) = default;
    ~CLigne() override = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    // A copy of the same dynamic type.
    virtual std::unique_ptr<CLigne> Clone() const { return std::make_unique<CLigne>(*this); }

    // Applies the label's style to a font being built for a cell: with the heading flag the font
    // first becomes a copy of questionFont that keeps the bold, italic, underline and shadow the
    // font already had; then each of the four flags that is set sets its attribute (a flag never
    // clears one).
    //
    // Defined with the result tables (tabulation/LigneStyle.cpp): fonts are presentation
    // records, which sit above this library.
    void AppliquerStyle(CPoliceAna& font, const CPoliceAna& questionFont) const;

    // Empties target and appends a copy of each line of source, a calculation line staying one;
    // a null line of source stays null.
    template <class T>
    static void CopierLignes(std::vector<std::unique_ptr<CLigne>>& target,
                             const std::vector<std::unique_ptr<T>>& source) {
        std::vector<std::unique_ptr<CLigne>> copies;
        copies.reserve(source.size());
        for (const auto& line : source)
            copies.push_back(CopierLigne(line.get()));
        target = std::move(copies);
    }
    // A copy of the same dynamic type; null for null.
    static std::unique_ptr<CLigne> CopierLigne(const CLigne* line) { return line ? line->Clone() : nullptr; }
    // Empties target and appends one line built from each modality (null modalities skipped).
    static void CreerLignesModalites(std::vector<std::unique_ptr<CLigne>>& target,
                                     const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities);

    bool EstTotal() const { return code == kTotalCode; }

    std::int32_t code = 0; // modality code; -4 the Total line; a calculation code for a CCalcul
    std::string label;
    std::int32_t kept = 1;
    std::int32_t bold = 0;
    std::int32_t italic = 0;
    std::int32_t underline = 0;
    std::int32_t shadow = 0;
    std::uint8_t heading = 0;      // shown in the presentation's question font
    std::uint8_t fromModality = 0; // 1 when built from a modality
};
