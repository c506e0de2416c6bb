// The writers of CDataAccess: answer fields and tables for generated variables, and their values.
// Each writer call is one transaction on a connection opened for writing.

#include <algorithm>
#include <exception>
#include <map>

#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "app/VecteurDouble.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/db/TableDefinition.h"
#include "platform/db/Transaction.h"
#include "platform/questionnaire/DBStructure.h"

namespace {

constexpr const char* kPrimaryKey = "PrimaryKey";
constexpr const char* kOrder = "Ordre";
constexpr std::int32_t kNoAnswerCode = -2;
constexpr std::int32_t kSecondMissingCode = -1;
constexpr int kDoubleValueType = 5;

// The table holding each answer order 1 .. count, by table.
std::map<int, std::vector<int>> OrdersByTable(const CQuestion& question, int count) {
    std::vector<int> tables;
    std::vector<int> tableOfOrder;
    question.GetTablePerResponse(tables, tableOfOrder);
    std::map<int, std::vector<int>> orders;
    for (int order = 1; order <= count; ++order) {
        const std::size_t k = static_cast<std::size_t>(order - 1);
        const int index = k < tableOfOrder.size() ? tableOfOrder[k] : 0;
        const int table = index >= 0 && static_cast<std::size_t>(index) < tables.size()
                              ? tables[static_cast<std::size_t>(index)]
                              : static_cast<int>(question.responseTable);
        orders[table].push_back(order);
    }
    return orders;
}

// The code a modality index is written as: the code of the question's modality at that index;
// an index that names no modality is written as no answer.
std::vector<std::int32_t> CodesOfIndexes(const CQuestion& question) {
    std::vector<std::int32_t> codes;
    for (int i = 0; i < question.GetNbreModalite(); ++i) {
        const CModalite* modality = question.GetModalite(i);
        codes.push_back(modality != nullptr ? modality->code : kNoAnswerCode);
    }
    return codes;
}

std::int32_t CodeOfIndex(const std::vector<std::int32_t>& codes, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= codes.size())
        return kNoAnswerCode;
    return codes[static_cast<std::size_t>(index)];
}

std::string SizeMismatch(const char* operation, std::size_t rows, std::size_t keys) {
    return std::string("CDataAccess::") + operation + " : " + std::to_string(rows) + " lignes pour " +
           std::to_string(keys) + " interviews";
}

} // namespace

// ---- Write jobs ----------------------------------------------------------------------------------

db::Database& CDataAccess::WritableDatabase() {
    if (m_database->isReadOnly())
        m_database = std::make_unique<db::Database>(m_path, db::Database::Access::ReadWrite);
    return *m_database;
}

// A questionnaire that cannot be written is said so in the program's words; any other failure
// with the database's own.
bool CDataAccess::FailWrite(const db::DbException& error, const char* operation) {
    if (error.isReadOnly())
        return Fail(StringTable::Format(Message(StringTable::kQuestionnaireLectureSeule, {m_path})));
    return FailDatabase(error.cause(), operation);
}

bool CDataAccess::WriteJob(const char* operation, const std::function<void(db::Database&)>& job) {
    if (!IsOpen())
        return false;
    try {
        db::Database& database = WritableDatabase();
        db::Transaction transaction(database);
        job(database);
        transaction.commit();
        return true;
    } catch (const db::DbException& error) {
        return FailWrite(error, operation);
    } catch (const std::exception& error) {
        return FailDatabase(error.what(), operation);
    }
}

bool CDataAccess::EcrireEnUneFois(const char* operation, const std::function<bool(db::Database&)>& job) {
    if (!IsOpen())
        return false;
    try {
        db::Database& database = WritableDatabase();
        db::Transaction transaction(database);
        if (!job(database))
            return false;
        transaction.commit();
        return true;
    } catch (const db::DbException& error) {
        return FailWrite(error, operation);
    } catch (const std::exception& error) {
        return FailDatabase(error.what(), operation);
    }
}

// ---- Tables and fields -----------------------------------------------------------------------------

bool CDataAccess::CreerTableReponse(int number, int keyCount) {
    return WriteJob("CreerTableReponse",
                    [&](db::Database& database) { CreateResponseTable(database, number, keyCount); });
}

void CDataAccess::CreateResponseTable(db::Database& database, int number, int keyCount) {
    db::TableDefinition table{NomTableReponse(number), {}, {}};
    db::IndexDefinition key{kPrimaryKey, {}, true, true};
    for (int position = 1; position <= keyCount; ++position) {
        table.fields.push_back({NomCle(position), db::FieldType::Long});
        key.fields.push_back({NomCle(position), false});
    }
    if (keyCount > 1)
        table.fields.push_back({kOrder, db::FieldType::Integer});
    table.indexes.push_back(std::move(key));
    database.createTable(table);
}

