#pragma once

#include "app/Ligne.h"

#include <memory>

// A calculation line of a request: a line whose code is a calculation code (counts,
// percentages, mean...) and whose label is the calculation's text. It has no field of its own:
// the four parameters that the default calculation lists keep from one request to the next are
// the line's four display flags (bold, italic, underline, shadow), and its selected flag is the
// line's kept flag.
//
// The archive and text forms of calculation lines come with the request archive.
class CCalcul : public CLigne {
public:
    CCalcul() = default;
    CCalcul(std::int32_t calculationCode, std::string text, bool selected);
    // Every field of the line (also copies a CCalcul).
    explicit CCalcul(const CLigne& line) : CLigne(line) {}
    explicit CCalcul(const CModaliteEtendue& modality) : CLigne(modality) {}

    std::unique_ptr<CLigne> Clone() const override { return std::make_unique<CCalcul>(*this); }
};
