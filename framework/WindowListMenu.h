#pragma once

#include <QObject>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The list of the open document windows that ends the main window's window menu: after the menu's
// own items, a separator and one checkable item per window, in the order the windows were opened,
// the active one checked and the first nine numbered ("&1 title" ... "&9 title"); with more than
// nine windows, "&Autres fenêtres..." chooses among all of them in a dialog, and an active window
// beyond the ninth takes the ninth place, so that the menu always shows it. Choosing a window
// restores it if it is minimised and makes it active.
//
// The list is made again each time the menu is about to show, so that it follows the windows
// opened, closed, renamed and activated since.
class WindowListMenu : public QObject {
    Q_OBJECT

public:
    static constexpr int kNumberedWindows = 9;
    static constexpr const char* kMoreWindowsText = "&Autres fenêtres...";

    // The list goes at the end of `menu` and shows the windows of `area`; it belongs to the menu,
    // and the area must outlive it.
    WindowListMenu(QMenu& menu, QMdiArea& area);

    // The menu's list made again from the windows open now.
    void Refresh();

    // The windows the list shows, in its order: every window of the area that is not hidden, in
    // the order they were opened.
    std::vector<QMdiSubWindow*> ListedWindows() const;

    // A window as the list names it: its title, after its document's kind when the document
    // gives one ("Graphique : Ventes").
    static QString ListedTitle(const QMdiSubWindow& window);

    // The window in front: restored when minimised, then active.
    static void ActivateWindow(QMdiSubWindow& window);

private:
    void AddWindowItem(QMdiSubWindow& window, int number, bool active);
    void ChooseAmongAll();

    QMenu& m_menu;
    QMdiArea& m_area;
    // What the list added to the menu (the separator included), owned here.
    std::vector<QAction*> m_listed;
};
