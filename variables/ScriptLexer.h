#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "variables/ElementCompile.h"
#include "variables/ScriptError.h"

class CEnquete;

// A run of the script that takes one colour: its first character from 0 and its length, in
// characters, and the colour as 0x00BBGGRR.
struct ScriptColourSpan {
    std::int32_t position = 0;
    std::int32_t length = 0;
    std::uint32_t colour = 0;
};

// What the cutting of a script gives: the tokens (compile mode), the colour of every token and
// of every faulty piece (both modes), and the first fault.
struct ScriptLexing {
    std::vector<CElementCompile> tokens;
    std::vector<ScriptColourSpan> spans;
    ScriptError error;
};

namespace ScriptLexer {

// 0: cut for the compiler, which stops at the first fault; 1: cut to colour, going on after
// each fault.
constexpr int kCompiler = 0;
constexpr int kColorer = 1;

// Colours of the editor.
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr std::uint32_t kCouleurNombre = Rgb(120, 0, 200);
constexpr std::uint32_t kCouleurMotCle = Rgb(0, 0, 255);
constexpr std::uint32_t kCouleurQuestion = Rgb(0, 0, 127);
constexpr std::uint32_t kCouleurNormale = Rgb(0, 0, 0);
constexpr std::uint32_t kCouleurErreur = Rgb(255, 0, 0);

// The colour of a token of that kind.
std::uint32_t CouleurDe(std::uint16_t kind);

} // namespace ScriptLexer

// Cuts the script (UTF-8) into tokens, finding the questions it names by name in the survey.
// True when the whole text was cut without fault. In compile mode the first fault ends the
// cutting (the tokens cut before it are kept); in colour mode no token is kept, each fault is
// coloured and the cutting goes on after it, and the first fault is reported. An empty text is
// refused with "Expression vide" at position 0, length 0; a text of blanks only gives no token
// and no fault. Positions and lengths count characters (code points), not bytes.
bool LexerScript(std::string_view text, int mode, const CEnquete& survey, ScriptLexing& out);
