#include <gtest/gtest.h>

#include "platform/questionnaire/Questionnaire.h"

namespace {

std::unique_ptr<CQuestion> MakeQuestion(std::int16_t depth, std::int16_t kind = 1, std::int32_t code = 0) {
    auto question = std::make_unique<CQuestion>();
    question->depth = depth;
    question->kind = kind;
    question->code = code;
    return question;
}

struct KindTypeCase {
    std::int16_t kind;
    std::int16_t type;
    bool aModalite;
    bool numerique;
    bool numeriqueLibre;
    bool date;
    bool ouverte;
};

TEST(QuestionModel, KindAndTypeQueries) {
    const KindTypeCase cases[] = {
        // kind type  modal  numer  libre  date   open
        {1, 1, true, false, false, false, false},
        {1, 3, false, false, false, true, false},
        {1, 4, false, false, false, false, true},
        {1, 5, false, true, true, false, false},
        {1, 6, true, true, false, false, false},
        {1, 7, true, true, false, false, false},
        {1, 8, false, false, false, false, false},
        {0, 1, false, false, false, false, false}, // chapter
        {0, 5, false, false, false, false, false},
        {2, 1, false, false, false, false, false}, // loop
        {2, 4, false, false, false, false, false},
        {2, 5, false, false, false, false, false},
    };
    for (const KindTypeCase& c : cases) {
        CQuestion question;
        question.kind = c.kind;
        question.type = c.type;
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " type " << c.type);
        EXPECT_EQ(question.EstAModalite(), c.aModalite);
        EXPECT_EQ(question.EstNumerique(), c.numerique);
        EXPECT_EQ(question.EstNumeriqueLibre(), c.numeriqueLibre);
        EXPECT_EQ(question.EstDate(), c.date);
        EXPECT_EQ(question.EstOuverte(), c.ouverte);
    }
}

