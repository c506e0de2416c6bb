#pragma once

#include <span>
#include <vector>

#include "variables/ElementCompile.h"

// Where the blocks of a token list end, found once so that checking and evaluating never scan
// for them again: the ")" matching each "(", the FINSI matching each SI, the ALORS of each SI and
// SINONSI, and the end of each branch body (the next SINONSI, SINON or FINSI of the same SI,
// after an ALORS or a SINON). Parentheses are matched among parentheses and SI among SI and
// FINSI, each counted forward from its opening token, as a reader counts them; -1 where nothing
// matches.
class ScriptStructure {
public:
    ScriptStructure() = default;
    explicit ScriptStructure(std::span<const CElementCompile> tokens);

    // For "(": its ")"; for SI: its FINSI; for ALORS and SINON: the end of the body they open.
    int Fin(int index) const { return m_fin[static_cast<std::size_t>(index)]; }
    // For SI and SINONSI: the ALORS that ends their condition.
    int Alors(int index) const { return m_alors[static_cast<std::size_t>(index)]; }

private:
    std::vector<int> m_fin;
    std::vector<int> m_alors;
};
