#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW Style", the styles (named lists of calculations).
class CTblStyle : public ProgramRecordset {
public:
    explicit CTblStyle(db::Database& database);

    static const ProgramTableLayout& Layout();
    // Whether the database has the table, by its exact name.
    static bool ExisteTable(const db::Database& database);
    // Creates the table when missing (see ProgramTable::Create).
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_CodeStyle = 0;
    std::string m_Libelle;
    std::string m_Calculs;
};
