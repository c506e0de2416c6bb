#include "ToolsTestSupport.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qesbuild;
using tools_test::ReadBytes;
using tools_test::TempFolder;
using tools_test::WriteText;

namespace {

// Every kind and type of item the model has, with every flag set somewhere.
const char* const kEveryKind = R"(
questionnaire "Tous les genres" language=en version=404
language 1036 fr "Français"
language 1033 en "English"
language 1031 de "Deutsch"
class 1 "Signalétique"
class 2 "Opinion"
version 1 "Papier"
version 2 "Internet"
interviewer 7 "Durand" "Anne"
interviewer 8 "Petit"

chapter 100 CHAP class=1 classattribute=3
  caption fr "Chapitre" "Chapitre, en long"
  caption en "Chapter"
  question 1 SEXE closed typeflag
    caption fr "Sexe" "Vous êtes :"
    caption en "Sex" "You are:"
    long de "Sie sind:"
    modality 1 fr "Homme" en "Man" de "Mann"
    modality 2 value=2.5 fr "Femme" en "Woman"
  question 2 MARQUES closed answers=3 noanswer class=2
    modality 1 fr "A"
    modality 2 fr "B"
    modality 3 fr "C"
  question 3 RANG closed answers=2 ranking
    modality 1 fr "Prix"
    modality 2 fr "Qualité"
  question 4 UNIQUEMULTI closed multiple
    modality 1 fr "Oui"
  question 5 NOTE discrete
    modality 0 value=0 fr "zéro"
    modality 10 value=10 fr "dix"
  question 6 TRANCHE interval
    modality 1 value=15 fr "moins de 20"
    modality 2 value=25.75 fr "20 ou plus"
  question 7 REVENU numeric min=-12.5 max=12345.678
  question 8 QUAND date datekind=1
  question 9 AVIS open notinanalysis
    caption fr "Votre avis"
  question 10 CONNU closed semiopen
    modality 1 fr "Pub"
    modality 9 fr "Autre"
    semiopen 101 kind=1 modality=9 fr "Salon" en "Fair"
    semiopen 102 kind=2 fr "Vendeur"
  question 11 CACHE closed notinuse
    modality 1 fr "x"
  question 12 DRAPEAU closed semiopen
    modality 1 fr "x"
end
loop 500 PRODUITS expand
  caption fr "Produits"
  modality 1 fr "Café"
  modality 2 fr "Thé"
  question 51 CONSO closed
    modality 1 fr "Oui"
    modality 2 fr "Non"
  loop 600 MOMENTS count=3
    question 61 HEURE date datekind=2
  end
end
loop 700 PERS count=6
  question 71 AGEP numeric
end
loop 800 AUTRES count=2 sharedlevel=700
  question 81 ROLE open
end
loop 900 SANSNIVEAU count=2 nolevel
  question 91 NB numeric
end
loop 500 PRODUITS_BIS
  modality 1 fr "Café"
  question 52 PRIX numeric
end
)";

void ExpectSameCaptions(const std::map<std::int32_t, std::string>& read,
                        const std::map<std::int32_t, std::string>& written) {
    EXPECT_EQ(read, written);
}

