#include "app/DataAccess.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "app/CacheDonnees.h"
#include "app/CommittedState.h"
#include "app/ContexteEtude.h"
#include "app/Enquete.h"
#include "app/InvertedFiles.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"
#include "app/ParallelKeyScan.h"
#include "app/ResponseTableScan.h"
#include "app/WorkerPool.h"
#include "app/SilentUserInterface.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/db/Value.h"

namespace {

constexpr const char* kCompleted = "Completed";
constexpr int kInterviewTable = 1;
constexpr std::int64_t kNoAnswerCode = -2;

std::string DatabaseError(const std::string& description, const std::string& operation) {
    return "Erreur de base de données '" + description + "' dans CDataAccess::" + operation;
}

// A file another program holds is said so in the program's words, whatever was being read.
std::string DatabaseError(const db::DbException& error, const std::string& path, const std::string& operation) {
    if (error.isBusy())
        return StringTable::Format(Message(StringTable::kQuestionnaireOccupe, {path}));
    return DatabaseError(error.cause(), operation);
}

std::string AnswerFieldName(std::int32_t code, int order) {
    return std::to_string(code) + ";" + std::to_string(order);
}

// The interview fields LireInfoInterview knows, by index; any other index names no field.
struct InterviewField {
    short index;
    const char* name;
};
constexpr InterviewField kInterviewFields[] = {
    {0, "CodeEnqueteur"}, {1, "DebutInterview"}, {2, "FinInterview"},
    {4, "Cle1"},          {6, "LanguageId"},     {7, "Completed"},
};

const char* InterviewFieldName(short index) {
    for (const InterviewField& field : kInterviewFields)
        if (field.index == index)
            return field.name;
    return nullptr;
}

// From an answer code to the index of the modality it stands for: every modality's code, and
// every value of its own value list (a semi-open answer attached to it). A later modality wins
// a code given twice. Codes of a narrow range are looked up in a table, others in a hash map.
class CodeIndex {
public:
    explicit CodeIndex(const CQuestionEtendue& question) {
        std::vector<std::pair<std::int64_t, std::int16_t>> entries;
        for (int i = 0; i < question.GetNbreModalite(); ++i) {
            const CModalite* modality = question.GetModalite(i);
            if (modality == nullptr)
                continue;
            entries.emplace_back(modality->code, static_cast<std::int16_t>(i));
            if (const CModaliteEtendue* own = question.GetModaliteEtendue(i))
                for (std::int32_t value : own->values)
                    entries.emplace_back(value, static_cast<std::int16_t>(i));
        }
        if (entries.empty())
            return;
        const auto [low, high] = std::minmax_element(entries.begin(), entries.end());
        if (high->first - low->first < kDenseRange) {
            m_first = low->first;
            m_dense.assign(static_cast<std::size_t>(high->first - low->first + 1), kAbsent);
            for (const auto& [code, index] : entries)
                m_dense[static_cast<std::size_t>(code - m_first)] = index;
        } else {
            for (const auto& [code, index] : entries)
                m_sparse[code] = index;
        }
    }

    // The modality index of the code; -1 when the code stands for no modality, whatever its size:
    // the distance to the first code is taken without sign, where a code near 2^63 cannot wrap
    // into the table.
    int Find(std::int64_t code) const {
        if (!m_dense.empty()) {
            if (code < m_first)
                return kAbsent;
            const std::uint64_t offset = static_cast<std::uint64_t>(code) - static_cast<std::uint64_t>(m_first);
            if (offset >= m_dense.size())
                return kAbsent;
            return m_dense[static_cast<std::size_t>(offset)];
        }
        const auto found = m_sparse.find(code);
        return found == m_sparse.end() ? kAbsent : found->second;
    }

private:
    static constexpr std::int64_t kDenseRange = 1 << 16;
    static constexpr std::int16_t kAbsent = -1;
    std::int64_t m_first = 0;
    std::vector<std::int16_t> m_dense;
    std::unordered_map<std::int64_t, std::int16_t> m_sparse;
};

// The row of each record of a walk among a level's records, found once per record for all the
// readers of that level.
class SharedLevelRows {
public:
    explicit SharedLevelRows(const CQuestionNiveau& level) : m_rows(level.GetEnregistrements(), level.depth + 1) {}

    int Find(const ResponseTableScan::Record& record) {
        if (record.Number() != m_record) {
            m_record = record.Number();
            m_row = m_rows.Find(record.Keys());
        }
        return m_row;
    }

private:
    ResponseTableScan::LevelRows m_rows;
    long long m_record = -1;
    int m_row = -1;
};

// The level rows of one walk, by level.
using SharedRows = std::map<const CQuestionNiveau*, std::unique_ptr<SharedLevelRows>>;

// Which records of a table belong to a question, and at which row of its level: the record's
// fixed keys must equal the question's values (value j against key field j + 2), and its first
// depth + 1 keys must be a record of the level.
class QuestionRecords {
public:
    QuestionRecords(const CQuestionEtendue& question, const CQuestionNiveau& level)
        : m_fixedKeys(question.values), m_level(level), m_keyLength(level.depth + 1) {}

    // Finds rows through the walk's shared rows of the question's level.
    void ShareRows(SharedRows& shared) {
        std::unique_ptr<SharedLevelRows>& rows = shared[&m_level];
        if (!rows)
            rows = std::make_unique<SharedLevelRows>(m_level);
        m_rows = rows.get();
    }

