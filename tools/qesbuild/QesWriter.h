#pragma once

#include "tools/qesbuild/FixtureDescription.h"
#include "tools/qesbuild/RecordWriter.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDBStructure;
namespace db {
class Transaction;
}

namespace qesbuild {

// Writes a questionnaire file in one go: the structure and the interviewers when constructed,
// then the records of each level, then Commit(). Everything goes into a temporary file beside
// the target, which Commit() renames onto the target; a writer destroyed without Commit() (an
// error on the way) removes it, so the target is either complete or untouched.
class QesWriter {
public:
    // The questionnaire receives its response-table numbers. Throws std::runtime_error with the
    // questionnaire file's error text when the structure cannot be written.
    QesWriter(std::filesystem::path target, CQuestionnaire& questionnaire, int fileVersion,
              const std::vector<FixtureDescription::Interviewer>& interviewers);
    ~QesWriter();
    QesWriter(const QesWriter&) = delete;
    QesWriter& operator=(const QesWriter&) = delete;

    // The writer of a level's records (see RecordWriter); it lives until Commit().
    RecordWriter& Level(std::optional<std::int32_t> loopCode, const std::vector<std::string>& columns);

    void Commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    const CQuestionnaire& questionnaire_;
    std::unique_ptr<CDBStructure> file_;
    std::unique_ptr<db::Transaction> transaction_;
    std::vector<std::unique_ptr<RecordWriter>> levels_;
    bool committed_ = false;
};

// Writes the fixture to `target` (its questionnaire receives its table numbers). Throws
// FixtureError for a fault of the records (file and line), std::runtime_error for others.
void WriteFixture(FixtureDescription& fixture, const std::filesystem::path& target);

} // namespace qesbuild