void ExpectSameQuestion(const CQuestion& read, const CQuestion& written) {
    SCOPED_TRACE(written.name);
    EXPECT_EQ(read.code, written.code);
    EXPECT_EQ(read.name, written.name);
    EXPECT_EQ(read.depth, written.depth);
    EXPECT_EQ(read.kind, written.kind);
    EXPECT_EQ(read.classAttribute, written.classAttribute);
    EXPECT_EQ(read.type, written.type);
    EXPECT_EQ(read.typeFlag, written.typeFlag);
    EXPECT_EQ(read.dateKind, written.dateKind);
    EXPECT_EQ(read.questionClass, written.questionClass);
    EXPECT_EQ(read.answerCount, written.answerCount);
    EXPECT_EQ(read.multipleAnswers, written.multipleAnswers);
    EXPECT_EQ(read.hasNoAnswer, written.hasNoAnswer);
    EXPECT_EQ(read.ranking, written.ranking);
    EXPECT_EQ(read.lowerBound, written.lowerBound);
    EXPECT_EQ(read.upperBound, written.upperBound);
    EXPECT_EQ(read.responseTable, written.responseTable);
    EXPECT_EQ(read.levelTable, written.levelTable);
    EXPECT_EQ(read.tablePerOrder, written.tablePerOrder);
    EXPECT_EQ(read.inUse, written.inUse);
    EXPECT_EQ(read.inUseForAnalysis, written.inUseForAnalysis);
    EXPECT_EQ(read.semiOpen, written.semiOpen);
    EXPECT_EQ(read.loopWithoutLevel, written.loopWithoutLevel);
    EXPECT_EQ(read.loopSharesLevel, written.loopSharesLevel);
    EXPECT_EQ(read.sharedLevelCode, written.sharedLevelCode);
    EXPECT_EQ(read.expandIterations, written.expandIterations);
    ExpectSameCaptions(read.shortCaptions, written.shortCaptions);
    ExpectSameCaptions(read.longCaptions, written.longCaptions);
    ASSERT_EQ(read.modalities.size(), written.modalities.size());
    for (std::size_t m = 0; m < read.modalities.size(); ++m) {
        EXPECT_EQ(read.modalities[m]->code, written.modalities[m]->code);
        EXPECT_EQ(read.modalities[m]->value, written.modalities[m]->value);
        ExpectSameCaptions(read.modalities[m]->shortCaptions, written.modalities[m]->shortCaptions);
    }
    ASSERT_EQ(read.semiOpens.size(), written.semiOpens.size());
    for (std::size_t s = 0; s < read.semiOpens.size(); ++s) {
        EXPECT_EQ(read.semiOpens[s].id, written.semiOpens[s].id);
        EXPECT_EQ(read.semiOpens[s].kind, written.semiOpens[s].kind);
        EXPECT_EQ(read.semiOpens[s].modalityCode, written.semiOpens[s].modalityCode);
        ExpectSameCaptions(read.semiOpens[s].shortCaptions, written.semiOpens[s].shortCaptions);
    }
}

// Reads the whole questionnaire the way the program opens one.
void ReadEverything(CDBStructure& file, CQuestionnaire& read) {
    ASSERT_TRUE(file.LirePropriete(read)) << file.GetErrorText();
    if (read.GetFileVersion() >= 401) {
        ASSERT_TRUE(file.ReadLanguages(read)) << file.GetErrorText();
    }
    ASSERT_TRUE(file.LireQuestions(read, true)) << file.GetErrorText();
    ASSERT_TRUE(file.LireModalites(read, true)) << file.GetErrorText();
    ASSERT_TRUE(file.LireModalitesSemiOuvertes(read)) << file.GetErrorText();
}

CQuestion& Find(const CQuestionnaire& questionnaire, const std::string& name) {
    for (const auto& question : questionnaire.questions)
        if (question->name == name)
            return *question;
    throw std::runtime_error("no question " + name);
}

class StructureFile : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = folder.Sub("every.qes");
    FixtureDescription fixture = DescriptionParser::Parse(kEveryKind, "every.txt", {});

    void Write() { WriteFixture(fixture, path); }
};

} // namespace

