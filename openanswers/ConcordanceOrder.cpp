#include "openanswers/ConcordanceOrder.h"

#include "openanswers/DictionaryOrder.h"

#include <cstddef>

namespace {

constexpr int kComparedWords = 10;

// The word before `end` (blanks skipped), and `end` moved to its start; empty when none is left.
std::string_view PreviousWord(std::string_view text, std::size_t& end) {
    while (end > 0 && text[end - 1] == ' ')
        --end;
    const std::size_t stop = end;
    while (end > 0 && text[end - 1] != ' ')
        --end;
    return text.substr(end, stop - end);
}

} // namespace

int ConcordanceOrder::ComparerGauche(std::string_view a, std::string_view b) {
    std::size_t endA = a.size();
    std::size_t endB = b.size();
    for (int i = 0; i < kComparedWords; ++i) {
        const std::string_view wordA = PreviousWord(a, endA);
        const std::string_view wordB = PreviousWord(b, endB);
        if (wordA.empty() || wordB.empty()) {
            if (wordA.empty() && wordB.empty())
                return 0;
            return wordA.empty() ? -1 : 1;
        }
        if (const int order = DictionaryOrder::Comparer(wordA, wordB); order != 0)
            return order;
    }
    return 0;
}

int ConcordanceOrder::ComparerDroite(std::string_view a, std::string_view b) {
    return DictionaryOrder::Comparer(a, b);
}
