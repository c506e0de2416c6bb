#pragma once

#include "framework/Document.h"

#include <cstdint>
#include <memory>

class CTableau;

// The document of the factor analysis of one table: its own copy of the table sent to the
// analysis (the table's window may close meanwhile) and the kind of analysis, 4 principal
// components or 6 correspondence analysis. It opens on a creation record (CDemandeOuverture).
class CMorvaneDirecteDoc : public CDocument {
public:
    static constexpr std::uint16_t kAcp = 4;
    static constexpr std::uint16_t kAfc = 6;

    CMorvaneDirecteDoc();
    ~CMorvaneDirecteDoc() override;

    // Copies the record's table and keeps its type; false without a record or a table.
    bool OnOpenDocument(const DocumentSource& source) override;
    void DeleteContents() override;

    const CTableau* GetTableau() const { return m_table.get(); }
    std::uint16_t GetType() const { return m_type; }

private:
    std::unique_ptr<CTableau> m_table;
    std::uint16_t m_type = kAcp;
};
