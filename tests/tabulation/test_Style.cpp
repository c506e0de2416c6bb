#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tabulation/Style.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

class StyleTest : public TabulationFixture {
protected:
    void SetUp() override {
        TabulationFixture::SetUp();
        AddLevel(0, "Interviews");
        AddLevel(7, "Personnes");
    }

    static std::unique_ptr<CCalculEvolue> Calculation(std::int16_t type, std::int32_t kind, const std::string& label,
                                                      std::int32_t levelIndex = 0) {
        auto calculation = std::make_unique<CCalculEvolue>();
        calculation->type = type;
        calculation->code = kind;
        calculation->label = label;
        calculation->levelIndex = levelIndex;
        return calculation;
    }

    static CStyle TwoCalculations() {
        CStyle style;
        style.name = "Mon style";
        style.Add(Calculation(CCalculEvolue::kCrossing, 1, "Pct"));
        style.Add(Calculation(CCalculEvolue::kTotal, 10, "Moyenne", 1));
        return style;
    }

    static std::vector<std::string> Definitions(const CStyle& style) {
        std::vector<std::string> definitions;
        for (int i = 0; i < style.GetCount(); ++i)
            definitions.push_back(style.GetAt(i)->DonnerDefinition());
        return definitions;
    }
};

TEST_F(StyleTest, TextFormIsEachDefinitionFollowedByABar) {
    const CStyle style = TwoCalculations();
    EXPECT_EQ(style.DonnerChaine(), "-1;-1;0;0;2;1;Pct;|-1;-1;7;1;2;10;Moyenne;|");
    EXPECT_EQ(CStyle().DonnerChaine(), "");
}

TEST_F(StyleTest, TextFormsReadBack) {
    for (const char* text : {"", "-1;-1;0;0;2;1;Pct;|", "-1;-1;0;0;2;1;Pct;|-1;-1;7;1;2;10;Moyenne;|",
                             "-1;-1;0;3;2;0;Khi2;Test|-1;-1;0;2;0;9;Variance;|"}) {
        SCOPED_TRACE(text);
        CStyle style;
        style.LireChaine(text);
        EXPECT_EQ(style.DonnerChaine(), text);
    }
}

TEST_F(StyleTest, PartsThatAreNotDefinitionsAreDropped) {
    CStyle style;
    style.Add(Calculation(CCalculEvolue::kCrossing, 0, "replaced"));
    style.LireChaine("1;2;3|-1;-1;0;0;2;1;Pct;|texte|||-1;-1;7;1;2;10;Moyenne");
    EXPECT_EQ(Definitions(style), (std::vector<std::string>{"-1;-1;0;0;2;1;Pct;", "-1;-1;7;1;2;10;Moyenne;"}));
}

TEST_F(StyleTest, AStyleWhoseTextsHoldASeparatorIsRefused) {
    CStyle style = TwoCalculations();
    Message refusal;
    EXPECT_TRUE(style.VerifierTextes(refusal));
    style.GetAt(1)->label = "a|b";
    EXPECT_FALSE(style.VerifierTextes(refusal));
    EXPECT_EQ(refusal, Message::Text("Vous ne pouvez utiliser les caractères suivants ; et |"));
}

TEST_F(StyleTest, CopiesAreDeep) {
    const CStyle original = TwoCalculations();
    CStyle copy(original);
    copy.GetAt(0)->label = "changed";
    EXPECT_EQ(original.GetAt(0)->label, "Pct");
    CStyle assigned;
    assigned = original;
    EXPECT_EQ(assigned.DonnerChaine(), original.DonnerChaine());
    EXPECT_NE(assigned.GetAt(0), original.GetAt(0));
    EXPECT_EQ(original.GetAt(2), nullptr);
    EXPECT_EQ(original.GetAt(-1), nullptr);
}

TEST_F(StyleTest, ARequestStyleStoresItsCalculations) {
    CStyle style = TwoCalculations();
    Bytes expected;
    Put32(expected, 0);
    Put16(expected, 2);
    for (int i = 0; i < 2; ++i) {
        const Bytes record = Stored(*style.GetAt(i), 404);
        expected.insert(expected.end(), record.begin(), record.end());
    }
    EXPECT_EQ(Stored(style, 404), expected);

    CStyle loaded;
    Load(loaded, expected, 404);
    EXPECT_EQ(Definitions(loaded), Definitions(style));
    EXPECT_EQ(Stored(loaded, 404), expected);
}

TEST_F(StyleTest, AStoredStyleWritesItsNameOnly) {
    CStyle style = TwoCalculations();
    style.id = 3;
    Bytes expected;
    Put32(expected, 1);
    PutString(expected, "Mon style");
    EXPECT_EQ(Stored(style, 404), expected);
}

TEST_F(StyleTest, AStoredStyleThatCannotBeFoundKeepsItsNameAndNoCalculation) {
    Bytes bytes;
    Put32(bytes, 1);
    PutString(bytes, "Style disparu");
    CStyle loaded = TwoCalculations();
    Load(loaded, bytes, 404);
    EXPECT_EQ(loaded.name, "Style disparu");
    EXPECT_EQ(loaded.GetCount(), 0);
}

TEST_F(StyleTest, AnUnknownFirstWordLeavesAnEmptyStyleAndReadsNothingMore) {
    Bytes bytes;
    Put32(bytes, 7);
    Put32(bytes, 0xCAFE); // what follows the style belongs to its owner
    CStyle loaded = TwoCalculations();
    CArchiveVersion in(bytes, 404);
    loaded.Serialize(in);
    EXPECT_EQ(loaded.GetCount(), 0);
    EXPECT_EQ(in.Remaining(), 4u);
}

TEST_F(StyleTest, ACountLargerThanTheArchiveIsRefused) {
    Bytes bytes;
    Put32(bytes, 0);
    Put16(bytes, 1000);
    CStyle loaded;
    CArchiveVersion in(bytes, 404);
    EXPECT_THROW(loaded.Serialize(in), ArchiveException);
}

TEST_F(StyleTest, EveryTruncationFailsAndLeavesTheStyle) {
    CStyle style = TwoCalculations();
    for (int version : {403, 404}) {
        SCOPED_TRACE(version);
        ExpectEveryCutFails<CStyle>(Stored(style, version), version, [] { return TwoCalculations(); });
    }
    style.id = 2;
    ExpectEveryCutFails<CStyle>(Stored(style, 404), 404, [] { return CStyle(); });
}

} // namespace
