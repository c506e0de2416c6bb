#pragma once

#include <QIcon>

class QStyle;

// The pictures of the tool bar's buttons: the standard actions (open, print, preview, the exports
// to a word processor and a workbook, delete) take the desktop icon theme's, through Qt's theme
// lookup; the arrows the style's; the program's own commands a short label drawn in a coloured
// square that stays legible at any size.
namespace ToolBarIcons {

constexpr int kSize = 24;

// An empty icon for a command without a picture.
QIcon For(unsigned id, const QStyle& style);

} // namespace ToolBarIcons
