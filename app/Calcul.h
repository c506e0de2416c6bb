#pragma once

#include "app/Ligne.h"

#include <memory>
#include <vector>

class CArchiveVersion;

// A calculation line of a request: a line whose code is a calculation code (counts,
// percentages, mean...) and whose label is the calculation's text. It has no field of its own:
// the four parameters that the default calculation lists keep from one request to the next are
// the line's four display flags (bold, italic, underline, shadow), and its selected flag is the
// line's kept flag.
//
// Archive (the same order both ways): 32-bit code, label, then the five 32-bit flags kept, bold,
// italic, underline, shadow. The two option bytes are not stored: they are 0 after loading.
class CCalcul : public CLigne {
public:
    static constexpr RuntimeClass kRuntimeClass{"CCalcul", 1, &CObjet::CreateObject<CCalcul>};

    CCalcul() = default;
    CCalcul(std::int32_t calculationCode, std::string text, bool selected);
    // Every field of the line, option bytes included (also copies a CCalcul).
    explicit CCalcul(const CLigne& line) : CLigne(line) {}
    explicit CCalcul(const CModaliteEtendue& modality) : CLigne(modality) {}

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    std::unique_ptr<CLigne> Clone() const override { return std::make_unique<CCalcul>(*this); }

    // Loading replaces the line only once the whole record has been read.
    void Serialize(CArchiveVersion& archive) override;

    // Empties target and appends a CCalcul copy of each line of source (null lines skipped).
    template <class T>
    static void CopierTableau(std::vector<std::unique_ptr<CCalcul>>& target,
                              const std::vector<std::unique_ptr<T>>& source) {
        std::vector<std::unique_ptr<CCalcul>> copies;
        copies.reserve(source.size());
        for (const auto& line : source)
            if (line)
                copies.push_back(std::make_unique<CCalcul>(static_cast<const CLigne&>(*line)));
        target = std::move(copies);
    }

protected:
    // The record of a plain calculation line; a derived calculation starts its own with it.
    void StoreLine(CArchiveVersion& archive) const;
    void LoadLine(CArchiveVersion& archive);
};
