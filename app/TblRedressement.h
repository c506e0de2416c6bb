#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW Redressement", the weightings.
class CTblRedressement : public ProgramRecordset {
public:
    explicit CTblRedressement(db::Database& database);

    static const ProgramTableLayout& Layout();
    // Creates the table when missing (see ProgramTable::Create).
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_CodeRedressement = 0;
    std::string m_Libelle;
    std::string m_Description;
    std::string m_Valeurs;
    double m_NTotal = 0.0;
};
