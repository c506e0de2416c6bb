#pragma once

#include <string_view>

// The orders of the concordance's context columns. Left contexts compare word by word from the
// word nearest the entry outwards (at most ten words): a missing word comes before any other,
// two missing words are equal, other words compare by the dictionary order. Right contexts
// compare as whole texts by the dictionary order.
class ConcordanceOrder {
public:
    static int ComparerGauche(std::string_view a, std::string_view b);
    static int ComparerDroite(std::string_view a, std::string_view b);
};
