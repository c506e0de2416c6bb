#include "variables/ScriptProgram.h"

#include "variables/ScriptChecker.h"
#include "variables/ScriptLexer.h"

#include <utility>

ScriptProgram::ScriptProgram(std::vector<CElementCompile> tokens)
    : m_tokens(std::move(tokens)), m_structure(m_tokens) {}

bool ScriptProgram::Compiler(std::string_view text, const CEnquete& survey, ScriptProgram& out, ScriptError& error) {
    out = ScriptProgram();
    ScriptLexing lexing;
    if (!LexerScript(text, ScriptLexer::kCompiler, survey, lexing)) {
        error = lexing.error;
        return false;
    }
    int type = 0;
    const int count = static_cast<int>(lexing.tokens.size());
    if (!VerifierScript(lexing.tokens, 0, count, true, error, type))
        return false;
    out = ScriptProgram(std::move(lexing.tokens));
    return true;
}
