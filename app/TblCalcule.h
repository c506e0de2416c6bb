#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW Variable", the computed variables.
// EstCumule came after the other fields: a table without it reads and writes the others,
// and the member then keeps 0.
class CTblCalcule : public ProgramRecordset {
public:
    explicit CTblCalcule(db::Database& database);

    static const ProgramTableLayout& Layout();
    // Whether the database has the table, by its exact name.
    static bool ExisteTable(const db::Database& database);
    // Creates the table when missing (see ProgramTable::Create).
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_CodeVariable = 0;
    std::string m_Libelle;
    std::int16_t m_TypeVariable = 0;
    std::int32_t m_CodeQuestion1 = 0;
    std::string m_ClesQuestion1;
    std::int32_t m_CodeRegroupement1 = 0;
    std::int32_t m_CodeQuestion2 = 0;
    std::string m_ClesQuestion2;
    std::int32_t m_CodeRegroupement2 = 0;
    std::string m_Themes;
    std::string m_Expression;
    std::int16_t m_NroTableReponse = 0;
    std::int16_t m_NbMaxReponse = 0;
    std::uint8_t m_EstCumule = 0;
};
