#pragma once

#include <QString>
#include <string>

// The titles of windows named after a text of the core (a table's title, a question's caption):
// only their beginning is kept, so that a long text never makes a window title the desktop
// cannot show.
namespace DocumentTitle {

constexpr int kMaxCharacters = 255;

// The first kMaxCharacters characters of the UTF-8 text; a character is never cut in two.
QString FromText(const std::string& text);

} // namespace DocumentTitle
