#include "platform/questionnaire/DBStructure.h"

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"
#include "platform/questionnaire/Questionnaire.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <system_error>

namespace {

using db::FieldType;

int gNewestMajor = 4;
int gNewestMinor = 4;

constexpr int kOldestVersion = 400;
constexpr int kNewestReadableVersion = 405;
constexpr int kFirstVersionWithLanguages = 401;
constexpr const char* kPrimaryKey = "PrimaryKey";

// The structure tables, declared once: their fields in order and the fields of their primary
// index. The "Language" table exists from version 401 on.
struct StructureTable {
    const char* name;
    std::vector<db::FieldDefinition> fields;
    std::vector<const char*> key;
    int firstVersion;
};

const std::vector<StructureTable>& StructureTables() {
    static const std::vector<StructureTable> tables = {
        {"Questionnaire",
         {{"Name", FieldType::Text, 255},
          {"MajorVersion", FieldType::Integer},
          {"MinorVersion", FieldType::Integer},
          {"Language", FieldType::Long},
          {"IsLevelLink", FieldType::Boolean}},
         {},
         kOldestVersion},
        {"Language",
         {{"Position", FieldType::Integer}, {"LanguageId", FieldType::Long}, {"Name", FieldType::Text, 255}},
         {"Position"},
         kFirstVersionWithLanguages},
        {"QuestionClass",
         {{"Position", FieldType::Integer}, {"Code", FieldType::Long}, {"Name", FieldType::Text, 255}},
         {"Position"},
         kOldestVersion},
        {"Version",
         {{"Position", FieldType::Integer}, {"Code", FieldType::Long}, {"Name", FieldType::Text, 255}},
         {"Position"},
         kOldestVersion},
        {"Question",
         {{"Position", FieldType::Long},
          {"Code", FieldType::Long},
          {"Name", FieldType::Text, 255},
          {"Depth", FieldType::Integer},
          {"Kind", FieldType::Integer},
          {"ClassAttribute", FieldType::Integer},
          {"Type", FieldType::Integer},
          {"TypeFlag", FieldType::Boolean},
          {"DateKind", FieldType::Integer},
          {"QuestionClass", FieldType::Long},
          {"AnswerCount", FieldType::Integer},
          {"MultipleAnswers", FieldType::Boolean},
          {"HasNoAnswer", FieldType::Long},
          {"Ranking", FieldType::Long},
          {"LowerBound", FieldType::Double},
          {"UpperBound", FieldType::Double},
          {"ResponseTable", FieldType::Long},
          {"LevelTable", FieldType::Long},
          {"InUse", FieldType::Boolean},
          {"InUseForAnalysis", FieldType::Boolean},
          {"SemiOpen", FieldType::Boolean},
          {"LoopWithoutLevel", FieldType::Boolean},
          {"LoopSharesLevel", FieldType::Boolean},
          {"SharedLevelCode", FieldType::Long},
          {"ExpandIterations", FieldType::Boolean}},
         {"Position"},
         kOldestVersion},
        {"AnswerTable",
         {{"Question", FieldType::Long},
          {"AnswerOrder", FieldType::Integer},
          {"TableNumber", FieldType::Long}},
         {"Question", "AnswerOrder"},
         kOldestVersion},
        {"QuestionCaption",
         {{"Question", FieldType::Long},
          {"LanguageId", FieldType::Long},
          {"ShortCaption", FieldType::Memo},
          {"LongCaption", FieldType::Memo}},
         {"Question", "LanguageId"},
         kOldestVersion},
        {"Modalite",
         {{"Question", FieldType::Long},
          {"Position", FieldType::Integer},
          {"Code", FieldType::Long},
          {"Value", FieldType::Double}},
         {"Question", "Position"},
         kOldestVersion},
        {"ModaliteCaption",
         {{"Question", FieldType::Long},
          {"Modalite", FieldType::Integer},
          {"LanguageId", FieldType::Long},
          {"Caption", FieldType::Memo}},
         {"Question", "Modalite", "LanguageId"},
         kOldestVersion},
        {"SemiOpen",
         {{"Question", FieldType::Long},
          {"Position", FieldType::Integer},
          {"Id", FieldType::Long},
          {"Kind", FieldType::Integer},
          {"ModaliteCode", FieldType::Long}},
         {"Question", "Position"},
         kOldestVersion},
        {"SemiOpenCaption",
         {{"Question", FieldType::Long},
          {"SemiOpen", FieldType::Integer},
          {"LanguageId", FieldType::Long},
          {"Caption", FieldType::Memo}},
         {"Question", "SemiOpen", "LanguageId"},
         kOldestVersion},
        {"Interviewer",
         {{"Position", FieldType::Long},
          {"Code", FieldType::Long},
          {"Name", FieldType::Text, 255},
          {"Text", FieldType::Text, 255}},
         {"Position"},
         kOldestVersion},
    };
    return tables;
}

db::TableDefinition DefinitionOf(const StructureTable& table) {
    db::TableDefinition definition{table.name, table.fields, {}};
    if (!table.key.empty()) {
        db::IndexDefinition index{kPrimaryKey, {}, true, true};
        for (const char* field : table.key)
            index.fields.push_back({field, false});
        definition.indexes.push_back(std::move(index));
    }
    return definition;
}

// A recordset walking a table in primary-key order.
class OrderedTable {
public:
    OrderedTable(db::Database& database, const char* table) : records_(database, table) {
        records_.setCurrentIndex(kPrimaryKey);
    }
    db::Recordset& operator*() { return records_; }
    db::Recordset* operator->() { return &records_; }

private:
    db::Recordset records_;
};

void DeleteEveryRecord(db::Database& database, const char* table) {
    db::Recordset records(database, table);
    while (!records.isEOF()) {
        records.deleteCurrent();
        records.moveNext();
    }
}

[[noreturn]] void Corrupt(const std::string& text) {
    throw db::DbException("CDBStructure", text);
}

// A whole-number field of a structure table, Null reading as 0. A fraction would be rounded and
// a number beyond the model's field cut to its 16 or 32 bits: either would read the file as
// another questionnaire than the one it holds, so the file is refused instead.
long long WholeField(const db::Recordset& records, std::string_view field,
                     long long minimum = std::numeric_limits<long long>::min(),
                     long long maximum = std::numeric_limits<long long>::max()) {
    const db::Value stored = records.storedValue(field);
    if (stored.isNull())
        return 0;
    long long number = 0;
    if (stored.toWholeNumber(number) != db::Value::Whole::Exact || number < minimum || number > maximum)
        Corrupt("la valeur « " + stored.toText() + " » du champ « " + std::string(field) + " » de la table « " +
                records.table() + " » n'est pas un nombre entier de " + std::to_string(minimum) + " à " +
                std::to_string(maximum));
    return number;
}

template <class Integer> Integer AsWhole(const db::Recordset& records, std::string_view field) {
    return static_cast<Integer>(WholeField(records, field, std::numeric_limits<Integer>::min(),
                                           std::numeric_limits<Integer>::max()));
}
std::int16_t AsInt16(const db::Recordset& records, std::string_view field) {
    return AsWhole<std::int16_t>(records, field);
}
std::int32_t AsInt32(const db::Recordset& records, std::string_view field) {
    return AsWhole<std::int32_t>(records, field);
}
std::uint16_t AsUInt16(const db::Recordset& records, std::string_view field) {
    return AsWhole<std::uint16_t>(records, field);
}

// The position in "Question" of each question of the questionnaire, in order; the file must hold
// exactly the questionnaire's questions.
std::map<long long, std::size_t> QuestionIndexByPosition(db::Database& database,
                                                         const CQuestionnaire& questionnaire) {
    std::map<long long, std::size_t> indexes;
    OrderedTable questions(database, "Question");
    for (; !questions->isEOF(); questions->moveNext())
        indexes.emplace(WholeField(*questions, "Position"), indexes.size());
    if (indexes.size() != questionnaire.questions.size())
        Corrupt("le questionnaire ne correspond pas aux questions du fichier (" +
                std::to_string(indexes.size()) + " questions dans le fichier, " +
                std::to_string(questionnaire.questions.size()) + " lues)");
    return indexes;
}

CQuestion& QuestionAt(const CQuestionnaire& questionnaire, const std::map<long long, std::size_t>& indexes,
                      long long position, const char* table) {
    const auto found = indexes.find(position);
    if (found == indexes.end())
        Corrupt(std::string("la table « ") + table + " » désigne la question " + std::to_string(position) +
                " qui n'existe pas");
    return *questionnaire.questions[found->second];
}

void ReadCaption(const db::Recordset& records, const char* field, std::int32_t language,
                 std::map<std::int32_t, std::string>& captions) {
    const db::Value text = records.value(field);
    if (!text.isNull())
        captions[language] = text.toText();
}

void WriteCaptions(db::Recordset& records, long long question,
                   const std::map<std::int32_t, std::string>& shortCaptions,
                   const std::map<std::int32_t, std::string>& longCaptions) {
    std::set<std::int32_t> languages;
    for (const auto& [language, text] : shortCaptions)
        languages.insert(language);
    for (const auto& [language, text] : longCaptions)
        languages.insert(language);
    for (std::int32_t language : languages) {
        records.addNew();
        records.setValue("Question", question);
        records.setValue("LanguageId", language);
        if (const auto text = shortCaptions.find(language); text != shortCaptions.end())
            records.setValue("ShortCaption", text->second);
        if (const auto text = longCaptions.find(language); text != longCaptions.end())
            records.setValue("LongCaption", text->second);
        records.update();
    }
}

void WriteItemCaptions(db::Recordset& records, long long question, const char* itemField, long long item,
                       const std::map<std::int32_t, std::string>& captions) {
    for (const auto& [language, text] : captions) {
        records.addNew();
        records.setValue("Question", question);
        records.setValue(itemField, item);
        records.setValue("LanguageId", language);
        records.setValue("Caption", text);
        records.update();
    }
}

void WriteQuestion(db::Recordset& records, long long position, const CQuestion& q) {
    records.addNew();
    records.setValue("Position", position);
    records.setValue("Code", q.code);
    records.setValue("Name", q.name);
    records.setValue("Depth", q.depth);
    records.setValue("Kind", q.kind);
    records.setValue("ClassAttribute", q.classAttribute);
    records.setValue("Type", q.type);
    records.setValue("TypeFlag", q.typeFlag);
    records.setValue("DateKind", q.dateKind);
    records.setValue("QuestionClass", q.questionClass);
    records.setValue("AnswerCount", q.answerCount);
    records.setValue("MultipleAnswers", q.multipleAnswers);
    records.setValue("HasNoAnswer", q.hasNoAnswer);
    records.setValue("Ranking", q.ranking);
    records.setValue("LowerBound", q.lowerBound);
    records.setValue("UpperBound", q.upperBound);
    records.setValue("ResponseTable", q.responseTable);
    records.setValue("LevelTable", q.levelTable);
    records.setValue("InUse", q.inUse);
    records.setValue("InUseForAnalysis", q.inUseForAnalysis);
    records.setValue("SemiOpen", q.semiOpen);
    records.setValue("LoopWithoutLevel", q.loopWithoutLevel);
    records.setValue("LoopSharesLevel", q.loopSharesLevel);
    records.setValue("SharedLevelCode", q.sharedLevelCode);
    records.setValue("ExpandIterations", q.expandIterations);
    records.update();
}

std::unique_ptr<CQuestion> ReadQuestion(const db::Recordset& records) {
    auto q = std::make_unique<CQuestion>();
    q->code = AsInt32(records, "Code");
    q->name = records.value("Name").toText();
    q->depth = AsInt16(records, "Depth");
    q->kind = AsInt16(records, "Kind");
    q->classAttribute = AsInt16(records, "ClassAttribute");
    q->type = AsInt16(records, "Type");
    q->typeFlag = records.value("TypeFlag").toBool();
    q->dateKind = AsInt16(records, "DateKind");
    q->questionClass = AsInt32(records, "QuestionClass");
    q->answerCount = AsInt16(records, "AnswerCount");
    q->multipleAnswers = records.value("MultipleAnswers").toBool();
    q->hasNoAnswer = AsInt32(records, "HasNoAnswer");
    q->ranking = AsInt32(records, "Ranking");
    q->lowerBound = records.value("LowerBound").toDouble();
    q->upperBound = records.value("UpperBound").toDouble();
    q->responseTable = AsUInt16(records, "ResponseTable");
    q->levelTable = AsUInt16(records, "LevelTable");
    q->inUse = records.value("InUse").toBool();
    q->inUseForAnalysis = records.value("InUseForAnalysis").toBool();
    q->semiOpen = records.value("SemiOpen").toBool();
    q->loopWithoutLevel = records.value("LoopWithoutLevel").toBool();
    q->loopSharesLevel = records.value("LoopSharesLevel").toBool();
    q->sharedLevelCode = AsInt32(records, "SharedLevelCode");
    q->expandIterations = records.value("ExpandIterations").toBool();
    return q;
}

// ---------------------------------------------------------------------------------------------
// Where the answers go: the response tables and the table of every answer order.

// The answer fields' type by question type; order 0 (the entry duration) is always Long.
FieldType AnswerFieldType(std::int16_t questionType) {
    struct TypeOfAnswers {
        std::int16_t questionType;
        FieldType fieldType;
    };
    static constexpr TypeOfAnswers kTypes[] = {
        {1, FieldType::Long},   {6, FieldType::Long}, {7, FieldType::Long},
        {5, FieldType::Double}, {3, FieldType::Date}, {4, FieldType::Memo},
    };
    for (const TypeOfAnswers& entry : kTypes)
        if (entry.questionType == questionType)
            return entry.fieldType;
    return FieldType::Long;
}

const std::vector<db::FieldDefinition>& InterviewFields() {
    static const std::vector<db::FieldDefinition> fields = {
        {"CodeEnqueteur", FieldType::Long}, {"DebutInterview", FieldType::Date},
        {"FinInterview", FieldType::Date},  {"LanguageId", FieldType::Long},
        {"Completed", FieldType::Boolean},
    };
    return fields;
}

struct PlannedTable {
    int number = 0;
    int keyCount = 1;
    std::vector<db::FieldDefinition> fields; // keys and fixed fields first
};

struct Placement {
    std::uint16_t responseTable = 1;
    std::uint16_t levelTable = 1;
    std::vector<std::uint16_t> tablePerOrder;
};

class ResponsePlan {
public:
    std::vector<PlannedTable> tables;
    std::vector<Placement> placements; // one per question, in order

