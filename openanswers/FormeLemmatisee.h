#pragma once

#include <cstdint>
#include <vector>

#include "openanswers/Forme.h"

// A lemma: forms the analyst grouped to count as one entry. It groups plain forms only (by
// their indexes in the entry table), and is hidden (valid 0) rather than removed when dissolved.
class CFormeLemmatisee : public CForme {
public:
    static constexpr RuntimeClass kRuntimeClass{"CFormeLemmatisee", 1, &CObjet::CreateObject<CFormeLemmatisee>};

    CFormeLemmatisee() = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    void SetFormes(const std::vector<std::int32_t>& forms) { m_forms = forms; }
    const std::vector<std::int32_t>& Formes() const { return m_forms; }
    void DonnerFormes(std::vector<std::int32_t>& out) const override { out = m_forms; }

private:
    std::vector<std::int32_t> m_forms;
};
