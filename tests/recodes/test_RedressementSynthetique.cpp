// The weights of a survey of some thousands of interviews, computed as the program does (cells of
// interviews answering alike, the initial weights read once) and as the plain computation does
// one interview at a time, must agree to 1e-12 relative on every kind of scheme.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ContexteEtude.h"
#include "app/Redressement.h"
#include "app/VecteurDouble.h"
#include "recodes/CalculRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "ReferenceRaking.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tools/qesbuild/SyntheticSurvey.h"

namespace {

constexpr int kInterviews = 20000;

class SyntheticRakingTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-raking-synth-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        context.questionnairePath = folder + "/s.qes";
        qesbuild::SyntheticSurvey::Write(context.questionnairePath, kInterviews, 8, 3);
        context.SetUserInterface(std::make_unique<RecordingUserInterface>());
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        ASSERT_EQ(context.DonnerNbreInterviews(), kInterviews);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        SettingsFixture::TearDown();
    }

    CQuestionEtendue* Question(const std::string& name) const { return context.TrouverQuestionParNom(name); }

    // A target on the question whose modality k wants a share growing with k (1, 2, 3...).
    std::unique_ptr<CObjectifRedressement> Target(const std::string& name,
                                                  std::int16_t mode = CObjectifRedressement::kModeSimple) {
        auto target = std::make_unique<CObjectifRedressement>(Question(name), mode);
        const int modalities = target->DonnerNombreModalites();
        const double sum = modalities * (modalities + 1) / 2.0;
        for (int k = 0; k < modalities; ++k)
            target->SetObjectif(k, 100.0 * (k + 1) / sum);
        return target;
    }

    std::int32_t Scheme(std::unique_ptr<CObjectifRedressement> root, const std::string& weight, double total) {
        CRedressement scheme;
        scheme.id = nextId++;
        scheme.name = "Synthetique " + std::to_string(scheme.id);
        scheme.NTotal = total;
        std::int32_t code = 0;
        std::string keys;
        std::int32_t recode = 0;
        CEnquete::DonnerReferenceQuestion(weight.empty() ? nullptr : Question(weight), code, keys, recode);
        scheme.definition = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "~" +
                            root->EcrireDefinition(context, false, 0);
        context.MettreAJourRedressement(scheme);
        return scheme.id;
    }

    std::unique_ptr<CObjectifRedressement> Margins(std::initializer_list<const char*> names) {
        auto root = std::make_unique<CObjectifRedressement>();
        for (const char* name : names)
            root->AjouterObjectif(Target(name));
        return root;
    }

    std::string folder;
    CContexteEtude context;
    std::int32_t nextId = 1;
};

TEST_F(SyntheticRakingTest, EveryKindOfSchemeGivesThePlainComputationsWeights) {
    struct Case {
        std::string name;
        std::int32_t id;
        double minWeight;
        double maxWeight;
    };
    std::vector<Case> cases;
    cases.push_back({"four margins", Scheme(Margins({"Q1", "Q2", "Q3", "Q4"}), "", 0.0), 0.0, 5.0});
    cases.push_back({"four margins, binding bounds", Scheme(Margins({"Q1", "Q2", "Q3", "Q4"}), "", 0.0), 0.6, 1.6});
    cases.push_back({"initial weights and three margins", Scheme(Margins({"Q5", "Q6", "Q7"}), "POIDS", 0.0), 0.0, 5.0});
    cases.push_back({"initial weights, a total, binding bounds", Scheme(Margins({"Q2", "Q8"}), "POIDS", 5e6), 0.3, 2.0});
    cases.push_back({"the weight question alone", Scheme(std::make_unique<CObjectifRedressement>(), "POIDS", 0.0),
                     0.0, 5.0});
    cases.push_back({"the weight question and a total",
                     Scheme(std::make_unique<CObjectifRedressement>(), "POIDS", 123456.0), 0.0, 5.0});
    // A split of Q1 whose every modality rakes Q2 and Q3 within it, beside a margin of Q4.
    auto split = Target("Q1", CObjectifRedressement::kModeEclate);
    for (int k = 0; k < split->DonnerNombreModalites(); ++k) {
        auto node = std::make_unique<CObjectifRedressement>();
        node->AjouterObjectif(Target("Q2"));
        node->AjouterObjectif(Target("Q3"));
        split->AjouterObjectif(std::move(node));
    }
    auto root = std::make_unique<CObjectifRedressement>();
    root->AjouterObjectif(std::move(split));
    root->AjouterObjectif(Target("Q4"));
    cases.push_back({"a split beside a margin", Scheme(std::move(root), "", 1000.0), 0.0, 5.0});

    for (const Case& c : cases) {
        context.MinWeight = c.minWeight;
        context.MaxWeight = c.maxWeight;
        CVecteurDouble fast;
        CVecteurDouble plain;
        std::string fastError;
        std::string plainError;
        ASSERT_TRUE(CalculerRedressement(c.id, 0, fast, fastError, context)) << c.name << ": " << fastError;
        ASSERT_TRUE(CalculerRedressementReference(c.id, 0, plain, plainError, context)) << c.name;
        EXPECT_EQ(fastError, plainError) << c.name;
        ASSERT_EQ(fast.GetSize(), kInterviews) << c.name;
        ASSERT_EQ(plain.GetSize(), kInterviews) << c.name;
        int differing = 0;
        double sum = 0.0;
        for (int i = 0; i < kInterviews; ++i) {
            sum += plain.GetAt(i);
            if (std::abs(fast.GetAt(i) - plain.GetAt(i)) > 1e-12 * std::abs(plain.GetAt(i)) && ++differing <= 3)
                ADD_FAILURE() << c.name << ", interview " << i << ": " << fast.GetAt(i) << " instead of "
                              << plain.GetAt(i);
        }
        EXPECT_EQ(differing, 0) << c.name;
        EXPECT_GT(sum, 0.0) << c.name;
    }
}

} // namespace
