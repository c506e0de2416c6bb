#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW ListeVariable", the profile lists.
class CTblProfil : public ProgramRecordset {
public:
    explicit CTblProfil(db::Database& database);

    static const ProgramTableLayout& Layout();
    // Creates the table when missing (see ProgramTable::Create).
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_NroListe = 0;
    std::string m_Libelle;
    std::string m_ModalitesActives;
    std::string m_ModalitesIllustratives;
};
