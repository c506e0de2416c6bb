#include "framework/ComboTrait.h"

#include <QPainter>
#include <array>

namespace {

constexpr int kMargin = 10;

// Pen of each style; style 0 writes its name instead.
constexpr std::array<Qt::PenStyle, CComboTrait::kStyleCount> kPens{Qt::NoPen, Qt::SolidLine, Qt::DashLine,
                                                                   Qt::DotLine};

} // namespace

CComboTrait::CComboTrait(QWidget* parent) : OwnerDrawnCombo(parent)
{
    // The item texts serve accessibility and keyboard search; only "Aucun" is shown as text.
    const std::array<const char*, kStyleCount> names{"Aucun", "Continu", "Tirets", "Pointillés"};
    for (int style = 0; style < kStyleCount; ++style)
        addItem(QString::fromUtf8(names[static_cast<std::size_t>(style)]), style);
    setMinimumContentsLength(10);
}

void CComboTrait::Initialiser(int style)
{
    const int found = findData(style);
    setCurrentIndex(found >= 0 ? found : 0);
}

int CComboTrait::GetStyle() const
{
    return currentIndex() < 0 ? 0 : currentData().toInt();
}

void CComboTrait::DrawItem(QPainter& painter, const QRect& rect, int index, const QColor& textColour) const
{
    const int style = itemData(index).toInt();
    if (style <= 0 || style >= kStyleCount) {
        painter.setPen(textColour);
        painter.drawText(rect.adjusted(kMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
        return;
    }
    const int middle = rect.top() + rect.height() / 2;
    painter.setPen(QPen(textColour, 1, kPens[static_cast<std::size_t>(style)]));
    painter.drawLine(rect.left() + kMargin, middle, rect.right() - kMargin, middle);
}
