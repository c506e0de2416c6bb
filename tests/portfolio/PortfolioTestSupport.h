#pragma once

#include "portfolio/ElementDossier.h"
#include "portfolio/EnregistrerClassesDossier.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tools/qesrun/RequestText.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace portfolio_test {

// Six interviews: sex by region, counted by hand. Homme: Nord 1 (1), Sud 1 (2), no region 1 (6);
// Femme: Nord 2 (3, 5), Sud 1 (4). REGION offers the non-response; SEXE does not.
constexpr const char* kSurvey = R"(
questionnaire "Dossier" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 REGION closed noanswer
  modality 1 fr "Nord"
  modality 2 fr "Sud"
records
Cle1,1;1,2;1
1,1,1
2,1,2
3,2,1
4,2,2
5,2,1
6,1,
end
)";

// The same interviews without the question REGION.
constexpr const char* kSurveyWithoutRegion = R"(
questionnaire "Dossier" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
records
Cle1,1;1
1,1
2,1
3,2
4,2
5,2
6,1
end
)";

constexpr const char* kCrossRequest =
    "type tri-croise\nlignes SEXE\ncolonnes REGION\ncalculs 0\ntitre Sexe par région\n";
constexpr const char* kFlatRequest = "type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n";

class PortfolioTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerClassesDossier();
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        FixtureStudyTest::TearDown();
    }

    void Open(const char* description = kSurvey) {
        OpenFixture(description, "dossier");
        CContexteEtude::RegisterContext(&context);
    }

    // The first table the request gives on the open survey.
    std::unique_ptr<CTableau> Compute(const std::string& text) {
        qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(text, context);
        EXPECT_NE(parsed.request, nullptr) << parsed.error;
        if (parsed.request == nullptr)
            return nullptr;
        CExecuteurTraitement executor(context);
        executor.Executer(std::move(parsed.request));
        std::vector<std::unique_ptr<CTableau>> tables = executor.TakeTableaux();
        EXPECT_FALSE(tables.empty()) << text;
        return tables.empty() ? nullptr : std::move(tables.front());
    }

    std::unique_ptr<CElementDossier> TableElement(const std::string& text) {
        std::unique_ptr<CTableau> table = Compute(text);
        return table != nullptr ? std::make_unique<CElementDossier>(*table) : nullptr;
    }

    std::string FilePath(const std::string& name) const { return (folder / name).string(); }
};

// The value of the stored cell whose row and column labels are those; NaN when there is none.
inline double Cell(const CTableauBase& table, const std::string& row, const std::string& column) {
    for (std::int32_t r = 0; r < table.RowCount(); ++r)
        for (std::int32_t c = 0; c < table.ColumnCount(); ++c)
            if (table.DonnerLibelleLigne(r) == row && table.DonnerLibelleColonne(c) == column)
                return table.GetValeur(r, c);
    return std::nan("");
}

inline std::vector<const CElementDossier*>
Pointers(const std::vector<std::unique_ptr<CElementDossier>>& elements) {
    std::vector<const CElementDossier*> pointers;
    for (const auto& element : elements)
        pointers.push_back(element.get());
    return pointers;
}

} // namespace portfolio_test
