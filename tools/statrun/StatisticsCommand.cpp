#include "tools/statrun/StatisticsCommand.h"

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/ModaliteEtendue.h"
#include "app/OneStateScope.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "statistics/Acm.h"
#include "statistics/Acp.h"
#include "statistics/Afc.h"
#include "statistics/CentresMobilesNumerique.h"
#include "statistics/CentresMobilesQualitatif.h"
#include "statistics/Dendogramme.h"
#include "statistics/MoteurClassificationModalites.h"
#include "statistics/MoteurClassificationNumerique.h"
#include "statistics/TableauDisjonctif.h"
#include "statistics/TableauNumerique.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/Profil.h"
#include "tools/cli/RunScope.h"
#include "tools/cli/StreamUserInterface.h"
#include "tools/cli/WrittenOutput.h"
#include "tools/statrun/CsvFile.h"
#include "tools/statrun/CsvTable.h"
#include "tools/statrun/TestModes.h"

namespace statrun {
namespace {

constexpr const char* kUsage =
    "usage: statistics-run pca|ca|mca|kmeans|hac INPUT [options]\n"
    "  INPUT.csv: --columns A-B [--extra-columns C-D] [--rows E-F] (1-based; rows outside --rows are illustrative)\n"
    "  INPUT.qes: --questions NAME,... [--extra-questions NAME,...] (pca: numeric, mca: closed)\n"
    "  --axes N   number of axes printed (default 2)\n"
    "  --digits N significant digits of the numbers printed (default 9, at most 17)\n"
    "  kmeans, hac: --data numeric|closed (default numeric) --groups K [--seed S]\n"
    "    kmeans: [--stability N] (seeds 0..N, the best kept); hac: [--start K] (start partition of K groups)\n";

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
    static const std::set<std::string> methods = {
        "pca", "ca", "mca",
        "kmeans", "hac",
    };
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
    std::string error;
    const std::optional<CsvTable> csv = CsvTable::Read(options.input, error);
    if (!csv) {
        err << "statistics-run: " << error << "\n";
        return false;
    }
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
    for (int i = 0; i < static_cast<int>(csv->RowCount()); ++i)
        rows->push_back(i);
    if (options.values.count("rows"))
        rows = Range(options.values.at("rows"));
    if (!active || !extra || !rows) {
        err << kUsage;
        return false;
    }
    // One row spans no axis: its own point is the centre, and its shares of inertia divide by 0.
    if (rows->size() < 2) {
        err << "statistics-run: at least two active rows are needed\n";
        return false;
    }
    std::vector<int> columns = *active;
    columns.insert(columns.end(), extra->begin(), extra->end());
    const std::set<int> activeRows(rows->begin(), rows->end());
    std::vector<int> order = *rows;
    for (int i = 0; i < static_cast<int>(csv->RowCount()); ++i)
        if (activeRows.count(i) == 0)
            order.push_back(i);
    for (int i : order) {
        const std::size_t row = static_cast<std::size_t>(i);
        if (row >= csv->RowCount()) {
            err << "statistics-run: no row " << i + 1 << "\n";
            return false;
        }
        table.rowLabels.push_back(csv->RowName(row));
        // A missing cell (empty, NA) stays missing: the engines refuse it where they read it.
        for (int j : columns) {
            const std::optional<double> value = csv->Number(row, static_cast<std::size_t>(j), error);
            if (!value) {
                err << "statistics-run: " << error << "\n";
                return false;
            }
            table.cells.push_back(*value);
        }
    }
    for (int j : columns)
        table.columnLabels.push_back(csv->Columns()[static_cast<std::size_t>(j)]);
    table.activeRows = static_cast<int>(rows->size());
    table.extraRows = static_cast<int>(order.size()) - table.activeRows;
    table.activeColumns = static_cast<int>(active->size());
    table.extraColumns = static_cast<int>(extra->size());
    return true;
}

// The typology and the classification take closed or numeric data; the factor analyses one kind each.
bool ClosedData(const Options& options) {
    if (options.method == "kmeans" || options.method == "hac") {
        const auto data = options.values.find("data");
        return data != options.values.end() && data->second == "closed";
    }
    return options.method == "mca";
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
    // The opening and every answer read from one committed state of the file.
    const OneStateScope oneState(context);
    if (!context.OuvrirEtude()) {
        err << "statistics-run: " << context.GetLastError() << "\n";
        return false;
    }
    const bool closed = ClosedData(options);
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

// A whole-number option within bounds; the default when it is absent, nullopt when it is wrong.
std::optional<int> IntOption(const Options& options, const char* name, int fallback, int least) {
    const auto it = options.values.find(name);
    if (it == options.values.end())
        return fallback;
    try {
        std::size_t used = 0;
        const int value = std::stoi(it->second, &used);
        if (used == it->second.size() && value >= least)
            return value;
    } catch (...) {
    }
    return std::nullopt;
}

// A number of the engines' tables; -999999.99 (no value) prints empty.
std::string Cell(double value) { return value == kValeurManquante ? "" : Number(value); }

int Typology(const Options& options, const Table& t, std::ostream& out, std::ostream& err) {
    const std::optional<int> groups = IntOption(options, "groups", 0, 1);
    const std::optional<int> seed = IntOption(options, "seed", 0, 0);
    const std::optional<int> stability = IntOption(options, "stability", -1, 0);
    if (!groups || *groups < 1 || !seed || !stability) {
        err << kUsage;
        return 2;
    }
    std::unique_ptr<CCentresMobiles> engine;
    if (ClosedData(options))
        engine = std::make_unique<CCentresMobilesQualitatif>(t.activeRows, t.extraRows, t.activeColumns,
                                                              t.extraColumns, t.bytes.data());
    else
        engine = std::make_unique<CCentresMobilesNumerique>(t.activeRows, t.extraRows, t.activeColumns,
                                                             t.extraColumns, t.cells.data());
    std::vector<double> parIndividu;
    std::vector<double> parGroupe;
    const bool check = *stability >= 0;
    if (!engine->Executer(*groups, parIndividu, parGroupe, check, check ? *stability : *seed))
        return Fail(engine->GetErreur(), err);
    out << "Résultats par groupe\n\tEffectif\tPourcentage\tInertie x 1000\t% expliqué\n";
    for (int g = 0; g <= *groups; ++g) {
        out << (g < *groups ? "Groupe " + std::to_string(g + 1) : std::string("Total"));
        for (int v = 0; v < 4; ++v)
            out << "\t" << Cell(parGroupe[static_cast<std::size_t>(g * 4 + v)]);
        out << "\n";
    }
    out << "Résultats par interview\n\tGroupe\tDistance par 1000\n";
    for (std::size_t i = 0; i < t.rowLabels.size(); ++i)
        out << t.rowLabels[i] << "\t" << Number(parIndividu[i * 2]) << "\t" << Number(parIndividu[i * 2 + 1]) << "\n";
    return 0;
}

int Classification(const Options& options, const Table& t, std::ostream& out, std::ostream& err) {
    const std::optional<int> groups = IntOption(options, "groups", 2, 1);
    const std::optional<int> start = IntOption(options, "start", 0, 0);
    const std::optional<int> seed = IntOption(options, "seed", 0, 0);
    if (!groups || !start || !seed) {
        err << kUsage;
        return 2;
    }
    std::unique_ptr<CMoteurClassification> engine;
    if (ClosedData(options))
        engine = std::make_unique<CMoteurClassificationModalites>(t.activeRows, t.activeColumns, t.extraColumns,
                                                                   t.bytes.data());
    else
        engine = std::make_unique<CMoteurClassificationNumerique>(t.activeRows, t.activeColumns, t.extraColumns,
                                                                   t.cells.data());
    if (!engine->Executer(*start > 0, *start, static_cast<unsigned>(*seed)))
        return Fail(engine->GetErreur(), err);
    const int items = engine->NombreElements();
    if (*groups > items) {
        err << "statistics-run: at most " << items << " groups\n";
        return 1;
    }
    auto item = [&](int i) {
        return *start > 0 ? "Départ " + std::to_string(i + 1) : t.rowLabels[static_cast<std::size_t>(i)];
    };
    out << "Niveau de départ\t" << Cell(engine->NiveauDepart()) << "\n";
    out << "Fusions\n\tElément gardé\tElément fusionné\tNiveau\n";
    for (std::size_t m = 0; m < engine->Fusions().size(); ++m)
        out << "Fusion " << m + 1 << "\t" << item(engine->Fusions()[m].first) << "\t"
            << item(engine->Fusions()[m].second) << "\t" << Cell(engine->Niveaux()[m]) << "\n";
    CDendogramme dendogramme;
    engine->ConstruireDendogramme(*groups, *groups, dendogramme);
    std::vector<int> groupOfRow(static_cast<std::size_t>(t.activeRows), 0);
    out << "Groupes\n\tEffectif\tNiveau\n";
    for (int g = 0; g < dendogramme.NombreGroupes(); ++g) {
        const CClassificationGroupe& node = *dendogramme.Groupe(g);
        out << "Groupe " << g + 1 << "\t" << node.nbInterviews << "\t" << Cell(node.niveau) << "\n";
        for (std::int32_t row : CDendogramme::Interviews(node))
            groupOfRow[static_cast<std::size_t>(row)] = g + 1;
    }
    out << "Résultats par interview\n\tGroupe\n";
    for (int i = 0; i < t.activeRows; ++i)
        out << t.rowLabels[static_cast<std::size_t>(i)] << "\t" << groupOfRow[static_cast<std::size_t>(i)] << "\n";
    return 0;
}

// The modes that group interviews rather than find axes.
using ClusterMethod = int (*)(const Options&, const Table&, std::ostream&, std::ostream&);
const std::map<std::string, ClusterMethod> kClusterMethods = {
    {"kmeans", Typology},
    {"hac", Classification},
};

int RunAnalysis(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
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
    if (ClosedData(*options) && !survey) {
        // A CSV of 0/1 cells is taken as the disjunctive table itself.
        for (double value : table.cells)
            table.bytes.push_back(value != 0.0 ? 1 : 0);
    }
    if (table.activeColumns < 2) {
        err << "statistics-run: at least two active columns are needed\n";
        return 1;
    }
    if (const auto cluster = kClusterMethods.find(options->method); cluster != kClusterMethods.end())
        return cluster->second(*options, table, out, err);
    return Analyse(*options, table, axes, out, err);
}

} // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const int status = RunAnalysis(arguments, out, err);
    // Results that did not reach the output in full were not printed.
    return cli::WrittenOutput::Check(out, err, "statistics-run") ? status : 1;
}

} // namespace statrun
