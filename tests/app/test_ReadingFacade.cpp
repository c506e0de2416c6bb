// The reading facade over scripted table readers: which source each kind of question is read
// from, values of closed questions, carried reads, and the derived reads of the recodes (grouped
// modalities, intervals, discrete values, change of level) through small recode doubles.
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <type_traits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "SurveyTestSupport.h"
#include "app/CacheDonnees.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"

using namespace survey_test;

namespace {

constexpr double kNotAsked = -888888.88;
constexpr double kNoAnswer = -999999.99;
constexpr std::int16_t kE = CMatriceCodes::kEmptyCell;

using Rows = std::vector<std::vector<std::int16_t>>;

CMatriceCodes MatrixOf(const Rows& rows, int columns) {
    CMatriceCodes matrix(static_cast<std::int16_t>(columns));
    matrix.SetNbLignes(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            matrix.SetAt(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
    return matrix;
}

Rows RowsOf(const CMatriceCodes& matrix) {
    Rows rows(static_cast<std::size_t>(matrix.GetNbLignes()));
    for (int r = 0; r < matrix.GetNbLignes(); ++r)
        for (int c = 0; c < matrix.GetNbColonnes(); ++c)
            rows[static_cast<std::size_t>(r)].push_back(matrix.GetAt(r, c));
    return rows;
}

std::vector<double> ValuesOf(const CVecteurDouble& vector) {
    std::vector<double> values;
    for (int i = 0; i < vector.GetSize(); ++i)
        values.push_back(vector.GetAt(i));
    return values;
}

CVecteurDouble VectorOf(const std::vector<double>& values) {
    CVecteurDouble vector(static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        vector.SetAt(static_cast<int>(i), values[i]);
    return vector;
}

// A recode of any type whose lookups answer what the test sets.
class RecodeDouble : public CRecodage {
public:
    RecodeDouble(CEnquete* survey, std::int16_t type) : CRecodage(survey), m_type(type) {}

    std::int16_t GetType() const override { return m_type; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }
    void Appliquer(CQuestionEtendue&, bool) const override {}
    bool EstApplicable(const CQuestionEtendue&) const override { return true; }

    bool GetEstCumule() const override { return everyOccurrence; }
    std::int16_t GetSousType() const override { return rule; }
    int GetNiveauDepart() const override { return sourceLevel; }
    int GetNiveauArrivee() const override { return targetLevel; }
    void DonnerGroupesDuCode(std::int32_t code, int level, std::vector<std::int16_t>& groups) const override {
        lookedUpLevel = level;
        const auto found = groupsOfCode.find(code);
        if (found != groupsOfCode.end())
            groups.insert(groups.end(), found->second.begin(), found->second.end());
    }
    int DonnerNombreClasses() const override { return classCount; }
    std::int16_t DonnerClasse(double value) const override { return ClassOf(value); }
    int DonnerNombreValeurs() const override { return classCount; }
    std::int16_t DonnerIndexValeur(double value) const override { return ClassOf(value); }

    bool everyOccurrence = false;
    std::int16_t rule = 0;
    int sourceLevel = 0;
    int targetLevel = 0;
    std::map<std::int32_t, std::vector<std::int16_t>> groupsOfCode;
    int classCount = 0;
    std::vector<double> classUpperBounds; // class i holds values up to bound i; above the last: none
    mutable int lookedUpLevel = -1;

protected:
    std::unique_ptr<CRecodage> Clone() const override { return std::make_unique<RecodeDouble>(*this); }

private:
    std::int16_t ClassOf(double value) const {
        for (std::size_t i = 0; i < classUpperBounds.size(); ++i)
            if (value <= classUpperBounds[i])
                return static_cast<std::int16_t>(i);
        return kNoGroup;
    }

    std::int16_t m_type;
};

// Table readers that answer scripted containers through the survey's caches, as the real ones
// do, and count which reader each question went to.
class ScriptedAccess : public CDataAccess {
public:
    explicit ScriptedAccess(CEnquete& survey) : CDataAccess(survey, false) {}

    bool LireTableFermee(CQuestionEtendue& question, CMatriceCodes*& out) override {
        ++calls["LireTableFermee"];
        return Lend(question, closed, out);
    }
    bool LireTableCleFermee(CQuestionEtendue& question, CMatriceCodes*& out) override {
        ++calls["LireTableCleFermee"];
        return Lend(question, closed, out);
    }
    bool LireTableNumerique(CQuestionEtendue& question, CVecteurDouble*& out) override {
        ++calls["LireTableNumerique"];
        return Lend(question, numeric, out);
    }
    bool LireTableCleNumerique(CQuestionEtendue& question, CVecteurDouble*& out) override {
        ++calls["LireTableCleNumerique"];
        return Lend(question, numeric, out);
    }
    bool LireTableOuverte(CQuestionEtendue& question, std::vector<std::string>& out) override {
        ++calls["LireTableOuverte"];
        const auto found = open.find(&question);
        if (found == open.end())
            return false;
        out = found->second;
        return true;
    }

    std::map<const CQuestionEtendue*, CMatriceCodes> closed;
    std::map<const CQuestionEtendue*, CVecteurDouble> numeric;
    std::map<const CQuestionEtendue*, std::vector<std::string>> open;
    std::map<std::string, int> calls;

private:
    template <class Container>
    bool Lend(CQuestionEtendue& question, const std::map<const CQuestionEtendue*, Container>& script, Container*& out) {
        out = nullptr;
        CCacheDonnees* cache = std::is_same_v<Container, CMatriceCodes> ? GetEnquete()->GetClosedAnswerCache()
                                                                         : GetEnquete()->GetNumericCache();
        if (CObjetDonnees* kept = nullptr; cache->Chercher(&question, kept)) {
            out = static_cast<Container*>(kept);
            return true;
        }
        const auto found = script.find(&question);
        if (found == script.end())
            return false;
        out = static_cast<Container*>(cache->Ajouter(&question, std::make_unique<Container>(found->second)));
        return true;
    }
};

// Households 1, 2 and 4 (level 0) and their members (level 1); member (3, 1) lies under no
// household.
class ReadingFacadeTest : public ::testing::Test {
protected:
    void SetUp() override {
        survey.basePath = folder.Sub("absent.qes");
        survey.currentLanguage = 1036;
        survey.questionnaireLanguage = 1036;
        survey.CreerCaches();
        AddLevel(survey, 0, 0, "Interviews");
        AddLevel(survey, 500, 1, "MEMBRES").SetLocalisedShortCaption(1036, "Membres");
        auto keys = std::make_unique<ScriptedRecordKeys>();
        keys->keysByLevel[0] = {{1}, {2}, {4}};
        keys->keysByLevel[1] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {3, 1}, {4, 1}, {4, 2}};
        survey.SetRecordKeySource(std::move(keys));
        survey.interviewCount = 3;
    }

    // A closed question with the codes, the -1 and the -2 modalities after them.
    CQuestionEtendue& Closed(std::int32_t code, const std::string& name, std::int16_t depth, int level,
                             const std::vector<std::pair<std::int32_t, double>>& modalities) {
        CQuestionEtendue& question = AddQuestion(survey, code, name, depth);
        question.level = level;
        for (const auto& [modalityCode, value] : modalities)
            AddModality(question, modalityCode).value = value;
        AddModality(question, -1).value = kNoAnswer;
        AddModality(question, -2).value = kNotAsked;
        return question;
    }

    CQuestionEtendue& Numeric(std::int32_t code, const std::string& name, std::int16_t depth, int level) {
        CQuestionEtendue& question = AddQuestion(survey, code, name, depth, 1, 5);
        question.level = level;
        return question;
    }

    // A question recoding `source`: the same code, right after it and one depth below, the
    // recode kept by it.
    CQuestionEtendue& Recoded(const CQuestionEtendue& source, const RecodeDouble& recode, std::int16_t type,
                              int level) {
        auto question = std::make_unique<CQuestionEtendue>(&survey);
        question->code = source.code;
        question->name = source.name + " R";
        question->depth = static_cast<std::int16_t>(source.depth + 1);
        question->type = type;
        question->level = level;
        question->recodeId = 7;
        question->SetRecodage(&recode);
        CQuestionEtendue& added = *question;
        int index = 0;
        EXPECT_TRUE(survey.TrouverIndexQuestion(&source, index));
        survey.questions.insert(survey.questions.begin() + index + 1, std::move(question));
        return added;
    }

    // Drops the question and what the caches keep of it.
    void Remove(const CQuestionEtendue& question) {
        survey.OublierDonneesQuestion(question);
        int index = 0;
        ASSERT_TRUE(survey.TrouverIndexQuestion(&question, index));
        survey.questions.erase(survey.questions.begin() + index);
    }

    // Reads the closed answers, copies them, gives them back.
    Rows ReadClosed(CQuestionEtendue& question) {
        CMatriceCodes* matrix = nullptr;
        EXPECT_TRUE(access->LireReponsesFermees(question, matrix)) << access->GetErrorText();
        if (matrix == nullptr)
            return {};
        Rows rows = RowsOf(*matrix);
        access->MemoriserReponsesFermees(question, matrix);
        return rows;
    }

    std::vector<double> ReadValues(CQuestionEtendue& question) {
        CVecteurDouble* vector = nullptr;
        EXPECT_TRUE(access->LireValeursNumeriques(question, vector)) << access->GetErrorText();
        if (vector == nullptr)
            return {};
        std::vector<double> values = ValuesOf(*vector);
        access->MemoriserValeursNumeriques(question, vector);
        return values;
    }

    void TearDown() override {
        // Every container lent was given back: nothing is left outside the caches' slots.
        EXPECT_EQ(survey.GetClosedAnswerCache()->GetOutsideLoanCount(), 0);
        EXPECT_EQ(survey.GetNumericCache()->GetOutsideLoanCount(), 0);
        for (int slot = 0; slot < survey.GetClosedAnswerCache()->GetSlotCount(); ++slot)
            EXPECT_EQ(survey.GetClosedAnswerCache()->GetUseCountAt(slot), 0) << slot;
    }

    TemporaryFolder folder;
    TestSurvey survey;
    std::unique_ptr<ScriptedAccess> access = std::make_unique<ScriptedAccess>(survey);
};

TEST_F(ReadingFacadeTest, EachKindOfQuestionGoesToItsReader) {
    CQuestionEtendue& closed = Closed(1, "Q1", 1, 0, {{1, 1.0}});
    CQuestionEtendue& loop = Closed(500, "MEMBRES", 1, 1, {{1, 1.0}});
    loop.generated = 1;
    CQuestionEtendue& numeric = Numeric(2, "Q2", 1, 0);
    CQuestionEtendue& counted = Numeric(501, "N", 1, 1);
    counted.generated = 1;
    CQuestionEtendue& text = AddQuestion(survey, 3, "Q3", 1, 1, 4);
    access->closed[&closed] = MatrixOf({{0}, {kE}, {0}}, 1);
    access->closed[&loop] = MatrixOf({{0}}, 1);
    access->numeric[&numeric] = VectorOf({1, 2, 3});
    access->numeric[&counted] = VectorOf({4});
    access->open[&text] = {"a", "b", "c"};

    ReadClosed(closed);
    ReadClosed(loop);
    ReadValues(numeric);
    ReadValues(counted);
    std::vector<std::string> texts;
    EXPECT_TRUE(access->LireReponsesOuvertes(text, texts));
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(access->calls, (std::map<std::string, int>{{"LireTableFermee", 1},
                                                         {"LireTableCleFermee", 1},
                                                         {"LireTableNumerique", 1},
                                                         {"LireTableCleNumerique", 1},
                                                         {"LireTableOuverte", 1}}));
}

TEST_F(ReadingFacadeTest, AClosedQuestionsValuesAreThoseOfTheModalityInItsFirstColumn) {
    CQuestionEtendue& question = Closed(1, "Q1", 1, 0, {{1, 1.0}, {2, 3.0}});
    access->closed[&question] = MatrixOf({{1, 0}, {kE, 1}, {3, kE}}, 2);
    // Index 1 is the modality valued 3.0; an empty first column gives -888888.88 even when the
    // second holds an answer; index 3 is the -2 modality, valued -888888.88.
    EXPECT_EQ(ReadValues(question), (std::vector<double>{3.0, kNotAsked, kNotAsked}));
}

TEST_F(ReadingFacadeTest, AQuestionKeepingItsMatricesInMemoryIsAskedForThem) {
    struct KeepingQuestion : CQuestionEtendue {
        using CQuestionEtendue::CQuestionEtendue;
        bool KeepsCodeMatricesInMemory() const override { return true; }
        bool DonnerCodesNiveau(std::int32_t key, CMatriceCodes& out) const override {
            askedKey = key;
            out = MatrixOf({{1}, {0}}, 1);
            return true;
        }
        mutable std::int32_t askedKey = 0;
    };
    auto owned = std::make_unique<KeepingQuestion>(&survey);
    KeepingQuestion& question = *owned;
    survey.questions.push_back(std::move(owned));
    survey.selectorWord = 42;
    EXPECT_EQ(ReadClosed(question), (Rows{{1}, {0}}));
    EXPECT_EQ(question.askedKey, 42);
    EXPECT_TRUE(access->calls.empty());
}

TEST_F(ReadingFacadeTest, ReadsAtAnotherLevelCarryTheAnswersDownOrSayWhyNot) {
    CQuestionEtendue& household = Closed(1, "REGION", 1, 0, {{1, 1.0}, {2, 2.0}});
    household.SetLocalisedShortCaption(1036, "Région");
    access->closed[&household] = MatrixOf({{0}, {1}, {kE}}, 1);
    CMatriceCodes carried;
    ASSERT_TRUE(access->LireReponsesFermeesNiveau(household, 1, carried)) << access->GetErrorText();
    // The member of household 9, which does not exist, keeps an empty row.
    EXPECT_EQ(RowsOf(carried), (Rows{{0}, {0}, {0}, {1}, {kE}, {kE}, {kE}}));

    CQuestionEtendue& age = Numeric(52, "AGEMEMBRE", 2, 1);
    age.SetLocalisedShortCaption(1036, "Âge du membre");
    access->numeric[&age] = VectorOf({40, 38, 9, 71, 5, 30, 2});
    CVecteurDouble up;
    EXPECT_FALSE(access->LireValeursNumeriquesNiveau(age, 0, up));
    EXPECT_EQ(access->GetErrorText(), "Question 'Âge du membre dans le niveau 'Interviews' inaccessible");
}

TEST_F(ReadingFacadeTest, ALevelThatCannotBeLoadedGivesItsMessage) {
    static_cast<ScriptedRecordKeys*>(survey.GetRecordKeySource())->failing.insert(1);
    CQuestionEtendue& household = Closed(1, "REGION", 1, 0, {{1, 1.0}});
    access->closed[&household] = MatrixOf({{0}, {0}, {0}}, 1);
    CMatriceCodes carried;
    EXPECT_FALSE(access->LireReponsesFermeesNiveau(household, 1, carried));
    EXPECT_EQ(access->GetErrorText(), "level 1 unreadable");
}

TEST_F(ReadingFacadeTest, OpenAnswersAreCarriedDownAndNamedByTheirNamesWhenTheyCannotBe) {
    CQuestionEtendue& note = AddQuestion(survey, 4, "NOTE", 1, 1, 4);
    access->open[&note] = {"un", "deux", "trois"};
    std::vector<std::string> carried;
    ASSERT_TRUE(access->LireReponsesOuvertesNiveau(note, 1, carried)) << access->GetErrorText();
    EXPECT_EQ(carried, (std::vector<std::string>{"un", "un", "un", "deux", "", "trois", "trois"}));

    CQuestionEtendue& first = AddQuestion(survey, 51, "PRENOM", 2, 1, 4);
    first.level = 1;
    first.SetLocalisedShortCaption(1036, "Prénom");
    access->open[&first] = std::vector<std::string>(7, "x");
    EXPECT_FALSE(access->LireReponsesOuvertesNiveau(first, 0, carried));
    EXPECT_EQ(access->GetErrorText(), "Question 'PRENOM dans le niveau 'Interviews' inaccessible");
}

// ---- Grouped modalities ------------------------------------------------------------------------

TEST_F(ReadingFacadeTest, GroupedModalitiesWriteEachGroupOncePerRowUnlessEveryOccurrenceCounts) {
    CQuestionEtendue& source = Closed(11, "MARQUES", 1, 0, {{1, 1.0}, {2, 2.0}, {3, 3.0}});
    source.answerCount = 3;
    access->closed[&source] = MatrixOf({{0, 1, kE}, {2, 0, kE}, {kE, kE, kE}}, 3);
    RecodeDouble recode(&survey, CRecodage::kModalite);
    recode.groupsOfCode = {{1, {0}}, {2, {0}}, {3, {1, 0}}};
    struct Case {
        bool everyOccurrence;
        Rows expected;
    };
    const Case cases[] = {
        {false, {{0, kE, kE}, {1, 0, kE}, {kE, kE, kE}}},
        {true, {{0, 0, kE}, {1, 0, 0}, {kE, kE, kE}}},
    };
    for (const Case& c : cases) {
        recode.everyOccurrence = c.everyOccurrence;
        CQuestionEtendue& question = Recoded(source, recode, 1, 0);
        question.answerCount = 3;
        EXPECT_EQ(ReadClosed(question), c.expected) << c.everyOccurrence;
        Remove(question);
    }
}

TEST_F(ReadingFacadeTest, AGroupingGivingMoreGroupsThanTheAnswerCountWidensItsMatrix) {
    CQuestionEtendue& source = Closed(11, "MARQUES", 1, 0, {{1, 1.0}, {2, 2.0}});
    access->closed[&source] = MatrixOf({{0, 1}}, 2);
    RecodeDouble recode(&survey, CRecodage::kModalite);
    recode.groupsOfCode = {{1, {0, 1}}, {2, {2}}};
    CQuestionEtendue& question = Recoded(source, recode, 1, 0);
    question.answerCount = 1;
    const Rows rows = ReadClosed(question);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ((std::vector<std::int16_t>(rows[0].begin(), rows[0].begin() + 3)), (std::vector<std::int16_t>{0, 1, 2}));
    EXPECT_EQ(static_cast<const RecodeDouble*>(question.GetRecodage())->lookedUpLevel, 0);
}

TEST_F(ReadingFacadeTest, ARecodeWithoutItsSourceQuestionCannotBeRead) {
    CQuestionEtendue& other = Closed(1, "AUTRE", 1, 0, {{1, 1.0}});
    RecodeDouble recode(&survey, CRecodage::kModalite);
    CQuestionEtendue& orphan = AddQuestion(survey, 99, "ORPHELIN", 2);
    orphan.SetLocalisedShortCaption(1036, "Orphelin");
    orphan.recodeId = 3;
    orphan.SetRecodage(&recode);
    CMatriceCodes* matrix = nullptr;
    EXPECT_FALSE(access->LireReponsesFermees(orphan, matrix));
    EXPECT_EQ(matrix, nullptr);
    EXPECT_EQ(access->GetErrorText(), "Lecture impossible de 'Orphelin'...");
    (void)other;

    // Intervals and discrete values fail without a message.
    for (const std::int16_t type : {CRecodage::kIntervalle, CRecodage::kDiscrete}) {
        access->SetErrorText("");
        RecodeDouble classes(&survey, type);
        orphan.SetRecodage(&classes);
        EXPECT_FALSE(access->LireReponsesFermees(orphan, matrix)) << type;
        EXPECT_EQ(access->GetErrorText(), "") << type;
    }
    // A recode of another kind answers false.
    RecodeDouble open(&survey, CRecodage::kLevelOpen);
    orphan.SetRecodage(&open);
    EXPECT_FALSE(access->LireReponsesFermees(orphan, matrix));
}

// ---- Intervals and discrete values -------------------------------------------------------------

TEST_F(ReadingFacadeTest, IntervalsAndDiscreteValuesClassEachValueAndKeepTheResult) {
    CQuestionEtendue& source = Numeric(2, "AGE", 1, 0);
    // Three classes: up to 10, up to 20, up to 30; 45 lies in none.
    const std::vector<double> values = {5, 20, 45, kNotAsked, kNoAnswer};
    struct Case {
        std::int16_t type;
        bool countLowering;
        std::vector<std::int16_t> expected;
    };
    const Case cases[] = {
        {CRecodage::kIntervalle, true, {0, 1, 4, 4, 3}},
        {CRecodage::kIntervalle, false, {0, 1, 3, 3, 3}},
        {CRecodage::kDiscrete, true, {0, 1, 4, 4, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        access->numeric[&source] = VectorOf(values);
        RecodeDouble recode(&survey, c.type);
        recode.classCount = 3;
        recode.classUpperBounds = {10, 20, 30};
        CQuestionEtendue& question = Recoded(source, recode, 1, 0);
        question.hasNoAnswer = c.countLowering ? 1 : 0;
        Rows expected;
        for (std::int16_t index : c.expected)
            expected.push_back({index});
        EXPECT_EQ(ReadClosed(question), expected);
        // The classes are kept: the second read finds them without reading the source again.
        access->numeric.clear();
        EXPECT_EQ(ReadClosed(question), expected);
        // The recoded question's values are its source's.
        access->numeric[&source] = VectorOf(values);
        EXPECT_EQ(ReadValues(question), values);
        survey.OublierDonneesQuestion(source);
        Remove(question);
    }
}

// ---- Change of level ---------------------------------------------------------------------------

class LevelChangeTest : public ReadingFacadeTest {
protected:
    void SetUp() override {
        ReadingFacadeTest::SetUp();
        link = &Closed(53, "LIEN", 1, 1, {{1, 1.0}, {2, 2.0}, {3, 3.0}});
        link->SetLocalisedShortCaption(1036, "Lien");
        age = &Numeric(52, "AGEMEMBRE", 1, 1);
    }

    CQuestionEtendue& Gathered(CQuestionEtendue& source, std::int16_t recodeType, std::int16_t questionType,
                               std::int16_t rule) {
        RecodeDouble recode(&survey, recodeType);
        recode.sourceLevel = 1;
        recode.targetLevel = 0;
        recode.rule = rule;
        CQuestionEtendue& question = Recoded(source, recode, questionType, 0);
        for (int i = 0; i < source.GetNbreModalite(); ++i)
            AddModality(question, source.GetCodeModalite(i));
        return question;
    }

    std::vector<double> Combined(std::int16_t rule, const std::vector<double>& memberValues) {
        access->numeric[age] = VectorOf(memberValues);
        CQuestionEtendue& question = Gathered(*age, CRecodage::kLevelNumerique, 5, rule);
        std::vector<double> values = ReadValues(question);
        survey.OublierDonneesQuestion(*age);
        Remove(question);
        return values;
    }

    CQuestionEtendue* link = nullptr;
    CQuestionEtendue* age = nullptr;
};

// Members in key order: (1,1) (1,2) (1,3) | (2,1) | (9,1) without household | (3,1) (3,2).
TEST_F(LevelChangeTest, NumericRulesGatherTheMembersOfEachHousehold) {
    struct Case {
        std::int16_t rule;
        std::vector<double> members;
        std::vector<double> expected;
    };
    const double x = 1000; // the member without household: it must count nowhere
    const Case cases[] = {
        // Sum, smallest, largest, count, mean.
        {0, {1, 5, kNotAsked, 2, x, kNoAnswer, kNotAsked}, {6, 2, kNoAnswer}},
        {1, {3, 1, 2, kNotAsked, x, kNotAsked, kNotAsked}, {1, kNotAsked, kNotAsked}},
        {2, {3, 1, 2, kNoAnswer, x, 7, 7}, {3, kNoAnswer, 7}},
        {3, {1, kNotAsked, 4, kNoAnswer, x, kNotAsked, kNotAsked}, {2, 0, 0}},
        {4, {1, 2, 6, 5, x, kNoAnswer, 1}, {3, 5, 1}},
        // Median: index n / 2 of the sorted values; an even count takes the upper one.
        {5, {1, 5, 3, 4, x, kNoAnswer, kNotAsked}, {3, 4, kNoAnswer}},
        {5, {kNotAsked, kNotAsked, kNotAsked, 3, x, 9, 1}, {kNotAsked, 3, 9}},
        {8, {1, 2, 3, 4, x, 5, 6}, {kNotAsked, kNotAsked, kNotAsked}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_EQ(Combined(c.rule, c.members), c.expected);
    }
}

TEST_F(LevelChangeTest, TheMedianOfOneToNineIsFiveAndOnlyNoAnswerGivesNoAnswer) {
    // The Part's examples: rule 5 over 1, 5, 3, 9 gives 5 (index 2 of the sorted values).
    auto keys = std::make_unique<ScriptedRecordKeys>();
    keys->keysByLevel[0] = {{1}, {2}};
    keys->keysByLevel[1] = {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 1}};
    survey.SetRecordKeySource(std::move(keys));
    EXPECT_EQ(Combined(5, {1, 5, 3, 9, kNoAnswer}), (std::vector<double>{5, kNoAnswer}));
}

// Ruling 5: deviations are centred and never negative. References: the population variance of
// 2, 4, 4, 4, 5, 5, 7, 9 is 4 (standard deviation 2), by hand; tolerance 1e-12.
TEST_F(LevelChangeTest, StandardDeviationAndVarianceAreCentredAndConstantDataGivesZero) {
    auto keys = std::make_unique<ScriptedRecordKeys>();
    keys->keysByLevel[0] = {{1}, {2}};
    keys->keysByLevel[1] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {2, 8}};
    survey.SetRecordKeySource(std::move(keys));
    const std::vector<double> members = {0.1, 0.1, 0.1, 2, 4, 4, 4, 5, 5, 7, 9};
    const std::vector<double> deviation = Combined(6, members);
    const std::vector<double> variance = Combined(7, members);
    ASSERT_EQ(deviation.size(), 2u);
    ASSERT_EQ(variance.size(), 2u);
    EXPECT_EQ(deviation[0], 0.0);
    EXPECT_FALSE(std::signbit(deviation[0]));
    EXPECT_EQ(variance[0], 0.0);
    EXPECT_NEAR(deviation[1], 2.0, 1e-12);
    EXPECT_NEAR(variance[1], 4.0, 1e-12);
}

TEST_F(LevelChangeTest, ClosedRulesGatherTheAnswersOfTheMembers) {
    // LIEN modalities: 0 code 1, 1 code 2, 2 code 3, 3 code -1, 4 code -2.
    access->closed[link] = MatrixOf({{1}, {0}, {1}, {3}, {2}, {kE}, {kE}}, 1);
    struct Case {
        std::int16_t rule;
        Rows expected;
    };
    const Case cases[] = {
        {0, {{1, 0, 1}, {3, kE, kE}, {4, kE, kE}}},
        {1, {{1, 0}, {3, kE}, {4, kE}}},
        {2, {{0}, {3}, {4}}},
        {3, {{1}, {3}, {4}}}, // household 2 holds only the -1 modality: its index
        {9, {{kE}, {kE}, {kE}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        CQuestionEtendue& question = Gathered(*link, CRecodage::kLevelModalite, 1, c.rule);
        question.answerCount = 1;
        EXPECT_EQ(ReadClosed(question), c.expected);
        Remove(question);
    }
}

// Ruling 18: after gathering all answers, the answer count is the widest row's, W.
TEST_F(LevelChangeTest, TheAnswerCountAfterGatheringIsTheWidestRows) {
    access->closed[link] = MatrixOf({{1}, {0}, {2}, {3}, {2}, {0}, {kE}}, 1);
    for (const std::int16_t startCount : {std::int16_t{-1}, std::int16_t{1}, std::int16_t{8}}) {
        SCOPED_TRACE(startCount);
        CQuestionEtendue& question = Gathered(*link, CRecodage::kLevelModalite, 1, 0);
        question.answerCount = startCount;
        CMatriceCodes* matrix = nullptr;
        ASSERT_TRUE(access->LireReponsesFermees(question, matrix)) << access->GetErrorText();
        EXPECT_EQ(question.answerCount, 3);
        EXPECT_EQ(matrix->GetNbColonnes(), 3);
        EXPECT_EQ(matrix->GetAt(0, 2), 2); // the third answer of household 1 is kept
        access->MemoriserReponsesFermees(question, matrix);
        // The gathered matrix is kept: a second read does not read the members again.
        access->closed.erase(link);
        ASSERT_TRUE(access->LireReponsesFermees(question, matrix));
        access->MemoriserReponsesFermees(question, matrix);
        access->closed[link] = MatrixOf({{1}, {0}, {2}, {3}, {2}, {0}, {kE}}, 1);
        Remove(question);
    }
}

TEST_F(LevelChangeTest, OpenAnswersOfTheMembersAreJoinedWithABlankAfterEach) {
    CQuestionEtendue& first = AddQuestion(survey, 51, "PRENOM", 1, 1, 4);
    first.level = 1;
    access->open[&first] = {"Paul", "", "Léa", "Anne", "Nemo", "Zoé", "Tom"};
    CQuestionEtendue& question = Gathered(first, CRecodage::kLevelOpen, 4, 0);
    std::vector<std::string> texts;
    ASSERT_TRUE(access->LireReponsesOuvertes(question, texts)) << access->GetErrorText();
    EXPECT_EQ(texts, (std::vector<std::string>{"Paul Léa ", "Anne ", "Zoé Tom "}));
}

TEST_F(LevelChangeTest, ALevelChangeTowardsADeeperLevelFails) {
    access->numeric[age] = VectorOf({1, 2, 3, 4, 5, 6, 7});
    RecodeDouble down(&survey, CRecodage::kLevelNumerique);
    down.sourceLevel = 0;
    down.targetLevel = 1;
    CQuestionEtendue& question = Recoded(*age, down, 5, 1);
    question.SetLocalisedShortCaption(1036, "Âge");
    CVecteurDouble* values = nullptr;
    EXPECT_FALSE(access->LireValeursNumeriques(question, values));
    EXPECT_EQ(access->GetErrorText(), "Question 'Âge dans le niveau 'Membres' inaccessible");
}

TEST_F(LevelChangeTest, ALevelChangeWhoseLevelCannotBeLoadedGivesItsMessage) {
    CVecteurDouble* values = nullptr;
    static_cast<ScriptedRecordKeys*>(survey.GetRecordKeySource())->failing.insert(1);
    CQuestionEtendue& up = Gathered(*age, CRecodage::kLevelNumerique, 5, 0);
    EXPECT_FALSE(access->LireValeursNumeriques(up, values));
    EXPECT_EQ(access->GetErrorText(), "level 1 unreadable");
}

} // namespace
