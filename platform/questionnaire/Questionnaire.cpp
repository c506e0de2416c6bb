#include "platform/questionnaire/Questionnaire.h"

#include <algorithm>
#include <map>

namespace {

constexpr std::uint16_t kInterviewTable = 1;

// Primary language of a Windows language id and the language of generated messages.
struct MessageLanguage {
    std::int32_t primaryLanguage;
    int messageLanguage;
};

const MessageLanguage kMessageLanguages[] = {
    {0x0C, 1}, // French
    {0x07, 2}, // German
    {0x10, 3}, // Italian
    {0x0A, 4}, // Spanish
};

constexpr int kEnglishMessages = 0;
constexpr std::int32_t kPrimaryLanguageMask = 0x3FF;

std::uint16_t NextFreeTable(const std::vector<std::unique_ptr<CQuestion>>& questions) {
    std::uint16_t highest = kInterviewTable;
    for (const auto& question : questions) {
        highest = std::max({highest, question->responseTable, question->levelTable});
        for (const std::uint16_t table : question->tablePerOrder)
            highest = std::max(highest, table);
    }
    return static_cast<std::uint16_t>(highest + 1);
}

void FillTablePerOrder(CQuestion& question) {
    if (question.tablePerOrder.empty())
        return;
    if (question.answerCount > 0 && question.tablePerOrder.size() < static_cast<std::size_t>(question.answerCount))
        question.tablePerOrder.resize(static_cast<std::size_t>(question.answerCount), question.responseTable);
    for (std::uint16_t& table : question.tablePerOrder) {
        if (table == 0)
            table = question.responseTable;
    }
}

} // namespace

CQuestion* CQuestionnaire::GetQuestion(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= questions.size())
        return nullptr;
    return questions[static_cast<std::size_t>(i)].get();
}

void CQuestionnaire::AddQuestion(std::unique_ptr<CQuestion> question) {
    if (question)
        questions.push_back(std::move(question));
}

int CQuestionnaire::DonnerNbreSousQuestion(int i) const {
    const CQuestion* item = GetQuestion(i);
    if (item == nullptr)
        return 0;
    int count = 0;
    for (std::size_t next = static_cast<std::size_t>(i) + 1; next < questions.size(); ++next) {
        if (questions[next]->depth <= item->depth)
            break;
        ++count;
    }
    return count;
}

void CQuestionnaire::PreparerSaisie() {
    struct OpenLevel {
        std::int16_t depth;
        std::uint16_t table;
    };
    std::vector<OpenLevel> openLevels;
    std::map<std::int32_t, std::uint16_t> tableOfLoop; // by loop code
    std::uint16_t nextTable = NextFreeTable(questions);

    for (const auto& question : questions) {
        while (!openLevels.empty() && openLevels.back().depth >= question->depth)
            openLevels.pop_back();
        const std::uint16_t enclosing = openLevels.empty() ? kInterviewTable : openLevels.back().table;

        if (question->kind == 2) {
            if (question->responseTable == 0)
                question->responseTable = enclosing;
            if (question->loopWithoutLevel) {
                if (question->levelTable == 0)
                    question->levelTable = enclosing;
            } else {
                if (question->levelTable == 0) {
                    const std::int32_t sharedCode =
                        question->loopSharesLevel && question->sharedLevelCode != 0 ? question->sharedLevelCode
                                                                                    : question->code;
                    const auto shared = tableOfLoop.find(sharedCode);
                    question->levelTable = shared != tableOfLoop.end() ? shared->second : nextTable++;
                }
                tableOfLoop.emplace(question->code, question->levelTable);
                openLevels.push_back({question->depth, question->levelTable});
            }
        } else {
            if (question->levelTable == 0)
                question->levelTable = enclosing;
            if (question->responseTable == 0)
                question->responseTable = question->levelTable;
        }
        FillTablePerOrder(*question);
    }
}

int CQuestionnaire::GetErrorLanguageFromLanguage(std::int32_t languageId) {
    const std::int32_t primary = languageId & kPrimaryLanguageMask;
    for (const MessageLanguage& entry : kMessageLanguages) {
        if (entry.primaryLanguage == primary)
            return entry.messageLanguage;
    }
    return kEnglishMessages;
}
