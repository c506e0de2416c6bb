#include "tools/qesformula/Command.h"

#include "app/ContexteEtude.h"
#include "app/OneStateScope.h"
#include "app/QuestionNiveau.h"
#include "tools/cli/RunScope.h"
#include "tools/cli/StreamUserInterface.h"
#include "tools/cli/WrittenOutput.h"
#include "formula/EvaluerFormule.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/EnregistrerRecodages.h"

#include <exception>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

namespace qesformula {

namespace {

constexpr const char* kUsage =
    "usage: qesformula QUESTIONNAIRE.qes FORMULA [--level N]\n"
    "FORMULA is written in the formula language described in docs/formula-language.md.\n";

struct Arguments {
    std::string questionnaire;
    std::string formula;
    int level = 0;
};

std::optional<Arguments> ReadArguments(const std::vector<std::string>& arguments) {
    Arguments read;
    std::vector<std::string> positional;
    bool levelGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--level" && i + 1 < arguments.size() && !levelGiven) {
            std::int32_t level = 0;
            if (!CStaticTools::EstLong(arguments[++i], level) || level < 0)
                return std::nullopt;
            read.level = level;
            levelGiven = true;
        } else if (arguments[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    read.questionnaire = positional[0];
    read.formula = positional[1];
    return read;
}

std::string KeyText(const RecordKey& key) {
    std::string text;
    for (std::size_t i = 0; i < key.size(); ++i)
        text += (i == 0 ? "" : ";") + std::to_string(key[i]);
    return text;
}

void PrintError(const FormulaError& error, std::ostream& err) {
    err << "qesformula: error " << error.code << " at position " << error.position << ", length "
        << error.length;
    if (!error.text.empty())
        err << ": " << error.text;
    err << '\n';
}

// One line per record of the level: its keys, a tab, its result. Records without keys to show
// (a level whose records could not be listed) are numbered from 0.
void PrintResults(const CQuestionNiveau* level, const std::vector<std::string>& results, std::ostream& out) {
    std::ostringstream text;
    const bool keyed = level != nullptr && level->GetEnregistrements().size() == results.size();
    auto key = keyed ? level->GetEnregistrements().begin() : CRecordKeys::const_iterator{};
    for (std::size_t i = 0; i < results.size(); ++i) {
        text << (keyed ? KeyText(*key++) : std::to_string(i)) << '\t' << results[i] << '\n';
    }
    out << text.str();
}

int Compute(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    cli::RunScope scope;
    EnregistrerRecodages();
    CContexteEtude context;
    auto userInterface = std::make_unique<cli::StreamUserInterface>(err, "qesformula");
    const cli::StreamUserInterface& shown = *userInterface;
    context.SetUserInterface(std::move(userInterface));
    CContexteEtude::RegisterContext(&context);

    context.questionnairePath = arguments.questionnaire;
    // The opening and every value read from one committed state of the file.
    const OneStateScope oneState(context);
    if (!context.OuvrirEtude()) {
        if (shown.MessageCount() == 0)
            err << "qesformula: cannot open " << arguments.questionnaire << '\n';
        return Command::kNoResult;
    }
    CQuestionNiveau* level = context.DonnerNiveau(arguments.level);
    if (level == nullptr) {
        err << "qesformula: the questionnaire has no level " << arguments.level << '\n';
        return Command::kRefused;
    }
    std::string levelError;
    if (!level->ChargerEffectifs(context, arguments.level, levelError)) {
        err << "qesformula: " << levelError << '\n';
        return Command::kNoResult;
    }

    FormulaError error;
    std::vector<std::string> results;
    if (!EvaluerFormule(arguments.formula, error, context, results)) {
        PrintError(error, err);
        return Command::kRefused;
    }
    if (arguments.level != 0) {
        CQuestionNiveau* interviews = context.DonnerNiveau(0);
        std::vector<std::string> carried;
        if (interviews == nullptr || !interviews->ChargerEffectifs(context, 0, levelError) ||
            !level->TransfererTextes(results, carried, 0, arguments.level)) {
            err << "qesformula: the results cannot be carried to level " << arguments.level << '\n';
            return Command::kNoResult;
        }
        results = std::move(carried);
    }
    PrintResults(level, results, out);
    return Command::kResultsPrinted;
}

} // namespace

int Command::Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<Arguments> read = ReadArguments(arguments);
    if (!read) {
        err << kUsage;
        return kRefused;
    }
    int status = kNoResult;
    try {
        status = Compute(*read, out, err);
    } catch (const std::exception& error) {
        err << "qesformula: " << error.what() << '\n';
    }
    // Results that did not reach the output in full were not printed.
    return cli::WrittenOutput::Check(out, err, "qesformula") ? status : kNoResult;
}

} // namespace qesformula