    explicit ResponsePlan(const CQuestionnaire& questionnaire) {
        levels_.push_back({0, {NewTable(1)}});
        PlanItems(questionnaire);
    }

private:
    struct Level {
        int depth;
        std::vector<std::size_t> tables; // indexes in `tables`, the last one being filled
    };
    struct OpenLoop {
        std::int16_t itemDepth;
        std::size_t level;
    };

    std::size_t NewTable(int keyCount) {
        PlannedTable table;
        table.number = static_cast<int>(tables.size()) + 1;
        table.keyCount = keyCount;
        for (int key = 1; key <= keyCount; ++key)
            table.fields.push_back({CDBStructure::KeyFieldName(key), FieldType::Long});
        if (keyCount > 1)
            table.fields.push_back({"Ordre", FieldType::Integer});
        if (table.number == 1)
            table.fields.insert(table.fields.end(), InterviewFields().begin(), InterviewFields().end());
        tables.push_back(std::move(table));
        return tables.size() - 1;
    }

    std::uint16_t FirstTableNumber(std::size_t level) const {
        return static_cast<std::uint16_t>(tables[levels_[level].tables.front()].number);
    }

    // The table of the level with room for `count` more fields.
    PlannedTable& TableWithRoom(std::size_t level, int count) {
        Level& current = levels_[level];
        if (static_cast<int>(tables[current.tables.back()].fields.size()) + count >
            CDBStructure::kMaxFieldsPerTable)
            current.tables.push_back(NewTable(current.depth + 1));
        return tables[current.tables.back()];
    }

