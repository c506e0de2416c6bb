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
    if (!VerifierScript(lexing.tokens, 0, count, true, error, type)) {
        if (error.tokenIndex >= 0 && error.tokenIndex < count) {
            const CElementCompile& token = lexing.tokens[static_cast<std::size_t>(error.tokenIndex)];
            error.position = token.position + 1;
            error.length = token.length;
        }
        return false;
    }
    out = ScriptProgram(std::move(lexing.tokens));
    return true;
}
