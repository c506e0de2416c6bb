#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW ListeNumerique", the numeric question lists.
class CTblProfilNumerique : public ProgramRecordset {
public:
    explicit CTblProfilNumerique(db::Database& database);

    static const ProgramTableLayout& Layout();
    // Whether the database has the table, by its exact name.
    static bool ExisteTable(const db::Database& database);
    // Creates the table when missing (see ProgramTable::Create).
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_NroListe = 0;
    std::string m_Libelle;
    std::string m_QuestionsActives;
    std::string m_QuestionsIllustratives;
};
