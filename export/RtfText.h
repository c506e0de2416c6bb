#pragma once

#include <string>
#include <string_view>

// Text of ours (UTF-8) as RTF reads it, so that no label can break the document or lose a letter:
// "\", "{" and "}" are escaped, a tab becomes "\tab ", every character beyond ASCII becomes
// "\uN?" with N its UTF-16 code unit as a signed 16-bit number (two of them, a surrogate pair,
// beyond the Basic Multilingual Plane; "?" is what a reader without Unicode shows). A byte that
// is not part of valid UTF-8 stands for U+FFFD; other control characters are dropped. Each line
// break (CR LF, a lone CR or a lone LF) is replaced by the caller's text.
namespace RtfText {

void AppendEscaped(std::string& out, std::string_view text, std::string_view lineBreak);

inline std::string Escape(std::string_view text, std::string_view lineBreak = "\\par ") {
    std::string out;
    AppendEscaped(out, text, lineBreak);
    return out;
}

} // namespace RtfText
