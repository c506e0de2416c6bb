#pragma once

#include <QTreeWidget>
#include <vector>

class COuvCorpus;

// A list of entries of a corpus (its forms and lemmas) that the analyst chooses for an analysis:
// one item per entry, holding the entry's index and showing its text and its frequency, sorted
// by text in the dictionary order or by frequency, the highest first and equal frequencies by
// text. Items move from one list to another, so an entry is never in two lists at once.
//
// The corpus is borrowed; it outlives the list's items.
class EntryList : public QTreeWidget {
public:
    enum Colonne { kColonneTexte = 0, kColonneEffectif = 1 };

    // Named by its control id, its first column headed and as wide as given, then "Effectif".
    EntryList(int id, const QString& heading, int textWidth, QWidget* parent);

    void SetCorpus(const COuvCorpus* corpus) { m_corpus = corpus; }
    void Ajouter(int entry);
    // Sorts by the column, which becomes the list's sort column.
    void Trier(int column);
    int GetColonneTri() const { return m_sortColumn; }
    // The entry indexes in list order.
    std::vector<int> Entrees() const;
    // The selected items, or every item, taken from the last to the first into the target, which
    // is sorted again by its own column.
    void Deplacer(EntryList& target, bool all);

private:
    const COuvCorpus* m_corpus = nullptr;
    int m_sortColumn = kColonneEffectif;
};
