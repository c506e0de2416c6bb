#include "tools/statrun/StatisticsCommand.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "statistics/Acm.h"
#include "statistics/Acp.h"
#include "statistics/Afc.h"
#include "statistics/TableauDisjonctif.h"
#include "statistics/TableauNumerique.h"
#include "tabulation/Profil.h"
#include "tools/cli/RunScope.h"
#include "tools/cli/StreamUserInterface.h"
#include "tools/statrun/CsvFile.h"
#include "tools/statrun/TestModes.h"

namespace statrun {
namespace {

constexpr const char* kUsage =
    "usage: statistics-run pca|ca|mca INPUT [options]\n"
    "  INPUT.csv: --columns A-B [--extra-columns C-D] [--rows E-F] (1-based; rows outside --rows are illustrative)\n"
    "  INPUT.qes: --questions NAME,... [--extra-questions NAME,...] (pca: numeric, mca: closed)\n"
    "  --axes N   number of axes printed (default 2)\n"
    "  --digits N significant digits of the numbers printed (default 9, at most 17)\n";

struct Options {
    std::string method;
    std::string input;
    std::map<std::string, std::string> values;
};

std::optional<Options> Parse(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2)
        return std::nullopt;
    Options options{arguments[0], arguments[1], {}};
    for (std::size_t i = 2; i < arguments.size(); i += 2) {
        if (arguments[i].rfind("--", 0) != 0 || i + 1 >= arguments.size())
            return std::nullopt;
        options.values[arguments[i].substr(2)] = arguments[i + 1];
    }
    static const std::set<std::string> methods = {"pca", "ca", "mca"};
    if (methods.count(options.method) == 0)
        return std::nullopt;
    return options;
}

// The analysed table with its labels, active rows and columns first.
struct Table {
    std::vector<double> cells;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> rowLabels;
    std::vector<std::string> columnLabels;
    int activeRows = 0;
    int extraRows = 0;
    int activeColumns = 0;
    int extraColumns = 0;
};

bool TableFromCsv(const Options& options, Table& table, std::ostream& err) {
    Csv csv;
    if (!ReadCsv(options.input, csv, err))
        return false;
    const auto columnsOption = options.values.find("columns");
    if (columnsOption == options.values.end()) {
        err << kUsage;
        return false;
    }
    std::optional<std::vector<int>> active = Range(columnsOption->second);
    std::optional<std::vector<int>> extra = std::vector<int>{};
    if (options.values.count("extra-columns"))
        extra = Range(options.values.at("extra-columns"));
    std::optional<std::vector<int>> rows = std::vector<int>{};
    for (int i = 0; i < static_cast<int>(csv.rows.size()); ++i)
        rows->push_back(i);
    if (options.values.count("rows"))
        rows = Range(options.values.at("rows"));
    if (!active || !extra || !rows) {
        err << kUsage;
        return false;
    }
    std::vector<int> columns = *active;
    columns.insert(columns.end(), extra->begin(), extra->end());
    const std::set<int> activeRows(rows->begin(), rows->end());
    std::vector<int> order = *rows;
    for (int i = 0; i < static_cast<int>(csv.rows.size()); ++i)
        if (activeRows.count(i) == 0)
            order.push_back(i);
    for (int i : order) {
        if (i >= static_cast<int>(csv.rows.size())) {
            err << "statistics-run: no row " << i + 1 << "\n";
            return false;
        }
        table.rowLabels.push_back(csv.rows[static_cast<std::size_t>(i)]);
        for (int j : columns) {
            const auto& row = csv.cells[static_cast<std::size_t>(i)];
            if (j >= static_cast<int>(row.size())) {
                err << "statistics-run: no column " << j + 1 << " in row " << i + 1 << "\n";
                return false;
            }
            // A cell that is not a number (NA) stays one: the engines refuse it where they read it.
            try {
                table.cells.push_back(std::stod(row[static_cast<std::size_t>(j)]));
            } catch (...) {
                table.cells.push_back(std::numeric_limits<double>::quiet_NaN());
            }
        }
    }
    for (int j : columns)
        table.columnLabels.push_back(j < static_cast<int>(csv.columns.size()) ? csv.columns[static_cast<std::size_t>(j)] : "");
    table.activeRows = static_cast<int>(rows->size());
    table.extraRows = static_cast<int>(order.size()) - table.activeRows;
    table.activeColumns = static_cast<int>(active->size());
    table.extraColumns = static_cast<int>(extra->size());
    return true;
}

bool Profile(CContexteEtude& context, const std::string& names, bool closed, CProfil& profile, std::ostream& err) {
    for (const std::string& name : Names(names)) {
        CQuestionEtendue* question = context.TrouverQuestionParNom(name);
        if (question == nullptr || (closed ? !question->EstFermee() : !question->EstNumerique())) {
            err << "statistics-run: no " << (closed ? "closed" : "numeric") << " question " << name << "\n";
            return false;
        }
        if (closed) {
            std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
            question->DonnerModalites(modalities, true);
            // Interviews not asked the question have no answer to analyse.
            std::erase_if(modalities, [](const auto& modality) { return modality->code == -2; });
            profile.Add(question, modalities);
        } else {
            profile.Add(question);
        }
    }
    return true;
}

bool TableFromSurvey(const Options& options, CContexteEtude& context, Table& table, std::ostream& err) {
    context.questionnairePath = options.input;
    if (!context.OuvrirEtude()) {
        err << "statistics-run: " << context.GetLastError() << "\n";
        return false;
    }
    const bool closed = options.method == "mca";
    CProfil active;
    CProfil extra;
    if (!options.values.count("questions") || !Profile(context, options.values.at("questions"), closed, active, err))
        return false;
    if (options.values.count("extra-questions") && !Profile(context, options.values.at("extra-questions"), closed, extra, err))
        return false;
    std::vector<std::int32_t> interviews;
    for (int i = 0; i < context.DonnerNbreInterviews(); ++i)
        interviews.push_back(i);
    CDataAccess access(context, true);
    std::vector<std::int32_t> rows;
    if (closed) {
        TableauDisjonctif built;
        if (!ConstruireTableauDisjonctif(access, built, interviews, {}, active, extra, true, 0)) {
            err << "statistics-run: " << access.GetErrorText() << "\n";
            return false;
        }
        table.bytes = std::move(built.cellules);
        table.columnLabels = std::move(built.libellesColonnes);
        table.activeColumns = built.colonnesActives;
        table.extraColumns = built.colonnesIllustratives;
        rows = built.interviews;
    } else {
        TableauNumerique built;
        if (!ConstruireTableauNumerique(access, built, interviews, {}, active, extra, kRemplacerParMoyenne, 0)) {
            err << "statistics-run: " << access.GetErrorText() << "\n";
            return false;
        }
        table.cells = std::move(built.cellules);
        table.columnLabels = std::move(built.libellesColonnes);
        table.activeColumns = built.colonnesActives;
        table.extraColumns = built.colonnesIllustratives;
        rows = built.interviews;
    }
    table.activeRows = static_cast<int>(rows.size());
    for (std::int32_t row : rows) {
        std::string label;
        context.DonnerLibelleInterview(row, label);
        table.rowLabels.push_back(label);
    }
    return true;
}

// The significant digits of the numbers printed: 9 by default, 17 to read a double back exactly.
int g_digits = 9;

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", g_digits, value);
    return text;
}

