#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/LargeBlockAllocator.h"
#include "app/MatriceCodes.h"
#include "app/ObjetDonnees.h"
#include "app/VecteurDouble.h"
#include "app/VecteurPoids.h"
#include "app/ViderTableauObjets.h"

namespace {

constexpr double kNotAsked = -888888.88;
constexpr std::int16_t kEmpty = -5;

CVecteurDouble Counting(int n)
{
    CVecteurDouble vecteur(n);
    for (int i = 0; i < n; ++i)
        vecteur.SetAt(i, i + 1.0);
    return vecteur;
}

// ---------------------------------------------------------------------------------------------
// Value vectors

TEST(VecteurDouble, AppendingGrowsTheCapacityByDoublingFrom64)
{
    CVecteurDouble vecteur;
    EXPECT_EQ(vecteur.GetCapacity(), 0);

    EXPECT_EQ(vecteur.Ajouter(), 0);
    EXPECT_EQ(vecteur.GetSize(), 1);
    EXPECT_EQ(vecteur.GetCapacity(), 64);
    EXPECT_EQ(vecteur.GetAt(0), kNotAsked);

    vecteur.SetAt(0, 7.5);
    for (int i = 1; i < 64; ++i)
        EXPECT_EQ(vecteur.Ajouter(), i);
    EXPECT_EQ(vecteur.GetCapacity(), 64);

    EXPECT_EQ(vecteur.Ajouter(), 64); // the 65th
    EXPECT_EQ(vecteur.GetCapacity(), 128);
    EXPECT_EQ(vecteur.GetSize(), 65);
    EXPECT_EQ(vecteur.GetAt(0), 7.5);
    EXPECT_EQ(vecteur.GetAt(64), kNotAsked);
}

TEST(VecteurDouble, SetSizeKeepsTheCommonPrefixAndFitsTheCapacity)
{
    struct Case {
        int from;
        int to;
    };
    for (const Case c : {Case{5, 8}, Case{5, 2}, Case{5, 0}, Case{0, 3}}) {
        CVecteurDouble vecteur = Counting(c.from);
        vecteur.SetSize(c.to);
        EXPECT_EQ(vecteur.GetSize(), c.to) << c.from << " -> " << c.to;
        EXPECT_EQ(vecteur.GetCapacity(), c.to);
        for (int i = 0; i < std::min(c.from, c.to); ++i)
            EXPECT_EQ(vecteur.GetAt(i), i + 1.0);
    }

    // The same count changes nothing, not even the spare room of an appended vector.
    CVecteurDouble appended;
    appended.Ajouter();
    appended.SetSize(1);
    EXPECT_EQ(appended.GetCapacity(), 64);
}

TEST(VecteurDouble, CopiesHoldExactlyTheSourceCount)
{
    CVecteurDouble source;
    for (int i = 0; i < 3; ++i)
        source.Ajouter();
    source.SetAt(1, 2.5);

    CVecteurDouble copie(source);
    EXPECT_EQ(copie.GetSize(), 3);
    EXPECT_EQ(copie.GetCapacity(), 3);
    EXPECT_EQ(copie.GetAt(1), 2.5);

    CVecteurDouble affecte = Counting(10);
    affecte = source;
    EXPECT_EQ(affecte.GetSize(), 3);
    EXPECT_EQ(affecte.GetCapacity(), 3);
    EXPECT_EQ(affecte.GetAt(0), kNotAsked);

    CVecteurDouble& meme = affecte;
    affecte = meme;
    EXPECT_EQ(affecte.GetSize(), 3);
    EXPECT_EQ(affecte.GetAt(1), 2.5);

    CVecteurPoids poids(source);
    EXPECT_EQ(poids.GetSize(), 3);
    EXPECT_EQ(poids.GetAt(1), 2.5);
}

TEST(VecteurDouble, FillAddAndCompact)
{
    CVecteurDouble vecteur(4);
    vecteur.Remplir(1.5);
    vecteur.Additionner(Counting(6)); // a longer one: only this vector's elements
    EXPECT_EQ(vecteur.GetSize(), 4);
    EXPECT_EQ(vecteur.GetAt(0), 2.5);
    EXPECT_EQ(vecteur.GetAt(3), 5.5);

    vecteur.Additionner(Counting(2)); // a shorter one adds over what both hold, reads nothing beyond
    EXPECT_EQ(vecteur.GetAt(0), 3.5);
    EXPECT_EQ(vecteur.GetAt(1), 5.5);
    EXPECT_EQ(vecteur.GetAt(2), 4.5);

    vecteur.Compacter();
    EXPECT_EQ(vecteur.GetSize(), 4);
    EXPECT_EQ(vecteur.GetAt(3), 5.5);
}

// ---------------------------------------------------------------------------------------------
// Code matrices

// A matrix of `rows` rows appended one by one, cell (r, c) = 10 r + c.
CMatriceCodes Numbered(int rows, std::int16_t columns)
{
    CMatriceCodes matrice(columns);
    for (int r = 0; r < rows; ++r) {
        const int ligne = matrice.AjouterLigne();
        for (int c = 0; c < columns; ++c)
            matrice.SetAt(ligne, c, static_cast<std::int16_t>(10 * r + c));
    }
    return matrice;
}

void ExpectNumberedRows(const CMatriceCodes& matrice, int rows, int columns)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            EXPECT_EQ(matrice.GetAt(r, c), 10 * r + c) << "cell " << r << ", " << c;
}

