#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/CacheDonnees.h"
#include "app/CacheDonnees3.h"
#include "app/ObjetDonnees.h"

class CQuestionEtendue;

namespace {

// A container that notes its own deletion and carries a value a borrower can use, so that a
// use after deletion shows under the address sanitizer.
struct Sonde : CObjetDonnees {
    Sonde(std::vector<int>& journalDesSuppressions, int numero) : journal(journalDesSuppressions), id(numero) {}
    ~Sonde() override { journal.push_back(id); }
    std::vector<int>& journal;
    int id;
    double valeur = 0.0;
};

class CacheFixture : public ::testing::Test {
protected:
    std::unique_ptr<Sonde> Nouvelle(int id) { return std::make_unique<Sonde>(m_supprimees, id); }
    bool Supprimee(int id) const
    {
        return std::find(m_supprimees.begin(), m_supprimees.end(), id) != m_supprimees.end();
    }
    const std::vector<int>& Supprimees() const { return m_supprimees; }

    // Question keys: distinct addresses that the cache compares and never follows.
    const CQuestionEtendue* Question(int i) const { return reinterpret_cast<const CQuestionEtendue*>(&m_questions[i]); }

private:
    // The caches of the derived fixtures are destroyed before this journal.
    std::vector<int> m_supprimees;
    std::array<char, 16> m_questions{};
};

// ---------------------------------------------------------------------------------------------
// Keyed by question

class CacheDonneesTest : public CacheFixture {
protected:
    CCacheDonnees cache{3};

    // Stores a container for question q and gives it straight back: an idle entry.
    void Garder(int q, int id) { cache.Liberer(Question(q), cache.Ajouter(Question(q), Nouvelle(id))); }

