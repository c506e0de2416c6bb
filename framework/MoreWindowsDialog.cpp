#include "framework/MoreWindowsDialog.h"

#include "framework/WindowListMenu.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// Lines shown without scrolling, at most; more scroll.
constexpr int kVisibleLines = 12;
} // namespace

MoreWindowsDialog::MoreWindowsDialog(const std::vector<QPointer<QMdiSubWindow>>& windows,
                                     const QMdiSubWindow* active, QWidget* parent)
    : QDialog(parent), m_windows(windows), m_list(new QListWidget(this)) {
    setWindowTitle(QString::fromUtf8(kCaption));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Fenêtres :"), this);
    label->setBuddy(m_list);
    layout->addWidget(label);
    layout->addWidget(m_list);
    for (const QPointer<QMdiSubWindow>& window : m_windows) {
        m_list->addItem(window != nullptr ? WindowListMenu::ListedTitle(*window) : QString());
        if (window != nullptr && window == active)
            m_list->setCurrentRow(m_list->count() - 1);
    }
    if (m_list->currentRow() < 0 && m_list->count() > 0)
        m_list->setCurrentRow(0);
    // Tall enough for a dozen titles, wide enough for the longest.
    const int lines = std::min(m_list->count(), kVisibleLines);
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * std::max(lines, 1) + 2 * m_list->frameWidth());
    m_list->setMinimumWidth(m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() +
                            m_list->verticalScrollBar()->sizeHint().width());
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QMdiSubWindow* MoreWindowsDialog::GetChosenWindow() const {
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_windows.size()))
        return nullptr;
    return m_windows[static_cast<std::size_t>(row)].data();
}
