#pragma once

#include "platform/questionnaire/Questionnaire.h"
#include "tools/qesbuild/CsvTable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qesbuild {

// Everything a fixture's text description gives: the questionnaire, the file version to write,
// the interviewers and the records of each level.
class FixtureDescription {
public:
    struct Interviewer {
        std::int32_t code = 0;
        std::string name;
        std::string text;
    };

    // The records of one level: the interviews, or the iterations of the loop whose code is given.
    struct Records {
        std::optional<std::int32_t> loopCode;
        int line = 0; // the description line that names them
        CsvTable table;
    };

    FixtureDescription() : questionnaire(std::make_unique<CQuestionnaire>()) {}

    std::string file; // the description's path, for messages
    std::unique_ptr<CQuestionnaire> questionnaire;
    int fileVersion = 404;
    std::vector<Interviewer> interviewers;
    std::vector<Records> records;
};

} // namespace qesbuild
