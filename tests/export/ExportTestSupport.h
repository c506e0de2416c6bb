#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Ligne.h"
#include "app/Registre.h"
#include "support/SettingsFixture.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/Tableau.h"
#include "tools/ToolsTestSupport.h"

namespace export_test {

using tools_test::ReadBytes;
using tools_test::TempFolder;
using tools_test::WriteText;

inline const std::filesystem::path kGoldenFolder = std::filesystem::path(MORVANE_SOURCE_DIR) / "tests" / "golden";

inline bool UpdatingGoldenFiles() {
    const char* update = std::getenv("MORVANE_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

// Compares bytes with a golden file of tests/golden, or rewrites it with MORVANE_UPDATE_GOLDEN=1.
inline void ExpectGolden(const std::string& name, const std::string& bytes) {
    const std::filesystem::path golden = kGoldenFolder / name;
    if (UpdatingGoldenFiles()) {
        WriteText(golden, bytes);
        GTEST_SKIP() << "rewrote " << golden;
    }
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
    EXPECT_EQ(ReadBytes(golden), bytes) << "differs from " << golden;
}

// Every test: settings of its own (the built-in defaults until it changes them) and a folder of
// its own for the files it writes.
class ExportFixture : public SettingsFixture {
protected:
    std::string Path(const std::string& name) const { return folder.Sub(name); }
    // The names in the test's folder, hidden temporary files included.
    std::vector<std::string> FolderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
};

inline CLigne Label(const std::string& text) { return CLigne(text); }

inline CLigne Heading(const std::string& text) {
    CLigne line(text);
    line.heading = 1;
    return line;
}

// A 2 x 2 table with one header level on each side: counts and column percentages of two answers,
// with letters RTF and text must keep ("è", "«»", "–") and characters RTF must escape.
inline std::unique_ptr<CTableau> SmallTable() {
    auto table = std::make_unique<CTableau>(1, 1, 2, 2, CTableauBase::kMarqueParColonne);
    table->title = "Satisfaction – « globale »";
    table->base = 500;
    table->studyFieldCaption = "Toutes les interviews";
    const CLigne rows[] = {Label("Très satisfait"), Label("Peu \\ {pas} satisfait")};
    const CLigne columns[] = {Label("Effectifs"), Label("Pourcentage")};
    for (int i = 0; i < 2; ++i) {
        table->SetLibelleLigne(0, i, &rows[i]);
        table->SetLibelleColonne(0, i, &columns[i]);
    }
    table->SetMarque(0, CTableauBase::kMarqueEffectif);
    table->SetMarque(1, CTableauBase::kMarquePourcentage);
    table->SetValeur(0, 0, 125);
    table->SetValeur(0, 1, 25.0);
    table->SetValeur(1, 0, 375);
    table->SetValeur(1, 1, 75.0);
    return table;
}

// A cross table of age by region with three calculations one below the other: two header rows
// (the heading "Région" over the four regions, then the regions) and two header columns (each
// age group over its three calculation rows, then the calculations), the corner made one cell,
// thin lines between the calculation rows of a group. Cut at 10 lines and 5 columns per piece it
// gives three bands of six rows (each cut before an age group) and two blocks of two regions.
inline std::unique_ptr<CTableau> CrossTable() {
    constexpr int kAges = 6;
    constexpr int kCalculations = 3;
    constexpr int kRegions = 4;
    auto table = std::make_unique<CTableau>(2, 2, kAges * kCalculations, kRegions, CTableauBase::kMarqueParLigne);
    table->title = "Âge x Région";
    table->base = 2000;
    const char* ages[kAges] = {"18-24 ans", "25-34 ans", "35-49 ans", "50-64 ans", "65 ans et plus", "Non réponse"};
    const char* calculations[kCalculations] = {"Effectifs", "% ligne", "% colonne"};
    const char* regions[kRegions] = {"Île-de-France", "Nord-Est", "Sud-Ouest", "Outre-mer"};
    const CLigne heading = Heading("Région");
    table->SetLibelleColonne(0, 0, &heading);
    auto rowMerges = std::make_unique<CFusion>(2, 2, kAges * kCalculations, kRegions);
    auto columnMerges = std::make_unique<CFusion>(2, 2, kAges * kCalculations, kRegions);
    auto marks = std::make_unique<CMatriceCreuse>(2 + kAges * kCalculations, 2 + kRegions);
    columnMerges->SetFusion(0, 2, kRegions - 1);
    for (int c = 0; c < kRegions; ++c) {
        const CLigne region = Label(regions[c]);
        table->SetLibelleColonne(1, c, &region);
    }
    for (int a = 0; a < kAges; ++a) {
        const CLigne age = Label(ages[a]);
        table->SetLibelleLigne(0, a * kCalculations, &age);
        rowMerges->SetFusion(2 + a * kCalculations, 0, kCalculations - 1);
        for (int k = 0; k < kCalculations; ++k) {
            const int row = a * kCalculations + k;
            const CLigne calculation = Label(calculations[k]);
            table->SetLibelleLigne(1, row, &calculation);
            table->SetMarque(row, k == 0 ? CTableauBase::kMarqueEffectif : CTableauBase::kMarquePourcentage);
            if (k > 0)
                for (int c = 1; c < 2 + kRegions; ++c)
                    marks->SetMarqueColonne(2 + row, c, CTableauBase::kTraitFin);
            for (int c = 0; c < kRegions; ++c) {
                const double count = 10 * (a + 1) + 3 * c;
                table->SetValeur(row, c, k == 0 ? count : count / (k == 1 ? 4.0 : 8.0));
            }
        }
    }
    CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, 2, 2);
    table->SetFusionLignes(std::move(rowMerges));
    table->SetFusionColonnes(std::move(columnMerges));
    table->SetBordures(std::move(marks));
    return table;
}

// The settings that cut the cross table into 3 x 2 pieces.
inline void CutCrossTableIntoSixPieces() {
    CRegistre::SetLinesPerTableInWord(false, 10);
    CRegistre::SetColumnsPerTableInWord(false, 5);
}

} // namespace export_test
