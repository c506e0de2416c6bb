#include "recodes/SousTotal.h"

#include <algorithm>

int CSousTotal::Comparer(const CSousTotal& other) const {
    // The common length only: reading past the shorter list would read what is not there.
    const std::size_t length = std::min(m_codes.size(), other.m_codes.size());
    for (std::size_t i = 0; i < length; ++i) {
        if (m_codes[i] < other.m_codes[i])
            return -1;
        if (m_codes[i] > other.m_codes[i])
            return 1;
    }
    return 0;
}