// The last interview-level table while it holds at most 80 fields, else a new one after the last.
int CDataAccess::ChooseInterviewTable(db::Database& database) {
    const int count = NombreTablesReponse();
    for (int table = count; table >= 1; --table) {
        if (ProfondeurTable(table) != 0)
            continue;
        if (database.fieldCount(NomTableReponse(table)) <= CDBStructure::kMaxFieldsPerTable)
            return table;
        break;
    }
    CreateResponseTable(database, count + 1, 1);
    return count + 1;
}

bool CDataAccess::CreerChampsQuestion(std::int32_t code, int answerCount, int valueType, short& tableNumber) {
    int chosen = tableNumber;
    const bool created = WriteJob("CreerChampsQuestion", [&](db::Database& database) {
        if (chosen != 0 && ProfondeurTable(chosen) != 0)
            chosen = 0; // missing, or not at interview level
        if (chosen == 0)
            chosen = ChooseInterviewTable(database);
        const db::FieldType type = valueType == kDoubleValueType ? db::FieldType::Double : db::FieldType::Long;
        for (int order = 1; order <= answerCount; ++order)
            CDBStructure::VerifyCreateField(true, database, NomTableReponse(chosen),
                                            CDBStructure::AnswerFieldName(code, order), type);
    });
    if (created)
        tableNumber = static_cast<short>(chosen);
    return created;
}

// ---- Writing values ---------------------------------------------------------------------------------

// For each table holding some of the orders 1 .. columnCount: the record of each key's interview
// (found by "Cle1", added when missing) gets the value of cell (i, order) for the i-th key.
void CDataAccess::WriteCells(const CQuestion& question, const CRecordKeys& keys, int columnCount,
                             const std::function<db::Value(int row, int order)>& cell) {
    db::Database& database = *m_database;
    for (const auto& [table, orders] : OrdersByTable(question, columnCount)) {
        if (ProfondeurTable(table) != 0)
            throw db::DbException("write answers",
                                  "the table '" + NomTableReponse(table) + "' is not at interview level");
        std::vector<std::string> fields = {NomCle(1)};
        for (int order : orders)
            fields.push_back(CDBStructure::AnswerFieldName(question.code, order));
        db::Recordset records(database, NomTableReponse(table), fields);
        records.setCurrentIndex(kPrimaryKey);
        int row = 0;
        for (const RecordKey& key : keys) {
            const std::int32_t interview = key.empty() ? 0 : key.front();
            if (records.seek("=", {interview})) {
                records.edit();
            } else {
                records.addNew();
                records.setValue(0, interview);
            }
            for (std::size_t k = 0; k < orders.size(); ++k)
                records.setValue(static_cast<int>(k) + 1, cell(row, orders[k]));
            records.update();
            ++row;
        }
    }
}

bool CDataAccess::EcrireCodes(const CQuestion& question, const CMatriceCodes& codes, const CRecordKeys& keys,
                              std::optional<int> indexAsMinus1, std::optional<int> indexAsMinus2) {
    std::vector<std::int32_t> codeOfIndex = CodesOfIndexes(question);
    for (std::size_t i = 0; i < codeOfIndex.size(); ++i) {
        if (indexAsMinus1 && static_cast<int>(i) == *indexAsMinus1)
            codeOfIndex[i] = kSecondMissingCode;
        else if (indexAsMinus2 && static_cast<int>(i) == *indexAsMinus2)
            codeOfIndex[i] = kNoAnswerCode;
    }
    return WriteCodes(question, codes, keys, codeOfIndex, "EcrireCodes");
}

bool CDataAccess::WriteCodes(const CQuestion& question, const CMatriceCodes& codes, const CRecordKeys& keys,
                             const std::vector<std::int32_t>& codeOfIndex, const char* operation) {
    if (static_cast<std::size_t>(codes.GetNbLignes()) != keys.size())
        return Fail(SizeMismatch(operation, static_cast<std::size_t>(codes.GetNbLignes()), keys.size()));
    const auto written = [&](int row, int order) -> db::Value {
        const int index = codes.GetAt(row, order - 1);
        if (index == kNoAnswerCode || index == CMatriceCodes::kEmptyCell)
            return kNoAnswerCode;
        return CodeOfIndex(codeOfIndex, index);
    };
    return WriteJob(operation, [&](db::Database&) { WriteCells(question, keys, codes.GetNbColonnes(), written); });
}

