#pragma once

#include <cstdint>
#include <vector>

// An ordered list of codes: a combination of modality codes, or the key of a record (its loop
// keys). Ordered containers of combinations and record keys use it as their key.
class CSousTotal {
public:
    CSousTotal() = default;
    CSousTotal(const CSousTotal&) = default;
    CSousTotal& operator=(const CSousTotal&) = default;
    virtual ~CSousTotal() = default;

    void Append(std::int32_t code) { m_codes.push_back(code); }
    int GetCount() const { return static_cast<int>(m_codes.size()); }
    // Element i; the caller keeps i below GetCount().
    std::int32_t DonnerCode(std::int16_t i) const { return m_codes[static_cast<std::size_t>(i)]; }

    // Compares element by element over the common length: -1 at the first smaller element of
    // this list, 1 at the first larger one, 0 when all are equal (so an empty list equals
    // everything, and a list equals any longer list it starts).
    int Comparer(const CSousTotal& other) const;
    bool EstAvant(const CSousTotal& other) const { return Comparer(other) == -1; }
    bool operator<(const CSousTotal& other) const { return EstAvant(other); }

private:
    std::vector<std::int32_t> m_codes;
};
