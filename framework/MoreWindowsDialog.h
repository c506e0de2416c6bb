#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

class QListWidget;
class QMdiSubWindow;

// "Sélectionner une fenêtre": every open document window, one per line by its title, the active
// one chosen at the start; OK (or a double click) chooses the window of the chosen line. Opened by
// "Autres fenêtres..." of the window menu when the menu cannot number them all.
class MoreWindowsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Sélectionner une fenêtre";

    // The windows in the order they are listed; `active` (may be null) is chosen at the start.
    MoreWindowsDialog(const std::vector<QPointer<QMdiSubWindow>>& windows, const QMdiSubWindow* active,
                      QWidget* parent = nullptr);

    // The window of the chosen line; null when none is chosen or the window has closed since.
    QMdiSubWindow* GetChosenWindow() const;

    QListWidget& GetList() const { return *m_list; }

private:
    std::vector<QPointer<QMdiSubWindow>> m_windows;
    QListWidget* m_list;
};
