#include "shell/ChildFrame.h"

#include <QMdiArea>

namespace {
// The share of the document area a new window takes, in each direction.
constexpr int kAreaShareNumerator = 3;
constexpr int kAreaShareDenominator = 4;
} // namespace

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {}

QSize CChildFrame::sizeHint() const {
    const QSize own = CMDIChildWnd::sizeHint();
    const QMdiArea* area = mdiArea();
    if (area == nullptr)
        return own;
    const QSize share = area->viewport()->size() * kAreaShareNumerator / kAreaShareDenominator;
    return own.expandedTo(share);
}