void ExpectEmptyRows(const CMatriceCodes& matrice, int first, int end)
{
    for (int r = first; r < end; ++r)
        for (int c = 0; c < matrice.GetNbColonnes(); ++c)
            EXPECT_EQ(matrice.GetAt(r, c), kEmpty) << "cell " << r << ", " << c;
}

TEST(MatriceCodes, AppendedRowsAreEmptyAndTheRowCapacityDoublesFrom64)
{
    CMatriceCodes matrice(3);
    EXPECT_EQ(matrice.GetNbLignes(), 0);
    EXPECT_EQ(matrice.GetRowCapacity(), 0);

    EXPECT_EQ(matrice.AjouterLigne(), 0);
    EXPECT_EQ(matrice.GetRowCapacity(), 64);
    ExpectEmptyRows(matrice, 0, 1);

    CMatriceCodes grande = Numbered(65, 3);
    EXPECT_EQ(grande.GetNbLignes(), 65);
    EXPECT_EQ(grande.GetRowCapacity(), 128);
    ExpectNumberedRows(grande, 65, 3);
}

// Blocks below and above the size mapped on their own, and vectors growing from one kind to the
// other: every value written is read back, through copies and reallocations.
TEST(LargeBlockAllocator, SmallAndLargeBlocksHoldWhatIsWrittenAcrossGrowth)
{
    const std::size_t large = large_blocks::kLargeBlockBytes / sizeof(double);
    for (const std::size_t count : {std::size_t{1}, large - 1, large, 3 * large + 5}) {
        SCOPED_TRACE(count);
        std::vector<double, LargeBlockAllocator<double>> values(count);
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(values[i], 0.0) << i;
        for (std::size_t i = 0; i < count; ++i)
            values[i] = static_cast<double>(i) + 0.5;
        values.resize(count * 2 + 1, -1.0);
        const auto copy = values;
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(copy[i], static_cast<double>(i) + 0.5) << i;
        EXPECT_EQ(copy.back(), -1.0);
    }
    // A large matrix refilled in place keeps its memory and its cells.
    CMatriceCodes matrice(1);
    matrice.SetTailleAEcraser(1000000, 1);
    for (int r = 0; r < 1000000; ++r)
        matrice.SetAt(r, 0, static_cast<std::int16_t>(r % 7));
    const CMatriceCodes copie(matrice);
    EXPECT_EQ(copie.GetAt(999999, 0), 999999 % 7);
    EXPECT_EQ(copie.GetAt(500000, 0), 500000 % 7);
}

TEST(MatriceCodes, ARefilledMatrixReusesTheMemoryOfAnAbandonedOne)
{
    CMatriceCodes abandonnee = Numbered(100, 3);
    const std::int16_t* memoire = abandonnee.DonnerCellules();

    CMatriceCodes matrice;
    matrice.ReprendreMemoire(abandonnee);
    EXPECT_EQ(abandonnee.GetNbLignes(), 0);
    EXPECT_EQ(abandonnee.GetRowCapacity(), 0);

    // Fewer cells than the memory holds: no new allocation, the sizes are the new ones.
    matrice.SetTailleAEcraser(120, 2);
    EXPECT_EQ(matrice.DonnerCellules(), memoire);
    EXPECT_EQ(matrice.GetNbLignes(), 120);
    EXPECT_EQ(matrice.GetNbColonnes(), 2);
    EXPECT_EQ(matrice.GetRowCapacity(), 120);
    for (int r = 0; r < 120; ++r)
        for (int c = 0; c < 2; ++c)
            matrice.SetAt(r, c, static_cast<std::int16_t>(r + c));
    EXPECT_EQ(matrice.GetAt(119, 1), 120);

    // Growing past the memory still gives every row; later appends empty their cells.
    matrice.SetTailleAEcraser(1000, 2);
    EXPECT_EQ(matrice.GetNbLignes(), 1000);
    EXPECT_EQ(matrice.AjouterLigne(), 1000);
    ExpectEmptyRows(matrice, 1000, 1001);
}

