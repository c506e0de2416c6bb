#pragma once

#include "framework/Document.h"

#include <cstdint>

// The document shared by the analysis windows of questions (typology, classification, factor
// analysis, regression, significant cross tables): the analysis type of its creation record,
// 0 typology, 1 numeric typology, 2 classification, 3 numeric classification, 4 principal
// component analysis, 5 multiple correspondence analysis. The view shows the analysis.
class CMorvaneFactorielleDoc : public CDocument {
public:
    static constexpr std::uint16_t kAcp = 4;
    static constexpr std::uint16_t kAfcDisjonctive = 5;

    // Keeps the record's type word (0 without one); always succeeds.
    bool OnOpenDocument(const DocumentSource& source) override;
    bool OnNewDocument() override;

    std::uint16_t GetType() const { return m_type; }

private:
    std::uint16_t m_type = 0;
};