    std::size_t LevelOfLoop(const CQuestion& loop, std::size_t enclosing) {
        if (loop.loopSharesLevel && loop.sharedLevelCode != 0) {
            if (const auto shared = loopLevels_.find(loop.sharedLevelCode); shared != loopLevels_.end())
                return shared->second;
        }
        if (const auto same = loopLevels_.find(loop.code); same != loopLevels_.end())
            return same->second;
        const int depth = levels_[enclosing].depth + 1;
        levels_.push_back({depth, {NewTable(depth + 1)}});
        loopLevels_.emplace(loop.code, levels_.size() - 1);
        return levels_.size() - 1;
    }

    void PlaceAnswers(const CQuestion& question, std::size_t level, Placement& placement) {
        if (!answerCodes_.insert(question.code).second)
            Corrupt("deux questions portent le code " + std::to_string(question.code) +
                    " : leurs réponses iraient dans les mêmes champs");
        const FieldType type = AnswerFieldType(question.type);
        PlannedTable& first = TableWithRoom(level, question.answerCount >= 1 ? 2 : 1);
        first.fields.push_back({CDBStructure::AnswerFieldName(question.code, 0), FieldType::Long});
        placement.responseTable = static_cast<std::uint16_t>(first.number);
        std::vector<std::uint16_t> perOrder;
        if (question.answerCount >= 1) {
            first.fields.push_back({CDBStructure::AnswerFieldName(question.code, 1), type});
            perOrder.push_back(placement.responseTable);
        }
        for (int order = 2; order <= question.answerCount; ++order) {
            PlannedTable& table = TableWithRoom(level, 1);
            table.fields.push_back({CDBStructure::AnswerFieldName(question.code, order), type});
            perOrder.push_back(static_cast<std::uint16_t>(table.number));
        }
        const bool spread = std::any_of(perOrder.begin(), perOrder.end(), [&](std::uint16_t table) {
            return table != placement.responseTable;
        });
        if (spread)
            placement.tablePerOrder = std::move(perOrder);
    }

