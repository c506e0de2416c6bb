#pragma once

#include <QIcon>

class QStyle;

// The pictures of the tool bar's buttons: the desktop style's own where it has one (open, arrows,
// delete), otherwise a short label drawn in a coloured square that stays legible at any size.
namespace ToolBarIcons {

constexpr int kSize = 24;

// An empty icon for a command without a picture.
QIcon For(unsigned id, const QStyle& style);

} // namespace ToolBarIcons