TEST(MatriceCodes, SetNbLignesKeepsTheFirstRowsAndEmptiesTheNewOnes)
{
    struct Case {
        int from;
        int to;
    };
    for (const Case c : {Case{10, 12}, Case{10, 5}, Case{10, 0}, Case{0, 2}}) {
        CMatriceCodes matrice = Numbered(c.from, 3);
        matrice.SetNbLignes(c.to);
        EXPECT_EQ(matrice.GetNbLignes(), c.to) << c.from << " -> " << c.to;
        EXPECT_EQ(matrice.GetRowCapacity(), c.to);
        ExpectNumberedRows(matrice, std::min(c.from, c.to), 3);
        ExpectEmptyRows(matrice, std::min(c.from, c.to), c.to);
    }
}

TEST(MatriceCodes, RowsRegainedAfterShrinkingAreEmptyNotTheirOldCodes)
{
    CMatriceCodes matrice = Numbered(10, 2);
    matrice.SetNbLignes(4);
    matrice.SetNbLignes(10);
    ExpectNumberedRows(matrice, 4, 2);
    ExpectEmptyRows(matrice, 4, 10);

    // Rows appended into spare capacity are empty too.
    CMatriceCodes appended = Numbered(3, 2);
    appended.SetAt(2, 1, 99);
    appended.Vider(2);
    appended.AjouterLigne();
    ExpectEmptyRows(appended, 0, 1);
}

TEST(MatriceCodes, SetNbColonnesKeepsEachRowsCodes)
{
    CMatriceCodes plus = Numbered(3, 2);
    plus.SetNbColonnes(4);
    EXPECT_EQ(plus.GetNbColonnes(), 4);
    ExpectNumberedRows(plus, 3, 2);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(plus.GetAt(r, 2), kEmpty);
        EXPECT_EQ(plus.GetAt(r, 3), kEmpty);
    }
    // Rows appended afterwards use the new width.
    EXPECT_EQ(plus.AjouterLigne(), 3);
    ExpectEmptyRows(plus, 3, 4);
    ExpectNumberedRows(plus, 3, 2);

    CMatriceCodes moins = Numbered(3, 4);
    moins.SetNbColonnes(1);
    EXPECT_EQ(moins.GetNbColonnes(), 1);
    ExpectNumberedRows(moins, 3, 1);
}

TEST(MatriceCodes, CompactEmptyCopyAndFillColumnZero)
{
    CMatriceCodes matrice = Numbered(5, 3);
    EXPECT_EQ(matrice.GetRowCapacity(), 64);
    matrice.Compacter();
    EXPECT_EQ(matrice.GetRowCapacity(), 5);
    ExpectNumberedRows(matrice, 5, 3);

    CMatriceCodes source = Numbered(5, 3);
    CMatriceCodes copie(source);
    EXPECT_EQ(copie.GetNbLignes(), 5);
    EXPECT_EQ(copie.GetRowCapacity(), 5);
    ExpectNumberedRows(copie, 5, 3);
    CMatriceCodes affectee(1);
    affectee = source;
    EXPECT_EQ(affectee.GetNbColonnes(), 3);
    EXPECT_EQ(affectee.GetRowCapacity(), 5);
    ExpectNumberedRows(affectee, 5, 3);

    source.RemplirColonne0(-2);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(source.GetAt(r, 0), -2);
        EXPECT_EQ(source.GetAt(r, 1), 10 * r + 1);
    }

    source.Vider(7);
    EXPECT_EQ(source.GetNbColonnes(), 7);
    EXPECT_EQ(source.GetNbLignes(), 0);
    EXPECT_EQ(source.GetRowCapacity(), 0);

    // A matrix without columns has no column 0 to fill.
    CMatriceCodes sansColonne(0);
    sansColonne.AjouterLigne();
    sansColonne.RemplirColonne0(1);
    EXPECT_EQ(sansColonne.GetNbLignes(), 1);
}

// ---------------------------------------------------------------------------------------------
// Arrays of owned objects

struct Sonde : CObjetDonnees {
    Sonde(std::vector<int>& journalDesSuppressions, int numero) : journal(journalDesSuppressions), id(numero) {}
    ~Sonde() override { journal.push_back(id); }
    std::vector<int>& journal;
    int id;
};

TEST(ViderTableauObjets, DeletesEveryObjectInOrderAndEmptiesTheArray)
{
    std::vector<int> journal;
    std::vector<std::unique_ptr<CObjetDonnees>> tableau;
    tableau.push_back(std::make_unique<Sonde>(journal, 1));
    tableau.push_back(nullptr);
    tableau.push_back(std::make_unique<Sonde>(journal, 2));
    tableau.push_back(std::make_unique<Sonde>(journal, 3));

    ViderTableauObjets(tableau);
    EXPECT_TRUE(tableau.empty());
    EXPECT_EQ(journal, (std::vector<int>{1, 2, 3}));
}

} // namespace
