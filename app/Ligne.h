#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class CModaliteEtendue;

// One line of a table axis: a modality, the Total line (code -4) or, through CCalcul, a
// calculation line. The kept flag and the four display flags are 32-bit words because requests
// store them that way; any non-zero value means set.
//
// Only the fields and copies are here: the archive and text forms of lines come with the
// request and table archives.
class CLigne {
public:
    CLigne() = default;
    explicit CLigne(std::string text) : label(std::move(text)) {}
    // Code, short caption in the survey's language, the selected flag and the four display
    // options; marked as built from a modality.
    explicit CLigne(const CModaliteEtendue& modality);
    CLigne(const CLigne&) = default;
    CLigne& operator=(const CLigne&) = default;
    virtual ~CLigne() = default;

    // A copy of the same dynamic type.
    virtual std::unique_ptr<CLigne> Clone() const { return std::make_unique<CLigne>(*this); }

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