    // The reason the table cannot give the question its records; empty when it can.
    std::string CheckKeys(const ResponseTableScan& scan) const {
        const int needed = std::max(m_keyLength, static_cast<int>(m_fixedKeys.size()) + 1);
        if (needed <= scan.KeyFieldCount())
            return {};
        return "no field named 'Cle" + std::to_string(scan.KeyFieldCount() + 1) + "' in table '" +
               scan.TableName() + "'";
    }

    // The record's row; -1 when the record is not the question's.
    int RowOf(const ResponseTableScan::Record& record) {
        for (std::size_t j = 0; j < m_fixedKeys.size(); ++j)
            if (record.Key(static_cast<int>(j) + 2) != m_fixedKeys[j])
                return -1;
        return m_rows->Find(record);
    }

    int KeyLength() const { return m_keyLength; }

private:
    std::vector<std::int32_t> m_fixedKeys;
    const CQuestionNiveau& m_level;
    SharedLevelRows* m_rows = nullptr;
    int m_keyLength;
};

} // namespace

// ---- Read jobs ---------------------------------------------------------------------------------
//
// A read job is one question being read from the response tables: it names the tables it needs,
// attaches a reader to the walk of each, and builds its container from what the walks hand it.

class CDataAccess::ReadJob {
public:
    ReadJob(CQuestionEtendue& question, const CQuestionNiveau& level) : m_question(question), m_level(level) {}
    virtual ~ReadJob() = default;
    ReadJob(const ReadJob&) = delete;
    ReadJob& operator=(const ReadJob&) = delete;

    CQuestionEtendue& Question() const { return m_question; }
    const std::vector<int>& Tables() const { return m_tables; }
    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }
    void Fail(const std::string& error) {
        if (m_error.empty())
            m_error = error.empty() ? "lecture impossible" : error;
    }

    // Asks the walk of one of its tables for the fields it needs and adds its reader; false
    // (with the reason) when the table lacks a field.
    bool Attach(ResponseTableScan& scan, SharedRows& rows) {
        std::string reason = AttachTo(scan, rows);
        if (reason.empty())
            return true;
        Fail(reason);
        return false;
    }
    // Once every table is walked: the container, or null after a failure.
    virtual std::unique_ptr<CObjetDonnees> Finish() = 0;
    // The answers met whose code names none of the question's modalities.
    UnknownAnswers& Unknown() { return m_unknown; }

protected:
    // A reader of one table for this job.
    class TableReader : public ResponseTableScan::Reader {
    public:
        TableReader(const CQuestionEtendue& question, const CQuestionNiveau& level) : records(question, level) {}
        QuestionRecords records;
        std::vector<std::pair<int, int>> fields; // (answer order, field handle)
        int keyPosition = 0;                     // the key read in place of an answer field
    };

    virtual std::string AttachTo(ResponseTableScan& scan, SharedRows& rows) = 0;

    // A reader of the question's records whose fields are the given orders of the answer field
    // (code, order), or with order 0 as key position the iteration key of the question's level.
    template <class Reader, class... Args>
    std::string AddReader(ResponseTableScan& scan, SharedRows& rows, const std::vector<int>& orders, bool readKey,
                          Args&&... args) {
        auto reader = std::make_unique<Reader>(m_question, m_level, std::forward<Args>(args)...);
        std::string reason = reader->records.CheckKeys(scan);
        if (!reason.empty())
            return reason;
        reader->records.ShareRows(rows);
        if (readKey) {
            reader->keyPosition = reader->records.KeyLength();
        } else {
            for (int order : orders) {
                const std::string name = AnswerFieldName(m_question.code, order);
                const int handle = scan.AddField(name);
                if (handle < 0)
                    return "no field named '" + name + "' in table '" + scan.TableName() + "'";
                reader->fields.emplace_back(order, handle);
            }
        }
        scan.AddReader(*reader);
        m_readers.push_back(std::move(reader));
        return {};
    }

    void NoteUnknownAnswer(int row) {
        if (m_unknown.byRow.empty())
            m_unknown.byRow.assign(static_cast<std::size_t>(m_level.GetNbreEnregistrements()), 0);
        ++m_unknown.total;
        if (row >= 0 && static_cast<std::size_t>(row) < m_unknown.byRow.size())
            ++m_unknown.byRow[static_cast<std::size_t>(row)];
    }

    CQuestionEtendue& m_question;
    const CQuestionNiveau& m_level;
    UnknownAnswers m_unknown;
    std::vector<int> m_tables;
    std::vector<std::unique_ptr<TableReader>> m_readers;
    std::string m_error;
};

