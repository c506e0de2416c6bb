#pragma once

#include <cstdint>
#include <span>

class CMainFrame;
class CQuestionEtendue;

// The commands of the main frame that act on the survey: the tables, the editing and tool
// commands, the open-answer and statistical studies. Each is one line of one table, which the
// frame's one command flow reads: the question the command needs, whether its level is checked,
// the second question it asks for, and the request dialog it opens (or the action it runs
// instead). Which of the analyst's choices go back onto the study context is the request
// dialog's own knowledge (AppliquerChoixAuContexte).
namespace MainFrameCommands {

// What a command asks of the question selected in the questionnaire tree, both to be enabled
// and to run.
enum class QuestionRule {
    kAlways,             // no question needed
    kClosed,             // a question with modalities (EstFermee)
    kGrouped,            // a grouping of modalities (a recode of the modality kind)
    kNumeric,            // EstNumerique
    kNumericClosed,      // numeric and with modalities
    kRanking,            // with modalities and answered as ranks
    kFreeNumericOrDate,  // EstNumeriqueLibre or EstDate
    kFreeNumeric,        // EstNumeriqueLibre
    kDerived,            // a computed variable or a recoded question
    kOtherLevelClosed,   // of a level other than the interviews, with modalities
    kOtherLevelNumeric,  // of a level other than the interviews, numeric
    kOtherLevelOpen,     // of a level other than the interviews, open
    kOpen,               // EstOuverte
};

// The mode in which the question picker asks for a second question.
enum class SecondQuestion : int {
    kNone = -1,
    kCrossed = 0,        // the columns of a cross table, the second question of a test
    kMeanNumeric = 2,    // the numeric question of a mean table
    kOpenAnswersBy = 3,  // the question by which open answers are shown
    kInterviewNames = 6, // the question that names the interviews
};

// What a command does itself once its questions are chosen, in place of a request dialog.
using Action = void (*)(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* second);

// No request dialog (CTraitement::kTypeIndefini).
constexpr std::int16_t kNoRequest = -1;

struct Command {
    unsigned id;
    // The menu and the item, as the menus show them.
    const char* text;
    QuestionRule rule;
    bool levelCheck;
    SecondQuestion secondQuestion;
    // The request dialog, by the type of table it defines; kNoRequest for an action.
    std::int16_t requestType;
    // Null while the dialog or window the command opens is not in the program: the command
    // stays disabled.
    Action action;
};

std::span<const Command> All();
// The command of the id; null when the id is not one of them.
const Command* Find(unsigned id);

// Whether the question satisfies the rule; kAlways holds for any question, even none.
bool Satisfies(QuestionRule rule, const CQuestionEtendue* question);

} // namespace MainFrameCommands
