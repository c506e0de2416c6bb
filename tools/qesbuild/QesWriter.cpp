#include "tools/qesbuild/QesWriter.h"

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Transaction.h"
#include "platform/questionnaire/DBStructure.h"
#include "tools/qesbuild/CellValue.h"
#include "tools/qesbuild/FixtureError.h"

#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace qesbuild {

namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    std::filesystem::path temporary = target;
    temporary += ".partial-" + std::to_string(::getpid());
    return temporary;
}

void Check(bool done, const CDBStructure& file) {
    if (!done)
        throw std::runtime_error(file.GetErrorText());
}

} // namespace

QesWriter::QesWriter(std::filesystem::path target, CQuestionnaire& questionnaire, int fileVersion,
                     const std::vector<FixtureDescription::Interviewer>& interviewers)
    : target_(std::move(target)), temporary_(TemporaryBeside(target_)), questionnaire_(questionnaire) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    try {
        file_ = std::make_unique<CDBStructure>(temporary_.string());
        Check(file_->CreateDatabase(fileVersion), *file_);
        Check(file_->DoSaveQuestionnaire(&questionnaire), *file_);
        Check(file_->VerifyResponseStructure(questionnaire), *file_);
        std::vector<std::int32_t> codes;
        std::vector<std::string> names;
        std::vector<std::string> texts;
        for (const auto& interviewer : interviewers) {
            codes.push_back(interviewer.code);
            names.push_back(interviewer.name);
            texts.push_back(interviewer.text);
        }
        Check(file_->SaveAgentList(codes, names, texts), *file_);
        transaction_ = std::make_unique<db::Transaction>(file_->GetDatabase());
    } catch (...) {
        file_.reset();
        std::filesystem::remove(temporary_, ignored);
        throw;
    }
}

QesWriter::~QesWriter() {
    if (committed_)
        return;
    levels_.clear();
    transaction_.reset();
    file_.reset();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

RecordWriter& QesWriter::Level(std::optional<std::int32_t> loopCode,
                               const std::vector<std::string>& columns) {
    levels_.push_back(
        std::make_unique<RecordWriter>(file_->GetDatabase(), questionnaire_, loopCode, columns));
    return *levels_.back();
}

void QesWriter::Commit() {
    levels_.clear();
    transaction_->commit();
    transaction_.reset();
    file_->Close();
    file_.reset();
    std::filesystem::rename(temporary_, target_);
    committed_ = true;
}

void WriteFixture(FixtureDescription& fixture, const std::filesystem::path& target) {
    QesWriter writer(target, *fixture.questionnaire, fixture.fileVersion, fixture.interviewers);
    for (const FixtureDescription::Records& records : fixture.records) {
        const CsvTable& table = records.table;
        RecordWriter* level = nullptr;
        try {
            level = &writer.Level(records.loopCode, table.header());
        } catch (const std::invalid_argument& error) {
            throw FixtureError(table.file(), table.headerLine(), error.what());
        }
        std::vector<db::Value> values(table.header().size());
        for (const CsvTable::Row& row : table.rows()) {
            for (std::size_t c = 0; c < values.size(); ++c) {
                try {
                    values[c] = CellValue(row.cells[c], level->columnType(c));
                } catch (const std::invalid_argument& error) {
                    throw FixtureError(table.file(), row.line,
                                       "field \"" + table.header()[c] + "\": " + error.what());
                }
            }
            try {
                level->Insert(values);
            } catch (const db::DbException& error) {
                throw FixtureError(table.file(), row.line, error.description());
            }
        }
    }
    writer.Commit();
}

} // namespace qesbuild
