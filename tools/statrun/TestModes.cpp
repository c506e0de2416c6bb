#include "tools/statrun/TestModes.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "statistics/IndependenceTest.h"
#include "statistics/RegressionAnalysis.h"
#include "statistics/RegressionLineaire.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tools/cli/RunScope.h"
#include "tools/cli/StreamUserInterface.h"
#include "tools/statrun/CsvFile.h"

namespace statrun {
namespace {

constexpr const char* kUsage =
    "usage: statistics-run regression|chi2 INPUT [options]\n"
    "  regression INPUT.csv: --target N --columns A-B [--rows E-F] (1-based; rows outside --rows are illustrative)\n"
    "  regression INPUT.qes: --target NAME --questions NAME,... [--missing 0|1|2]\n"
    "  chi2 INPUT.csv: the cells are the counts of the table\n"
    "  chi2 INPUT.qes: --rows NAME --columns NAME [--weighting NAME]\n"
    "  --digits N significant digits of the numbers printed (default 9, at most 17)\n";

using Values = std::map<std::string, std::string>;

struct Printer {
    int digits = 9;
    std::ostream& out;

    // A missing value prints as an empty cell, as the program shows it.
    std::string Number(double value) const {
        if (value == kValeurManquante)
            return {};
        char text[40];
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        return text;
    }
    void Table(const std::string& title, const std::vector<std::string>& rows, const std::vector<std::string>& columns,
               const std::vector<double>& cells) const {
        out << title << "\n";
        for (const std::string& column : columns)
            out << "\t" << column;
        out << "\n";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            out << rows[i];
            for (std::size_t j = 0; j < columns.size(); ++j)
                out << "\t" << Number(cells[i * columns.size() + j]);
            out << "\n";
        }
    }
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::optional<int> Integer(const Values& values, const std::string& key) {
    const auto found = values.find(key);
    if (found == values.end())
        return std::nullopt;
    try {
        std::size_t used = 0;
        const int value = std::stoi(found->second, &used);
        return used == found->second.size() ? std::optional<int>(value) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<double> Cell(const Csv& csv, int row, int column) {
    const auto& cells = csv.cells[static_cast<std::size_t>(row)];
    if (column >= static_cast<int>(cells.size()))
        return std::nullopt;
    try {
        std::size_t used = 0;
        const std::string& text = cells[static_cast<std::size_t>(column)];
        const double value = std::stod(text, &used);
        return used == text.size() ? std::optional<double>(value) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

int Fail(const std::string& text, std::ostream& err) {
    err << "statistics-run: " << text << "\n";
    return 1;
}

std::vector<std::string> Texts(std::initializer_list<int> ids) {
    std::vector<std::string> texts;
    for (const int id : ids)
        texts.push_back(StringTable::Text(id));
    return texts;
}

void PrintRegression(const ResultatsRegression& r, const std::vector<std::string>& coefficientRows,
                     const std::vector<std::string>& interviewRows, const Printer& print) {
    print.Table(StringTable::Text(StringTable::kTitreCoefficients), coefficientRows,
                Texts({StringTable::kTitreCoefficients, StringTable::kEcartType, StringTable::kProbabilite}),
                r.coefficients);
    print.Table(StringTable::Text(StringTable::kTitreResultatsParInterview), interviewRows,
                Texts({StringTable::kObserve, StringTable::kTheorique, StringTable::kEcartRelatif}), r.parInterview);
}

// ---- regression ----

int RegressionOfCsv(const std::string& input, const Values& values, const Printer& print, std::ostream& err) {
    Csv csv;
    if (!ReadCsv(input, csv, err))
        return 1;
    const std::optional<int> target = Integer(values, "target");
    const std::optional<std::vector<int>> columns =
        values.count("columns") ? Range(values.at("columns")) : std::nullopt;
    std::optional<std::vector<int>> rows = std::vector<int>{};
    for (int i = 0; i < static_cast<int>(csv.rows.size()); ++i)
        rows->push_back(i);
    if (values.count("rows"))
        rows = Range(values.at("rows"));
    if (!target || *target < 1 || !columns || !rows) {
        err << kUsage;
        return 2;
    }
    if (columns->size() < 2)
        return Fail(StringTable::Format(Message(StringTable::kAuMoinsDeuxExplicatives)), err);
    // Active rows first, those without a target value among the illustrative ones, as the
    // regression window does.
    std::vector<bool> active(csv.rows.size(), false);
    for (const int i : *rows) {
        if (i >= static_cast<int>(csv.rows.size()))
            return Fail("no row " + std::to_string(i + 1), err);
        active[static_cast<std::size_t>(i)] = true;
    }
    std::vector<int> order;
    std::vector<int> illustrative;
    for (int i = 0; i < static_cast<int>(csv.rows.size()); ++i)
        (active[static_cast<std::size_t>(i)] && Cell(csv, i, *target - 1) ? order : illustrative).push_back(i);
    const int n = static_cast<int>(order.size());
    order.insert(order.end(), illustrative.begin(), illustrative.end());
    std::vector<double> y;
    std::vector<double> x;
    std::vector<std::string> labels;
    for (const int i : order) {
        y.push_back(Cell(csv, i, *target - 1).value_or(kValeurManquante));
        for (const int j : *columns) {
            const std::optional<double> value = Cell(csv, i, j);
            if (!value)
                return Fail("row " + std::to_string(i + 1) + ", column " + std::to_string(j + 1) + " is not a number",
                            err);
            x.push_back(*value);
        }
        labels.push_back(csv.rows[static_cast<std::size_t>(i)]);
    }
    CRegressionLineaire solver;
    const int k = static_cast<int>(columns->size());
    solver.Initialiser(n, static_cast<int>(order.size()) - n, k, y.data(), x.data());
    ResultatsRegression r;
    int code = -1;
    if (!solver.Calculer(r, code))
        return Fail(StringTable::Format(CRegressionLineaire::MessageErreur(code)), err);
    std::vector<std::string> coefficientRows = {StringTable::Text(StringTable::kConstante)};
    for (const int j : *columns)
        coefficientRows.push_back(j < static_cast<int>(csv.columns.size()) ? csv.columns[static_cast<std::size_t>(j)]
                                                                           : std::string());
    PrintRegression(r, coefficientRows, labels, print);
    return 0;
}

int RegressionOfSurvey(CContexteEtude& context, const Values& values, const Printer& print, std::ostream& err) {
    RegressionAnalysis analysis(context);
    if (!values.count("target") || !values.count("questions")) {
        err << kUsage;
        return 2;
    }
    analysis.cible = context.TrouverQuestionParNom(values.at("target"));
    if (analysis.cible == nullptr || !analysis.cible->EstNumerique())
        return Fail("no numeric question " + values.at("target"), err);
    for (const std::string& name : Names(values.at("questions"))) {
        CQuestionEtendue* question = context.TrouverQuestionParNom(name);
        if (question == nullptr || !question->EstNumerique())
            return Fail("no numeric question " + name, err);
        analysis.explicativesActives.Add(question);
    }
    if (values.count("missing")) {
        const std::optional<int> mode = Integer(values, "missing");
        if (!mode || *mode < 0 || *mode > 2) {
            err << kUsage;
            return 2;
        }
        analysis.modeValeursManquantes = *mode;
    }
    if (!analysis.Recalculer())
        return 1; // the message is already on the error stream
    const ResultatsRegression& r = analysis.GetResultats();
    const auto labels = [&analysis](std::int32_t kind, std::size_t count) {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < count; ++i)
            texts.push_back(analysis.DonnerLigne(kind, 0, static_cast<std::int32_t>(i)).label);
        return texts;
    };
    PrintRegression(r, labels(RegressionAnalysis::kLignesCoefficients, r.coefficients.size() / 3),
                    labels(RegressionAnalysis::kLignesInterviews, r.parInterview.size() / 3), print);
    return 0;
}

// ---- chi2 ----

void PrintTest(const IndependenceCrossing& crossing, const std::vector<std::string>& rows,
               const std::vector<std::string>& columns, const Printer& print) {
    print.out << "Valeur du Khi 2\t" << print.Number(crossing.khiDeux) << "\n"
              << "Degrés de liberté\t" << crossing.degresLibertes << "\n"
              << "Probabilité\t" << print.Number(crossing.probabilite) << "\n"
              << "Risque (%)\t" << print.Number(crossing.Risque()) << "\n"
              << IndependenceTest::Verdict(crossing) << "\n";
    struct Tab {
        int title;
        int plane; // -1: the contributions
    };
    static constexpr Tab kTabs[] = {
        {StringTable::kOngletEffectif, CrossPlanes::kCount},
        {StringTable::kOngletProfilsLignes, CrossPlanes::kRowPercentage},
        {StringTable::kOngletProfilsColonnes, CrossPlanes::kColumnPercentage},
        {StringTable::kOngletContribution, -1},
        {StringTable::kOngletEffectifIndependance, CrossPlanes::kExpectedCount},
    };
    for (const Tab& tab : kTabs)
        print.Table(StringTable::Text(tab.title), rows, columns,
                    tab.plane < 0 ? crossing.Contributions() : crossing.Plan(tab.plane));
}

int ChiSquareOfCsv(const std::string& input, const Printer& print, std::ostream& err) {
    Csv csv;
    if (!ReadCsv(input, csv, err))
        return 1;
    const int r = static_cast<int>(csv.rows.size());
    const int c = static_cast<int>(csv.columns.size());
    std::vector<double> counts;
    for (int i = 0; i < r; ++i)
        for (int j = 0; j < c; ++j) {
            const std::optional<double> count = Cell(csv, i, j);
            if (!count || *count < 0.0)
                return Fail("row " + std::to_string(i + 1) + ", column " + std::to_string(j + 1) +
                                " is not a count",
                            err);
            counts.push_back(*count);
        }
    std::vector<std::string> rows = csv.rows;
    std::vector<std::string> columns = csv.columns;
    rows.push_back("Total");
    columns.push_back("Total");
    PrintTest(IndependenceCrossing::DeTableau(counts, r, c), rows, columns, print);
    return 0;
}

std::vector<std::string> Captions(const IndependenceTest::Modalites& modalities) {
    std::vector<std::string> captions;
    for (const auto& modality : modalities)
        captions.push_back(modality->GetShortCaption());
    return captions;
}

int ChiSquareOfSurvey(CContexteEtude& context, const Values& values, const Printer& print, std::ostream& err) {
    if (!values.count("rows") || !values.count("columns")) {
        err << kUsage;
        return 2;
    }
    CQuestionEtendue* rows = context.TrouverQuestionParNom(values.at("rows"));
    CQuestionEtendue* columns = context.TrouverQuestionParNom(values.at("columns"));
    if (rows == nullptr || !rows->EstFermee() || columns == nullptr || !columns->EstFermee())
        return Fail("two closed questions are needed", err);
    if (values.count("weighting")) {
        std::vector<std::unique_ptr<CIdName>> weightings;
        context.DonnerListeRedressements(weightings);
        for (const auto& weighting : weightings)
            if (weighting->name == values.at("weighting"))
                context.weightingCode = weighting->id;
        if (context.weightingCode < 0)
            return Fail("no weighting " + values.at("weighting"), err);
    }
    IndependenceTest test(context, *rows, *columns);
    if (!test.Calculer())
        return Fail(test.GetErreur(), err);
    PrintTest(test.GetCroisement(), Captions(test.GetModalites(IndependenceTest::kLignes)),
              Captions(test.GetModalites(IndependenceTest::kColonnes)), print);
    return 0;
}

// ---- dispatch ----

struct Mode {
    const char* name;
    int (*csv)(const std::string& input, const Values& values, const Printer& print, std::ostream& err);
    int (*survey)(CContexteEtude& context, const Values& values, const Printer& print, std::ostream& err);
};

int ChiSquareOfCsvFile(const std::string& input, const Values&, const Printer& print, std::ostream& err) {
    return ChiSquareOfCsv(input, print, err);
}

constexpr Mode kModes[] = {
    {"regression", &RegressionOfCsv, &RegressionOfSurvey},
    {"chi2", &ChiSquareOfCsvFile, &ChiSquareOfSurvey},
};

const Mode* FindMode(const std::string& method) {
    for (const Mode& mode : kModes)
        if (method == mode.name)
            return &mode;
    return nullptr;
}

} // namespace

bool IsTestMode(const std::string& method) { return FindMode(method) != nullptr; }

int RunTestMode(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const Mode* mode = arguments.empty() ? nullptr : FindMode(arguments[0]);
    if (mode == nullptr || arguments.size() < 2) {
        err << kUsage;
        return 2;
    }
    Values values;
    for (std::size_t i = 2; i < arguments.size(); i += 2) {
        if (arguments[i].rfind("--", 0) != 0 || i + 1 >= arguments.size()) {
            err << kUsage;
            return 2;
        }
        values[arguments[i].substr(2)] = arguments[i + 1];
    }
    Printer print{9, out};
    if (values.count("digits")) {
        const std::optional<int> digits = Integer(values, "digits");
        if (!digits || *digits < 1 || *digits > 17) {
            err << kUsage;
            return 2;
        }
        print.digits = *digits;
    }
    const std::string& input = arguments[1];
    if (!EndsWith(input, ".qes"))
        return mode->csv(input, values, print, err);
    cli::RunScope scope;
    CContexteEtude context;
    context.SetUserInterface(std::make_unique<cli::StreamUserInterface>(err, "statistics-run"));
    context.ReadStartupOptions();
    context.questionnairePath = input;
    if (!context.OuvrirEtude())
        return Fail(context.GetLastError(), err);
    return mode->survey(context, values, print, err);
}

} // namespace statrun