    CObjetDonnees* Emprunter(int q)
    {
        CObjetDonnees* objet = nullptr;
        return cache.Chercher(Question(q), objet) ? objet : nullptr;
    }
};

TEST_F(CacheDonneesTest, AFoundContainerIsBorrowedAndMovesToTheFront)
{
    CObjetDonnees* objet = nullptr;
    EXPECT_FALSE(cache.Chercher(Question(0), objet));

    Garder(0, 10);
    Garder(1, 11);
    Garder(2, 12);
    EXPECT_EQ(cache.GetKeyAt(0), Question(2));
    EXPECT_EQ(cache.GetKeyAt(2), Question(0));

    CObjetDonnees* trouve = Emprunter(0);
    ASSERT_NE(trouve, nullptr);
    EXPECT_EQ(static_cast<Sonde*>(trouve)->id, 10);
    EXPECT_EQ(cache.GetKeyAt(0), Question(0));
    EXPECT_EQ(cache.GetKeyAt(1), Question(2));
    EXPECT_EQ(cache.GetKeyAt(2), Question(1));
    EXPECT_EQ(cache.GetUseCountAt(0), 1);
}

TEST_F(CacheDonneesTest, GivingBackAKeptContainerNeverDeletesIt)
{
    CObjetDonnees* objet = cache.Ajouter(Question(0), Nouvelle(10));
    CObjetDonnees* encore = Emprunter(0);
    EXPECT_EQ(objet, encore);
    EXPECT_EQ(cache.GetUseCountAt(0), 2);
    cache.Liberer(Question(0), objet);
    cache.Liberer(Question(0), encore);
    cache.Liberer(Question(0), encore); // one give-back too many changes nothing
    EXPECT_EQ(cache.GetUseCountAt(0), 0);
    EXPECT_TRUE(Supprimees().empty());
    EXPECT_EQ(Emprunter(0), objet);
}

TEST_F(CacheDonneesTest, AFullCacheReplacesTheLeastRecentlyUsedIdleEntry)
{
    Garder(0, 10);
    Garder(1, 11);
    Garder(2, 12);
    cache.Liberer(Question(0), Emprunter(0)); // question 0 is now the most recent, 1 the least

    Garder(3, 13);
    EXPECT_EQ(Supprimees(), std::vector<int>{11});
    EXPECT_EQ(Emprunter(1), nullptr);
    EXPECT_NE(Emprunter(0), nullptr);
    EXPECT_NE(Emprunter(2), nullptr);
    EXPECT_NE(Emprunter(3), nullptr);
}

TEST_F(CacheDonneesTest, TheNextEvictedContainerIsTakenOnlyFromAFullCacheAndNeverWhileBorrowed)
{
    Garder(0, 10);
    Garder(1, 11);
    EXPECT_EQ(cache.PrendreProchainEvince(), nullptr) << "a free slot: nothing would be evicted";
    Garder(2, 12);
    CObjetDonnees* q0 = Emprunter(0);

    // Question 0 is borrowed: the least recently used idle entry is question 1.
    std::unique_ptr<CObjetDonnees> pris = cache.PrendreProchainEvince();
    ASSERT_NE(pris, nullptr);
    EXPECT_EQ(static_cast<Sonde*>(pris.get())->id, 11);
    EXPECT_EQ(Emprunter(1), nullptr);
    EXPECT_FALSE(Supprimee(11));
    // Its slot is free again: the next container takes it and nothing else is freed.
    Garder(3, 13);
    EXPECT_TRUE(Supprimees().empty());
    EXPECT_EQ(Emprunter(0), q0);

    CObjetDonnees* q2 = Emprunter(2);
    Emprunter(3);
    EXPECT_EQ(cache.PrendreProchainEvince(), nullptr) << "every container is borrowed";
    EXPECT_EQ(static_cast<Sonde*>(q2)->id, 12);
}

TEST_F(CacheDonneesTest, EvictionSkipsBorrowedEntries)
{
    CObjetDonnees* emprunte = cache.Ajouter(Question(0), Nouvelle(10)); // kept borrowed, at the back
    Garder(1, 11);
    Garder(2, 12);
    Garder(3, 13);
    EXPECT_EQ(Supprimees(), std::vector<int>{11});
    EXPECT_EQ(static_cast<Sonde*>(emprunte)->id, 10);
    cache.Liberer(Question(0), emprunte);
    EXPECT_FALSE(Supprimee(10));
}

TEST_F(CacheDonneesTest, WhenEverySlotIsBorrowedANewContainerIsLentAndFreedOnItsReturn)
{
    for (int q = 0; q < 3; ++q)
        cache.Ajouter(Question(q), Nouvelle(10 + q));

    CObjetDonnees* horsCache = cache.Ajouter(Question(3), Nouvelle(13));
    ASSERT_NE(horsCache, nullptr);
    EXPECT_EQ(Emprunter(3), nullptr); // not kept
    EXPECT_EQ(cache.GetOutsideLoanCount(), 1);
    static_cast<Sonde*>(horsCache)->valeur = 1.0; // still usable
    EXPECT_TRUE(Supprimees().empty());

    cache.Liberer(Question(3), horsCache);
    EXPECT_EQ(Supprimees(), std::vector<int>{13});
    EXPECT_EQ(cache.GetOutsideLoanCount(), 0);
}

TEST_F(CacheDonneesTest, InvalidatingAnIdleEntryDeletesItAtOnce)
{
    Garder(0, 10);
    Garder(1, 11);
    cache.Invalider(Question(0));
    EXPECT_EQ(Supprimees(), std::vector<int>{10});
    EXPECT_EQ(Emprunter(0), nullptr);
    EXPECT_NE(Emprunter(1), nullptr);
}

TEST_F(CacheDonneesTest, AnEntryInvalidatedWhileBorrowedIsFreedByItsLastBorrower)
{
    CObjetDonnees* premier = cache.Ajouter(Question(0), Nouvelle(10));
    CObjetDonnees* second = Emprunter(0);
    ASSERT_EQ(premier, second);

    cache.Invalider(Question(0));
    EXPECT_TRUE(Supprimees().empty());
    EXPECT_EQ(Emprunter(0), nullptr);
    static_cast<Sonde*>(premier)->valeur = 2.0; // still in use: must still be alive

    cache.Liberer(Question(0), premier);
    EXPECT_TRUE(Supprimees().empty());
    EXPECT_EQ(static_cast<Sonde*>(second)->valeur, 2.0);

    cache.Liberer(Question(0), second);
    EXPECT_EQ(Supprimees(), std::vector<int>{10});
    EXPECT_EQ(cache.GetOutsideLoanCount(), 0);
}

TEST_F(CacheDonneesTest, ADetachedContainerReturnedAfterARereadFreesItselfNotTheNewEntry)
{
    CObjetDonnees* ancien = cache.Ajouter(Question(0), Nouvelle(10));
    cache.Invalider(Question(0));
    CObjetDonnees* nouveau = cache.Ajouter(Question(0), Nouvelle(20)); // a second reader reads again

    cache.Liberer(Question(0), ancien);
    EXPECT_EQ(Supprimees(), std::vector<int>{10});
    EXPECT_EQ(cache.GetUseCountAt(0), 1); // the new entry is still borrowed by the second reader

    // So it cannot be evicted while that reader uses it.
    Garder(1, 11);
    Garder(2, 12);
    Garder(3, 13);
    EXPECT_FALSE(Supprimee(20));
    static_cast<Sonde*>(nouveau)->valeur = 3.0;
    cache.Liberer(Question(0), nouveau);
    EXPECT_FALSE(Supprimee(20));
}

TEST_F(CacheDonneesTest, InvalidatingARecodeEmptiesEveryQuestionItMade)
{
    // Questions 0 and 2 are made by recode 7, question 1 by recode 3.
    const auto recodeOf = [this](const CQuestionEtendue* question) {
        return question == Question(1) ? 3 : 7;
    };
    Garder(0, 10);
    Garder(1, 11);
    CObjetDonnees* emprunte = cache.Ajouter(Question(2), Nouvelle(12));

    cache.InvaliderProprietaire(7, recodeOf);
    EXPECT_EQ(Supprimees(), std::vector<int>{10});
    EXPECT_EQ(Emprunter(0), nullptr);
    EXPECT_EQ(Emprunter(2), nullptr);
    EXPECT_NE(Emprunter(1), nullptr);

    cache.Liberer(Question(2), emprunte);
    EXPECT_EQ(Supprimees(), (std::vector<int>{10, 12}));
}

TEST_F(CacheDonneesTest, AContainerLentWithoutBeingKeptIsFreedOnItsReturn)
{
    Garder(0, 10);
    CObjetDonnees* derive = cache.LendWithoutKeeping(Question(0), Nouvelle(20));
    EXPECT_EQ(static_cast<Sonde*>(Emprunter(0))->id, 10); // the kept entry is untouched
    cache.Liberer(Question(0), derive);
    EXPECT_EQ(Supprimees(), std::vector<int>{20});
    EXPECT_EQ(cache.GetUseCountAt(0), 1);
}

TEST_F(CacheDonneesTest, AnObjectTheCacheNeverLentStaysWithItsOwner)
{
    Garder(0, 10);
    auto etranger = Nouvelle(30);
    cache.Liberer(Question(0), etranger.get());
    EXPECT_TRUE(Supprimees().empty());
    EXPECT_EQ(cache.GetUseCountAt(0), 0);
}

TEST_F(CacheFixture, DestroyingTheCacheFreesEverythingItHolds)
{
    {
        CCacheDonnees cache(2);
        cache.Ajouter(Question(0), Nouvelle(10));
        cache.Ajouter(Question(1), Nouvelle(11));
        cache.Ajouter(Question(2), Nouvelle(12)); // lent outside the slots
        cache.Invalider(Question(0));             // detached while borrowed
    }
    std::vector<int> supprimees = Supprimees();
    std::sort(supprimees.begin(), supprimees.end());
    EXPECT_EQ(supprimees, (std::vector<int>{10, 11, 12}));
}

// ---------------------------------------------------------------------------------------------
// Keyed by level, study field and weighting

class CacheDonnees3Test : public CacheFixture {
protected:
    CCacheDonnees3 cache{6};

