#pragma once

#include <string>
#include <vector>

#include "app/Message.h"

class CTableauBase;

// Several result tables into one file, in the order given (qesrun's exports; the table window's
// exports are the case of one table). The files are made as TableExports.h says: whole or not at
// all, never over the open questionnaire nor a folder.

// One RTF document: the styles and fonts of every table registered before the header, landscape
// pages when one of the tables asks for them, then each table as the Word export of one table
// writes it.
bool ExporterTableauxWord(const std::vector<const CTableauBase*>& tables, const std::string& path,
                          const std::string& questionnairePath, Message& error);

// One workbook: each table under its title (in the cell of its first column). With the "Excel"
// setting "IsOneSheetPerTable", each table on a sheet of its own named from its title
// (SheetNames); otherwise the tables one below the other, an empty row between two, on sheets
// "Feuil1", "Feuil2"... a new one started when a table (its title, rows and the empty row) would
// pass row 32768. A table larger than a sheet is refused (message 64401 with its title and the
// sheet's limits).
bool ExporterTableauxClasseur(const std::vector<const CTableauBase*>& tables, const std::string& path,
                              const std::string& questionnairePath, Message& error);

// A table under a title of the caller's (a portfolio names its tables itself).
struct TableauTitre {
    std::string title;
    const CTableauBase* table = nullptr;
};
// The same workbook, each table under the title given with it, which also names its sheet.
bool ExporterTableauxClasseur(const std::vector<TableauTitre>& tables, const std::string& path,
                              const std::string& questionnairePath, Message& error);

// One text file: each table's text export after the other.
bool ExporterTableauxAscii(const std::vector<const CTableauBase*>& tables, const std::string& path,
                           const std::string& questionnairePath, Message& error);