// Closed answers, or the iteration key of a generated question mapped through the modality codes.
class CDataAccess::ClosedReadJob : public CDataAccess::ReadJob {
public:
    ClosedReadJob(CQuestionEtendue& question, const CQuestionNiveau& level, bool readKey)
        : ReadJob(question, level), m_codes(question), m_readKey(readKey) {
        const int columns = readKey ? 1 : std::max<int>(question.answerCount, 0);
        m_matrix = std::make_unique<CMatriceCodes>(static_cast<std::int16_t>(columns));
        m_matrix->SetNbLignes(level.GetNbreEnregistrements());
        const int noAnswer = question.TrouverNonReponse();
        if (noAnswer >= 0)
            m_matrix->RemplirColonne0(static_cast<std::int16_t>(noAnswer));
        if (readKey) {
            m_tables = {question.levelTable};
            return;
        }
        std::vector<int> tableOfOrder;
        question.GetTablePerResponse(m_tables, tableOfOrder);
        m_ordersOfTable.resize(m_tables.size());
        for (int order = 1; order <= columns; ++order) {
            const std::size_t k = static_cast<std::size_t>(order - 1);
            const int table = k < tableOfOrder.size() ? tableOfOrder[k] : 0;
            if (table >= 0 && static_cast<std::size_t>(table) < m_ordersOfTable.size())
                m_ordersOfTable[static_cast<std::size_t>(table)].push_back(order);
        }
        // Answers spread over several tables are kept by order first, then laid out in the
        // order of the tables once every table has been read.
        if (m_tables.size() > 1) {
            m_byOrder = std::make_unique<CMatriceCodes>(static_cast<std::int16_t>(columns));
            m_byOrder->SetNbLignes(level.GetNbreEnregistrements());
        }
    }

    std::unique_ptr<CObjetDonnees> Finish() override {
        if (Failed())
            return nullptr;
        if (m_byOrder)
            LayOutByTable();
        m_matrix->Compacter();
        return std::move(m_matrix);
    }

private:
    class Reader : public TableReader {
    public:
        Reader(const CQuestionEtendue& question, const CQuestionNiveau& level, ClosedReadJob& job)
            : TableReader(question, level), m_job(job) {}
        void Read(const ResponseTableScan::Record& record) override {
            const int row = records.RowOf(record);
            if (row >= 0)
                m_job.Store(*this, record, row);
        }

    private:
        ClosedReadJob& m_job;
    };

    std::string AttachTo(ResponseTableScan& scan, SharedRows& rows) override {
        for (std::size_t t = 0; t < m_tables.size(); ++t)
            if (m_tables[t] == scan.TableNumber())
                return AddReader<Reader>(scan, rows, m_readKey ? std::vector<int>{} : m_ordersOfTable[t], m_readKey,
                                         *this);
        return {};
    }

    // An answer that names no modality is left out, as an absent one, and counted for the
    // report; a value that is not a whole number cannot be taken for any code and stops the read.
    void Store(const TableReader& reader, const ResponseTableScan::Record& record, int row) {
        if (Failed())
            return;
        if (m_readKey) {
            const int index = m_codes.Find(record.Key(reader.keyPosition));
            if (index < 0)
                NoteUnknownAnswer(row);
            else if (m_matrix->GetNbColonnes() > 0)
                m_matrix->SetAt(row, 0, static_cast<std::int16_t>(index));
            return;
        }
        int column = 0;
        for (const auto& [order, handle] : reader.fields) {
            const db::Value value = record.StoredValue(handle);
            if (value.isNull())
                continue;
            long long code = 0;
            const db::Value::Whole whole = value.toWholeNumber(code);
            if (whole == db::Value::Whole::No) {
                RefuseNotWhole(record, value);
                return;
            }
            if (whole == db::Value::Whole::Exact && code == kNoAnswerCode)
                continue;
            const int index = whole == db::Value::Whole::Exact ? m_codes.Find(code) : -1;
            if (index < 0) {
                NoteUnknownAnswer(row);
                continue;
            }
            if (m_byOrder) {
                m_byOrder->SetAt(row, order - 1, static_cast<std::int16_t>(index));
            } else if (column < m_matrix->GetNbColonnes()) {
                m_matrix->SetAt(row, column++, static_cast<std::int16_t>(index));
            }
        }
    }

    void RefuseNotWhole(const ResponseTableScan::Record& record, const db::Value& value) {
        std::string interview = std::to_string(record.Key(1));
        if (record.KeyCount() > 1) {
            interview += record.KeyCount() > 2 ? " (itérations " : " (itération ";
            for (int position = 2; position <= record.KeyCount(); ++position)
                interview += (position > 2 ? ", " : "") + std::to_string(record.Key(position));
            interview += ")";
        }
        Fail(StringTable::Format(
            Message(StringTable::kReponseNonEntiere, {m_question.name, value.toText(), interview})));
    }

    // Each row's answers in the order of the tables and, within a table, of the orders.
    void LayOutByTable() {
        for (int row = 0; row < m_byOrder->GetNbLignes(); ++row) {
            int column = 0;
            for (const std::vector<int>& orders : m_ordersOfTable) {
                for (int order : orders) {
                    const std::int16_t index = m_byOrder->GetAt(row, order - 1);
                    if (index != CMatriceCodes::kEmptyCell && column < m_matrix->GetNbColonnes())
                        m_matrix->SetAt(row, column++, index);
                }
            }
        }
    }

    CodeIndex m_codes;
    bool m_readKey;
    std::unique_ptr<CMatriceCodes> m_matrix;
    std::unique_ptr<CMatriceCodes> m_byOrder;
    std::vector<std::vector<int>> m_ordersOfTable; // by position in m_tables
};

