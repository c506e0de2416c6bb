// qesrun on a five-interview survey written by the fixture builder: the tables it prints for
// lines given twice, and for a numeric answer of 1e308, whose sums pass the largest double. Every
// expected number is counted by hand from the table below.
#include "ToolsTestSupport.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesrun/Command.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qesrun::Command;
using tools_test::TempFolder;

//   interview  SATISF        SEXE    AGE
//   1          Satisfait     Homme   30
//   2          Satisfait     Femme   1e308
//   3          Neutre        Femme   1e308
//   4          Insatisfait   Homme   50
//   5          Satisfait     Femme   non-response
constexpr const char* kSurvey = R"(
questionnaire "Petite enquête" language=fr
language 1036 fr "Français"
question 1 SATISF closed
  caption fr "Satisfaction"
  modality 1 fr "Satisfait"
  modality 2 fr "Neutre"
  modality 3 fr "Insatisfait"
question 2 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 3 AGE numeric
  caption fr "Âge"
records
Cle1,1;1,2;1,3;1
1,1,1,30
2,1,2,1e308
3,2,2,1e308
4,3,1,50
5,1,2,-999999.99
end
)";

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class QesrunSmallSurvey : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<TempFolder>();
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(kSurvey, "petite.txt", {});
        qesbuild::WriteFixture(fixture, Survey());
    }
    static void TearDownTestSuite() { folder.reset(); }

    static std::string Survey() { return folder->Sub("petite.qes"); }

    // The request text run on the survey.
    static Outcome Qesrun(const std::string& text) {
        const std::string request = folder->Sub("request.req");
        tools_test::WriteText(request, text);
        std::ostringstream out;
        std::ostringstream err;
        Outcome run;
        run.exitCode = Command::Run({Survey(), request}, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    static std::unique_ptr<TempFolder> folder;
};

std::unique_ptr<TempFolder> QesrunSmallSurvey::folder;

struct Printed {
    const char* request;
    const char* tables;
};

// Every occurrence of a modality or of the Total shows the numbers of the first one; the repeats
// count nothing twice (the Total, the base, the percentages keep their values).
TEST_F(QesrunSmallSurvey, ALineGivenTwiceShowsTheSameNumbersEachTime) {
    const std::vector<Printed> cases = {
        // Satisfait 3, Neutre 1, Insatisfait 1 of 5 respondents; the not-asked modality follows.
        {"type tri-simple\nlignes SATISF total total\n",
         "Satisfaction\nBase : 5\nBase : 5\tEffectifs\tPourcentage\n"
         "Satisfait\t3\t60.0%\nNeutre\t1\t20.0%\nInsatisfait\t1\t20.0%\nNon interrogé\t0\t0.0%\n"
         "Total\t5\t100.0%\nTotal\t5\t100.0%\n"},
        // Neutre and Satisfait kept: 4 respondents.
        {"type tri-simple\nlignes SATISF 2 1 2\n",
         "Satisfaction\nBase : 4\nBase : 4\tEffectifs\tPourcentage\n"
         "Neutre\t1\t25.0%\nSatisfait\t3\t75.0%\nNeutre\t1\t25.0%\n"},
        // Neutre: woman 3; Satisfait: man 1, women 2 and 5; 4 units crossed (1 man, 3 women).
        {"type tri-croise\nlignes SATISF 2 1 2 total\ncolonnes SEXE 2 1 2 total\ncalculs 0\nfusion 0\n",
         "Satisfaction x Sexe\nBase : 4\nBase : 4\tFemme\tHomme\tFemme\tTotal\n"
         "Neutre\t1\t0\t1\t1\nSatisfait\t2\t1\t2\t3\nNeutre\t1\t0\t1\t1\nTotal\t3\t1\t3\t4\n"},
    };
    for (const Printed& expected : cases) {
        SCOPED_TRACE(expected.request);
        const Outcome run = Qesrun(expected.request);
        ASSERT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, expected.tables);
    }
}

// AGE holds 30, 50 and 1e308 twice (and a non-response). Its sum, its squares and its higher powers
// pass the largest double: those statistics show an empty cell, the others their exact value,
// numbers of 1e15 and more in scientific form. Running the requests leaves the file as it was.
TEST_F(QesrunSmallSurvey, StatisticsThatOverflowShowEmptyCellsAndTheOthersTheirValue) {
    const std::string before = tools_test::ReadBytes(Survey());
    ASSERT_FALSE(before.empty());
    const std::vector<Printed> cases = {
        // Mean (30 + 50 + 2e308) / 4 = 5e307; the median is the 2nd of 30, 50, 1e308, 1e308.
        {"type statistiques\nlignes AGE\ncalculs 0 1 2 3 4 5 6 7 8 9 10 11 12 13\n",
         "Âge\nBase : 5\nBase : 5\t \n"
         "Moyenne\t5.0e+307\nEcart-type\t\nNbre de réponses\t4\nNbre de 'Non-réponses'\t1\nSomme\t\n"
         "Minimum\t30.0\nMaximum\t1.0e+308\nIC sur moyenne(-)\t\nIC sur moyenne (+)\t\nVariance\t\n"
         "Médiane\t50.0\nCoefficient d'aplatissement\t\nCoefficient d'asymétrie\t\nIndice de Gini\t\n"},
        // Men 30 and 50; women 1e308 twice (no spread) and a non-response; all of them.
        {"type moyenne\nlignes SEXE 1 2 total\ncolonnes AGE\ncalculs 0 1 2 3 4 5 6 9\n",
         "Sexe x Âge\nBase : 5\n"
         "Base : 5\tMoyenne\tEcart-type\tNbre de réponses\tNbre de 'Non-réponses'\t"
         "Somme\tMinimum\tMaximum\tVariance\n"
         "Homme\t40.0\t10.0\t2\t0\t80.0\t30.0\t50.0\t100.0\n"
         "Femme\t1.0e+308\t0.0\t2\t1\t\t1.0e+308\t1.0e+308\t0.0\n"
         "Total\t5.0e+307\t\t4\t1\t\t30.0\t1.0e+308\t\n"},
    };
    for (const Printed& expected : cases) {
        SCOPED_TRACE(expected.request);
        const Outcome run = Qesrun(expected.request);
        ASSERT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, expected.tables);
        EXPECT_EQ(run.out.find("inf"), std::string::npos);
        EXPECT_EQ(run.out.find("nan"), std::string::npos);
    }
    EXPECT_EQ(tools_test::ReadBytes(Survey()), before);
}

} // namespace
