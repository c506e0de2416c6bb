// A raking that cannot meet its targets still gives weights; the tables computed on them, the
// first as every later one while the weights stay cached and again after the questionnaire is
// reopened, must say so in their weighting caption, and each request must tell the user.
#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ModaliteEtendue.h"
#include "app/Redressement.h"
#include "recodes/ObjectifRedressement.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

// Eight interviews; Q1BIS is answered as Q1 (five A, three B), so that no weights can give Q1
// half A and Q1BIS 80 % A at once.
constexpr const char* kTwins = R"(
questionnaire "Jumelles" language=fr
language 1036 fr "Français"
question 1 Q1 closed
  modality 1 fr "A"
  modality 2 fr "B"
question 2 Q1BIS closed
  modality 1 fr "A"
  modality 2 fr "B"
records
Cle1,1;1,2;1
1,1,1
2,1,1
3,1,1
4,1,1
5,1,1
6,2,2
7,2,2
8,2,2
end
)";

const std::string kNotConverging =
    "Le redressement ne converge pas, probablement à cause des objectifs fixés pour la question 'Q1BIS'...";

class WeightingNotConvergedTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kTwins, "jumelles");
        context.IterationPerQuestion = 5;
    }

    // A scheme of plain targets on Q1 and Q1BIS, stored under this name.
    std::int32_t Scheme(const std::string& name, const std::vector<double>& q1, const std::vector<double>& q1bis) {
        CObjectifRedressement root;
        for (const auto& [question, desired] : {std::pair{"Q1", q1}, std::pair{"Q1BIS", q1bis}}) {
            auto target = std::make_unique<CObjectifRedressement>(&Named(question));
            for (std::size_t k = 0; k < desired.size(); ++k)
                target->SetObjectif(static_cast<int>(k), desired[k]);
            root.AjouterObjectif(std::move(target));
        }
        CRedressement scheme;
        scheme.id = nextId++;
        scheme.name = name;
        std::int32_t code = 0;
        std::string keys;
        std::int32_t recode = 0;
        CEnquete::DonnerReferenceQuestion(nullptr, code, keys, recode);
        scheme.definition = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "~" +
                            root.EcrireDefinition(context, false, 0);
        context.MettreAJourRedressement(scheme);
        return scheme.id;
    }

    // The weighted flat table of Q1 on the scheme; its caption, and the messages its request showed.
    std::string FlatTableCaption(std::int32_t weighting, const std::string& name, std::vector<std::string>& shown) {
        auto request = std::make_unique<CTraitement>();
        request->type = CTraitement::kTriSimple;
        request->title = "Q1";
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        std::vector<std::unique_ptr<CModaliteEtendue>> rows;
        for (int i = 0; i < 2; ++i)
            rows.push_back(std::make_unique<CModaliteEtendue>(*Named("Q1").GetModaliteEtendue(i)));
        request->DefinirModalitesAxe(&Named("Q1"), rows, CTraitement::kLignes);
        CTraitement::Calculs calculations;
        calculations.push_back(std::make_unique<CCalcul>(0, "Effectifs", true));
        request->SetCalculsLignes(std::move(calculations));
        request->weightingId = weighting;
        request->weightingName = name;
        ui->shown.clear();
        CExecuteurTraitement runner(context);
        EXPECT_EQ(runner.Calculer(std::move(request)), 1);
        shown = ui->ShownTexts();
        if (runner.GetNbTableaux() != 1)
            return "no table";
        CTableau& table = *runner.GetTableau(0);
        CPresentationTableau presentation = table.GetPresentation();
        presentation.SetEstTitreRedressement(true);
        table.SetPresentation(presentation);
        std::vector<std::string> lines;
        table.DonnerLignesTitre(lines);
        EXPECT_NE(std::find(lines.begin(), lines.end(), table.weightingCaption), lines.end())
            << "the caption is in the title block the window, print and exports show";
        return table.weightingCaption;
    }

    std::int32_t nextId = 20;
};

TEST_F(WeightingNotConvergedTest, EveryTableOnWeightsThatDidNotConvergeSaysSoBeforeAndAfterReopening) {
    for (const char* when : {"first opening", "after reopening"}) {
        // The schemes as the raking dialog leaves them in the open questionnaire.
        const std::int32_t contradictory = Scheme("Cible", {50, 50}, {80, 20});
        const std::int32_t reachable = Scheme("Atteinte", {40, 60}, {40, 60});
        for (int table = 1; table <= 3; ++table) {
            SCOPED_TRACE(std::string(when) + ", table " + std::to_string(table));
            std::vector<std::string> shown;
            EXPECT_EQ(FlatTableCaption(contradictory, "Cible", shown), "Cible (le redressement ne converge pas)");
            EXPECT_EQ(shown, std::vector<std::string>{kNotConverging}) << "told once per request";
            EXPECT_EQ(FlatTableCaption(reachable, "Atteinte", shown), "Atteinte");
            EXPECT_TRUE(shown.empty()) << shown.front();
        }
        context.FermerEtude();
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        context.IterationPerQuestion = 5;
    }
}

} // namespace