// Numeric and date answers (order 1), or the iteration key of a generated question as a number.
class CDataAccess::NumericReadJob : public CDataAccess::ReadJob {
public:
    NumericReadJob(CQuestionEtendue& question, const CQuestionNiveau& level, bool readKey)
        : ReadJob(question, level), m_readKey(readKey) {
        m_values = std::make_unique<CVecteurDouble>(level.GetNbreEnregistrements());
        m_values->Remplir(readKey ? 0.0 : CVecteurDouble::kNotAsked);
        if (readKey) {
            m_tables = {question.levelTable};
        } else {
            std::vector<int> tables;
            std::vector<int> tableOfOrder;
            question.GetTablePerResponse(tables, tableOfOrder);
            const int first = tableOfOrder.empty() ? 0 : tableOfOrder.front();
            m_tables = {first >= 0 && static_cast<std::size_t>(first) < tables.size()
                            ? tables[static_cast<std::size_t>(first)]
                            : static_cast<int>(question.responseTable)};
        }
    }

    std::unique_ptr<CObjetDonnees> Finish() override {
        if (Failed())
            return nullptr;
        return std::move(m_values);
    }

private:
    class Reader : public TableReader {
    public:
        Reader(const CQuestionEtendue& question, const CQuestionNiveau& level, NumericReadJob& job)
            : TableReader(question, level), m_job(job) {}
        void Read(const ResponseTableScan::Record& record) override {
            const int row = records.RowOf(record);
            if (row < 0)
                return;
            if (fields.empty()) {
                m_job.m_values->SetAt(row, static_cast<double>(record.Key(keyPosition)));
                return;
            }
            const db::Value value = record.Value(fields.front().second);
            if (!value.isNull())
                m_job.m_values->SetAt(row, value.toDouble());
        }

    private:
        NumericReadJob& m_job;
    };

    std::string AttachTo(ResponseTableScan& scan, SharedRows& rows) override {
        return AddReader<Reader>(scan, rows, {1}, m_readKey, *this);
    }

    bool m_readKey;
    std::unique_ptr<CVecteurDouble> m_values;
};

// Open answers (order 1).
class CDataAccess::OpenReadJob : public CDataAccess::ReadJob {
public:
    OpenReadJob(CQuestionEtendue& question, const CQuestionNiveau& level, std::vector<std::string>& texts)
        : ReadJob(question, level), m_texts(texts) {
        m_texts.assign(static_cast<std::size_t>(level.GetNbreEnregistrements()), std::string());
        std::vector<int> tables;
        std::vector<int> tableOfOrder;
        question.GetTablePerResponse(tables, tableOfOrder);
        const int first = tableOfOrder.empty() ? 0 : tableOfOrder.front();
        m_tables = {first >= 0 && static_cast<std::size_t>(first) < tables.size()
                        ? tables[static_cast<std::size_t>(first)]
                        : static_cast<int>(question.responseTable)};
    }

    std::unique_ptr<CObjetDonnees> Finish() override { return nullptr; }

private:
    class Reader : public TableReader {
    public:
        Reader(const CQuestionEtendue& question, const CQuestionNiveau& level, std::vector<std::string>& texts)
            : TableReader(question, level), m_texts(texts) {}
        void Read(const ResponseTableScan::Record& record) override {
            const int row = records.RowOf(record);
            if (row < 0)
                return;
            const db::Value value = record.Value(fields.front().second);
            if (!value.isNull())
                m_texts[static_cast<std::size_t>(row)] = value.toText();
        }

    private:
        std::vector<std::string>& m_texts;
    };

    std::string AttachTo(ResponseTableScan& scan, SharedRows& rows) override {
        return AddReader<Reader>(scan, rows, {1}, false, m_texts);
    }

    std::vector<std::string>& m_texts;
};

// ---- Construction ------------------------------------------------------------------------------

CDataAccess::CDataAccess(CEnquete& survey, bool wishInverted, db::Database::Access access)
    : CResponseReader(&survey, wishInverted), m_path(survey.DonnerCheminBase()), m_access(access) {}

CDataAccess::CDataAccess(const std::string& path)
    : CResponseReader(nullptr, false), m_path(path), m_access(db::Database::Access::ReadWrite) {}

CDataAccess::~CDataAccess() = default;

bool CDataAccess::IsOpen() {
    if (m_database == nullptr && m_openError.empty()) {
        try {
            m_database = std::make_unique<db::Database>(m_path, m_access);
        } catch (const db::DbException& error) {
            m_openError = DatabaseError(error, m_path, "IsOpen");
        }
    }
    if (m_database != nullptr)
        return true;
    // Said again at every refusal: the jobs that fail for want of the file carry its reason, not
    // whatever failed last.
    SetErrorText(m_openError);
    m_levelErrorText = m_openError;
    return false;
}

bool CDataAccess::Fail(const std::string& text) {
    SetErrorText(text);
    return false;
}

bool CDataAccess::FailDatabase(const std::string& description, const std::string& operation) {
    return Fail(DatabaseError(description, operation));
}

UserInterface& CDataAccess::GetUserInterface() const {
    if (auto* context = dynamic_cast<CContexteEtude*>(GetEnquete()))
        return context->GetUserInterface();
    if (CContexteEtude* context = GetContexte())
        return context->GetUserInterface();
    static SilentUserInterface silent;
    return silent;
}

// ---- Readers of answers ------------------------------------------------------------------------

bool CDataAccess::LoadLevel(int levelIndex, CQuestionNiveau*& level) {
    CEnquete* survey = GetEnquete();
    level = survey != nullptr ? survey->DonnerNiveau(levelIndex) : nullptr;
    if (level == nullptr) {
        m_levelErrorText = "Le niveau " + std::to_string(levelIndex) + " est introuvable";
        return Fail(m_levelErrorText);
    }
    std::string error;
    if (level->ChargerEffectifs(*survey, levelIndex, error))
        return true;
    m_levelErrorText = error;
    return Fail(error);
}

