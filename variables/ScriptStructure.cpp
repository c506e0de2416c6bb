#include "variables/ScriptStructure.h"

namespace {

using E = CElementCompile;

// One SI not closed yet: the SI or SINONSI still waiting for its ALORS, and the ALORS or SINON
// whose body is still open.
struct OpenSi {
    int si;
    int header;
    int opener = -1;
};

} // namespace

ScriptStructure::ScriptStructure(std::span<const CElementCompile> tokens)
    : m_fin(tokens.size(), -1), m_alors(tokens.size(), -1) {
    std::vector<int> parentheses;
    std::vector<OpenSi> blocks;
    for (std::size_t at = 0; at < tokens.size(); ++at) {
        const int i = static_cast<int>(at);
        switch (tokens[at].kind) {
        case E::kParentheseOuvrante:
            parentheses.push_back(i);
            break;
        case E::kParentheseFermante:
            if (!parentheses.empty()) {
                m_fin[static_cast<std::size_t>(parentheses.back())] = i;
                parentheses.pop_back();
            }
            break;
        case E::kSi:
            blocks.push_back({i, i});
            break;
        case E::kAlors:
            if (!blocks.empty() && blocks.back().header >= 0) {
                m_alors[static_cast<std::size_t>(blocks.back().header)] = i;
                blocks.back().header = -1;
                blocks.back().opener = i;
            }
            break;
        case E::kSinonSi:
        case E::kSinon:
            if (!blocks.empty()) {
                OpenSi& block = blocks.back();
                if (block.opener >= 0)
                    m_fin[static_cast<std::size_t>(block.opener)] = i;
                block.opener = tokens[at].kind == E::kSinon ? i : -1;
                block.header = tokens[at].kind == E::kSinonSi ? i : -1;
            }
            break;
        case E::kFinSi:
            if (!blocks.empty()) {
                const OpenSi& block = blocks.back();
                if (block.opener >= 0)
                    m_fin[static_cast<std::size_t>(block.opener)] = i;
                m_fin[static_cast<std::size_t>(block.si)] = i;
                blocks.pop_back();
            }
            break;
        default:
            break;
        }
    }
}
