#pragma once

#include <string>
#include <string_view>
#include <vector>

// The one order of the dictionary, the same on every machine: texts compare folded (Tokenizer),
// code point by code point with each accented letter counting as its base letter (é as e, ç as
// c, œ as oe, ß as ss); texts still equal then compare by their folded code points, so that only
// identical folded texts are equal. The insertion and search of forms, the sort by text, the
// lemmas read back and the stop-word search all use it.
class DictionaryOrder {
public:
    // Negative, 0 or positive as a comes before, with or after b.
    static int Comparer(std::string_view a, std::string_view b);
    static bool Avant(std::string_view a, std::string_view b) { return Comparer(a, b) < 0; }
    // Folds every word and sorts the list by this order (duplicates kept).
    static void TrierListe(std::vector<std::string>& words);
    // Binary search of a sorted list.
    static bool Contient(const std::vector<std::string>& sorted, std::string_view word);
};