    void PlanItems(const CQuestionnaire& questionnaire) {
        std::vector<OpenLoop> loops;
        for (const auto& item : questionnaire.questions) {
            while (!loops.empty() && loops.back().itemDepth >= item->depth)
                loops.pop_back();
            const std::size_t level = loops.empty() ? 0 : loops.back().level;
            Placement placement;
            placement.responseTable = placement.levelTable = FirstTableNumber(level);
            if (item->kind == 2) {
                const std::size_t loopLevel = item->loopWithoutLevel ? level : LevelOfLoop(*item, level);
                placement.levelTable = FirstTableNumber(loopLevel);
                loops.push_back({item->depth, loopLevel});
            } else if (item->kind == 1 && item->type != 8) {
                PlaceAnswers(*item, level, placement);
            }
            placements.push_back(std::move(placement));
        }
    }

    std::vector<Level> levels_;
    std::map<std::int32_t, std::size_t> loopLevels_;
    std::set<std::int32_t> answerCodes_;
};

void CreateOrCompleteTable(db::Database& database, const PlannedTable& table) {
    const std::string name = CDBStructure::ResponseTableName(table.number);
    if (!database.tableExists(name)) {
        db::IndexDefinition key{kPrimaryKey, {}, true, true};
        for (int position = 1; position <= table.keyCount; ++position)
            key.fields.push_back({CDBStructure::KeyFieldName(position), false});
        database.createTable({name, table.fields, {key}});
        return;
    }
    for (const db::FieldDefinition& field : table.fields)
        CDBStructure::VerifyCreateField(false, database, name, field.name, field.type, field.textSize);
}

// Stores the table numbers of the plan into "Question" and "AnswerTable".
void StorePlacements(db::Database& database, const ResponsePlan& plan) {
    OrderedTable questions(database, "Question");
    std::vector<long long> positions;
    for (std::size_t i = 0; !questions->isEOF(); questions->moveNext(), ++i) {
        if (i >= plan.placements.size())
            Corrupt("le fichier contient plus de questions que le questionnaire : enregistrez-le d'abord");
        positions.push_back(questions->value("Position").toInteger());
        const Placement& placement = plan.placements[i];
        if (questions->value("ResponseTable").toInteger() == placement.responseTable &&
            questions->value("LevelTable").toInteger() == placement.levelTable)
            continue;
        questions->edit();
        questions->setValue("ResponseTable", placement.responseTable);
        questions->setValue("LevelTable", placement.levelTable);
        questions->update();
    }
    if (positions.size() != plan.placements.size())
        Corrupt("le fichier contient moins de questions que le questionnaire : enregistrez-le d'abord");

    DeleteEveryRecord(database, "AnswerTable");
    db::Recordset answerTables(database, "AnswerTable");
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const auto& perOrder = plan.placements[i].tablePerOrder;
        for (std::size_t order = 1; order <= perOrder.size(); ++order) {
            answerTables.addNew();
            answerTables.setValue("Question", positions[i]);
            answerTables.setValue("AnswerOrder", static_cast<long long>(order));
            answerTables.setValue("TableNumber", perOrder[order - 1]);
            answerTables.update();
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

CDBStructure::CDBStructure(std::string path) : path_(std::move(path)) {}

CDBStructure::~CDBStructure() = default;

std::string CDBStructure::ResponseTableName(int number) {
    return "VEL Reponse" + std::to_string(number);
}

std::string CDBStructure::KeyFieldName(int position) {
    return "Cle" + std::to_string(position);
}

std::string CDBStructure::AnswerFieldName(std::int32_t code, int order) {
    return std::to_string(code) + ";" + std::to_string(order);
}

void CDBStructure::GetNewestFileVersion(int& major, int& minor) {
    major = gNewestMajor;
    minor = gNewestMinor;
}

void CDBStructure::SetNewestFileVersion(int major, int minor) {
    gNewestMajor = major;
    gNewestMinor = minor;
}

bool CDBStructure::Fail(const std::string& text) {
    errorText_ = text;
    return false;
}

template <class Job> bool CDBStructure::Run(Job&& job) {
    try {
        job();
        errorText_.clear();
        return true;
    } catch (const db::DbException& error) {
        if (error.isBusy())
            return Fail("Le questionnaire '" + path_ +
                        "' est utilisé par un autre programme, qui ne l'a pas libéré après quelques secondes : "
                        "réessayez plus tard.");
        return Fail(error.cause());
    } catch (const std::bad_alloc&) {
        return Fail("Mémoire insuffisante");
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}

bool CDBStructure::RequireOpen() {
    if (database_)
        return true;
    return Fail("Le fichier « " + path_ + " » n'est pas ouvert.");
}

bool CDBStructure::RequireWritable() {
    if (!database_)
        return Open(false);
    if (database_->isReadOnly())
        return Fail("Le fichier « " + path_ + " » est ouvert en lecture seule.");
    return true;
}

void CDBStructure::DiscardCreatedFile() {
    if (!createdHere_)
        return;
    database_.reset();
    createdHere_ = false;
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

db::Database& CDBStructure::GetDatabase() {
    if (!database_)
        throw db::DbException("CDBStructure::GetDatabase", "Le fichier « " + path_ + " » n'est pas ouvert.");
    return *database_;
}

bool CDBStructure::Open(bool readOnly) {
    Close();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path_, error))
        return Fail(std::filesystem::exists(path_, error) ? "« " + path_ + " » n'est pas un fichier."
                                                          : "Le fichier « " + path_ + " » n'existe pas.");
    return Run([&] {
        auto database = OpenDatabase(readOnly);
        if (!database->tableExists("Questionnaire") || !database->tableExists("Question"))
            Corrupt("Le fichier « " + path_ +
                    " » n'est pas un fichier de questionnaire : les tables « Questionnaire » et « Question » "
                    "sont absentes.");
        database_ = std::move(database);
    });
}

// A questionnaire that cannot be written (a write-protected file, a read-only folder or medium)
// is said so in the program's words when a write needs it.
std::unique_ptr<db::Database> CDBStructure::OpenDatabase(bool readOnly) const {
    if (readOnly)
        return std::make_unique<db::Database>(path_, db::Database::Access::ReadOnly);
    try {
        return std::make_unique<db::Database>(path_, db::Database::Access::ReadWrite);
    } catch (const db::DbException& error) {
        if (!error.isReadOnly())
            throw;
        throw db::DbException(error.operation(),
                              "Le questionnaire '" + path_ + "' est en lecture seule : il ne peut pas être modifié.",
                              error.code());
    }
}

void CDBStructure::Close() {
    database_.reset();
    createdHere_ = false;
}

bool CDBStructure::LirePropriete(CQuestionnaire& questionnaire) {
    if (!RequireOpen())
        return false;
    return Run([&] {
        db::Recordset properties(*database_, "Questionnaire");
        if (properties.isEOF())
            Corrupt("La table « Questionnaire » est vide.");
        const int major = AsInt16(properties, "MajorVersion");
        const int minor = AsInt16(properties, "MinorVersion");
        const int version = major * 100 + minor;
        if (version < kOldestVersion || version > kNewestReadableVersion)
            Corrupt("La version " + std::to_string(version) + " du fichier n'est pas prise en charge (" +
                    std::to_string(kOldestVersion) + " à " + std::to_string(kNewestReadableVersion) + ").");
        std::vector<CQuestionClass> classes;
        for (OrderedTable records(*database_, "QuestionClass"); !records->isEOF(); records->moveNext())
            classes.push_back({AsInt32(*records, "Code"), records->value("Name").toText()});
        std::vector<CVersion> versions;
        for (OrderedTable records(*database_, "Version"); !records->isEOF(); records->moveNext())
            versions.push_back({AsInt32(*records, "Code"), records->value("Name").toText()});

        questionnaire.name = properties.value("Name").toText();
        questionnaire.majorVersion = major;
        questionnaire.minorVersion = minor;
        questionnaire.language = AsInt32(properties, "Language");
        questionnaire.questionClasses = std::move(classes);
        questionnaire.versions = std::move(versions);
    });
}

bool CDBStructure::ReadLanguages(CQuestionnaire& questionnaire) {
    if (!RequireOpen())
        return false;
    return Run([&] {
        if (!database_->tableExists("Language"))
            Corrupt("La table « Language » est absente (fichier antérieur à la version 401).");
        std::vector<CLanguage> languages;
        for (OrderedTable records(*database_, "Language"); !records->isEOF(); records->moveNext())
            languages.emplace_back(AsInt32(*records, "LanguageId"), records->value("Name").toText());
        questionnaire.languages = std::move(languages);
    });
}

bool CDBStructure::LireQuestions(CQuestionnaire& questionnaire, bool withCaptions) {
    if (!RequireOpen())
        return false;
    return Run([&] {
        std::vector<std::unique_ptr<CQuestion>> questions;
        std::map<long long, std::size_t> indexes;
        for (OrderedTable records(*database_, "Question"); !records->isEOF(); records->moveNext()) {
            if (!indexes.emplace(WholeField(*records, "Position"), questions.size()).second)
                Corrupt("la table « Question » donne deux fois la même position");
            questions.push_back(ReadQuestion(*records));
        }
        CQuestionnaire read; // lets the helpers find the questions by position
        read.questions = std::move(questions);
        for (OrderedTable records(*database_, "AnswerTable"); !records->isEOF(); records->moveNext()) {
            CQuestion& question = QuestionAt(read, indexes, WholeField(*records, "Question"), "AnswerTable");
            const long long order = WholeField(*records, "AnswerOrder");
            if (order < 1 || order > question.answerCount)
                Corrupt("la table « AnswerTable » donne l'ordre " + std::to_string(order) +
                        " à la question " + std::to_string(question.code));
            question.tablePerOrder.resize(
                std::max<std::size_t>(question.tablePerOrder.size(), static_cast<std::size_t>(order)),
                question.responseTable);
            question.tablePerOrder[static_cast<std::size_t>(order - 1)] =
                AsUInt16(*records, "TableNumber");
        }
        if (withCaptions) {
            for (OrderedTable records(*database_, "QuestionCaption"); !records->isEOF();
                 records->moveNext()) {
                CQuestion& question =
                    QuestionAt(read, indexes, WholeField(*records, "Question"), "QuestionCaption");
                const std::int32_t language = AsInt32(*records, "LanguageId");
                ReadCaption(*records, "ShortCaption", language, question.shortCaptions);
                ReadCaption(*records, "LongCaption", language, question.longCaptions);
            }
        }
        questionnaire.questions = std::move(read.questions);
    });
}

bool CDBStructure::LireModalites(CQuestionnaire& questionnaire, bool withCaptions) {
    if (!RequireOpen())
        return false;
    return Run([&] {
        const auto indexes = QuestionIndexByPosition(*database_, questionnaire);
        // Read everything aside first, so that a failure leaves the questions as they were.
        std::vector<std::vector<std::unique_ptr<CModalite>>> modalities(questionnaire.questions.size());
        std::map<std::pair<long long, long long>, CModalite*> byPosition;
        for (OrderedTable records(*database_, "Modalite"); !records->isEOF(); records->moveNext()) {
            const long long question = WholeField(*records, "Question");
            QuestionAt(questionnaire, indexes, question, "Modalite");
            auto& list = modalities[indexes.at(question)];
            auto modality = std::make_unique<CModalite>(AsInt32(*records, "Code"),
                                                        records->value("Value").toDouble());
            byPosition[{question, WholeField(*records, "Position")}] = modality.get();
            list.push_back(std::move(modality));
        }
        if (withCaptions) {
            for (OrderedTable records(*database_, "ModaliteCaption"); !records->isEOF();
                 records->moveNext()) {
                const auto found =
                    byPosition.find({WholeField(*records, "Question"), WholeField(*records, "Modalite")});
                if (found == byPosition.end())
                    Corrupt("la table « ModaliteCaption » désigne une modalité qui n'existe pas");
                ReadCaption(*records, "Caption", AsInt32(*records, "LanguageId"),
                            found->second->shortCaptions);
            }
        }
        for (std::size_t i = 0; i < modalities.size(); ++i)
            questionnaire.questions[i]->modalities = std::move(modalities[i]);
    });
}

bool CDBStructure::LireModalitesSemiOuvertes(CQuestionnaire& questionnaire) {
    if (!RequireOpen())
        return false;
    return Run([&] {
        const auto indexes = QuestionIndexByPosition(*database_, questionnaire);
        std::vector<std::vector<CSemiOpen>> semiOpens(questionnaire.questions.size());
        std::map<std::pair<long long, long long>, std::pair<std::size_t, std::size_t>> byPosition;
        for (OrderedTable records(*database_, "SemiOpen"); !records->isEOF(); records->moveNext()) {
            const long long question = WholeField(*records, "Question");
            QuestionAt(questionnaire, indexes, question, "SemiOpen");
            const std::size_t index = indexes.at(question);
            CSemiOpen semiOpen;
            semiOpen.id = AsInt32(*records, "Id");
            semiOpen.kind = AsInt16(*records, "Kind");
            semiOpen.modalityCode = AsInt32(*records, "ModaliteCode");
            byPosition[{question, WholeField(*records, "Position")}] = {
                index, semiOpens[index].size()};
            semiOpens[index].push_back(std::move(semiOpen));
        }
        for (OrderedTable records(*database_, "SemiOpenCaption"); !records->isEOF(); records->moveNext()) {
            const auto found =
                byPosition.find({WholeField(*records, "Question"), WholeField(*records, "SemiOpen")});
            if (found == byPosition.end())
                Corrupt("la table « SemiOpenCaption » désigne une réponse semi-ouverte qui n'existe pas");
            CSemiOpen& semiOpen = semiOpens[found->second.first][found->second.second];
            ReadCaption(*records, "Caption", AsInt32(*records, "LanguageId"), semiOpen.shortCaptions);
        }
        for (std::size_t i = 0; i < semiOpens.size(); ++i)
            questionnaire.questions[i]->semiOpens = std::move(semiOpens[i]);
    });
}

bool CDBStructure::GetAgentList(std::vector<std::int32_t>& codes, std::vector<std::string>& names,
                                std::vector<std::string>& texts) {
    if (!RequireOpen())
        return false;
    return Run([&] {
        std::vector<std::int32_t> readCodes;
        std::vector<std::string> readNames;
        std::vector<std::string> readTexts;
        if (database_->tableExists("Interviewer")) {
            for (OrderedTable records(*database_, "Interviewer"); !records->isEOF(); records->moveNext()) {
                readCodes.push_back(AsInt32(*records, "Code"));
                readNames.push_back(records->value("Name").toText());
                readTexts.push_back(records->value("Text").toText());
            }
        }
        codes = std::move(readCodes);
        names = std::move(readNames);
        texts = std::move(readTexts);
    });
}

bool CDBStructure::CreateDatabase(int version) {
    Close();
    if (version < kOldestVersion || version > kNewestReadableVersion)
        return Fail("La version " + std::to_string(version) + " ne peut pas être créée (" +
                    std::to_string(kOldestVersion) + " à " + std::to_string(kNewestReadableVersion) + ").");
    std::error_code error;
    if (std::filesystem::exists(path_, error))
        return Fail("Le fichier « " + path_ + " » existe déjà.");
    const bool created = Run([&] {
        database_ = std::make_unique<db::Database>(path_, db::Database::Access::ReadWrite,
                                                   db::Database::Creation::CreateIfMissing);
        createdHere_ = true;
        db::Transaction transaction(*database_);
        for (const StructureTable& table : StructureTables())
            if (version >= table.firstVersion)
                database_->createTable(DefinitionOf(table));
        db::Recordset properties(*database_, "Questionnaire");
        properties.addNew();
        properties.setValue("Name", std::string());
        properties.setValue("MajorVersion", version / 100);
        properties.setValue("MinorVersion", version % 100);
        properties.setValue("Language", 1036);
        properties.setValue("IsLevelLink", false);
        properties.update();
        transaction.commit();
    });
    if (!created)
        DiscardCreatedFile();
    return created;
}

bool CDBStructure::DoSaveQuestionnaire(CQuestionnaire* questionnaire) {
    if (questionnaire == nullptr)
        return Fail("Aucun questionnaire à enregistrer.");
    if (!RequireWritable())
        return false;
    const CQuestionnaire& q = *questionnaire;
    const bool saved = Run([&] {
        db::Database& database = *database_;
        db::Transaction transaction(database);
        const bool withLanguages = database.tableExists("Language");
        for (const StructureTable& table : StructureTables())
            if (std::string_view(table.name) != "Questionnaire" &&
                std::string_view(table.name) != "Interviewer" && database.tableExists(table.name))
                DeleteEveryRecord(database, table.name);

        db::Recordset properties(database, "Questionnaire");
        if (properties.isEOF())
            Corrupt("La table « Questionnaire » est vide.");
        properties.edit();
        properties.setValue("Name", q.name);
        properties.setValue("Language", q.language);
        properties.update();

        if (withLanguages) {
            db::Recordset languages(database, "Language");
            for (std::size_t i = 0; i < q.languages.size(); ++i) {
                languages.addNew();
                languages.setValue("Position", static_cast<long long>(i));
                languages.setValue("LanguageId", q.languages[i].id);
                languages.setValue("Name", q.languages[i].name);
                languages.update();
            }
        }
        db::Recordset classes(database, "QuestionClass");
        for (std::size_t i = 0; i < q.questionClasses.size(); ++i) {
            classes.addNew();
            classes.setValue("Position", static_cast<long long>(i));
            classes.setValue("Code", q.questionClasses[i].code);
            classes.setValue("Name", q.questionClasses[i].name);
            classes.update();
        }
        db::Recordset versions(database, "Version");
        for (std::size_t i = 0; i < q.versions.size(); ++i) {
            versions.addNew();
            versions.setValue("Position", static_cast<long long>(i));
            versions.setValue("Code", q.versions[i].code);
            versions.setValue("Name", q.versions[i].name);
            versions.update();
        }

        db::Recordset questions(database, "Question");
        db::Recordset answerTables(database, "AnswerTable");
        db::Recordset captions(database, "QuestionCaption");
        db::Recordset modalities(database, "Modalite");
        db::Recordset modalityCaptions(database, "ModaliteCaption");
        db::Recordset semiOpens(database, "SemiOpen");
        db::Recordset semiOpenCaptions(database, "SemiOpenCaption");
        for (std::size_t i = 0; i < q.questions.size(); ++i) {
            const CQuestion& question = *q.questions[i];
            const auto position = static_cast<long long>(i);
            WriteQuestion(questions, position, question);
            for (std::size_t order = 1; order <= question.tablePerOrder.size(); ++order) {
                answerTables.addNew();
                answerTables.setValue("Question", position);
                answerTables.setValue("AnswerOrder", static_cast<long long>(order));
                answerTables.setValue("TableNumber", question.tablePerOrder[order - 1]);
                answerTables.update();
            }
            WriteCaptions(captions, position, question.shortCaptions, question.longCaptions);
            for (std::size_t m = 0; m < question.modalities.size(); ++m) {
                const CModalite& modality = *question.modalities[m];
                modalities.addNew();
                modalities.setValue("Question", position);
                modalities.setValue("Position", static_cast<long long>(m));
                modalities.setValue("Code", modality.code);
                modalities.setValue("Value", modality.value);
                modalities.update();
                WriteItemCaptions(modalityCaptions, position, "Modalite", static_cast<long long>(m),
                                  modality.shortCaptions);
            }
            for (std::size_t s = 0; s < question.semiOpens.size(); ++s) {
                const CSemiOpen& semiOpen = question.semiOpens[s];
                semiOpens.addNew();
                semiOpens.setValue("Question", position);
                semiOpens.setValue("Position", static_cast<long long>(s));
                semiOpens.setValue("Id", semiOpen.id);
                semiOpens.setValue("Kind", semiOpen.kind);
                semiOpens.setValue("ModaliteCode", semiOpen.modalityCode);
                semiOpens.update();
                WriteItemCaptions(semiOpenCaptions, position, "SemiOpen", static_cast<long long>(s),
                                  semiOpen.shortCaptions);
            }
        }
        transaction.commit();
    });
    if (!saved)
        DiscardCreatedFile();
    return saved;
}

bool CDBStructure::VerifyResponseStructure(CQuestionnaire& questionnaire) {
    if (!RequireWritable())
        return false;
    std::optional<ResponsePlan> plan;
    const bool verified = Run([&] {
        plan.emplace(questionnaire);
        db::Transaction transaction(*database_);
        for (const PlannedTable& table : plan->tables)
            CreateOrCompleteTable(*database_, table);
        StorePlacements(*database_, *plan);
        transaction.commit();
    });
    if (!verified) {
        DiscardCreatedFile();
        return false;
    }
    for (std::size_t i = 0; i < questionnaire.questions.size(); ++i) {
        CQuestion& question = *questionnaire.questions[i];
        Placement& placement = plan->placements[i];
        question.responseTable = placement.responseTable;
        question.levelTable = placement.levelTable;
        question.tablePerOrder = std::move(placement.tablePerOrder);
    }
    return true;
}

bool CDBStructure::SaveAgentList(const std::vector<std::int32_t>& codes,
                                 const std::vector<std::string>& names,
                                 const std::vector<std::string>& texts) {
    if (codes.size() != names.size() || codes.size() != texts.size())
        return Fail("Les listes d'enquêteurs n'ont pas la même longueur.");
    if (!RequireWritable())
        return false;
    const bool saved = Run([&] {
        db::Transaction transaction(*database_);
        if (!database_->tableExists("Interviewer")) {
            for (const StructureTable& table : StructureTables())
                if (std::string_view(table.name) == "Interviewer")
                    database_->createTable(DefinitionOf(table));
        }
        DeleteEveryRecord(*database_, "Interviewer");
        db::Recordset interviewers(*database_, "Interviewer");
        for (std::size_t i = 0; i < codes.size(); ++i) {
            interviewers.addNew();
            interviewers.setValue("Position", static_cast<long long>(i));
            interviewers.setValue("Code", codes[i]);
            interviewers.setValue("Name", names[i]);
            interviewers.setValue("Text", texts[i]);
            interviewers.update();
        }
        transaction.commit();
    });
    if (!saved)
        DiscardCreatedFile();
    return saved;
}

bool CDBStructure::VerifyCreateField(bool replaceWrongType, db::Database& database, std::string_view table,
                                     std::string_view field, db::FieldType type, int size) {
    const std::optional<db::FieldInfo> existing = database.field(table, field);
    if (existing) {
        const bool sameType = existing->type == type &&
                              (type != FieldType::Text || existing->textSize == (size == 0 ? 255 : size));
        if (sameType || !replaceWrongType)
            return false;
        database.dropField(table, field);
    }
    database.addField(table, {std::string(field), type, type == FieldType::Text ? size : 0});
    return true;
}
