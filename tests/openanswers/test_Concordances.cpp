#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OpenAnswersFixture.h"
#include "openanswers/ConcordanceOrder.h"

namespace {

using Texts = std::vector<std::string>;
using Interviews = std::vector<std::int32_t>;

class ConcordancesTest : public OpenAnswersTest {
protected:
    void SetUp() override {
        OpenAnswersTest::SetUp();
        // «chat» ends interview 1 after twelve words, is twice in interview 2; «chat noir» is
        // repeated in interviews 2 and 3.
        OpenAnswers({"un deux trois quatre cinq six sept huit neuf dix onze douze chat", "chat noir et chat blanc",
                     "le chat noir dort"});
        corpus = Corpus();
    }

    int Index(const char* wanted) {
        int index = -1;
        EXPECT_TRUE(corpus->ChercherForme(wanted, index)) << wanted;
        return index;
    }

    void Run(int kind, int index) { corpus->Concordances(kind, index, text, left, right, interviews); }

    std::unique_ptr<COuvCorpus> corpus;
    std::string text;
    Texts left, right;
    Interviews interviews;
};

TEST_F(ConcordancesTest, FormWithTenWordsOfContextWithinItsAnswer) {
    Run(COuvCorpus::kConcordanceForme, Index("chat"));
    EXPECT_EQ(text, "chat");
    // Written by hand from the three answers: ten words at most, none from the next answer; the
    // form twice in interview 2 gives two lines of interview 2.
    EXPECT_EQ(left, (Texts{"trois quatre cinq six sept huit neuf dix onze douze ", "", "chat noir et ", "le "}));
    EXPECT_EQ(right, (Texts{"", "noir et chat blanc ", "blanc ", "noir dort "}));
    EXPECT_EQ(interviews, (Interviews{1, 2, 2, 3}));
}

TEST_F(ConcordancesTest, LemmaListsThePlacesOfItsFormsOnly) {
    const int lemma = corpus->CreerLemme({Index("dort"), Index("blanc")});
    Run(COuvCorpus::kConcordanceForme, lemma);
    EXPECT_EQ(text, "dort");
    EXPECT_EQ(left, (Texts{"chat noir et chat ", "le chat noir "}));
    EXPECT_EQ(right, (Texts{"", ""}));
    EXPECT_EQ(interviews, (Interviews{2, 3}));
}

TEST_F(ConcordancesTest, SegmentRightContextAfterItsLastForm) {
    ASSERT_TRUE(corpus->ChargerSegments());
    int segment = -1;
    ASSERT_TRUE(corpus->ChercherSegment("chat noir", segment));
    Run(COuvCorpus::kConcordanceSegment, segment);
    EXPECT_EQ(text, "chat noir");
    EXPECT_EQ(left, (Texts{"", "le "}));
    EXPECT_EQ(right, (Texts{"et chat blanc ", "dort "}));
    EXPECT_EQ(interviews, (Interviews{2, 3}));
}

TEST_F(ConcordancesTest, IndexOutOfRangeGivesNothing) {
    Run(COuvCorpus::kConcordanceSegment, 99);
    Run(COuvCorpus::kConcordanceForme, -1);
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(interviews.empty());
}

struct OrderCase {
    const char* a;
    const char* b;
    int sign;
};

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(ConcordanceOrder, LeftContextsFromTheNearestWordOutwards) {
    const OrderCase cases[] = {
        {"zèbre b ", "a c ", -1},   // the nearest words decide: b before c
        {"a b ", "c b ", -1},       // equal nearest words: the next ones, a before c
        {"", "x ", -1},             // no word before any word
        {"", "", 0},                // two empty contexts are equal
        {"x ", "a x ", -1},         // nearest equal, then a missing word first
        {"Été x ", "ete x ", 1},    // été after ete once equal as base letters (dictionary order)
    };
    for (const OrderCase& c : cases) {
        EXPECT_EQ(Sign(ConcordanceOrder::ComparerGauche(c.a, c.b)), c.sign) << c.a << " | " << c.b;
        EXPECT_EQ(Sign(ConcordanceOrder::ComparerGauche(c.b, c.a)), -c.sign) << c.b << " | " << c.a;
    }
}

TEST(ConcordanceOrder, RightContextsAsWholeTexts) {
    EXPECT_LT(ConcordanceOrder::ComparerDroite("a zèbre ", "b a "), 0);
    EXPECT_LT(ConcordanceOrder::ComparerDroite("", "a "), 0);
    EXPECT_EQ(ConcordanceOrder::ComparerDroite("noir ", "noir "), 0);
}

} // namespace
