#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Registre.h"
#include "tabulation/TypeFusion.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

class TypeFusionTest : public TabulationFixture {};

struct Fields {
    std::int16_t type;
    std::int32_t parLigne;
    std::int32_t parColonne;
    std::int32_t libelleTraitement;
    std::int32_t versDossier;
    std::int32_t ligneVide;
};

Fields FieldsOf(const CTypeFusion& fusion) {
    return {fusion.Type, fusion.EstTableauParLigne, fusion.EstTableauParColonne, fusion.EstLibelleTraitement,
            fusion.EstVersDossier, fusion.IsEmptyLinePerQuestion};
}

void ExpectFields(const CTypeFusion& fusion, const Fields& expected) {
    const Fields actual = FieldsOf(fusion);
    EXPECT_EQ(actual.type, expected.type);
    EXPECT_EQ(actual.parLigne, expected.parLigne);
    EXPECT_EQ(actual.parColonne, expected.parColonne);
    EXPECT_EQ(actual.libelleTraitement, expected.libelleTraitement);
    EXPECT_EQ(actual.versDossier, expected.versDossier);
    EXPECT_EQ(actual.ligneVide, expected.ligneVide);
}

TEST_F(TypeFusionTest, NothingSavedGivesTheBuiltInValues) {
    ExpectFields(CTypeFusion(), {1, 0, 0, 1, 0, 0});
}

TEST_F(TypeFusionTest, EachSavedKeyIsReadAndBadValuesGiveTheirDefault) {
    struct Case {
        const char* key;
        int stored;
        Fields expected;
    };
    const std::vector<Case> cases{
        {"Type", 0, {0, 0, 0, 1, 0, 0}},
        {"Type", 2, {2, 0, 0, 1, 0, 0}},
        {"Type", 3, {1, 0, 0, 1, 0, 0}},  // out of 0..2
        {"Type", -1, {1, 0, 0, 1, 0, 0}},
        {"EstTableauParLigne", 1, {1, 1, 0, 1, 0, 0}},
        {"EstTableauParColonne", 1, {1, 0, 1, 1, 0, 0}},
        {"EstLibelleTraitement", 0, {1, 0, 0, 0, 0, 0}},
        {"EstLibelleTraitement", 2, {1, 0, 0, 1, 0, 0}}, // not a boolean
        {"EstVersDossier", 1, {1, 0, 0, 1, 1, 0}},
        {"IsEmptyLinePerQuestion", 1, {1, 0, 0, 1, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " = " << c.stored);
        Store().WriteInteger("Fusion", c.key, c.stored);
        ExpectFields(CTypeFusion(), c.expected);
        Store().Remove("Fusion", c.key);
    }
}

TEST_F(TypeFusionTest, WrittenChoicesAreTheNextDefaults) {
    CTypeFusion chosen;
    chosen.Type = CTypeFusion::kBlocksInRows;
    chosen.EstTableauParLigne = 1;
    chosen.EstTableauParColonne = 1;
    chosen.EstLibelleTraitement = 0;
    chosen.EstVersDossier = 1;
    chosen.IsEmptyLinePerQuestion = 1;
    CRegistre::WriteTypeFusion(chosen);
    EXPECT_EQ(CTypeFusion(), chosen);
    EXPECT_EQ(Store().ReadInteger("Fusion", "Type"), 2);
    EXPECT_EQ(Store().ReadInteger("Fusion", "EstLibelleTraitement"), 0);
}

TEST_F(TypeFusionTest, ArchiveLayout) {
    CTypeFusion fusion;
    fusion.Type = 2;
    fusion.EstTableauParLigne = 1;
    fusion.EstTableauParColonne = 0;
    fusion.EstLibelleTraitement = 1;
    fusion.EstVersDossier = 1;
    fusion.IsEmptyLinePerQuestion = 1;
    Bytes expected;
    Put16(expected, 2);
    for (std::uint32_t word : {1u, 0u, 1u, 1u, 1u})
        Put32(expected, word);
    EXPECT_EQ(Stored(fusion, 405), expected);

    CTypeFusion loaded;
    Load(loaded, expected, 405);
    EXPECT_EQ(loaded, fusion);
    EXPECT_EQ(Stored(loaded, 405), expected);
}

TEST_F(TypeFusionTest, AnEmptyLineOptionStoredAsFiveLoadsAsOne) {
    Bytes bytes;
    Put16(bytes, 0);
    for (std::uint32_t word : {5u, 0u, 7u, 0u, 5u})
        Put32(bytes, word);
    CTypeFusion loaded;
    Load(loaded, bytes, 404);
    // The other options keep the stored word, which any non-zero value sets.
    ExpectFields(loaded, {0, 5, 0, 7, 0, 1});
}

TEST_F(TypeFusionTest, EveryTruncationFailsAndLeavesTheOptions) {
    CTypeFusion fusion;
    fusion.EstVersDossier = 1;
    ExpectEveryCutFails<CTypeFusion>(Stored(fusion, 405), 405, [] { return CTypeFusion(); });
}

} // namespace