bool CDataAccess::RequireSurvey(const char* operation) {
    if (GetEnquete() == nullptr)
        return Fail(std::string("CDataAccess::") + operation + " : aucune enquête n'est ouverte");
    return true;
}

bool CDataAccess::RequireReadable(const char* operation) { return RequireSurvey(operation) && IsOpen(); }

bool CDataAccess::LireTableFermee(CQuestionEtendue& question, CMatriceCodes*& out) {
    std::vector<CMatriceCodes*> read;
    const bool done = ReadClosed({&question}, read, false, "LireTableFermee");
    out = read.empty() ? nullptr : read.front();
    return done;
}

bool CDataAccess::LireTableCleFermee(CQuestionEtendue& question, CMatriceCodes*& out) {
    std::vector<CMatriceCodes*> read;
    const bool done = ReadClosed({&question}, read, true, "LireTableCleFermee");
    out = read.empty() ? nullptr : read.front();
    return done;
}

bool CDataAccess::LireTableNumerique(CQuestionEtendue& question, CVecteurDouble*& out) {
    std::vector<CVecteurDouble*> read;
    const bool done = ReadNumeric({&question}, read, false, "LireTableNumerique");
    out = read.empty() ? nullptr : read.front();
    return done;
}

bool CDataAccess::LireTableCleNumerique(CQuestionEtendue& question, CVecteurDouble*& out) {
    std::vector<CVecteurDouble*> read;
    const bool done = ReadNumeric({&question}, read, true, "LireTableCleNumerique");
    out = read.empty() ? nullptr : read.front();
    return done;
}

bool CDataAccess::LireTablesFermees(const std::vector<CQuestionEtendue*>& questions,
                                    std::vector<CMatriceCodes*>& out) {
    return ReadClosed(questions, out, std::nullopt, "LireTablesFermees");
}

bool CDataAccess::LireTablesNumeriques(const std::vector<CQuestionEtendue*>& questions,
                                       std::vector<CVecteurDouble*>& out) {
    return ReadNumeric(questions, out, std::nullopt, "LireTablesNumeriques");
}

bool CDataAccess::ReadClosed(const std::vector<CQuestionEtendue*>& questions, std::vector<CMatriceCodes*>& out,
                             std::optional<bool> readKey, const char* operation) {
    std::vector<CObjetDonnees*> read;
    const bool done = ReadAnswers(questions, read, AnswerKind::Closed, readKey, operation);
    out.assign(read.size(), nullptr);
    for (std::size_t i = 0; i < read.size(); ++i)
        out[i] = static_cast<CMatriceCodes*>(read[i]);
    return done;
}

bool CDataAccess::ReadNumeric(const std::vector<CQuestionEtendue*>& questions, std::vector<CVecteurDouble*>& out,
                              std::optional<bool> readKey, const char* operation) {
    std::vector<CObjetDonnees*> read;
    const bool done = ReadAnswers(questions, read, AnswerKind::Numeric, readKey, operation);
    out.assign(read.size(), nullptr);
    for (std::size_t i = 0; i < read.size(); ++i)
        out[i] = static_cast<CVecteurDouble*>(read[i]);
    return done;
}

// The cache first, then the inverted file, then one walk per response table for all the
// questions left. A question read twice in one batch is lent twice.
bool CDataAccess::ReadAnswers(const std::vector<CQuestionEtendue*>& questions, std::vector<CObjetDonnees*>& out,
                              AnswerKind kind, std::optional<bool> readKey, const char* operation) {
    out.assign(questions.size(), nullptr);
    if (!RequireSurvey(operation))
        return false;
    CEnquete& survey = *GetEnquete();
    CCacheDonnees* cache = kind == AnswerKind::Closed ? survey.GetClosedAnswerCache() : survey.GetNumericCache();
    if (cache == nullptr)
        return Fail(std::string("CDataAccess::") + operation + " : les caches de l'enquête n'existent pas");

    bool complete = true;
    std::vector<std::unique_ptr<ReadJob>> jobs;
    std::vector<std::size_t> jobOf(questions.size(), std::numeric_limits<std::size_t>::max());
    std::map<const CQuestionEtendue*, std::size_t> firstJob;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        CQuestionEtendue* question = questions[i];
        if (question == nullptr) {
            complete = Fail(std::string("CDataAccess::") + operation + " : question absente");
            continue;
        }
        if (const auto earlier = firstJob.find(question); earlier != firstJob.end()) {
            jobOf[i] = earlier->second;
            continue;
        }
        if (BorrowCached(*cache, *question, kind, out[i]) || ReadInverted(*question, kind, out[i]))
            continue;
        CQuestionNiveau* level = nullptr;
        if (!LoadLevel(question->level, level)) {
            complete = false;
            continue;
        }
        const bool key = readKey.value_or(question->generated != 0);
        if (kind == AnswerKind::Closed)
            jobs.push_back(std::make_unique<ClosedReadJob>(*question, *level, key));
        else
            jobs.push_back(std::make_unique<NumericReadJob>(*question, *level, key));
        jobOf[i] = jobs.size() - 1;
        firstJob[question] = jobs.size() - 1;
    }

    std::vector<ReadJob*> pending;
    for (const auto& job : jobs)
        pending.push_back(job.get());
    RunReadJobs(pending, operation);

    std::vector<CObjetDonnees*> lent(jobs.size(), nullptr);
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        std::unique_ptr<CObjetDonnees> container = jobs[j]->Finish();
        if (!container) {
            complete = Fail(jobs[j]->Error());
            continue;
        }
        UnknownAnswers& unknown = jobs[j]->Unknown();
        ReportUnknownAnswers(jobs[j]->Question(), unknown.total);
        if (unknown.total > 0)
            m_unknownAnswers[&jobs[j]->Question()] = std::move(unknown);
        else
            m_unknownAnswers.erase(&jobs[j]->Question());
        lent[j] = cache->Ajouter(&jobs[j]->Question(), std::move(container));
    }
    std::vector<bool> handedOut(jobs.size(), false);
    for (std::size_t i = 0; i < questions.size(); ++i) {
        if (jobOf[i] == std::numeric_limits<std::size_t>::max())
            continue;
        const std::size_t j = jobOf[i];
        if (lent[j] == nullptr) {
            complete = false;
            continue;
        }
        out[i] = handedOut[j] ? LendAgain(*cache, jobs[j]->Question(), *lent[j], kind) : lent[j];
        handedOut[j] = true;
    }
    return complete;
}

