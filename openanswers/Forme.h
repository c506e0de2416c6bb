#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/questionnaire/Objet.h"

// One entry of the dictionary of an open question: a word form, folded, with its frequency in
// the corpus. Lemmas (CFormeLemmatisee) and repeated segments (CSegment) extend it; the corpus
// engine owns every entry and addresses it by its index in its tables. A form has no stored
// record of its own: the cache files write its fields one by one.
class CForme : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CForme", 1, &CObjet::CreateObject<CForme>};

    CForme() = default;
    CForme(std::int32_t id, std::string text);

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    void Incrementer() { ++frequency; }
    // A lemma or a segment appends its grouped entries or its sequence (the array emptied first).
    virtual void DonnerFormes(std::vector<std::int32_t>& out) const { out.clear(); }

    std::int32_t id = 0;       // given when the form was first met; written to the cache files
    std::string text;          // folded, UTF-8
    std::int32_t frequency = 0;
    std::int32_t valid = 1;    // 0 hides the entry from every list, table and computation
    std::int32_t stopWord = 0; // 1 when the stop-word library holds the form
};
