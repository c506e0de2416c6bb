#include "app/DataAccess.h"

#include <exception>
#include <optional>

#include "app/Enquete.h"
#include "app/QuestionNiveau.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/db/Value.h"

namespace {

constexpr const char* kPrimaryKey = "PrimaryKey";
constexpr const char* kCompleted = "Completed";
constexpr int kInterviewTable = 1;

std::string DatabaseError(const std::string& description, const std::string& operation) {
    return "Erreur de base de données '" + description + "' dans CDataAccess::" + operation;
}

} // namespace

CDataAccess::CDataAccess(CEnquete& survey, bool wishInverted, db::Database::Access access)
    : CResponseReader(&survey, wishInverted) {
    try {
        m_database = std::make_unique<db::Database>(survey.DonnerCheminBase(), access);
    } catch (const db::DbException& error) {
        SetErrorText(DatabaseError(error.description(), "CDataAccess"));
        m_levelErrorText = GetErrorText();
    }
}

CDataAccess::~CDataAccess() = default;

// ---- Readers of answers ------------------------------------------------------------------------

bool CDataAccess::NotYetReadable(const char* reader) {
    SetErrorText(std::string("CDataAccess::") + reader + " : la lecture des réponses n'est pas disponible");
    return false;
}

bool CDataAccess::LireTableFermee(CQuestionEtendue&, CMatriceCodes*& out) {
    out = nullptr;
    return NotYetReadable("LireTableFermee");
}

bool CDataAccess::LireTableCleFermee(CQuestionEtendue&, CMatriceCodes*& out) {
    out = nullptr;
    return NotYetReadable("LireTableCleFermee");
}

bool CDataAccess::LireTableNumerique(CQuestionEtendue&, CVecteurDouble*& out) {
    out = nullptr;
    return NotYetReadable("LireTableNumerique");
}

bool CDataAccess::LireTableCleNumerique(CQuestionEtendue&, CVecteurDouble*& out) {
    out = nullptr;
    return NotYetReadable("LireTableCleNumerique");
}

bool CDataAccess::LireTableOuverte(CQuestionEtendue&, std::vector<std::string>&) {
    return NotYetReadable("LireTableOuverte");
}

// ---- Record keys ---------------------------------------------------------------------------------

bool CDataAccess::ChargerClesNiveau(const CQuestionNiveau& level, std::set<RecordKey>& keys) {
    keys.clear();
    if (!IsOpen())
        return false;
    try {
        ReadKeys(level, keys);
        return true;
    } catch (const db::DbException& error) {
        m_levelErrorText = DatabaseError(error.description(), "ChargerClesNiveau");
    } catch (const std::exception& error) {
        m_levelErrorText = DatabaseError(error.what(), "ChargerClesNiveau");
    }
    keys.clear();
    return false;
}

// One walk of the level's table in key order. Records come sorted, so each key goes in at the end.
void CDataAccess::ReadKeys(const CQuestionNiveau& level, std::set<RecordKey>& keys) {
    const int table = level.levelTable;
    db::Recordset records(*m_database, NomTableReponse(table));
    records.setCurrentIndex(kPrimaryKey);
    const int keyCount = level.depth + 1;
    std::vector<int> keyFields;
    for (int position = 1; position <= keyCount; ++position)
        keyFields.push_back(records.fieldIndex(NomCle(position)));
    const CEnquete* survey = GetEnquete();
    std::optional<int> completed;
    if (table == kInterviewTable && survey != nullptr && survey->UseCompletedOnly)
        completed = records.findField(kCompleted);
    RecordKey key(keyFields.size());
    for (records.moveFirst(); !records.isEOF(); records.moveNext()) {
        if (completed) {
            const db::Value value = records.value(*completed);
            if (!value.isNull() && !value.toBool())
                continue;
        }
        for (std::size_t k = 0; k < keyFields.size(); ++k)
            key[k] = static_cast<std::int32_t>(records.value(keyFields[k]).toInteger());
        keys.emplace_hint(keys.end(), key);
    }
}

bool CDataAccess::ReadRecordKeys(const CQuestionNiveau& level, int, std::set<RecordKey>& keys, std::string& error) {
    if (ChargerClesNiveau(level, keys))
        return true;
    error = m_levelErrorText;
    return false;
}

// ---- Tables ----------------------------------------------------------------------------------------

std::string CDataAccess::NomTableReponse(int number) {
    return "VEL Reponse" + std::to_string(number);
}

std::string CDataAccess::NomCle(int position) {
    return "Cle" + std::to_string(position);
}

bool CDataAccess::ExisteTable(std::string_view name) const {
    return IsOpen() && m_database->tableExists(name);
}

int CDataAccess::NombreTablesReponse() const {
    int count = 0;
    while (ExisteTable(NomTableReponse(count + 1)))
        ++count;
    return count;
}

int CDataAccess::ProfondeurTable(int number) const {
    if (!ExisteTable(NomTableReponse(number)))
        return -1;
    int depth = 0;
    while (m_database->fieldExists(NomTableReponse(number), NomCle(depth + 2)))
        ++depth;
    return depth;
}