// Once a session per question: the answers stay counted as absent, so the user is told the
// table rests on answers the questionnaire does not know.
void CDataAccess::ReportUnknownAnswers(const CQuestionEtendue& question, std::int64_t count) {
    CEnquete* survey = GetEnquete();
    if (count <= 0 || survey == nullptr || !survey->NoteUnknownAnswersReport(question))
        return;
    GetUserInterface().ShowMessage(
        Message(StringTable::kReponsesHorsModalites, {question.name, std::to_string(count)}),
        UserInterface::Icon::Warning);
}

const CDataAccess::UnknownAnswers* CDataAccess::UnknownAnswersRead(const CQuestionEtendue& question) const {
    const auto found = m_unknownAnswers.find(&question);
    return found == m_unknownAnswers.end() ? nullptr : &found->second;
}

bool CDataAccess::BorrowCached(CCacheDonnees& cache, CQuestionEtendue& question, AnswerKind kind,
                               CObjetDonnees*& out) {
    CObjetDonnees* found = nullptr;
    if (!cache.Chercher(&question, found))
        return false;
    const bool fits = kind == AnswerKind::Closed ? dynamic_cast<CMatriceCodes*>(found) != nullptr
                                                 : dynamic_cast<CVecteurDouble*>(found) != nullptr;
    if (!fits) {
        cache.Liberer(&question, found);
        return false;
    }
    out = found;
    return true;
}

// The same container lent once more: borrowed again from the cache when it kept it, else a copy
// lent without keeping.
CObjetDonnees* CDataAccess::LendAgain(CCacheDonnees& cache, CQuestionEtendue& question, CObjetDonnees& lent,
                                      AnswerKind kind) {
    CObjetDonnees* found = nullptr;
    if (cache.Chercher(&question, found)) {
        if (found == &lent)
            return found;
        cache.Liberer(&question, found);
    }
    std::unique_ptr<CObjetDonnees> copy;
    if (kind == AnswerKind::Closed)
        copy = std::make_unique<CMatriceCodes>(static_cast<CMatriceCodes&>(lent));
    else
        copy = std::make_unique<CVecteurDouble>(static_cast<CVecteurDouble&>(lent));
    return cache.LendWithoutKeeping(&question, std::move(copy));
}

bool CDataAccess::ReadInverted(CQuestionEtendue& question, AnswerKind kind, CObjetDonnees*& out) {
    if (!UsesInvertedFiles())
        return false;
    if (kind == AnswerKind::Closed) {
        CMatriceCodes* matrix = nullptr;
        if (!ReadInvertedClosed(question, matrix) || matrix == nullptr)
            return false;
        out = matrix;
        return true;
    }
    CVecteurDouble* values = nullptr;
    if (!ReadInvertedValues(question, values) || values == nullptr)
        return false;
    out = values;
    return true;
}

// Each table that a job needs is walked once, for every job that needs it, in table order.
void CDataAccess::RunReadJobs(const std::vector<ReadJob*>& jobs, const char* operation) {
    if (jobs.empty())
        return;
    if (!IsOpen()) {
        for (ReadJob* job : jobs)
            job->Fail(GetErrorText());
        return;
    }
    std::map<int, std::vector<ReadJob*>> byTable;
    for (ReadJob* job : jobs)
        for (int table : job->Tables())
            byTable[table].push_back(job);
    for (const auto& [table, tableJobs] : byTable) {
        std::vector<ReadJob*> attached;
        try {
            ResponseTableScan scan(*m_database, table);
            SharedRows rows;
            for (ReadJob* job : tableJobs)
                if (!job->Failed() && job->Attach(scan, rows))
                    attached.push_back(job);
            if (!attached.empty())
                scan.Run();
        } catch (const std::exception& error) {
            const auto* dbError = dynamic_cast<const db::DbException*>(&error);
            const std::string text =
                dbError ? DatabaseError(*dbError, m_path, operation) : DatabaseError(error.what(), operation);
            for (ReadJob* job : tableJobs)
                job->Fail(text);
        }
    }
}

