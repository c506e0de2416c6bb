// qesrun's request line `champ NAME` on the households of the fixture, with study fields stored
// in the questionnaire: a field given by a formula and the same field given by conditions print
// the same cross tables, counted by hand, at the interview level and at the persons' level; a
// field whose formula cannot be computed prints no table, says why on the error stream and ends
// with status 1.
#include "recodes/ChampEtudeTestSupport.h"
#include "recodes/StockageChampsEtude.h"
#include "tools/qesrun/Command.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

using namespace champ_etude_test;

namespace {

using qesrun::Command;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class QesrunStudyFieldTest : public HouseholdsFixture {
protected:
    void SetUp() override {
        HouseholdsFixture::SetUp();
        Store(FormulaField("Adultes", kAdultsNorthEast));
        Store(ConditionsField("Adultes par conditions"));
        Store(FormulaField("Incomplète", "??AGE?? >= "));
        Store(FormulaField("Par personne", "??AGEP?? >= 18"));
    }

    void Store(CChampEtude field) {
        std::string error;
        ASSERT_TRUE(EnregistrerChampEtude(field, context, error)) << error;
    }

    Outcome Qesrun(const std::string& text) const {
        const std::string request = (folder / "request.req").string();
        std::ofstream(request) << text;
        std::ostringstream out;
        std::ostringstream err;
        Outcome run;
        run.exitCode = Command::Run({context.questionnairePath, request}, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // The table printed under the field (whose name the default title block does not show).
    std::string TableUnder(const std::string& request, const std::string& field) const {
        const Outcome run = Qesrun(request + "champ " + field + "\n");
        EXPECT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;
        return run.out;
    }
};

constexpr const char* kSexByRegion =
    "type tri-croise\nlignes SEXE 1 2 total\ncolonnes REGION 1 2 3 total\ncalculs 0\n";
constexpr const char* kLinkBySex =
    "type tri-croise\nlignes LIEN 1 2 total\ncolonnes SEXE 1 2 total\ncalculs 0\nniveau PERSONNES\n";

TEST_F(QesrunStudyFieldTest, AFormulaFieldAndTheSameConditionsPrintTheSameCrossTable) {
    const std::string byFormula = TableUnder(kSexByRegion, "Adultes");
    EXPECT_EQ(byFormula, TableUnder(kSexByRegion, "Adultes par conditions"));
    // Households 1 (Homme, Nord), 5 (Homme, Est) and 6 (Femme, Est).
    EXPECT_EQ(byFormula, "SEXE x REGION\n"
                         "Base : 3\n"
                         "Base : 3\tNord\tSud\tEst\tTotal\n"
                         "Homme\t1\t0\t1\t2\n"
                         "Femme\t0\t0\t1\t1\n"
                         "Total\t1\t0\t2\t3\n");
}

TEST_F(QesrunStudyFieldTest, AtThePersonsLevelThePersonsOfTheHouseholdsKeptCount) {
    const std::string byFormula = TableUnder(kLinkBySex, "Adultes");
    EXPECT_EQ(byFormula, TableUnder(kLinkBySex, "Adultes par conditions"));
    // The persons of households 1 (Parent, Enfant; Homme), 5 (Parent; Homme) and 6 (Parent,
    // Enfant; Femme); person (9, 1) has no household.
    EXPECT_EQ(byFormula, "LIEN x SEXE\n"
                         "Base : 5\n"
                         "Base : 5\tHomme\tFemme\tTotal\n"
                         "Parent\t2\t1\t3\n"
                         "Enfant\t1\t1\t2\n"
                         "Total\t3\t2\t5\n");
}

TEST_F(QesrunStudyFieldTest, AFormulaThatCannotBeComputedPrintsNoTableAndSaysWhy) {
    struct Case {
        const char* field;
        const char* reason;
    };
    for (const Case& c : {Case{"Incomplète", "erreur 109 à la position 9"},
                          Case{"Par personne", "erreur 200 à la position 1"}}) {
        SCOPED_TRACE(c.field);
        const Outcome run = Qesrun(std::string(kSexByRegion) + "champ " + c.field + "\n");
        EXPECT_EQ(run.exitCode, Command::kNoTable);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(std::string("La formule du champ d'étude '") + c.field + "'"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
}

} // namespace