bool CDataAccess::EcrireValeurs(const CQuestion& question, const CVecteurDouble& values,
                                const CRecordKeys& keys) {
    if (static_cast<std::size_t>(values.GetSize()) != keys.size())
        return Fail(SizeMismatch("EcrireValeurs", static_cast<std::size_t>(values.GetSize()), keys.size()));
    return WriteJob("EcrireValeurs", [&](db::Database&) {
        WriteCells(question, keys, 1, [&](int row, int) { return db::Value(values.GetAt(row)); });
    });
}

bool CDataAccess::EcrireTextes(const CQuestion& question, const std::vector<std::string>& texts,
                               const CRecordKeys& keys) {
    if (texts.size() != keys.size())
        return Fail(SizeMismatch("EcrireTextes", texts.size(), keys.size()));
    return WriteJob("EcrireTextes", [&](db::Database&) {
        WriteCells(question, keys, 1, [&](int row, int) { return db::Value(texts[static_cast<std::size_t>(row)]); });
    });
}

bool CDataAccess::InterviewKeys(const CRecordKeys*& keys, bool showFailure) {
    CQuestionNiveau* interviews = nullptr;
    if (!LoadLevel(0, interviews)) {
        if (showFailure)
            GetUserInterface().ShowMessage(Message::Text(m_levelErrorText), UserInterface::Icon::Error);
        return false;
    }
    keys = &interviews->GetEnregistrements();
    return true;
}

bool CDataAccess::EcrireReponses(CQuestionEtendue& question, const CObjetDonnees& container) {
    const auto* matrix = dynamic_cast<const CMatriceCodes*>(&container);
    const auto* values = dynamic_cast<const CVecteurDouble*>(&container);
    const bool closed = matrix != nullptr && question.EstFermee();
    const bool numeric = values != nullptr && (question.EstNumeriqueLibre() || question.EstDate());
    if (!closed && !numeric)
        return true; // nothing of this kind is written
    const CRecordKeys* keys = nullptr;
    if (!InterviewKeys(keys, true))
        return false;
    if (numeric)
        return EcrireValeurs(question, *values, *keys);
    const int count = question.GetNbreModalite();
    std::optional<int> asMinus1;
    std::optional<int> asMinus2;
    if (question.hasNoAnswer != 0 && count >= 2)
        asMinus1 = count - 2;
    if (question.AModaliteAutre() && count >= 1)
        asMinus2 = count - 1;
    return EcrireCodes(question, *matrix, *keys, asMinus1, asMinus2);
}

bool CDataAccess::EcrireValeursNumeriques(const CQuestion& question, const std::vector<double>& block) {
    const CRecordKeys* keys = nullptr;
    if (!InterviewKeys(keys, false))
        return false;
    if (block.size() != keys->size())
        return Fail(SizeMismatch("EcrireValeursNumeriques", block.size(), keys->size()));
    return WriteJob("EcrireValeursNumeriques", [&](db::Database&) {
        WriteCells(question, *keys, 1,
                   [&](int row, int) { return db::Value(block[static_cast<std::size_t>(row)]); });
    });
}

bool CDataAccess::EcrireReponsesFermees(const CQuestion& question, const std::vector<std::int16_t>& block) {
    const CRecordKeys* keys = nullptr;
    if (!InterviewKeys(keys, false))
        return false;
    const int answers = std::max<int>(question.answerCount, 1);
    if (block.size() != keys->size() * static_cast<std::size_t>(answers))
        return Fail(SizeMismatch("EcrireReponsesFermees", block.size() / static_cast<std::size_t>(answers),
                                 keys->size()));
    const std::vector<std::int32_t> modalityCodes = CodesOfIndexes(question);
    const int modalityCount = question.GetNbreModalite();
    const auto written = [&](int row, int order) -> db::Value {
        const int cell = block[static_cast<std::size_t>(row) * static_cast<std::size_t>(answers) +
                               static_cast<std::size_t>(order - 1)];
        if (cell == kNoAnswerCode || cell == CMatriceCodes::kEmptyCell)
            return kNoAnswerCode;
        if (cell == modalityCount)
            return kSecondMissingCode;
        return CodeOfIndex(modalityCodes, cell);
    };
    return WriteJob("EcrireReponsesFermees", [&](db::Database&) { WriteCells(question, *keys, answers, written); });
}
