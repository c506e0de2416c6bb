#pragma once

#include "framework/CommandRouter.h"

#include <span>
#include <vector>

// The menus, tool bar and accelerators of the main window, as data: which command goes where.
// The texts of the main frame's own commands come from its command table; the others (the
// framework's, the application's and those the document windows handle) are listed here.
namespace MainMenus {

// The status-bar pane that shows the survey's interview count.
constexpr unsigned kInterviewCountPane = 102;

// The document menus' "Fenêtre", which ends with the list of the open windows.
constexpr const char* kWindowMenu = "Fe&nêtre";

// One item of a menu bar: the menu (and sub-menu, after a "/") it goes in, and its command; a
// command 0 is a separator. Menus show in the order they first appear.
struct Item {
    const char* menu;
    unsigned id;
};

// The menus while no document window is open.
std::span<const Item> NoDocumentMenus();
// The menus of the document windows (the portfolio's are the same: its exports share their ids
// with the table window's).
std::span<const Item> DocumentMenus();

// The tool bar's buttons in order; 0 is a separator.
std::span<const unsigned> ToolBar();

struct Accelerator {
    unsigned id;
    const char* first;
    const char* second; // may be null
};
std::span<const Accelerator> Accelerators();

// Every command the menus, the tool bar, the accelerators and the status bar show, with its text.
std::vector<CommandDescription> Commands();

} // namespace MainMenus
