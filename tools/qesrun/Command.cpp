#include "tools/qesrun/Command.h"

#include "app/ContexteEtude.h"
#include "recodes/EnregistrerRecodages.h"
#include "tabulation/EnregistrerClassesTabulation.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tools/cli/RunScope.h"
#include "tools/cli/StreamUserInterface.h"
#include "tools/qesrun/RequestArchive.h"
#include "tools/qesrun/RequestText.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/qesrun/TextFile.h"

#include <exception>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

namespace qesrun {

namespace {

constexpr const char* kUsage =
    "usage: qesrun QUESTIONNAIRE.qes REQUEST\n"
    "       qesrun QUESTIONNAIRE.qes --archive FILE\n"
    "REQUEST is the text form described in docs/request-format.md; FILE holds one stored "
    "request.\n";

struct Arguments {
    std::string questionnaire;
    std::string request;
    bool archive = false;
};

std::optional<Arguments> ReadArguments(const std::vector<std::string>& arguments) {
    Arguments read;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--archive" && i + 1 < arguments.size() && !read.archive) {
            read.archive = true;
            read.request = arguments[++i];
        } else if (arguments[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.size() != (read.archive ? 1u : 2u))
        return std::nullopt;
    read.questionnaire = positional[0];
    if (!read.archive)
        read.request = positional[1];
    return read;
}

std::unique_ptr<CTraitement> ReadRequest(const Arguments& arguments, CContexteEtude& context,
                                         std::ostream& err) {
    if (arguments.archive) {
        RequestArchive::Result loaded = RequestArchive::Load(arguments.request);
        for (const std::string& error : loaded.errors)
            err << "qesrun: " << arguments.request << ": " << error << '\n';
        return std::move(loaded.request);
    }
    std::string reason;
    const std::optional<std::string> text = TextFile::Read(arguments.request, reason);
    if (!text) {
        err << "qesrun: cannot read " << arguments.request << ": " << reason << '\n';
        return nullptr;
    }
    RequestText::Result parsed = RequestText::Parse(*text, context);
    if (!parsed.request) {
        err << "qesrun: " << arguments.request;
        if (parsed.line > 0)
            err << ':' << parsed.line;
        err << ": " << parsed.error << '\n';
    }
    return std::move(parsed.request);
}

int Compute(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    cli::RunScope scope;
    EnregistrerRecodages();
    EnregistrerClassesTabulation();
    CContexteEtude context;
    auto userInterface = std::make_unique<cli::StreamUserInterface>(err, "qesrun");
    const cli::StreamUserInterface& shown = *userInterface;
    context.SetUserInterface(std::move(userInterface));
    CContexteEtude::RegisterContext(&context);

    if (!Command::OpenStudy(context, arguments.questionnaire)) {
        if (shown.MessageCount() == 0)
            err << "qesrun: cannot open " << arguments.questionnaire << '\n';
        return Command::kNoTable;
    }
    std::unique_ptr<CTraitement> request = ReadRequest(arguments, context, err);
    if (!request)
        return Command::kRefused;

    const int shownBefore = shown.MessageCount();
    CExecuteurTraitement executor(context);
    executor.Executer(std::move(request));
    const std::vector<std::unique_ptr<CTableau>> tables = executor.TakeTableaux();
    if (tables.empty()) {
        if (shown.MessageCount() == shownBefore)
            err << "qesrun: the request produced no table\n";
        return Command::kNoTable;
    }
    std::ostringstream text;
    TablePrinter::PrintAll(tables, text);
    out << text.str();
    return Command::kTablesPrinted;
}

} // namespace

bool Command::OpenStudy(CContexteEtude& context, const std::string& questionnaire) {
    context.ReadStartupOptions();
    context.questionnairePath = questionnaire;
    return context.OuvrirEtude();
}

int Command::Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<Arguments> read = ReadArguments(arguments);
    if (!read) {
        err << kUsage;
        return kRefused;
    }
    try {
        return Compute(*read, out, err);
    } catch (const std::exception& error) {
        err << "qesrun: " << error.what() << '\n';
        return kNoTable;
    }
}

} // namespace qesrun
