#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "app/LargeBlockAllocator.h"
#include "app/ObjetDonnees.h"

// The answers of a closed question: one row per interview (or record of a level), one column
// per answer position, each cell a 16-bit code, row-major. kEmptyCell marks a position without
// an answer.
//
// Rows have a count and a capacity: appending doubles the capacity so that reading one
// interview at a time stays linear, and Compacter gives the spare rows back once reading is over.
class CMatriceCodes : public CObjetDonnees {
public:
    static constexpr std::int16_t kEmptyCell = -5;
    static constexpr int kFirstCapacity = 64;

    // No rows and no cells.
    explicit CMatriceCodes(std::int16_t nbColonnes = 0);
    // Columns, rows and their cells; the row capacity becomes the row count.
    CMatriceCodes(const CMatriceCodes& source);
    CMatriceCodes& operator=(const CMatriceCodes& source);

    int GetNbColonnes() const { return m_nbColonnes; }
    int GetNbLignes() const { return m_nbLignes; }
    int GetRowCapacity() const { return m_capaciteLignes; }

    // No bounds check beyond a debug assertion: callers stay below the row and column counts.
    std::int16_t GetAt(int ligne, int colonne) const;
    void SetAt(int ligne, int colonne, std::int16_t code);

    // The cells of the rows in use, row-major (cell (r, c) at r × columns + c), for readers that
    // fill a whole matrix at once.
    std::int16_t* DonnerCellules() { return m_cases.data(); }
    const std::int16_t* DonnerCellules() const { return m_cases.data(); }

    // Appends a row of empty cells and answers its index.
    int AjouterLigne();
    // Room for exactly n rows; rows past the old count are empty; count = capacity = n.
    void SetNbLignes(int n);
    // n rows of the given column count whose every cell the caller writes next (a whole-matrix
    // reader): the cells are left as they are, neither emptied nor zeroed, so that sizing costs
    // no pass over the memory; count = capacity = n. The memory already held is kept, so that a
    // matrix refilled again and again allocates nothing once it is large enough.
    void SetTailleAEcraser(int n, int nbColonnes);
    // Takes over the cell memory of a matrix that is no longer wanted (emptied), to be refilled
    // through SetTailleAEcraser without a fresh allocation.
    void ReprendreMemoire(CMatriceCodes& abandonnee);
    // Every row keeps its first min(old, m) codes and gets empty cells in the new columns.
    void SetNbColonnes(int m);
    // Row capacity := row count.
    void Compacter();
    // No cells, no rows, no capacity; the given column count.
    void Vider(int nbColonnes);
    void RemplirColonne0(std::int16_t code);

private:
    // Leaves cells uninitialised when a size is asked without a value: only SetTailleAEcraser
    // does so; every other resize names kEmptyCell.
    template <class T>
    struct CellAllocator : LargeBlockAllocator<T> {
        template <class U>
        struct rebind {
            using other = CellAllocator<U>;
        };
        CellAllocator() = default;
        template <class U>
        CellAllocator(const CellAllocator<U>&) noexcept {}
        template <class U>
        void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
        template <class U, class... Args>
        void construct(U* place, Args&&... args) { ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...); }
    };

    std::size_t Position(int ligne, int colonne) const;
    void ReallouerLignes(int capacite);
    void ViderLignes(int premiere, int fin);

    int m_nbColonnes = 0;
    int m_nbLignes = 0;
    int m_capaciteLignes = 0;
    std::vector<std::int16_t, CellAllocator<std::int16_t>> m_cases; // capacity × columns cells
};
