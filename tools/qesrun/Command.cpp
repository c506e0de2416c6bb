#include "tools/qesrun/Command.h"

#include "app/ContexteEtude.h"
#include "app/OneStateScope.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "export/TableListExports.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "recodes/EnregistrerRecodages.h"
#include "tabulation/EnregistrerClassesTabulation.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tools/cli/RunScope.h"
#include "tools/cli/StreamUserInterface.h"
#include "tools/cli/WrittenOutput.h"
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
    "usage: qesrun QUESTIONNAIRE.qes REQUEST [EXPORTS]\n"
    "       qesrun QUESTIONNAIRE.qes --archive FILE [EXPORTS]\n"
    "REQUEST is the text form described in docs/request-format.md; FILE holds one stored "
    "request.\n"
    "EXPORTS: --rtf FILE, --xlsx FILE, --txt FILE write every table into FILE;\n"
    "         --one-sheet-per-table puts each table of the workbook on a sheet of its own.\n";

struct Arguments {
    std::string questionnaire;
    std::string request;
    bool archive = false;
    std::string rtf;
    std::string xlsx;
    std::string txt;
    bool sheetPerTable = false;
};

// Reads the value of an option that takes a file, given at most once.
bool ReadFileOption(const std::vector<std::string>& arguments, std::size_t& i, std::string& value) {
    if (i + 1 >= arguments.size() || !value.empty() || arguments[i + 1].empty())
        return false;
    value = arguments[++i];
    return true;
}

std::optional<Arguments> ReadArguments(const std::vector<std::string>& arguments) {
    Arguments read;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--archive" && i + 1 < arguments.size() && !read.archive) {
            read.archive = true;
            read.request = arguments[++i];
        } else if (arguments[i] == "--rtf" || arguments[i] == "--xlsx" || arguments[i] == "--txt") {
            std::string& value = arguments[i] == "--rtf" ? read.rtf : arguments[i] == "--xlsx" ? read.xlsx : read.txt;
            if (!ReadFileOption(arguments, i, value))
                return std::nullopt;
        } else if (arguments[i] == "--one-sheet-per-table" && !read.sheetPerTable) {
            read.sheetPerTable = true;
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

// Writes every table into each file asked for; false when one of them could not be written (the
// program's message on `err`).
bool Export(const Arguments& arguments, const std::vector<std::unique_ptr<CTableau>>& tables, std::ostream& err) {
    using Exporter = bool (*)(const std::vector<const CTableauBase*>&, const std::string&, const std::string&, Message&);
    const std::pair<const std::string*, Exporter> exports[] = {
        {&arguments.rtf, &ExporterTableauxWord},
        {&arguments.xlsx, &ExporterTableauxClasseur},
        {&arguments.txt, &ExporterTableauxAscii},
    };
    std::vector<const CTableauBase*> written;
    for (const auto& table : tables)
        written.push_back(table.get());
    CRegistre::SetIsOneSheetPerTable(arguments.sheetPerTable);
    bool done = true;
    for (const auto& [path, exporter] : exports) {
        if (path->empty())
            continue;
        Message error;
        if (!exporter(written, *path, arguments.questionnaire, error)) {
            err << "qesrun: " << StringTable::Format(error) << '\n';
            done = false;
        }
    }
    return done;
}

int Compute(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    cli::RunScope scope;
    EnregistrerRecodages();
    EnregistrerClassesTabulation();
    EnregistrerOuvertes();
    CContexteEtude context;
    auto userInterface = std::make_unique<cli::StreamUserInterface>(err, "qesrun");
    const cli::StreamUserInterface& shown = *userInterface;
    context.SetUserInterface(std::move(userInterface));
    CContexteEtude::RegisterContext(&context);

    // The opening and every table read one committed state of the file, whatever another program
    // commits meanwhile; a file held by another program fails the opening, which says so.
    context.questionnairePath = arguments.questionnaire;
    const OneStateScope oneState(context);
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
    // A table left out or computed in part is a failure of the run: the others are not printed
    // as if they were all the request makes.
    if (!executor.GetEchecs().empty()) {
        for (const std::string& failure : executor.GetEchecs())
            err << "qesrun: not computed: " << failure << '\n';
        return Command::kNoTable;
    }
    if (tables.empty()) {
        if (shown.MessageCount() == shownBefore)
            err << "qesrun: the request produced no table\n";
        return Command::kNoTable;
    }
    std::ostringstream text;
    TablePrinter::PrintAll(tables, text);
    out << text.str();
    return Export(arguments, tables, err) ? Command::kTablesPrinted : Command::kExportFailed;
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
    int status = kNoTable;
    try {
        status = Compute(*read, out, err);
    } catch (const std::exception& error) {
        err << "qesrun: " << error.what() << '\n';
    }
    // Tables that did not reach the output in full were not printed.
    return cli::WrittenOutput::Check(out, err, "qesrun") ? status : kNoTable;
}

} // namespace qesrun
