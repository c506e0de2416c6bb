#pragma once

#include <cstdint>
#include <memory>

class CTraitement;

// What a table window asks of the request dialogs, which sit above it: to reopen the dialog that
// defines a table's request, filled from that request, and to run the request the analyst makes
// of it. The program implements it and installs it on the table document
// (CTableauDoc::SetDefinitionEditor); until then a table's definition cannot be edited.
class TableDefinitionEditor {
public:
    virtual ~TableDefinitionEditor() = default;

    // Whether a request dialog defines requests of the type (CTraitement::type).
    virtual bool HasDefinitionDialog(std::int16_t type) const = 0;
    // The new request the analyst defines in the dialog opened on `existing`, which stays as it
    // was; null on Cancel, and when no dialog opens on it.
    virtual std::unique_ptr<CTraitement> ModifierTraitement(const CTraitement& existing) = 0;
    // Runs the request; its tables open in windows of their own. False when no table came out.
    virtual bool LancerTraitement(std::unique_ptr<CTraitement> request) = 0;

protected:
    TableDefinitionEditor() = default;
    TableDefinitionEditor(const TableDefinitionEditor&) = default;
    TableDefinitionEditor& operator=(const TableDefinitionEditor&) = default;
};
