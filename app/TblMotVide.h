#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MotVide", the stop words of the library database.
// The program never creates this table: the library database is expected to hold it.
class CTblMotVide : public ProgramRecordset {
public:
    explicit CTblMotVide(db::Database& database);

    static const ProgramTableLayout& Layout();

    std::string m_Libelle;
};
