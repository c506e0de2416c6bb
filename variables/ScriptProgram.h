#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "variables/ElementCompile.h"
#include "variables/ScriptError.h"
#include "variables/ScriptStructure.h"

class CEnquete;

// A script cut and checked once, ready to be evaluated for every interview: its tokens and the
// ends of its blocks.
class ScriptProgram {
public:
    ScriptProgram() = default;
    explicit ScriptProgram(std::vector<CElementCompile> tokens);

    // Cuts the script, finding the questions it names in the survey, and checks it. False with
    // the first fault at its 1-based position and length: the faulty text of the cutting
    // (error.tokenIndex -1), or the token at fault of the checking (its index in
    // error.tokenIndex; position and length 0 when the index is no token, for a script of blanks).
    // The program is left empty on failure.
    static bool Compiler(std::string_view text, const CEnquete& survey, ScriptProgram& out, ScriptError& error);

    std::span<const CElementCompile> Tokens() const { return m_tokens; }
    const ScriptStructure& Structure() const { return m_structure; }
    int Size() const { return static_cast<int>(m_tokens.size()); }

private:
    std::vector<CElementCompile> m_tokens;
    ScriptStructure m_structure;
};
