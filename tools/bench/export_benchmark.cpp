// Times the three exports of a result table as the table window runs them: a cross table of 60
// rows by 40 columns with 3 calculations side by side (counts, column percentages, significance
// marks: 60 x 120 cells under two header rows, each column modality over its three calculations,
// thin lines between the calculations), written to RTF, to a workbook (.xlsx) and to text, each
// REPEAT times into a temporary folder. The settings are the built-in defaults (one piece, the
// full per-cell formatting of the workbook).
// Usage: export_benchmark [REPEAT] [FOLDER]; prints "name milliseconds-per-export bytes" lines.
#include "app/Ligne.h"
#include "app/Message.h"
#include "app/StringTable.h"
#include "export/TableExports.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/Tableau.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRows = 60;
constexpr int kColumns = 40;
constexpr int kCalculations = 3;

std::unique_ptr<CTableau> CrossTable() {
    const int columns = kColumns * kCalculations;
    auto table = std::make_unique<CTableau>(2, 1, kRows, columns, CTableauBase::kMarqueParColonne);
    table->title = "Question de 60 modalités x question de 40 modalités";
    table->base = 100000;
    auto rowMerges = std::make_unique<CFusion>(2, 1, kRows, columns);
    auto columnMerges = std::make_unique<CFusion>(2, 1, kRows, columns);
    auto marks = std::make_unique<CMatriceCreuse>(2 + kRows, 1 + columns);
    const char* calculations[kCalculations] = {"Effectifs", "Profil colonne", "Significativité"};
    for (int c = 0; c < kColumns; ++c) {
        const CLigne modality("Modalité colonne " + std::to_string(c + 1));
        table->SetLibelleColonne(0, c * kCalculations, &modality);
        columnMerges->SetFusion(0, 1 + c * kCalculations, kCalculations - 1);
        for (int k = 0; k < kCalculations; ++k) {
            const int column = c * kCalculations + k;
            const CLigne calculation(calculations[k]);
            table->SetLibelleColonne(1, column, &calculation);
            table->SetMarque(column, static_cast<std::uint16_t>(k == 0   ? CTableauBase::kMarqueEffectif
                                                                  : k == 1 ? CTableauBase::kMarquePourcentage
                                                                           : CTableauBase::kMarqueSignificativite));
            if (k > 0)
                for (int line = 1; line < 2 + kRows; ++line)
                    marks->SetMarqueLigne(line, 1 + column, CTableauBase::kTraitFin);
        }
    }
    unsigned state = 12345;
    for (int r = 0; r < kRows; ++r) {
        const CLigne modality("Modalité ligne " + std::to_string(r + 1));
        table->SetLibelleLigne(0, r, &modality);
        for (int c = 0; c < kColumns; ++c) {
            state = state * 1103515245u + 12345u;
            const double count = static_cast<double>(state >> 16 & 0x3FF);
            table->SetValeur(r, c * kCalculations, count);
            table->SetValeur(r, c * kCalculations + 1, count / 10.24);
            table->SetValeur(r, c * kCalculations + 2, static_cast<double>(static_cast<int>(state >> 8 & 7) - 3));
        }
    }
    CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, 2, 1);
    table->SetFusionLignes(std::move(rowMerges));
    table->SetFusionColonnes(std::move(columnMerges));
    table->SetBordures(std::move(marks));
    return table;
}

using Export = bool (*)(const CTableauBase&, const std::string&, const std::string&, Message&);

bool Time(const char* name, Export exporter, const CTableauBase& table, const std::filesystem::path& path, int repeat) {
    Message error;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < repeat; ++i) {
        if (!exporter(table, path.string(), std::string(), error)) {
            std::fprintf(stderr, "%s: %s\n", name, StringTable::Format(error).c_str());
            return false;
        }
    }
    const double milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repeat;
    std::printf("%s %.2f %ju\n", name, milliseconds, static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int repeat = argc > 1 ? std::atoi(argv[1]) : 100;
    const std::filesystem::path folder = argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    if (repeat <= 0) {
        std::fprintf(stderr, "usage: export_benchmark [REPEAT] [FOLDER]\n");
        return 2;
    }
    const std::unique_ptr<CTableau> table = CrossTable();
    const bool done = Time("rtf", &ExporterTableauWord, *table, folder / "export-benchmark.rtf", repeat) &&
                      Time("xlsx", &ExporterTableauClasseur, *table, folder / "export-benchmark.xlsx", repeat) &&
                      Time("txt", &ExporterTableauAscii, *table, folder / "export-benchmark.txt", repeat);
    return done ? 0 : 1;
}
