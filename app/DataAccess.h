#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/RecordKeySource.h"
#include "app/ResponseReader.h"
#include "platform/db/Database.h"

class CQuestionNiveau;

// The one class that touches the response tables "VEL Reponse%d" of a questionnaire database.
// Built for one job and let go at its end: the constructor opens the file, the destructor closes
// it. This first part reads what opening a survey needs: the tables and the record keys of a
// level; the answer readers follow.
class CDataAccess : public CResponseReader, public CRecordKeySource {
public:
    // Opens the survey's questionnaire file, read-only for reading jobs. A file that cannot be
    // opened leaves the data access closed (IsOpen false) with the reason in the error text.
    CDataAccess(CEnquete& survey, bool wishInverted,
                db::Database::Access access = db::Database::Access::ReadOnly);
    ~CDataAccess() override;

    bool IsOpen() const { return m_database != nullptr; }

    // ---- Readers of answers (the next step of the data access) ----
    bool LireTableFermee(CQuestionEtendue& question, CMatriceCodes*& out) override;
    bool LireTableCleFermee(CQuestionEtendue& question, CMatriceCodes*& out) override;
    bool LireTableNumerique(CQuestionEtendue& question, CVecteurDouble*& out) override;
    bool LireTableCleNumerique(CQuestionEtendue& question, CVecteurDouble*& out) override;
    bool LireTableOuverte(CQuestionEtendue& question, std::vector<std::string>& out) override;

    // ---- Record keys ----
    // Fills the set with the key of every record of the level (key fields 1 .. depth + 1), read
    // in key order from the level's response table. In table 1 with UseCompletedOnly, a record
    // whose "Completed" is false is skipped (one without a readable value is kept). False with
    // the reason in the level error text.
    bool ChargerClesNiveau(const CQuestionNiveau& level, std::set<RecordKey>& keys);
    bool ReadRecordKeys(const CQuestionNiveau& level, int levelIndex, std::set<RecordKey>& keys,
                        std::string& error) override;
    const std::string& GetLevelErrorText() const { return m_levelErrorText; }

    // ---- Tables ----
    static std::string NomTableReponse(int number); // "VEL Reponse%d"
    static std::string NomCle(int position);        // "Cle%d"
    bool ExisteTable(std::string_view name) const;
    // The count of consecutive response tables from 1.
    int NombreTablesReponse() const;
    // The count of consecutive key fields from "Cle2" on; -1 when the table does not exist.
    int ProfondeurTable(int number) const;

private:
    bool NotYetReadable(const char* reader);
    void ReadKeys(const CQuestionNiveau& level, std::set<RecordKey>& keys);

    std::unique_ptr<db::Database> m_database;
    std::string m_levelErrorText;
};
