#include "framework/OwnerDrawnCombo.h"

#include <QAbstractItemView>
#include <algorithm>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

// The open list draws its rows through the combo, so that they look like the closed box.
class OwnerDrawnDelegate : public QStyledItemDelegate {
public:
    explicit OwnerDrawnDelegate(OwnerDrawnCombo& combo) : QStyledItemDelegate(&combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const bool focused = option.state & QStyle::State_HasFocus;
        m_combo.PaintItem(*painter, option.rect, index.row(), selected, focused);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), option.fontMetrics.height() + 6));
        return size;
    }

private:
    OwnerDrawnCombo& m_combo;
};

} // namespace

OwnerDrawnCombo::OwnerDrawnCombo(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new OwnerDrawnDelegate(*this));
}

void OwnerDrawnCombo::PaintItem(QPainter& painter, const QRect& rect, int index, bool selected, bool focused) const
{
    painter.save();
    const QPalette& colours = palette();
    painter.fillRect(rect, selected ? colours.color(QPalette::Highlight) : colours.color(QPalette::Base));
    const QColor text = selected ? colours.color(QPalette::HighlightedText) : colours.color(QPalette::Text);
    if (index >= 0 && index < count())
        DrawItem(painter, rect, index, text);
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect;
        focus.backgroundColor = selected ? colours.color(QPalette::Highlight) : colours.color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    painter.restore();
}

void OwnerDrawnCombo::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    PaintItem(painter, field, currentIndex(), hasFocus(), hasFocus());
}
