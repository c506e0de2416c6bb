// The analysis options qesrun computes with are the program's: those it reads at start-up and
// those it reads at each opening, from whatever settings store is installed. On an empty store
// they are the settings' defaults (not the survey's own initial values, which differ for the
// significance mode), and a value kept in the settings reaches both.
#include "app/ContexteEtude.h"
#include "support/SettingsFixture.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/Command.h"
#include "ToolsTestSupport.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct AnalysisOptions {
    // Read at start-up.
    int captionType = 0;
    int effectifSignificativite = 0;
    int significanceType = 0;
    double threshold3 = 0;
    double threshold2 = 0;
    double threshold1 = 0;
    double confidenceIntervalThreshold = 0;
    // Read at each opening.
    bool checkInversion = false;
    bool useCompletedOnly = false;
    bool groupSemiOpens = false;
    int totalType = 0;
    double minWeight = 0;
    double maxWeight = 0;
    int iterationPerQuestion = 0;
    int accuracy = 0;

    bool operator==(const AnalysisOptions&) const = default;
};

std::ostream& operator<<(std::ostream& out, const AnalysisOptions& o) {
    return out << "{CaptionType " << o.captionType << ", EffectifSignificativite " << o.effectifSignificativite
               << ", SignificanceType " << o.significanceType << ", thresholds " << o.threshold3 << ' '
               << o.threshold2 << ' ' << o.threshold1 << ", ConfidenceIntervalThreshold "
               << o.confidenceIntervalThreshold << ", CheckInversion " << o.checkInversion
               << ", UseCompletedOnly " << o.useCompletedOnly << ", GroupSemiOpens " << o.groupSemiOpens
               << ", TotalType " << o.totalType << ", weights " << o.minWeight << ".." << o.maxWeight
               << ", IterationPerQuestion " << o.iterationPerQuestion << ", Accuracy " << o.accuracy << '}';
}

AnalysisOptions OptionsOf(const CEnquete& survey) {
    return {survey.CaptionType,
            survey.EffectifSignificativite,
            survey.SignificanceType,
            survey.SignificanceThreshold3,
            survey.SignificanceThreshold2,
            survey.SignificanceThreshold1,
            survey.ConfidenceIntervalThreshold,
            survey.CheckInversion,
            survey.UseCompletedOnly,
            survey.GroupSemiOpens,
            survey.TotalType,
            survey.MinWeight,
            survey.MaxWeight,
            survey.IterationPerQuestion,
            survey.Accuracy};
}

class AnalysisOptionsTest : public SettingsFixture {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<tools_test::TempFolder>();
        qesbuild::DemoSurvey::Write(folder->path(), qesbuild::DemoSurvey::kSeed, 20);
    }
    static void TearDownTestSuite() { folder.reset(); }

    static std::string Demo() { return folder->Sub("demo.qes"); }

    // The options of a survey that qesrun opened.
    static AnalysisOptions OfQesrun() {
        CContexteEtude context;
        EXPECT_TRUE(qesrun::Command::OpenStudy(context, Demo())) << context.GetLastError();
        return OptionsOf(context);
    }

    // The options of the program's survey: the start-up reading, then the opening of the file.
    static AnalysisOptions OfTheProgram() {
        CContexteEtude context;
        context.ReadStartupOptions();
        context.questionnairePath = Demo();
        EXPECT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        return OptionsOf(context);
    }

    static inline std::unique_ptr<tools_test::TempFolder> folder;
};

// The defaults of the settings, key by key.
TEST_F(AnalysisOptionsTest, OnEmptySettingsQesrunComputesWithTheProgramsDefaults) {
    const AnalysisOptions defaults{2, 5, 0, 2.576, 1.96, 1.645, 1.96, true, false, false, 0, 0.0, 5.0, 30, 10};
    EXPECT_EQ(OfTheProgram(), defaults);
    EXPECT_EQ(OfQesrun(), defaults);
    // What the empty settings replace: the survey's own significance mode is the line test.
    EXPECT_EQ(CContexteEtude().SignificanceType, 2);
}

TEST_F(AnalysisOptionsTest, AValueKeptInTheSettingsReachesQesrunAsItReachesTheProgram) {
    MemorySettingsStore& store = Store();
    store.WriteInteger("Options", "CaptionType", 1);
    store.WriteInteger("Options", "EffectifSignificativite", 12);
    store.WriteInteger("Options", "SignificanceType", 1);
    store.WriteString("Options", "SignificanceThreshold3", "3.29");
    store.WriteString("Options", "SignificanceThreshold2", "2.5");
    store.WriteString("Options", "SignificanceThreshold1", "1.28");
    store.WriteString("Options", "ConfidenceIntervalThreshold", "2.576");
    store.WriteInteger("Options", "CheckInversion", 0);
    store.WriteInteger("Options", "UseCompletedOnly", 1);
    store.WriteInteger("Options", "GroupSemiOpens", 1);
    store.WriteInteger("Options", "TotalType", 1);
    store.WriteInteger("Weighting", "MinWeight", 25);  // hundredths
    store.WriteInteger("Weighting", "MaxWeight", 350); // hundredths
    store.WriteInteger("Weighting", "IterationPerQuestion", 12);
    store.WriteInteger("Weighting", "Accuracy", 7);
    const AnalysisOptions kept{1, 12, 1, 3.29, 2.5, 1.28, 2.576, false, true, true, 1, 0.25, 3.5, 12, 7};
    EXPECT_EQ(OfTheProgram(), kept);
    EXPECT_EQ(OfQesrun(), kept);

    // Out of its bounds a value is the default for both.
    store.WriteInteger("Options", "SignificanceType", 3);
    EXPECT_EQ(OfTheProgram().significanceType, 0);
    EXPECT_EQ(OfQesrun().significanceType, 0);
}

} // namespace
