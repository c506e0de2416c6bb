// Postcode classification variables: the normal form of a postcode, the stored level, the
// classification and caption files of tests/fixtures/postcodes (expected classes worked out by
// hand from those files), and files that cannot be used leaving the questionnaire as it was.
#include "VariablesTestSupport.h"
#include "app/StringTable.h"
#include "variables/CodagePostal.h"
#include "variables/ConstructionVariable.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace variables_test;

namespace {

const std::string kFiles = std::string(MORVANE_SOURCE_DIR) + "/tests/fixtures/postcodes/";

// Eight interviews with a postcode typed as people type them; the loop's open question is asked
// per member.
constexpr const char* kSurvey = R"(
questionnaire "Codes postaux" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 CP open
loop 500 MEMBRES count=2
  question 51 PRENOM open
end
records
Cle1,1;1,2;1
1,1,"sw19 1aa"
2,2,"W1 1AA"
3,1,"EC1A 1BB"
4,2,
5,1,"LS1 1UR"
6,2,"b2-4qa"
7,1," m1 1ae "
8,2,"ZZ9 9ZZ"
end
)";

TEST(CodagePostalNormalisation, AnswersTakeTheEightCharacterFormOrNone) {
    struct Case {
        const char* answer;
        const char* expected;
    };
    const Case cases[] = {
        {"sw19 1aa", "SW19 1AA"},
        {"SW191AA", "SW19 1AA"},
        {"SW-19 1AA", "SW19 1AA"},
        {"W1 1AA", "W  1 1AA"},
        {" m1 1ae ", "M  1 1AE"},
        {"LS1 1UR", "LS 1 1UR"},
        {"éa1 1aa", "A  1 1AA"}, // letters outside A-Z are dropped like any other sign
        {"EC1A 1BB", ""},        // a letter after the district digits
        {"1AA", ""},             // fewer than five characters kept
        {"", ""},
        {"SW19 AAA", ""},   // the inward part starts with a digit
        {"1W1 1AA", ""},    // the outward part starts with a letter
        {"SW123 1AA", " "}, // three district digits: one blank, which no file line holds
        {"SW 1AA", " "},    // no district digit at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(CodagePostal::Normaliser(c.answer), c.expected) << '"' << c.answer << '"';
}

TEST(CodagePostalDefinition, TheStoredNumberGivesTheLevelAndTheCaptions) {
    struct Case {
        std::int32_t stored;
        int level;
        bool longTexts;
    };
    // 0 and the numbers past the three levels read as the nearest level.
    const Case cases[] = {{1, 0, false}, {-1, 0, true}, {2, 1, false}, {-3, 2, true},
                          {0, 0, false}, {7, 2, false}, {-9, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const CodagePostal::Choix choice = CodagePostal::LireDefinition(c.stored);
        EXPECT_EQ(choice.niveau, c.level);
        EXPECT_EQ(choice.libelleLong, c.longTexts);
    }
    EXPECT_EQ(CodagePostal::EcrireDefinition({CodagePostal::kCategorie, false}), 1);
    EXPECT_EQ(CodagePostal::EcrireDefinition({CodagePostal::kCategorie, true}), -1);
    EXPECT_EQ(CodagePostal::EcrireDefinition({CodagePostal::kType, true}), -3);
}

using Rows = std::vector<std::string>;

Rows Column(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    Rows rows;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(connection) << " in " << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        rows.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return rows;
}

std::size_t Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::hash<std::string>{}(std::string(std::istreambuf_iterator<char>(file), {}));
}

class CodagePostalTest : public VariablesFixture {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        OpenFixture(kSurvey, "codespostaux");
        UseFiles(kFiles + "classification.txt", kFiles + "categories.txt", kFiles + "groups.txt",
                 kFiles + "types.txt");
    }

    void UseFiles(const std::string& postcodes, const std::string& categories, const std::string& groups,
                  const std::string& types) {
        Store().WriteString("Postcode", "PostcodePath", postcodes);
        Store().WriteString("Postcode", "LabelPath1", categories);
        Store().WriteString("Postcode", "LabelPath2", groups);
        Store().WriteString("Postcode", "LabelPath3", types);
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    PartiesVariable Parts(const std::string& label, CodagePostal::Choix choice) {
        PartiesVariable parts;
        parts.label = label;
        parts.kind = CVariableCalculee::kCodagePostal;
        parts.definition = std::to_string(CodagePostal::EcrireDefinition(choice));
        parts.source1 = &Named("CP");
        return parts;
    }

    // The stored answers, interview after interview.
    Rows Stored(const CQuestionEtendue& question) {
        return Column(context.questionnairePath,
                      "SELECT \"" + std::to_string(question.code) + ";1\" FROM \"VEL Reponse" +
                          std::to_string(question.responseTable) + "\" ORDER BY Cle1");
    }
};

// By hand from the files: sw19 1aa is A01/1/A, W1 1AA is B02/2/B, M1 1AE is C03/3/C, B2 4QA is
// X99/3/D (no caption X99), LS1 1UR is listed for the category only; EC1A 1BB never normalises,
// the fourth interview has no answer and ZZ9 9ZZ is not listed. Captions in file order, the
// three-field line of the types ignored; the unclassified take the no-answer modality (-1).
TEST_F(CodagePostalTest, EachLevelGivesTheClassesOfTheFilesAndTheRestNoAnswer) {
    struct Case {
        const char* label;
        CodagePostal::Choix choice;
        Rows captions;
        Rows stored;
    };
    const Case cases[] = {
        {"Catégorie",
         {CodagePostal::kCategorie, false},
         {"1", "2", "3"},
         {"1", "2", "-1", "-1", "3", "3", "3", "-1"}},
        {"Groupe",
         {CodagePostal::kGroupe, true},
         {"Familles établies", "Jeunes actifs", "Retraités", "Quartiers populaires"},
         {"1", "2", "-1", "-1", "-1", "4", "3", "-1"}},
        {"Type",
         {CodagePostal::kType, true},
         {"Propriétaires de maisons", "Locataires en centre-ville", "Retraités en zone rurale",
          "Cités ouvrières"},
         {"1", "2", "-1", "-1", "-1", "-1", "3", "-1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Message error;
        CQuestionEtendue* variable =
            CConstructionVariable::Construire(context, nullptr, Parts(c.label, c.choice), error);
        ASSERT_NE(variable, nullptr) << StringTable::Format(error);
        Rows captions = Captions(*variable);
        ASSERT_FALSE(captions.empty());
        EXPECT_EQ(Codes(*variable).back(), -1);
        captions.pop_back(); // the no-answer modality
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(Stored(*variable), c.stored);
    }
}

TEST_F(CodagePostalTest, ACaptionFileInWindows1252ReadsAsItsAccentedText) {
    const std::string groups = Write("groups-1252.txt", "A\tFamilles \xE9tablies\nB\tJeunes actifs\n");
    UseFiles(kFiles + "classification.txt", kFiles + "categories.txt", groups, kFiles + "types.txt");
    Message error;
    CQuestionEtendue* variable = CConstructionVariable::Construire(
        context, nullptr, Parts("Groupe", {CodagePostal::kGroupe, true}), error);
    ASSERT_NE(variable, nullptr) << StringTable::Format(error);
    EXPECT_EQ(Captions(*variable).front(), "Familles établies");
    // C and D have no caption any more: their interviews are unclassified.
    EXPECT_EQ(Stored(*variable), (Rows{"1", "2", "-1", "-1", "-1", "-1", "-1", "-1"}));
}

TEST_F(CodagePostalTest, FilesThatCannotBeUsedBuildNothing) {
    const std::string utf16 = Write("utf16.txt", std::string("\xFF\xFES\0W\0\x31\0\x39\0", 10));
    const std::string noTab = Write("notab.txt", "SW19 1AA\t1\tA\tA01\nW1 1AA 2 B B02\n");
    const std::string noCaption = Write("nocaption.txt", "une seule colonne\n\ntrois\tchamps\tici\n");
    const std::string missing = (folder / "absent.txt").string();
    struct Case {
        const char* what;
        std::string postcodes;
        std::string types;
        const char* question;
        int message;
        std::string argument;
    };
    const Case cases[] = {
        {"postcodes in UTF-16", utf16, kFiles + "types.txt", "CP", StringTable::kFichierAutreEncodage, utf16},
        {"a line without tab", noTab, kFiles + "types.txt", "CP", StringTable::kFichierLigneMalformee, noTab},
        {"captions in UTF-16", kFiles + "classification.txt", utf16, "CP", StringTable::kFichierAutreEncodage,
         utf16},
        {"no caption line", kFiles + "classification.txt", noCaption, "CP", StringTable::kFichierLibellesVide,
         noCaption},
        {"no postcode file", missing, kFiles + "types.txt", "CP", StringTable::kImpossibleOuvrirFichier,
         missing},
        {"no settings", "", "", "CP", StringTable::kFichiersCodesPostauxNonDefinis, ""},
        {"a closed question", kFiles + "classification.txt", kFiles + "types.txt", "SEXE",
         StringTable::kSelectionnerQuestionOuverte, ""},
        {"an open question of the loop level", kFiles + "classification.txt", kFiles + "types.txt", "PRENOM",
         StringTable::kQuestionNiveauInterviews, ""},
    };
    const std::size_t before = Bytes(context.questionnairePath);
    const int questions = context.DonnerNbreQuestions();
    const std::int32_t counter = context.newQuestionCode;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseFiles(c.postcodes, kFiles + "categories.txt", kFiles + "groups.txt", c.types);
        PartiesVariable parts = Parts("Type", {CodagePostal::kType, true});
        parts.source1 = &Named(c.question);
        Message error;
        EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, parts, error), nullptr);
        EXPECT_EQ(error.id, c.message) << StringTable::Format(error);
        if (!c.argument.empty()) {
            ASSERT_FALSE(error.arguments.empty());
            EXPECT_EQ(error.arguments.front(), c.argument);
        }
    }
    EXPECT_EQ(Bytes(context.questionnairePath), before);
    EXPECT_EQ(context.DonnerNbreQuestions(), questions);
    EXPECT_EQ(context.newQuestionCode, counter);
}

TEST_F(CodagePostalTest, TheMalformedLineIsNamedByItsNumber) {
    // Blank lines, even of spaces, are no records.
    const std::string noTab = Write("notab.txt", "SW19 1AA\t1\tA\tA01\n\r\n   \nW1 1AA 2 B B02\r\n");
    UseFiles(noTab, kFiles + "categories.txt", kFiles + "groups.txt", kFiles + "types.txt");
    Message error;
    EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, Parts("Type", {CodagePostal::kType, true}),
                                                error),
              nullptr);
    ASSERT_EQ(error.arguments.size(), 2u);
    EXPECT_EQ(error.arguments[1], "4");
}

} // namespace
