#pragma once

// The standard command ids of the document/view framework, kept at their usual values because the
// menus, the tool bar and the program's own code refer to them by number.
namespace FrameworkCommands {

constexpr unsigned kFileNew = 57600;
constexpr unsigned kFileOpen = 57601;
// Handled by every document: closes it and all its windows (after the save question, if any).
constexpr unsigned kFileClose = 57602;
constexpr unsigned kFilePrintSetup = 57606;
constexpr unsigned kFilePrint = 57607;
constexpr unsigned kFilePrintPreview = 57609;
// Handled by the main frame: cascades the document windows.
constexpr unsigned kWindowCascade = 57650;
constexpr unsigned kAppAbout = 57664;
constexpr unsigned kHelpFinder = 57667;

} // namespace FrameworkCommands