bool CDataAccess::LireTableOuverte(CQuestionEtendue& question, std::vector<std::string>& out) {
    out.clear();
    if (!RequireReadable("LireTableOuverte"))
        return false;
    CQuestionNiveau* level = nullptr;
    if (!LoadLevel(question.level, level))
        return false;
    OpenReadJob job(question, *level, out);
    RunReadJobs({&job}, "LireTableOuverte");
    if (!job.Failed())
        return true;
    out.clear();
    return Fail(job.Error());
}

// ---- Entry durations and interview fields ------------------------------------------------------

namespace {

// Adds each record's order-0 field to the row of its interview.
class DurationReader : public ResponseTableScan::Reader {
public:
    DurationReader(const CQuestionNiveau& interviews, CVecteurDouble& sums, int field)
        : m_rows(interviews.GetEnregistrements(), 1), m_sums(sums), m_field(field) {}
    void Read(const ResponseTableScan::Record& record) override {
        const int row = m_rows.Find(record.Keys());
        if (row < 0)
            return;
        const db::Value value = record.Value(m_field);
        if (!value.isNull())
            m_sums.SetAt(row, m_sums.GetAt(row) + value.toDouble());
    }

private:
    ResponseTableScan::LevelRows m_rows;
    CVecteurDouble& m_sums;
    int m_field;
};

// One interview field (or the running record number) at each interview's row.
class InterviewFieldReader : public ResponseTableScan::Reader {
public:
    InterviewFieldReader(const CQuestionNiveau& interviews, std::vector<db::Value>& values, std::optional<int> field,
                         bool wholeKey)
        : m_rows(interviews.GetEnregistrements(), 1), m_values(values), m_field(field), m_key(wholeKey) {}
    void Read(const ResponseTableScan::Record& record) override {
        ++m_counter;
        const int row = m_rows.Find(record.Keys());
        if (row < 0)
            return;
        db::Value& value = m_values[static_cast<std::size_t>(row)];
        if (m_key)
            value = db::Value(record.Key(1));
        else if (m_field)
            value = record.Value(*m_field);
        else
            value = db::Value(m_counter);
    }

private:
    ResponseTableScan::LevelRows m_rows;
    std::vector<db::Value>& m_values;
    std::optional<int> m_field;
    bool m_key;
    std::int32_t m_counter = 0;
};

} // namespace

bool CDataAccess::LireDureesSaisie(CQuestionEtendue& question, CVecteurDouble& out) {
    if (!RequireReadable("LireDureesSaisie"))
        return false;
    CQuestionNiveau* interviews = nullptr;
    if (!LoadLevel(0, interviews))
        return false;
    CVecteurDouble sums(interviews->GetNbreEnregistrements());
    sums.Remplir(0.0);
    std::vector<int> tables;
    std::vector<int> tableOfOrder;
    question.GetTablePerResponse(tables, tableOfOrder);
    const int first = tableOfOrder.empty() ? 0 : tableOfOrder.front();
    const int table = first >= 0 && static_cast<std::size_t>(first) < tables.size()
                          ? tables[static_cast<std::size_t>(first)]
                          : static_cast<int>(question.responseTable);
    try {
        ResponseTableScan scan(*m_database, table);
        const std::string name = AnswerFieldName(question.code, 0);
        const int field = scan.AddField(name);
        if (field < 0)
            return FailDatabase("no field named '" + name + "' in table '" + scan.TableName() + "'",
                                "LireDureesSaisie");
        DurationReader reader(*interviews, sums, field);
        scan.AddReader(reader);
        scan.Run();
    } catch (const db::DbException& error) {
        return FailDatabase(error.cause(), "LireDureesSaisie");
    } catch (const std::exception& error) {
        return FailDatabase(error.what(), "LireDureesSaisie");
    }
    out = sums;
    return true;
}

bool CDataAccess::LireInfoInterview(short field, std::vector<db::Value>& out) {
    out.clear();
    if (!RequireReadable("LireInfoInterview"))
        return false;
    CQuestionNiveau* interviews = nullptr;
    if (!LoadLevel(0, interviews))
        return false;
    std::vector<db::Value> values(static_cast<std::size_t>(interviews->GetNbreEnregistrements()));
    try {
        ResponseTableScan scan(*m_database, kInterviewTable);
        const char* name = InterviewFieldName(field);
        const bool wholeKey = name != nullptr && std::string_view(name) == "Cle1";
        std::optional<int> handle;
        if (name != nullptr && !wholeKey) {
            // A file without the field has no value to give: every interview reads Null.
            const int found = scan.AddField(name);
            if (found < 0) {
                out = std::move(values);
                return true;
            }
            handle = found;
        }
        InterviewFieldReader reader(*interviews, values, handle, wholeKey);
        scan.AddReader(reader);
        scan.Run();
    } catch (const db::DbException& error) {
        return FailDatabase(error.cause(), "LireInfoInterview");
    } catch (const std::exception& error) {
        return FailDatabase(error.what(), "LireInfoInterview");
    }
    out = std::move(values);
    return true;
}

// ---- The inverted files ------------------------------------------------------------------------
// A file that cannot be used (missing, truncated, of another survey) answers false, and the
// answers are then read from the response tables.

