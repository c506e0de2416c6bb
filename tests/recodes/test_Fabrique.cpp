#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "RecodesTestSupport.h"
#include "recodes/RecodageDiscrete.h"
#include "recodes/RecodageIntervalle.h"
#include "recodes/RecodageLevelModalite.h"
#include "recodes/RecodageLevelNumerique.h"
#include "recodes/RecodageLevelOpen.h"
#include "recodes/RecodageModalite.h"

using namespace recodes_test;

namespace {

using FabriqueTest = RecodesFixture;

TEST_F(FabriqueTest, EachTypeCodeMakesItsClassForTheSurvey) {
    struct Case {
        std::int16_t type;
        const std::type_info& kind;
    };
    const std::vector<Case> cases = {
        {0, typeid(CRecodageModalite)},       {1, typeid(CRecodageLevelModalite)}, {2, typeid(CRecodageIntervalle)},
        {3, typeid(CRecodageDiscrete)},       {5, typeid(CRecodageLevelNumerique)}, {6, typeid(CRecodageLevelOpen)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::unique_ptr<CRecodage> recode = CRecodage::CreerRecodage(c.type, &survey);
        ASSERT_NE(recode, nullptr);
        const CRecodage& made = *recode;
        EXPECT_EQ(typeid(made), c.kind);
        EXPECT_EQ(recode->GetType(), c.type);
        EXPECT_EQ(recode->GetEnquete(), &survey);
        EXPECT_EQ(recode->id, 0);
        EXPECT_EQ(recode->label, "");
    }
    for (std::int16_t type : {4, 7, -1, 100}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(CRecodage::CreerRecodage(type, &survey), nullptr);
    }
    EnregistrerRecodages(); // again: no harm
    const std::unique_ptr<CRecodage> withoutSurvey = CRecodage::CreerRecodage(0, nullptr);
    ASSERT_NE(withoutSurvey, nullptr);
    EXPECT_FALSE(withoutSurvey->Supprimer()); // no database to delete from
}

// Every field a recode stores, as the table's writer takes them from the getters.
struct Stored {
    std::int16_t type, sousType, dateType;
    bool cumule, moins, plus, entier;
    std::string regroupement, unite;
    int depart, arrivee;
    std::int32_t id, question, sourceRecode;
    std::string label;
    const CEnquete* survey;

    static Stored Of(const CRecodage& r) {
        return {r.GetType(),    r.GetSousType(),     r.GetDateType(),  r.GetEstCumule(),    r.GetEstMoins(),
                r.GetEstPlus(), r.GetEstEntier(),    r.GetRegroupement(), r.GetUnite(),    r.GetNiveauDepart(),
                r.GetNiveauArrivee(), r.id,          r.sourceQuestionCode, r.sourceRecodeCode, r.label,
                r.GetEnquete()};
    }
    bool operator==(const Stored&) const = default;
};

TEST_F(FabriqueTest, ClonerKeepsTheClassAndEveryField) {
    for (std::int16_t type : {0, 1, 2, 3, 5, 6}) {
        SCOPED_TRACE(type);
        std::unique_ptr<CRecodage> recode = CRecodage::CreerRecodage(type, &survey);
        ASSERT_NE(recode, nullptr);
        recode->id = 12;
        recode->sourceQuestionCode = 7;
        recode->sourceRecodeCode = 3;
        recode->label = "Tranches";
        recode->SetSousType(2);
        recode->SetEstCumule(true);
        recode->SetRegroupement(type == 0 ? "0;0;G|1;1;un|2;1;deux|" : "10@20@");
        recode->SetUnite("ans");
        recode->SetEstMoins(true);
        recode->SetEstPlus(true);
        recode->SetEstEntier(true);
        recode->SetDateType(1);
        recode->SetNiveauDepart(2);
        recode->SetNiveauArrivee(1);

        const std::unique_ptr<CRecodage> clone = CRecodage::Cloner(recode.get());
        ASSERT_NE(clone, nullptr);
        EXPECT_NE(clone.get(), recode.get());
        const CRecodage& copy = *clone;
        const CRecodage& original = *recode;
        EXPECT_EQ(typeid(copy), typeid(original));
        EXPECT_TRUE(Stored::Of(*clone) == Stored::Of(*recode));
    }
    EXPECT_EQ(CRecodage::Cloner(nullptr), nullptr);
}

TEST_F(FabriqueTest, ASubTotalCloneOwnsCopiesOfTheNodes) {
    CRecodageModalite recode(&survey);
    recode.SetRegroupement("0;0;G|1;1;un|");
    const std::unique_ptr<CRecodage> clone = CRecodage::Cloner(&recode);
    auto* copy = dynamic_cast<CRecodageModalite*>(clone.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->NodeCount(), 2);
    EXPECT_NE(copy->Node(1), recode.Node(1));
    EXPECT_EQ(copy->Node(1)->level, 1);
    copy->Node(0)->SetDefaultShortCaption("changé");
    EXPECT_EQ(recode.Node(0)->GetLocalisedShortCaption(kFrench), "G");
}

TEST_F(FabriqueTest, EachKindKeepsOnlyTheFieldsItStores) {
    // What the table reader gives every kind, and what each one answers back.
    struct Case {
        std::int16_t type;
        std::int16_t sousType, dateType;
        bool cumule, moins, plus, entier;
        const char* unite;
    };
    const std::vector<Case> cases = {
        {0, 0, -1, true, false, false, false, ""},
        {1, 2, -1, false, false, false, false, ""},
        {2, 2, 1, false, true, true, true, "ans"},
        {3, 0, -1, false, false, false, true, "ans"},
        {5, 2, -1, false, false, false, false, ""},
        {6, 2, -1, false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<CRecodage> recode = CRecodage::CreerRecodage(c.type, &survey);
        recode->SetSousType(2);
        recode->SetEstCumule(true);
        recode->SetUnite("ans");
        recode->SetEstMoins(true);
        recode->SetEstPlus(true);
        recode->SetEstEntier(true);
        recode->SetDateType(1);
        EXPECT_EQ(recode->GetSousType(), c.sousType);
        EXPECT_EQ(recode->GetDateType(), c.dateType);
        EXPECT_EQ(recode->GetEstCumule(), c.cumule);
        EXPECT_EQ(recode->GetEstMoins(), c.moins);
        EXPECT_EQ(recode->GetEstPlus(), c.plus);
        EXPECT_EQ(recode->GetEstEntier(), c.entier);
        EXPECT_EQ(recode->GetUnite(), c.unite);
    }
}

} // namespace
