#include "framework/WindowListMenu.h"

#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/MoreWindowsDialog.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <algorithm>

namespace {

// A title shows as it stands: an "&" in it is no mnemonic.
QString ItemText(const QString& title, int number) {
    QString shown = title;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (number > WindowListMenu::kNumberedWindows)
        return shown;
    return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

} // namespace

WindowListMenu::WindowListMenu(QMenu& menu, QMdiArea& area) : QObject(&menu), m_menu(menu), m_area(area) {
    connect(&m_menu, &QMenu::aboutToShow, this, &WindowListMenu::Refresh);
}

std::vector<QMdiSubWindow*> WindowListMenu::ListedWindows() const {
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_area.subWindowList(QMdiArea::CreationOrder))
        if (!window->isHidden())
            windows.push_back(window);
    return windows;
}

void WindowListMenu::Refresh() {
    for (QAction* action : m_listed) {
        m_menu.removeAction(action);
        delete action;
    }
    m_listed.clear();
    const std::vector<QMdiSubWindow*> windows = ListedWindows();
    if (windows.empty())
        return;
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_menu.addAction(separator);
    m_listed.push_back(separator);
    QMdiSubWindow* active = m_area.currentSubWindow();
    std::vector<QMdiSubWindow*> numbered(windows.begin(),
                                         windows.begin() + std::min<std::ptrdiff_t>(windows.size(), kNumberedWindows));
    // The active window is always in the menu: beyond the ninth, it takes the ninth place.
    if (active != nullptr && !numbered.empty() && std::find(numbered.begin(), numbered.end(), active) == numbered.end() &&
        std::find(windows.begin(), windows.end(), active) != windows.end())
        numbered.back() = active;
    for (std::size_t i = 0; i < numbered.size(); ++i)
        AddWindowItem(*numbered[i], static_cast<int>(i) + 1, numbered[i] == active);
    if (static_cast<int>(windows.size()) > kNumberedWindows) {
        auto* more = new QAction(QString::fromUtf8(kMoreWindowsText), this);
        connect(more, &QAction::triggered, this, &WindowListMenu::ChooseAmongAll);
        m_menu.addAction(more);
        m_listed.push_back(more);
    }
}

QString WindowListMenu::ListedTitle(const QMdiSubWindow& window) {
    const auto* frame = qobject_cast<const CMDIChildWnd*>(&window);
    const CDocument* document = frame != nullptr ? frame->GetActiveDocument() : nullptr;
    const QString kind = document != nullptr ? document->GetWindowListKind() : QString();
    if (kind.isEmpty())
        return window.windowTitle();
    return kind + QStringLiteral(" : ") + window.windowTitle();
}

void WindowListMenu::AddWindowItem(QMdiSubWindow& window, int number, bool active) {
    auto* item = new QAction(ItemText(ListedTitle(window), number), this);
    item->setCheckable(true);
    item->setChecked(active);
    // The window may close while the menu is open.
    QPointer<QMdiSubWindow> chosen(&window);
    connect(item, &QAction::triggered, this, [chosen] {
        if (chosen != nullptr)
            ActivateWindow(*chosen);
    });
    m_menu.addAction(item);
    m_listed.push_back(item);
}

void WindowListMenu::ActivateWindow(QMdiSubWindow& window) {
    if (window.isMinimized())
        window.showNormal();
    if (QMdiArea* area = window.mdiArea())
        area->setActiveSubWindow(&window);
}

void WindowListMenu::ChooseAmongAll() {
    std::vector<QPointer<QMdiSubWindow>> windows;
    for (QMdiSubWindow* window : ListedWindows())
        windows.emplace_back(window);
    MoreWindowsDialog dialog(windows, m_area.currentSubWindow(), m_area.window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (QMdiSubWindow* chosen = dialog.GetChosenWindow())
        ActivateWindow(*chosen);
}
