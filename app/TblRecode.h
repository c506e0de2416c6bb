#pragma once

#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW Recode", the recodes.
// DateType exists from file version 403 on: a recordset of an older version neither reads nor
// writes it, and DateType stays -1 (also for a record whose DateType is empty).
class CTblRecode : public ProgramRecordset {
public:
    static constexpr int kFirstVersionWithDateType = 403;
    // `fileVersion` is the questionnaire file's major x 100 + minor.
    CTblRecode(db::Database& database, int fileVersion);

    static const ProgramTableLayout& Layout();
    // Whether the database has the table, by its exact name.
    static bool ExisteTable(const db::Database& database);
    // Makes sure the table exists in its current layout: an existing table lacking DateType gains
    // it (nothing else of it changes); a missing table is created. One transaction; failures are
    // reported as ProgramTable::Create says.
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_CodeRecodage = 0;
    std::int32_t m_CodeQuestion = 0;
    std::int32_t m_CodeRecodageQuestion = 0;
    std::int16_t m_Type = 0;
    std::int16_t m_SousType = 0;
    std::string m_Libelle;
    std::string m_Regroupement;
    bool m_EstCumule = false;
    std::int32_t m_CodeNiveauDepart = 0;
    std::int32_t m_CodeNiveauArrivee = 0;
    std::string m_Unite;
    bool m_EstMoins = false;
    bool m_EstPlus = false;
    bool m_EstEntier = false;
    std::int16_t m_DateType = -1;

    int GetFileVersion() const { return m_fileVersion; }

private:
    int m_fileVersion;
};
