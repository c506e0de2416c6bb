#pragma once

// The standard command ids of the document/view framework, kept at their usual values because the
// menus, the tool bar and the program's own code refer to them by number.
namespace FrameworkCommands {

constexpr unsigned kFileNew = 57600;
constexpr unsigned kFileOpen = 57601;
// Handled by every document: closes it and all its windows (after the save question, if any).
constexpr unsigned kFileClose = 57602;
constexpr unsigned kFileSave = 57603;
constexpr unsigned kFileSaveAs = 57604;
constexpr unsigned kFilePrintSetup = 57606;
constexpr unsigned kFilePrint = 57607;
constexpr unsigned kFilePrintPreview = 57609;
// The recent files of the "Fichier" menu: the first, and the following ones in order.
constexpr unsigned kFileMruFirst = 57616;
constexpr unsigned kEditCopy = 57634;
constexpr unsigned kEditCut = 57635;
constexpr unsigned kEditPaste = 57637;
constexpr unsigned kEditUndo = 57643;
// Handled by the main frame: cascade and tile the document windows ("Cascade", "Mosaïque").
constexpr unsigned kWindowCascade = 57650;
constexpr unsigned kWindowTileHorizontally = 57651;
constexpr unsigned kAppAbout = 57664;
constexpr unsigned kAppExit = 57665;
constexpr unsigned kHelpFinder = 57667;
constexpr unsigned kHelp = 57670;
constexpr unsigned kNextPane = 57680;
constexpr unsigned kPreviousPane = 57681;
// The "Affichage" menu: show or hide the tool bar and the status bar.
constexpr unsigned kViewToolBar = 59392;
constexpr unsigned kViewStatusBar = 59393;

} // namespace FrameworkCommands
