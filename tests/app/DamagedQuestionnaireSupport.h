#pragma once

// What the tests of damaged questionnaires share: a damaging hand that changes cells of a
// questionnaire file through SQLite, as any program could, and the flat table of a closed
// question computed as the program computes it.

#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Recodage.h"
#include "tabulation/Tableau.h"
#include "tests/support/FlatCountTable.h"

namespace damaged_test {

using test_support::FlatTable;

// Runs the statements on the file through a connection of its own; the error text of SQLite, or
// empty when every statement ran.
inline std::string Damage(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    std::string error;
    if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        error = connection != nullptr ? sqlite3_errmsg(connection) : "cannot open";
    } else {
        char* message = nullptr;
        const std::string statements = "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;" + sql;
        if (sqlite3_exec(connection, statements.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
            error = message != nullptr ? message : "error";
        sqlite3_free(message);
    }
    sqlite3_close(connection);
    return error;
}

// The bytes of a file, read in one piece.
inline std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Keeps the recode factory of the process as it was: a run of qesrun registers the program's.
class RecodeFactoryKept {
public:
    RecodeFactoryKept() : m_previous(CRecodage::EnregistrerFabrique({})) { CRecodage::EnregistrerFabrique(m_previous); }
    ~RecodeFactoryKept() { CRecodage::EnregistrerFabrique(std::move(m_previous)); }
    RecodeFactoryKept(const RecodeFactoryKept&) = delete;
    RecodeFactoryKept& operator=(const RecodeFactoryKept&) = delete;

private:
    CRecodage::Fabrique m_previous;
};

// The counts of a flat table's lines, the Total last.
inline std::vector<double> Counts(const CTableau& table) {
    std::vector<double> counts;
    for (std::int32_t row = 0; row < table.RowCount(); ++row)
        counts.push_back(table.GetValeur(row, 0));
    return counts;
}

} // namespace damaged_test
