#include "shell/ProgressionDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kMinimumWidth = 320;
} // namespace

CProgressionDlg::CProgressionDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_text(new QLabel(this)), m_bar(new QProgressBar(this)) {
    m_bar->setRange(0, kBarMaximum);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    setMinimumWidth(kMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    setModal(false);
    adjustSize();
    CentreOnParent();
    show();
}

void CProgressionDlg::SetRange(int low, int high) {
    m_low = low;
    m_high = high;
}

std::optional<int> CProgressionDlg::BarPosition(int low, int high, int position) {
    if (low == high)
        return std::nullopt;
    // In 64 bits: the product of a position and the bar's length overflows 32 bits.
    const long long offset = static_cast<long long>(position) - low;
    return static_cast<int>(offset * kBarMaximum / (static_cast<long long>(high) - low));
}

void CProgressionDlg::SetPos(int position) {
    if (const std::optional<int> bar = BarPosition(m_low, m_high, position))
        m_bar->setValue(std::clamp(*bar, 0, kBarMaximum));
}

void CProgressionDlg::SetTexte(const QString& text) {
    m_text->setText(text);
}

void CProgressionDlg::CentreOnParent() {
    const QWidget* over = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (over == nullptr)
        return;
    move(over->geometry().center() - rect().center());
}