// The answers that named no modality when the file was written are absent from its cells: the
// record of the inverted files keeps their number, reported as a read of the tables reports it.
bool CDataAccess::ReadInvertedClosed(CQuestionEtendue& question, CMatriceCodes*& out) {
    CEnquete& survey = *GetEnquete();
    CInvertedFiles files(survey);
    if (!files.LireFichierFermees(question, out))
        return false;
    const InvertedFilesFingerprint::Entry* recorded =
        survey.GetInvertedFilesFingerprint().Expected(files.NomFichierQuestion(question));
    if (recorded != nullptr)
        ReportUnknownAnswers(question, static_cast<std::int64_t>(std::min<std::uint64_t>(
                                           recorded->unknownAnswers, std::numeric_limits<std::int64_t>::max())));
    return true;
}

bool CDataAccess::ReadInvertedValues(CQuestionEtendue& question, CVecteurDouble*& out) {
    return CInvertedFiles(*GetEnquete()).LireFichierValeurs(question, out);
}

bool CDataAccess::ReadInvertedLevel(const CQuestionNiveau& level, CRecordKeys& keys) {
    return CInvertedFiles(*GetEnquete()).LireFichierNiveau(level, keys);
}

// ---- Record keys ---------------------------------------------------------------------------------

bool CDataAccess::ChargerClesNiveau(const CQuestionNiveau& level, CRecordKeys& keys) {
    keys.clear();
    if (UsesInvertedFiles() && ReadInvertedLevel(level, keys))
        return true;
    keys.clear();
    if (!IsOpen()) {
        m_levelErrorText = GetErrorText();
        return false;
    }
    try {
        ReadKeys(level, keys);
        return true;
    } catch (const db::DbException& error) {
        m_levelErrorText = DatabaseError(error, m_path, "ChargerClesNiveau");
    } catch (const std::exception& error) {
        m_levelErrorText = DatabaseError(error.what(), "ChargerClesNiveau");
    }
    keys.clear();
    return false;
}

namespace {

// Every record's key (the table gives them in key order; a table that does not is put in order
// at the end); a record whose "Completed" is false is skipped when asked.
class KeyReader : public ResponseTableScan::Reader {
public:
    KeyReader(CRecordKeys& keys, std::optional<int> completed, std::string table)
        : m_keys(keys), m_completed(completed), m_table(std::move(table)) {}
    void Read(const ResponseTableScan::Record& record) override {
        if (m_completed) {
            const db::Value value = record.Value(*m_completed);
            if (!value.isNull() && !value.toBool())
                return;
        }
        m_keys.Append(record.Keys());
        if (m_inOrder && !m_keys.LastInOrder()) {
            m_inOrder = false;
            if (m_keys.size() >= 2 && std::equal(m_keys.Key(m_keys.size() - 2), m_keys.Key(m_keys.size() - 1),
                                                 m_keys.Key(m_keys.size() - 1)))
                Repeated(record.Number());
        }
    }
    // Puts the keys in order when the table did not give them so.
    void Finish() {
        if (!m_inOrder && !m_keys.SortAndCheckUnique())
            Repeated(-1);
    }

private:
    // Two records of one key would be counted as one interview with the answers of both.
    [[noreturn]] void Repeated(long long record) const {
        const std::string which = record >= 0 ? "l'enregistrement " + std::to_string(record + 1) : "un enregistrement";
        throw db::DbException("read keys", which + " de la table '" + m_table + "' répète la clé d'un autre enregistrement");
    }

    CRecordKeys& m_keys;
    std::optional<int> m_completed;
    std::string m_table;
    bool m_inOrder = true;
};

} // namespace

void CDataAccess::ReadKeys(const CQuestionNiveau& level, CRecordKeys& keys) {
    const int table = level.levelTable;
    ResponseTableScan scan(*m_database, table);
    const int keyLength = level.depth + 1;
    if (keyLength > scan.KeyFieldCount())
        throw db::DbException("read keys", "no field named '" + NomCle(scan.KeyFieldCount() + 1) + "' in table '" +
                                               scan.TableName() + "'");
    const CEnquete* survey = GetEnquete();
    std::optional<int> completed;
    if (table == kInterviewTable && survey != nullptr && survey->UseCompletedOnly) {
        const int field = scan.AddField(kCompleted);
        if (field >= 0)
            completed = field;
    }
    // The threads' connections read the state this one reads only while the survey holds one.
    const bool oneState = survey != nullptr && survey->GetCommittedState().Shared();
    if (!completed && oneState &&
        ParallelKeyScan::Read(*m_database, scan.TableName(), keyLength, keys, WorkerPool::Shared()))
        return;
    keys.Reset(keyLength);
    KeyReader reader(keys, completed, scan.TableName());
    scan.AddReader(reader);
    scan.Run();
    reader.Finish();
}

bool CDataAccess::ReadRecordKeys(const CQuestionNiveau& level, int, CRecordKeys& keys, std::string& error) {
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

bool CDataAccess::ExisteTable(std::string_view name) {
    return IsOpen() && m_database->tableExists(name);
}

int CDataAccess::NombreTablesReponse() {
    int count = 0;
    while (ExisteTable(NomTableReponse(count + 1)))
        ++count;
    return count;
}

int CDataAccess::ProfondeurTable(int number) {
    if (!ExisteTable(NomTableReponse(number)))
        return -1;
    int depth = 0;
    while (m_database->fieldExists(NomTableReponse(number), NomCle(depth + 2)))
        ++depth;
    return depth;
}
