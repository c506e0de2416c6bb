#pragma once

#include "platform/ui/Document.h"

#include <memory>

class CPresentationTableau;
class CTableau;

// The document of a result-table window: the table shown. The table comes in place of a path
// (DocumentSource::FromObject); when its delete-with-window flag is 1 the document owns it from
// that moment, opened or refused, and deletes it with its contents; otherwise its giver keeps it.
class CTableauDoc : public CDocument {
public:
    CTableauDoc();
    ~CTableauDoc() override;

    // Takes the table and titles the window with the beginning of the table's title. A table
    // whose request no longer resolves is refused with the reasons shown: it would only open
    // empty. False too for any source that is not a table.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The title stays the table's.
    void SetPathName(const std::string& path) override;
    // Deletes the table when the document owns it.
    void DeleteContents() override;

    // Null before the opening and once the contents are deleted.
    CTableau* GetTableau() const { return m_table; }
    const CPresentationTableau& GetPresentation() const;
    // The table and its request take the presentation, and every view lays the table out again.
    void SetPresentation(const CPresentationTableau& presentation);

    // Whether the table may go to a principal-component or correspondence analysis: at least 3
    // rows and 3 columns, and no request or one with fewer than 2 row calculations.
    bool EstEnvoiPossible() const;

private:
    void SetTableTitle();

    CTableau* m_table = nullptr;
    std::unique_ptr<CTableau> m_ownedTable;
};