TEST(QuestionnaireModel, SubQuestionCountsFollowTheOutline) {
    // 0 Chapter         depth 1
    // 1   Loop          depth 2
    // 2     Question    depth 3
    // 3   Question      depth 2
    // 4 Chapter         depth 1
    // 5   Question      depth 2
    // 6 Question        depth 1
    CQuestionnaire questionnaire;
    for (const std::int16_t depth : {1, 2, 3, 2, 1, 2, 1})
        questionnaire.AddQuestion(MakeQuestion(depth));
    const int expected[] = {3, 1, 0, 0, 1, 0, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(questionnaire.DonnerNbreSousQuestion(i), expected[i]) << "item " << i;
    EXPECT_EQ(questionnaire.DonnerNbreSousQuestion(-1), 0);
    EXPECT_EQ(questionnaire.DonnerNbreSousQuestion(7), 0);
    EXPECT_EQ(questionnaire.GetQuestion(7), nullptr);
}

struct TablePerResponseCase {
    const char* name;
    std::int16_t answerCount;
    std::uint16_t responseTable;
    std::vector<std::uint16_t> tablePerOrder;
    std::vector<int> tables;
    std::vector<int> tableOfOrder;
};

TEST(QuestionModel, TablePerResponse) {
    const TablePerResponseCase cases[] = {
        {"every order in the response table", 3, 4, {}, {4}, {0, 0, 0}},
        {"spread over two tables", 4, 3, {3, 3, 5, 5}, {3, 5}, {0, 0, 1, 1}},
        {"interleaved, first table not the response table", 4, 3, {5, 3, 5}, {5, 3}, {0, 1, 0, 1}},
        {"no answer", 0, 2, {}, {2}, {}},
    };
    for (const TablePerResponseCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQuestion question;
        question.answerCount = c.answerCount;
        question.responseTable = c.responseTable;
        question.tablePerOrder = c.tablePerOrder;
        std::vector<int> tables{99};
        std::vector<int> tableOfOrder{99};
        question.GetTablePerResponse(tables, tableOfOrder);
        EXPECT_EQ(tables, c.tables);
        EXPECT_EQ(tableOfOrder, c.tableOfOrder);
    }
}

TEST(QuestionnaireModel, MessageLanguageFromLanguageId) {
    const std::pair<std::int32_t, int> cases[] = {
        {1036, 1}, // French
        {1031, 2}, // German
        {1040, 3}, // Italian
        {1034, 4}, // Spanish (traditional sort)
        {3082, 4}, // Spanish (modern sort): same primary language
        {1033, 0}, // English
        {2060, 1}, // French of Belgium: primary language French
        {2055, 2}, // German of Switzerland
        {0, 0},
        {-1, 0},
    };
    for (const auto& [languageId, expected] : cases)
        EXPECT_EQ(CQuestionnaire::GetErrorLanguageFromLanguage(languageId), expected) << "language " << languageId;
}

// A modality class of its own, as the program derives one: copies must keep it.
class CTaggedModalite : public CModalite {
public:
    using CModalite::CModalite;
    std::unique_ptr<CModalite> Clone() const override { return std::make_unique<CTaggedModalite>(*this); }
    int tag = 0;
};

CQuestion MakeFullQuestion() {
    CQuestion question;
    question.code = 12;
    question.name = "Q12";
    question.depth = 2;
    question.kind = 2;
    question.classAttribute = 2;
    question.type = 4;
    question.typeFlag = true;
    question.dateKind = 1;
    question.questionClass = 7;
    question.answerCount = 3;
    question.multipleAnswers = true;
    question.hasNoAnswer = 1;
    question.ranking = 1;
    question.lowerBound = -1.5;
    question.upperBound = 99.25;
    question.responseTable = 2;
    question.levelTable = 3;
    question.tablePerOrder = {2, 2, 4};
    question.inUse = false;
    question.inUseForAnalysis = false;
    question.semiOpen = true;
    CSemiOpen semiOpen;
    semiOpen.id = 5;
    semiOpen.kind = 1;
    semiOpen.modalityCode = 2;
    question.semiOpens.push_back(semiOpen);
    question.loopWithoutLevel = true;
    question.loopSharesLevel = true;
    question.sharedLevelCode = 40;
    question.expandIterations = true;
    question.SetLocalisedShortCaption(1036, "Fréquence");
    question.SetLocalisedLongCaption(1033, "Frequency");
    question.AddModalite(std::make_unique<CModalite>(1, 3.0));
    auto tagged = std::make_unique<CTaggedModalite>(2, 2.0);
    tagged->tag = 77;
    tagged->SetLocalisedShortCaption(1036, "Souvent");
    question.AddModalite(std::move(tagged));
    return question;
}

void ExpectSameQuestion(const CQuestion& copy, const CQuestion& source) {
    EXPECT_EQ(copy.code, source.code);
    EXPECT_EQ(copy.name, source.name);
    EXPECT_EQ(copy.depth, source.depth);
    EXPECT_EQ(copy.kind, source.kind);
    EXPECT_EQ(copy.classAttribute, source.classAttribute);
    EXPECT_EQ(copy.type, source.type);
    EXPECT_EQ(copy.typeFlag, source.typeFlag);
    EXPECT_EQ(copy.dateKind, source.dateKind);
    EXPECT_EQ(copy.questionClass, source.questionClass);
    EXPECT_EQ(copy.answerCount, source.answerCount);
    EXPECT_EQ(copy.multipleAnswers, source.multipleAnswers);
    EXPECT_EQ(copy.hasNoAnswer, source.hasNoAnswer);
    EXPECT_EQ(copy.ranking, source.ranking);
    EXPECT_EQ(copy.lowerBound, source.lowerBound);
    EXPECT_EQ(copy.upperBound, source.upperBound);
    EXPECT_EQ(copy.responseTable, source.responseTable);
    EXPECT_EQ(copy.levelTable, source.levelTable);
    EXPECT_EQ(copy.tablePerOrder, source.tablePerOrder);
    EXPECT_EQ(copy.inUse, source.inUse);
    EXPECT_EQ(copy.inUseForAnalysis, source.inUseForAnalysis);
    EXPECT_EQ(copy.semiOpen, source.semiOpen);
    ASSERT_EQ(copy.GetSemiOpenCount(), source.GetSemiOpenCount());
    EXPECT_EQ(copy.GetSemiOpen(0).modalityCode, source.GetSemiOpen(0).modalityCode);
    EXPECT_EQ(copy.loopWithoutLevel, source.loopWithoutLevel);
    EXPECT_EQ(copy.loopSharesLevel, source.loopSharesLevel);
    EXPECT_EQ(copy.sharedLevelCode, source.sharedLevelCode);
    EXPECT_EQ(copy.expandIterations, source.expandIterations);
    EXPECT_EQ(copy.shortCaptions, source.shortCaptions);
    EXPECT_EQ(copy.longCaptions, source.longCaptions);
    ASSERT_EQ(copy.GetNbreModalite(), source.GetNbreModalite());
    for (int i = 0; i < source.GetNbreModalite(); ++i) {
        EXPECT_NE(copy.GetModalite(i), source.GetModalite(i)) << "modality " << i << " is shared";
        EXPECT_EQ(copy.GetModalite(i)->code, source.GetModalite(i)->code);
        EXPECT_EQ(copy.GetModalite(i)->value, source.GetModalite(i)->value);
        EXPECT_EQ(copy.GetModalite(i)->shortCaptions, source.GetModalite(i)->shortCaptions);
    }
    const auto* tagged = dynamic_cast<const CTaggedModalite*>(copy.GetModalite(1));
    ASSERT_NE(tagged, nullptr) << "the copy lost the modality's own class";
    EXPECT_EQ(tagged->tag, 77);
}

TEST(QuestionModel, CopyIsDeep) {
    const CQuestion source = MakeFullQuestion();
    CQuestion copy(source);
    ExpectSameQuestion(copy, source);

    copy.GetModalite(0)->SetLocalisedShortCaption(1036, "changed");
    copy.DetruireModalites();
    EXPECT_EQ(source.GetNbreModalite(), 2);
    EXPECT_EQ(source.GetModalite(0)->GetLocalisedShortCaption(1036), "");

    CQuestion assigned;
    assigned.AddModalite(std::make_unique<CModalite>(9));
    assigned = source;
    ExpectSameQuestion(assigned, source);
}

TEST(QuestionModel, ModalitiesAndCaptions) {
    CQuestion question;
    question.AddModalite(std::make_unique<CModalite>(3));
    question.AddModalite(nullptr);
    question.AddModalite(std::make_unique<CModalite>(-2, CModalite::kNotAskedValue));
    EXPECT_EQ(question.GetNbreModalite(), 2);
    EXPECT_EQ(question.GetModalite(-1), nullptr);
    EXPECT_EQ(question.GetModalite(2), nullptr);
    std::vector<std::int32_t> codes{8};
    question.DonnerCodeModalites(codes);
    EXPECT_EQ(codes, (std::vector<std::int32_t>{8, 3, -2}));

    CModalite modality(1);
    EXPECT_EQ(modality.value, CModalite::kNoAnswerValue);
    modality.SetLocalisedShortCaption(1036, "Oui");
    modality.SetLocalisedShortCaption(1033, "Yes");
    modality.SetLocalisedShortCaption(1031, "Ja");
    modality.SetLocalisedShortCaption(1031, ""); // removes it
    std::vector<std::int32_t> languages{5};
    std::vector<std::string> texts{"old"};
    modality.GetAllLocalisedTexts(languages, texts);
    EXPECT_EQ(languages, (std::vector<std::int32_t>{1033, 1036}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Yes", "Oui"}));
    EXPECT_EQ(modality.GetLocalisedShortCaption(1031), "");
}

TEST(QuestionnaireModel, PreparerSaisieNumbersMissingTablesOnly) {
    // Items (depth, kind, code):      expected level / response table
    //  0 Q  (1, 1)                    1 / 1
    //  1 L  (1, 2, code 10) loop      level 8 (next after the 7 in use) / 1
    //  2 Q  (2, 1)                    8 / 8
    //  3 M  (2, 2, code 20) loop      level 9 / 8
    //  4 Q  (3, 1)                    9 / 9
    //  5 Q  (2, 1) response table 7   8 / 7 (kept)
    //  6 N  (1, 2, code 30) no level  level 1 / 1
    //  7 Q  (2, 1)                    1 / 1
    //  8 S  (1, 2, code 40) shares 20 level 9 / 1
    //  9 Q  (2, 1) two tables         9 / 9, per order {9, 5, 9}
    CQuestionnaire questionnaire;
    const std::tuple<std::int16_t, std::int16_t, std::int32_t> items[] = {
        {1, 1, 0}, {1, 2, 10}, {2, 1, 0}, {2, 2, 20}, {3, 1, 0},
        {2, 1, 0}, {1, 2, 30}, {2, 1, 0}, {1, 2, 40}, {2, 1, 0},
    };
    for (const auto& [depth, kind, code] : items) {
        auto question = MakeQuestion(depth, kind, code);
        question->responseTable = 0;
        question->levelTable = 0;
        questionnaire.AddQuestion(std::move(question));
    }
    questionnaire.GetQuestion(5)->responseTable = 7;
    questionnaire.GetQuestion(6)->loopWithoutLevel = true;
    questionnaire.GetQuestion(8)->loopSharesLevel = true;
    questionnaire.GetQuestion(8)->sharedLevelCode = 20;
    questionnaire.GetQuestion(9)->answerCount = 3;
    questionnaire.GetQuestion(9)->tablePerOrder = {0, 5};

    questionnaire.PreparerSaisie();

    const std::pair<int, int> expected[] = {{1, 1}, {8, 1}, {8, 8}, {9, 8}, {9, 9},
                                            {8, 7}, {1, 1}, {1, 1}, {9, 1}, {9, 9}};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(questionnaire.GetQuestion(i)->levelTable, expected[i].first) << "item " << i;
        EXPECT_EQ(questionnaire.GetQuestion(i)->responseTable, expected[i].second) << "item " << i;
    }
    EXPECT_EQ(questionnaire.GetQuestion(9)->tablePerOrder, (std::vector<std::uint16_t>{9, 5, 9}));
}

} // namespace