void PrintEigenvalues(const std::vector<double>& table, std::ostream& out) {
    out << "Valeurs propres\n\tValeur propre\tInformation\tInformation cumulée\n";
    for (std::size_t k = 0; k * 3 < table.size(); ++k)
        out << "Axe " << k + 1 << "\t" << Number(table[k * 3]) << "\t" << Number(table[k * 3 + 1]) << "\t"
            << Number(table[k * 3 + 2]) << "\n";
}

void PrintCoordinates(const char* title, const std::vector<double>& table, const std::vector<std::string>& labels,
                      int axes, std::ostream& out) {
    out << title << "\n";
    for (int k = 0; k < axes; ++k)
        out << "\tAxe " << k + 1;
    out << "\n";
    for (std::size_t i = 0; i < labels.size(); ++i) {
        out << labels[i];
        for (int k = 0; k < axes; ++k)
            out << "\t" << Number(table[i * static_cast<std::size_t>(axes) + static_cast<std::size_t>(k)]);
        out << "\n";
    }
}

int Fail(const Message& message, std::ostream& err) {
    err << "statistics-run: " << StringTable::Format(message) << "\n";
    return 1;
}

int Analyse(const Options& options, const Table& t, int axes, std::ostream& out, std::ostream& err) {
    if (options.method == "pca") {
        CAcp engine(t.activeRows, t.extraRows, t.activeColumns, t.extraColumns, t.cells.data());
        ResultatsAcp r;
        if (!engine.Calculer())
            return Fail(engine.GetErreur(), err);
        engine.DonnerResultats(axes, r);
        PrintEigenvalues(r.valeursPropres, out);
        PrintCoordinates("Coordonnées des lignes", r.coordonneesLignes, t.rowLabels, r.axes, out);
        PrintCoordinates("Corrélations Questions x Axes", r.correlations, t.columnLabels, r.axes, out);
        return 0;
    }
    ResultatsCorrespondances r;
    if (options.method == "ca") {
        CAfc engine(t.activeRows, t.extraRows, t.activeColumns, t.extraColumns, t.cells.data());
        if (!engine.Calculer())
            return Fail(engine.GetErreur(), err);
        engine.DonnerResultats(axes, r);
    } else {
        CAcm engine(t.activeRows, t.extraRows, t.activeColumns, t.extraColumns, t.bytes.data());
        if (!engine.Calculer())
            return Fail(engine.GetErreur(), err);
        engine.DonnerResultats(axes, r);
    }
    PrintEigenvalues(r.valeursPropres, out);
    PrintCoordinates("Coordonnées des lignes", r.coordonneesLignes, t.rowLabels, r.axes, out);
    PrintCoordinates("Coordonnées des colonnes", r.coordonneesColonnes, t.columnLabels, r.axes, out);
    return 0;
}

} // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (!arguments.empty() && IsTestMode(arguments[0]))
        return RunTestMode(arguments, out, err);
    const std::optional<Options> options = Parse(arguments);
    if (!options) {
        err << kUsage;
        return 2;
    }
    int axes = 2;
    if (options->values.count("axes")) {
        try {
            axes = std::stoi(options->values.at("axes"));
        } catch (...) {
            axes = 0;
        }
        if (axes < 1) {
            err << kUsage;
            return 2;
        }
    }
    g_digits = 9;
    if (options->values.count("digits")) {
        try {
            g_digits = std::stoi(options->values.at("digits"));
        } catch (...) {
            g_digits = 0;
        }
        if (g_digits < 1 || g_digits > 17) {
            err << kUsage;
            return 2;
        }
    }
    cli::RunScope scope;
    CContexteEtude context;
    context.SetUserInterface(std::make_unique<cli::StreamUserInterface>(err, "statistics-run"));
    Table table;
    const bool survey = options->input.size() > 4 && options->input.substr(options->input.size() - 4) == ".qes";
    if ((survey && options->method == "ca") || options->values.count(survey ? "questions" : "columns") == 0) {
        err << kUsage;
        return 2;
    }
    if (!(survey ? TableFromSurvey(*options, context, table, err) : TableFromCsv(*options, table, err)))
        return 1;
    if (options->method == "mca" && !survey) {
        // A CSV of 0/1 cells is taken as the disjunctive table itself.
        for (double value : table.cells)
            table.bytes.push_back(value != 0.0 ? 1 : 0);
    }
    if (table.activeColumns < 2) {
        err << "statistics-run: at least two active columns are needed\n";
        return 1;
    }
    return Analyse(*options, table, axes, out, err);
}

} // namespace statrun
