#pragma once

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

// Straight SQL on a questionnaire file, to read what the program wrote without the program.
namespace variables_test {

using Rows = std::vector<std::vector<std::string>>;

// Every row of a query, each cell as SQLite gives its text ("" for Null).
inline Rows Query(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    Rows rows;
    if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path;
        sqlite3_close(connection);
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(connection) << " in " << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const unsigned char* text = sqlite3_column_text(statement, c);
            row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return rows;
}

inline void Execute(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(rc, SQLITE_OK) << (message != nullptr ? message : "") << " in " << sql;
    sqlite3_free(message);
    sqlite3_close(connection);
}

} // namespace variables_test
