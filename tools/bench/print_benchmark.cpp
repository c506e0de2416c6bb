// Times the printing of large tables as the table window prints them, on an A4 page in portrait
// at the printer's high resolution: a crossed profile of the first 25 closed questions by the
// next 25 (counts, row and column percentages as calculation lines, in one table as a new request
// of the program makes it) and a frequency table of
// 2,000 modalities. For each: the printer layout of every band of columns and page of rows, the
// print preview from its opening to its first sheet on the screen, and every page drawn as the
// preview and the printout draw them (layout included); the crossed profile's own computation is
// timed beside them.
// Usage (the database is inverted first when it is not):
//   print_benchmark run FILE.qes   prints "name value" lines: seconds, page counts, and the
//                                  machine's load (1-minute average) before and after
#include "app/ContexteEtude.h"
#include "app/Inversion.h"
#include "app/Ligne.h"
#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "framework/PageSetup.h"
#include "tabulation/Tableau.h"
#include "tabulation/TypeFusion.h"
#include "gui/tabulation/PreviewPages.h"
#include "gui/tabulation/PrinterPicture.h"
#include "gui/tabulation/TableauPreviewView.h"
#include "gui/tabulation/TableauView.h"
#include "tools/bench/BenchGenerator.h"
#include "tools/bench/BenchProfiles.h"
#include "tools/bench/BenchSession.h"

#include <QApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Report;
using bench::SecondsSince;

constexpr std::size_t kQuestionsPerSide = 25;
constexpr std::int32_t kTallRows = 2000;
// The preview's window, as it opens on a screen of 1600 x 1000.
constexpr int kPreviewWidth = 1360;
constexpr int kPreviewHeight = 850;

double LoadAverage() {
    std::ifstream loadavg("/proc/loadavg");
    double load = -1.0;
    loadavg >> load;
    return load;
}

// A frequency table of `rows` modalities: counts and percentages.
std::unique_ptr<CTableau> FrequencyTable(std::int32_t rows) {
    auto table = std::make_unique<CTableau>(1, 1, rows, 2, CTableauBase::kMarqueParColonne);
    table->title = "Question de 2000 modalités";
    const CLigne counts("Effectifs");
    const CLigne shares("% obs.");
    table->SetLibelleColonne(0, 0, &counts);
    table->SetLibelleColonne(0, 1, &shares);
    table->SetMarque(0, CTableauBase::kMarqueEffectif);
    table->SetMarque(1, CTableauBase::kMarquePourcentage);
    BenchGenerator generator(7);
    std::vector<double> values(static_cast<std::size_t>(rows));
    double total = 0.0;
    for (double& value : values) {
        value = static_cast<double>(generator.Next() % 1000);
        total += value;
    }
    for (std::int32_t row = 0; row < rows; ++row) {
        const CLigne label("Modalité " + std::to_string(row + 1));
        table->SetLibelleLigne(0, row, &label);
        table->SetValeur(row, 0, values[static_cast<std::size_t>(row)]);
        table->SetValeur(row, 1, 100.0 * values[static_cast<std::size_t>(row)] / total);
    }
    table->base = total;
    return table;
}

// The figures of one table, each line's name prefixed with `name`.
void TimePrinting(const char* name, const CTableau& table) {
    CTableauView view;
    view.SetTableau(table);
    const auto report = [name](const char* what, double value) {
        Report((std::string(name) + "_" + what).c_str(), value);
    };

    Clock::time_point start = Clock::now();
    {
        CTableauPreviewView preview(view);
        preview.resize(kPreviewWidth, kPreviewHeight);
        preview.show();
        const QImage shown = preview.GetPages().viewport()->grab().toImage();
        report("first_page", SecondsSince(start));
        if (shown.isNull() || !preview.IsReady())
            std::fprintf(stderr, "print_benchmark: the preview of %s showed nothing\n", name);
        report("preview_pages", preview.GetPageCount());
    }

    QPrinter printer(QPrinter::HighResolution);
    CPageSetup::Appliquer(printer);
    start = Clock::now();
    const int lastPage = view.OnBeginPrinting(printer);
    report("layout", SecondsSince(start));
    for (int page = 1; page <= lastPage; ++page) {
        PrinterPicture picture(printer);
        QPainter painter(&picture);
        view.OnPrint(painter, page);
    }
    view.OnEndPrinting();
    report("all_pages", SecondsSince(start));
    report("pages", lastPage);
}

int Run(const char* path) {
    CRegistre::InstallStore(std::make_unique<MemorySettingsStore>());
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "print_benchmark"))
        return 1;
    if (!context.invertedFilesValid && CInversion(context).InverserBase() != CInversion::Issue::Done) {
        std::fprintf(stderr, "inversion failed: %s\n", context.GetLastError().c_str());
        return 1;
    }
    const std::vector<CQuestionEtendue*> closed = bench::ClosedQuestions(context);
    if (closed.size() < 2 * kQuestionsPerSide) {
        std::fprintf(stderr, "the survey needs %zu closed questions\n", 2 * kQuestionsPerSide);
        return 1;
    }
    // A4 in portrait, whatever the default printer's paper.
    QPrinter model(QPrinter::HighResolution);
    QPageLayout page = model.pageLayout();
    page.setPageSize(QPageSize(QPageSize::A4));
    page.setOrientation(QPageLayout::Portrait);
    CPageSetup::SetLayout(page);

    Report("load_before", LoadAverage());
    std::unique_ptr<CTraitement> request =
        bench::CrossedProfileRequest(bench::ProfileOf(closed, 0, kQuestionsPerSide),
                                     bench::ProfileOf(closed, kQuestionsPerSide, kQuestionsPerSide));
    // One table, the calculations side by side, as a new request makes it.
    request->mergeOptions = CTypeFusion();
    const Clock::time_point start = Clock::now();
    const bench::Tables tables = bench::Execute(context, std::move(request));
    Report("profile_table", SecondsSince(start));
    if (tables.size() != 1) {
        std::fprintf(stderr, "the crossed profile gave %zu tables\n", tables.size());
        return 1;
    }
    Report("profile_rows", tables.front()->DonnerNbLignes());
    Report("profile_columns", tables.front()->DonnerNbColonnes());
    TimePrinting("profile", *tables.front());
    TimePrinting("tall", *FrequencyTable(kTallRows));
    Report("load_after", LoadAverage());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "run" && argc == 3)
        return Run(argv[2]);
    std::fprintf(stderr, "usage: print_benchmark run FILE.qes\n");
    return 2;
}
