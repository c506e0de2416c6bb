#include "variables/ReponsesCalculees.h"

#include <algorithm>

namespace {

constexpr std::int16_t kEmptyAnswer = -2;

} // namespace

CReponsesCalculees DisposerReponsesFermees(const std::vector<std::vector<std::int16_t>>& rows) {
    std::size_t columns = 1;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    CReponsesCalculees answers;
    answers.nombreReponses = static_cast<int>(columns);
    answers.codes.reserve(rows.size() * columns);
    for (const auto& row : rows) {
        answers.codes.insert(answers.codes.end(), row.begin(), row.end());
        answers.codes.insert(answers.codes.end(), columns - row.size(), kEmptyAnswer);
    }
    return answers;
}
