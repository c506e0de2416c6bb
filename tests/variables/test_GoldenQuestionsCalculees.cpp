// One stored record of each kind, read back by an opening: the questions they become, dumped, equal
// tests/golden/computed-questions.txt (regenerate with MORVANE_UPDATE_GOLDEN=1 after checking the
// new content against the kinds' rules by hand).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "VariablesTestSupport.h"
#include "app/DBQuestionnaire.h"

using namespace variables_test;

namespace {

struct Record {
    std::int16_t kind;
    const char* label;
    const char* themes;
    const char* definition;
    int maxAnswers;
    std::int32_t source1; // question code, 0 for none
};

// clang-format off
const std::vector<Record> kRecords = {
    {1, "Croisement", "Homme et Alpha|Femme|", "0;0@|1;0@1;1@1;2@|", 2, 1},
    {2, "Champs", "Jeunes|Autres|", "3|0@|", 1, 0},
    {3, "Script", "", "AGE / 10", 1, 0},
    {4, "Typologie", "Groupe 1|Groupe 2|", "1|2|", 1, 0},
    {5, "Axe 1", "", "", 1, 0},
    {6, "Superposition", "Alpha@1|Bêta@2|sans code|", "3@0@|", 2, 0},
    {7, "Poids", "", "2", 1, 0},
    {8, "Profil", "Un|Deux|", "1@@0@1:0:0:0:0;|3@@0@2:0:0:0:0;|", 2, 0},
    {9, "Mots", "bien|mal|", "bien@|mal@|", 2, 4},
    {10, "Codage", "Rural|Urbain|", "2", 1, 1},
    {11, "Durées", "", "1@@0@1:0:0:0:0;|", 1, 0},
    {12, "Langue", "Français|", "0", 1, 0},
    {13, "Marques filtrées", "", "1@", 2, 3},
};
// clang-format on

std::string Dump(const CEnquete& survey) {
    std::ostringstream out;
    for (const auto& question : survey.questions) {
        if (question->code >= 0)
            continue;
        out << question->code << " \"" << question->name << "\" kind " << question->kind << " class "
            << question->classAttribute << " depth " << question->depth << " type " << question->type << " flag "
            << question->typeFlag << " answers " << question->answerCount << " multiple "
            << question->multipleAnswers << " table " << question->responseTable << "\n";
        for (int i = 0; i < question->GetNbreModalite(); ++i) {
            const CModalite& modality = *question->GetModalite(i);
            out << "  " << modality.code << " \"" << modality.GetLocalisedShortCaption(kFrench) << "\"\n";
        }
    }
    return out.str();
}

class GoldenQuestionsCalculeesTest : public VariablesFixture {};

TEST_F(GoldenQuestionsCalculeesTest, EveryKindLoadsAsTheGoldenFileSays) {
    CDBQuestionnaire database(context, ui);
    std::int32_t number = 0;
    for (const Record& record : kRecords) {
        CVariableCalculee definition;
        definition.code = ++number;
        definition.label = record.label;
        definition.kind = record.kind;
        definition.themes = record.themes;
        definition.definition = record.definition;
        definition.maxAnswers = record.maxAnswers;
        definition.responseTable = 1;
        definition.reference1 = {record.source1, "", 0};
        definition.ResoudreQuestions(context);
        ASSERT_TRUE(database.SauverVariable(definition)) << record.label;
    }
    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    // The superposition item without a code is the one finding.
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_NE(ui->ShownTexts().front().find("'Superposition' : l'élément 'sans code'"), std::string::npos);
    const std::string dump = Dump(context);

    const std::string golden = std::string(MORVANE_SOURCE_DIR) + "/tests/golden/computed-questions.txt";
    const char* update = std::getenv("MORVANE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(golden, std::ios::binary) << dump;
        GTEST_SKIP() << "golden file rewritten: " << golden;
    }
    std::ifstream file(golden, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(expected.empty()) << "missing " << golden << " (run with MORVANE_UPDATE_GOLDEN=1)";
    EXPECT_EQ(dump, expected);
}

} // namespace