TEST_F(StructureFile, EveryKindOfItemReadsBackFieldByField) {
    Write();
    CDBStructure file(path);
    ASSERT_TRUE(file.Open(true)) << file.GetErrorText();
    CQuestionnaire read;
    ReadEverything(file, read);
    const CQuestionnaire& written = *fixture.questionnaire;

    EXPECT_EQ(read.name, "Tous les genres");
    EXPECT_EQ(read.GetFileVersion(), 404);
    EXPECT_EQ(read.language, 1033);
    ASSERT_EQ(read.languages.size(), 3u);
    for (std::size_t i = 0; i < read.languages.size(); ++i) {
        EXPECT_EQ(read.languages[i].id, written.languages[i].id);
        EXPECT_EQ(read.languages[i].name, written.languages[i].name);
        EXPECT_FALSE(read.languages[i].isDefault);
    }
    ASSERT_EQ(read.questionClasses.size(), 2u);
    EXPECT_EQ(read.questionClasses[1].code, 2);
    EXPECT_EQ(read.questionClasses[1].name, "Opinion");
    ASSERT_EQ(read.versions.size(), 2u);
    EXPECT_EQ(read.versions[0].name, "Papier");
    ASSERT_EQ(read.questions.size(), written.questions.size());
    for (std::size_t i = 0; i < read.questions.size(); ++i)
        ExpectSameQuestion(*read.questions[i], *written.questions[i]);

    std::vector<std::int32_t> codes;
    std::vector<std::string> names, texts;
    ASSERT_TRUE(file.GetAgentList(codes, names, texts));
    EXPECT_EQ(codes, (std::vector<std::int32_t>{7, 8}));
    EXPECT_EQ(names, (std::vector<std::string>{"Durand", "Petit"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Anne", ""}));
}

// Levels: a loop opens a table with one more key; nested loops go deeper; loops sharing a code or
// naming a shared level use the same table; a no-level loop leaves its items at the enclosing
// level. A loop's own answer lies in the enclosing level.
TEST_F(StructureFile, LoopsGetTheTablesOfTheirLevels) {
    Write();
    const CQuestionnaire& q = *fixture.questionnaire;
    struct Expected {
        const char* name;
        int responseTable;
        int levelTable;
    };
    const Expected expected[] = {
        {"SEXE", 1, 1}, {"PRODUITS", 1, 2},     {"CONSO", 2, 2},  {"MOMENTS", 2, 3}, {"HEURE", 3, 3},
        {"PERS", 1, 4}, {"AGEP", 4, 4},         {"AUTRES", 1, 4}, {"ROLE", 4, 4},    {"SANSNIVEAU", 1, 1},
        {"NB", 1, 1},   {"PRODUITS_BIS", 1, 2}, {"PRIX", 2, 2},   {"CHAP", 1, 1},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(Find(q, e.name).responseTable, e.responseTable);
        EXPECT_EQ(Find(q, e.name).levelTable, e.levelTable);
    }
    db::Database database(path, db::Database::Access::ReadOnly);
    const std::vector<std::vector<std::string>> keys = {
        {"Cle1"}, {"Cle1", "Cle2"}, {"Cle1", "Cle2", "Cle3"}, {"Cle1", "Cle2"}};
    for (std::size_t t = 0; t < keys.size(); ++t) {
        const std::string table = CDBStructure::ResponseTableName(static_cast<int>(t) + 1);
        SCOPED_TRACE(table);
        for (const std::string& key : keys[t])
            EXPECT_TRUE(database.fieldExists(table, key));
        EXPECT_FALSE(database.fieldExists(table, "Cle" + std::to_string(keys[t].size() + 1)));
        EXPECT_EQ(database.fieldExists(table, "Ordre"), keys[t].size() > 1);
        EXPECT_EQ(database.fieldExists(table, "Completed"), t == 0);
        ASSERT_TRUE(database.index(table, "PrimaryKey"));
        EXPECT_EQ(database.index(table, "PrimaryKey")->fields.size(), keys[t].size());
    }
    EXPECT_FALSE(database.tableExists("VEL Reponse5"));
    EXPECT_EQ(database.fieldType("VEL Reponse1", "2;3"), db::FieldType::Long);
    EXPECT_EQ(database.fieldType("VEL Reponse1", "7;1"), db::FieldType::Double);
    EXPECT_EQ(database.fieldType("VEL Reponse1", "8;1"), db::FieldType::Date);
    EXPECT_EQ(database.fieldType("VEL Reponse1", "9;1"), db::FieldType::Memo);
    EXPECT_EQ(database.fieldType("VEL Reponse1", "9;0"), db::FieldType::Long);
    EXPECT_FALSE(database.fieldExists("VEL Reponse1", "100;0")); // chapters and loops have no answers
    EXPECT_FALSE(database.fieldExists("VEL Reponse2", "500;1"));
}

TEST_F(StructureFile, ReadingLeavesTheFileByteIdentical) {
    Write();
    const std::string before = ReadBytes(path);
    {
        CDBStructure file(path);
        ASSERT_TRUE(file.Open(true)) << file.GetErrorText();
        CQuestionnaire read;
        ReadEverything(file, read);
        std::vector<std::int32_t> codes;
        std::vector<std::string> names, texts;
        ASSERT_TRUE(file.GetAgentList(codes, names, texts));
        CQuestionnaire wrong; // a reader refused half-way changes nothing either
        EXPECT_FALSE(file.LireModalites(wrong, true));
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST_F(StructureFile, VerifyingTheSameQuestionnaireAgainAddsNothing) {
    Write();
    CDBStructure file(path);
    ASSERT_TRUE(file.Open(false)) << file.GetErrorText();
    const int fieldsBefore = file.GetDatabase().fieldCount("VEL Reponse1");
    ASSERT_TRUE(file.VerifyResponseStructure(*fixture.questionnaire)) << file.GetErrorText();
    EXPECT_EQ(file.GetDatabase().fieldCount("VEL Reponse1"), fieldsBefore);
    EXPECT_FALSE(file.GetDatabase().tableExists("VEL Reponse5"));
    EXPECT_FALSE(CDBStructure::VerifyCreateField(false, file.GetDatabase(), "VEL Reponse1", "7;1",
                                                 db::FieldType::Double));
    EXPECT_TRUE(CDBStructure::VerifyCreateField(false, file.GetDatabase(), "VEL Reponse1", "99;1",
                                                db::FieldType::Long));
    EXPECT_TRUE(CDBStructure::VerifyCreateField(true, file.GetDatabase(), "VEL Reponse1", "99;1",
                                                db::FieldType::Double));
    EXPECT_EQ(file.GetDatabase().fieldType("VEL Reponse1", "99;1"), db::FieldType::Double);
}

TEST(StructureVersions, AVersion400FileHasNoLanguagesTableAndSaysSo) {
    TempFolder folder;
    const std::string path = folder.Sub("old.qes");
    FixtureDescription fixture = DescriptionParser::Parse("questionnaire \"Ancien\" version=400\n"
                                                          "language 1036 fr \"Français\"\n"
                                                          "question 1 A closed\n  modality 1 fr \"a\"\n",
                                                          "old.txt", {});
    WriteFixture(fixture, path);
    CDBStructure file(path);
    ASSERT_TRUE(file.Open(true)) << file.GetErrorText();
    CQuestionnaire read;
    ASSERT_TRUE(file.LirePropriete(read)) << file.GetErrorText();
    EXPECT_EQ(read.GetFileVersion(), 400);
    EXPECT_FALSE(file.GetDatabase().tableExists("Language"));
    EXPECT_FALSE(file.ReadLanguages(read));
    EXPECT_NE(file.GetErrorText().find("Language"), std::string::npos) << file.GetErrorText();
    ASSERT_TRUE(file.LireQuestions(read, true)) << file.GetErrorText();
    EXPECT_EQ(read.questions.size(), 1u);
}

TEST(StructureVersions, VersionsOutside400To405AreRefused) {
    TempFolder folder;
    CDBStructure created(folder.Sub("a.qes"));
    EXPECT_FALSE(created.CreateDatabase(406));
    EXPECT_FALSE(std::filesystem::exists(folder.Sub("a.qes")));
    int major = 0, minor = 0;
    CDBStructure::GetNewestFileVersion(major, minor);
    EXPECT_EQ(major * 100 + minor, 404);

    ASSERT_TRUE(created.CreateDatabase(405)) << created.GetErrorText();
    {
        db::Database database(folder.Sub("a.qes"), db::Database::Access::ReadWrite);
        db::Recordset properties(database, "Questionnaire");
        properties.edit();
        properties.setValue("MinorVersion", 7);
        properties.update();
    }
    created.Close();
    CDBStructure file(folder.Sub("a.qes"));
    ASSERT_TRUE(file.Open(true));
    CQuestionnaire read;
    EXPECT_FALSE(file.LirePropriete(read));
    EXPECT_NE(file.GetErrorText().find("407"), std::string::npos) << file.GetErrorText();
}

TEST(StructureOpening, FilesThatAreNotQuestionnairesAreRefusedWithTheirCause) {
    TempFolder folder;
    WriteText(folder.path() / "notes.qes", "Ceci est un fichier texte, pas une base.\n");
    {
        db::Database empty(folder.Sub("empty.qes"), db::Database::Access::ReadWrite,
                           db::Database::Creation::CreateIfMissing);
    }
    {
        db::Database other(folder.Sub("other.qes"), db::Database::Access::ReadWrite,
                           db::Database::Creation::CreateIfMissing);
        other.createTable({"Clients", {{"Nom", db::FieldType::Text, 50}}, {}});
    }
    struct Case {
        const char* file;
        const char* cause;
    };
    const Case cases[] = {
        {"notes.qes", "le fichier n'est pas une base de données"},
        {"missing.qes", "n'existe pas"},
        {"empty.qes", "n'est pas un fichier de questionnaire"},
        {"other.qes", "n'est pas un fichier de questionnaire"},
    };
    for (const Case& test : cases) {
        for (bool readOnly : {true, false}) {
            SCOPED_TRACE(std::string(test.file) + (readOnly ? " read-only" : " read-write"));
            const std::string before = ReadBytes(folder.path() / test.file);
            CDBStructure file(folder.Sub(test.file));
            EXPECT_FALSE(file.Open(readOnly));
            EXPECT_FALSE(file.IsOpen());
            EXPECT_NE(file.GetErrorText().find(test.cause), std::string::npos) << file.GetErrorText();
            EXPECT_EQ(ReadBytes(folder.path() / test.file), before);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing.qes"));
    CDBStructure closed(folder.Sub("missing.qes"));
    CQuestionnaire read;
    EXPECT_FALSE(closed.LirePropriete(read));
    EXPECT_NE(closed.GetErrorText().find("n'est pas ouvert"), std::string::npos);
}

TEST(StructureWriting, AFailedWriteRemovesTheFileItCreatedAndLeavesTheQuestionnaireAlone) {
    TempFolder folder;
    const std::string path = folder.Sub("twice.qes");
    CQuestionnaire questionnaire;
    for (const char* name : {"A", "B"}) {
        auto question = std::make_unique<CQuestion>();
        question->code = 5; // two questions on the same answer fields
        question->name = name;
        question->responseTable = 9;
        questionnaire.AddQuestion(std::move(question));
    }
    CDBStructure file(path);
    ASSERT_TRUE(file.CreateDatabase(404)) << file.GetErrorText();
    ASSERT_TRUE(file.DoSaveQuestionnaire(&questionnaire)) << file.GetErrorText();
    EXPECT_FALSE(file.VerifyResponseStructure(questionnaire));
    EXPECT_NE(file.GetErrorText().find("code 5"), std::string::npos) << file.GetErrorText();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(questionnaire.questions[0]->responseTable, 9);
    EXPECT_FALSE(file.DoSaveQuestionnaire(nullptr));

    WriteText(path, "occupied");
    CDBStructure again(path);
    EXPECT_FALSE(again.CreateDatabase(404));
    EXPECT_NE(again.GetErrorText().find("existe déjà"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), "occupied");
}

// A table holds at most 80 fields: the answers that do not fit go to the next table of their
// level, and the question reports both tables.
TEST(ResponseTables, AnswersBeyondEightyFieldsSpreadIntoTheNextTable) {
    std::string description = "questionnaire \"Large\"\nlanguage 1036 fr \"Français\"\n";
    for (int code = 1; code <= 36; ++code) // 6 fixed fields + 36 x 2 = 78 fields
        description += "question " + std::to_string(code) + " Q" + std::to_string(code) + " numeric\n";
    description += "question 40 SPREAD closed answers=5\n  modality 1 fr \"a\"\n"; // orders 0, 1 make 80
    description += "question 41 AFTER numeric\n";
    description += "loop 500 L count=2\n  question 51 INLOOP numeric\nend\n";
    description += "question 42 LAST open\n";
    description += "records\nCle1,1;1,40;1,40;2,40;5,41;1,42;1\n1,1.5,1,1,1,2.5,fin\n2,,,,1,,\nend\n";
    FixtureDescription fixture = DescriptionParser::Parse(description, "large.txt", {});
    TempFolder folder;
    const std::string path = folder.Sub("large.qes");
    WriteFixture(fixture, path);

    const CQuestion& spread = Find(*fixture.questionnaire, "SPREAD");
    std::vector<int> tables, tableOfOrder;
    spread.GetTablePerResponse(tables, tableOfOrder);
    EXPECT_EQ(tables, (std::vector<int>{1, 2}));
    EXPECT_EQ(tableOfOrder, (std::vector<int>{0, 1, 1, 1, 1}));
    EXPECT_EQ(Find(*fixture.questionnaire, "AFTER").responseTable, 2);
    EXPECT_EQ(Find(*fixture.questionnaire, "L").levelTable, 3); // the loop's table comes after
    EXPECT_EQ(Find(*fixture.questionnaire, "LAST").responseTable, 2);

    db::Database database(path, db::Database::Access::ReadOnly);
    EXPECT_EQ(database.fieldCount("VEL Reponse1"), 80);
    EXPECT_TRUE(database.fieldExists("VEL Reponse1", "40;1"));
    EXPECT_TRUE(database.fieldExists("VEL Reponse2", "40;2"));
    EXPECT_FALSE(database.fieldExists("VEL Reponse2", "Completed"));
    EXPECT_EQ(database.rowCount("VEL Reponse1"), 2);
    EXPECT_EQ(database.rowCount("VEL Reponse2"), 2); // every record is in each table of its level
    db::Recordset second(database, "VEL Reponse2");
    second.setCurrentIndex("PrimaryKey");
    EXPECT_EQ(second.value("40;5").toInteger(), 1);
    EXPECT_EQ(second.value("42;1").toText(), "fin");

    CDBStructure file(path);
    ASSERT_TRUE(file.Open(true));
    CQuestionnaire read;
    ReadEverything(file, read);
    EXPECT_EQ(Find(read, "SPREAD").tablePerOrder, (std::vector<std::uint16_t>{1, 2, 2, 2, 2}));
    EXPECT_TRUE(Find(read, "AFTER").tablePerOrder.empty());
}
