#pragma once

#include <QIcon>

// The program's icon, drawn in code from the same shapes as the desktop entry's picture
// (resources/desktop/morvane.svg), so that its windows need no image plug-in to show it.
QIcon ProgramIcon();
