#include "tools/qesbuild/RecordWriter.h"

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <stdexcept>

namespace qesbuild {

namespace {

constexpr const char* kInterviewFields[] = {"CodeEnqueteur", "DebutInterview", "FinInterview", "LanguageId",
                                            "Completed"};

// "code;order" read back; none when the name is not of that form.
std::optional<std::pair<std::int32_t, int>> AnswerField(const std::string& name) {
    const auto semicolon = name.find(';');
    if (semicolon == std::string::npos)
        return std::nullopt;
    std::int32_t code = 0;
    int order = 0;
    const char* begin = name.data();
    const char* middle = begin + semicolon;
    const char* end = begin + name.size();
    const auto codeRead = std::from_chars(begin, middle, code);
    const auto orderRead = std::from_chars(middle + 1, end, order);
    if (codeRead.ec != std::errc() || codeRead.ptr != middle || orderRead.ec != std::errc() ||
        orderRead.ptr != end || semicolon == 0 || middle + 1 == end)
        return std::nullopt;
    return std::make_pair(code, order);
}

int KeyCountOf(const db::Database& database, int table) {
    int count = 0;
    while (
        database.fieldExists(CDBStructure::ResponseTableName(table), CDBStructure::KeyFieldName(count + 1)))
        ++count;
    return count;
}

} // namespace

RecordWriter::RecordWriter(db::Database& database, const CQuestionnaire& questionnaire,
                           std::optional<std::int32_t> loopCode, const std::vector<std::string>& columns) {
    // The level: its first table, and every table its questions' answers lie in.
    int levelTable = 1;
    if (loopCode) {
        const auto loop = std::find_if(questionnaire.questions.begin(), questionnaire.questions.end(),
                                       [&](const auto& q) { return q->kind == 2 && q->code == *loopCode; });
        if (loop == questionnaire.questions.end())
            throw std::invalid_argument("no loop has the code " + std::to_string(*loopCode));
        if ((*loop)->loopWithoutLevel)
            throw std::invalid_argument("the loop " + std::to_string(*loopCode) + " has no level of its own");
        levelTable = (*loop)->levelTable;
    }
    std::set<int> numbers{levelTable};
    for (const auto& question : questionnaire.questions) {
        if (question->kind != 1 || question->levelTable != levelTable)
            continue;
        numbers.insert(question->responseTable);
        numbers.insert(question->tablePerOrder.begin(), question->tablePerOrder.end());
    }
    keyCount_ = KeyCountOf(database, levelTable);
    for (int number : numbers) {
        Table table;
        table.number = number;
        table.records = std::make_unique<db::Recordset>(database, CDBStructure::ResponseTableName(number));
        for (int key = 1; key <= keyCount_; ++key)
            table.keyFields.push_back(table.records->fieldIndex(CDBStructure::KeyFieldName(key)));
        tables_.push_back(std::move(table));
    }
    const auto tableIndex = [&](int number) {
        return static_cast<std::size_t>(
            std::find_if(tables_.begin(), tables_.end(), [&](const Table& t) { return t.number == number; }) -
            tables_.begin());
    };

    for (const std::string& name : columns) {
        Column column;
        column.name = name;
        int number = levelTable;
        bool found = false;
        for (int key = 1; key <= keyCount_ && !found; ++key) {
            if (name == CDBStructure::KeyFieldName(key)) {
                column.keyPosition = key;
                found = true;
            }
        }
        if (!found && name == "Ordre" && keyCount_ > 1)
            found = true;
        if (!found && levelTable == 1)
            found = std::find(std::begin(kInterviewFields), std::end(kInterviewFields), name) !=
                    std::end(kInterviewFields);
        if (!found) {
            const auto answer = AnswerField(name);
            if (!answer)
                throw std::invalid_argument("field \"" + name +
                                            "\" is neither a key, an interview field of this level "
                                            "nor an answer field code;order");
            const auto question =
                std::find_if(questionnaire.questions.begin(), questionnaire.questions.end(),
                             [&](const auto& q) { return q->kind == 1 && q->code == answer->first; });
            if (question == questionnaire.questions.end())
                throw std::invalid_argument("field \"" + name +
                                            "\" names no question (no question has the code " +
                                            std::to_string(answer->first) + ")");
            const CQuestion& q = **question;
            if (q.levelTable != levelTable)
                throw std::invalid_argument("field \"" + name + "\": question " + q.name +
                                            " is not at this level");
            if (answer->second < 0 || answer->second > q.answerCount)
                throw std::invalid_argument("field \"" + name + "\": question " + q.name +
                                            " has orders 0 .. " + std::to_string(q.answerCount));
            const auto order = static_cast<std::size_t>(answer->second);
            number =
                order >= 1 && order <= q.tablePerOrder.size() ? q.tablePerOrder[order - 1] : q.responseTable;
        }
        column.table = tableIndex(number);
        db::Recordset& records = *tables_[column.table].records;
        column.field = records.fieldIndex(name);
        column.type = records.fields()[static_cast<std::size_t>(column.field)].type;
        columns_.push_back(std::move(column));
    }
    for (int key = 1; key <= keyCount_; ++key) {
        const bool given = std::any_of(columns_.begin(), columns_.end(),
                                       [&](const Column& c) { return c.keyPosition == key; });
        if (!given)
            throw std::invalid_argument("the key field \"" + CDBStructure::KeyFieldName(key) +
                                        "\" is missing");
    }
}

RecordWriter::~RecordWriter() = default;

void RecordWriter::Insert(const std::vector<db::Value>& row) {
    if (row.size() != columns_.size())
        throw db::DbException("RecordWriter::Insert", "a record of " + std::to_string(row.size()) +
                                                          " values for " + std::to_string(columns_.size()) +
                                                          " fields");
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        Table& table = tables_[t];
        table.records->addNew();
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const Column& column = columns_[c];
            if (column.keyPosition > 0) {
                if (row[c].isNull())
                    throw db::DbException("RecordWriter::Insert",
                                          "the key field \"" + column.name + "\" is empty");
                table.records->setValue(table.keyFields[static_cast<std::size_t>(column.keyPosition - 1)],
                                        row[c]);
            } else if (column.table == t) {
                table.records->setValue(column.field, row[c]);
            }
        }
        table.records->update();
    }
}

} // namespace qesbuild