    void Garder(int niveau, int champ, int redressement, int id)
    {
        cache.Liberer(niveau, champ, redressement, cache.Ajouter(niveau, champ, redressement, Nouvelle(id)));
    }
    bool Garde(int niveau, int champ, int redressement)
    {
        CObjetDonnees* objet = nullptr;
        if (!cache.Chercher(niveau, champ, redressement, objet))
            return false;
        cache.Liberer(niveau, champ, redressement, objet);
        return true;
    }
};

TEST_F(CacheDonnees3Test, TheThreeKeysAreComparedTogether)
{
    Garder(0, -1, -1, 1);
    Garder(0, 4, -1, 2);
    Garder(1, -1, 5, 3);
    EXPECT_TRUE(Garde(0, -1, -1));
    EXPECT_TRUE(Garde(0, 4, -1));
    EXPECT_TRUE(Garde(1, -1, 5));
    EXPECT_FALSE(Garde(1, -1, -1));
    EXPECT_FALSE(Garde(0, -1, 5));
    // Free slots hold zero keys but nothing to find.
    EXPECT_FALSE(Garde(0, 0, 0));
}

TEST_F(CacheDonnees3Test, AWeightVectorAddedToAFullIdleCacheReplacesTheLastEntry)
{
    for (int i = 0; i < 6; ++i)
        Garder(i, -1, -1, i);
    Garder(6, -1, -1, 6);
    EXPECT_EQ(Supprimees(), std::vector<int>{0});
    EXPECT_FALSE(Garde(0, -1, -1));
    for (int i = 1; i <= 6; ++i)
        EXPECT_TRUE(Garde(i, -1, -1)) << i;
}

TEST_F(CacheDonnees3Test, WhenEverySlotIsBorrowedTheNewVectorIsFreedOnItsReturn)
{
    for (int i = 0; i < 6; ++i)
        cache.Ajouter(i, -1, -1, Nouvelle(i));
    CObjetDonnees* poids = cache.Ajouter(6, -1, -1, Nouvelle(6));
    EXPECT_FALSE(Garde(6, -1, -1));
    cache.Liberer(6, -1, -1, poids);
    EXPECT_EQ(Supprimees(), std::vector<int>{6});
}

TEST_F(CacheDonnees3Test, InvalidatingAStudyFieldOrAWeightingEmptiesEveryEntryOfIt)
{
    Garder(0, 4, -1, 1);
    Garder(1, 4, 5, 2);
    Garder(0, -1, 5, 3);
    CObjetDonnees* emprunte = cache.Ajouter(2, 4, 9, Nouvelle(4));

    cache.InvaliderCle2(4);
    EXPECT_EQ(Supprimees(), (std::vector<int>{2, 1}));
    EXPECT_FALSE(Garde(0, 4, -1));
    EXPECT_FALSE(Garde(1, 4, 5));
    EXPECT_TRUE(Garde(0, -1, 5));
    static_cast<Sonde*>(emprunte)->valeur = 1.0; // detached, still alive
    cache.Liberer(2, 4, 9, emprunte);
    EXPECT_TRUE(Supprimee(4));

    cache.InvaliderCle3(5);
    EXPECT_TRUE(Supprimee(3));
    EXPECT_FALSE(Garde(0, -1, 5));
}

} // namespace
