#include "gui/requests/LineStyleButtons.h"

#include "gui/requests/LineListWidget.h"

#include <QFont>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The toggles, each marked by its letter drawn in its own style.
struct OptionToggle {
    int option;
    const char* letter;
};
constexpr std::array<OptionToggle, 4> kToggles{{
    {LineListWidget::kBold, "B"},
    {LineListWidget::kItalic, "I"},
    {LineListWidget::kUnderline, "U"},
    {LineListWidget::kShadow, "S"},
}};

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* ToggleButton(const OptionToggle& toggle, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QString::fromLatin1(toggle.letter));
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    QFont letterFont = button->font();
    letterFont.setBold(toggle.option == LineListWidget::kBold);
    letterFont.setItalic(toggle.option == LineListWidget::kItalic);
    letterFont.setUnderline(toggle.option == LineListWidget::kUnderline);
    button->setFont(letterFont);
    return button;
}

} // namespace

LineStyleButtons::LineStyleButtons(LineListWidget& list, QWidget* parent)
    : QWidget(parent), m_list(list), m_up(ArrowButton(Qt::UpArrow, this)),
      m_down(ArrowButton(Qt::DownArrow, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    layout->addSpacing(8);
    for (const OptionToggle& toggle : kToggles) {
        QToolButton* button = ToggleButton(toggle, this);
        m_options[static_cast<std::size_t>(toggle.option)] = button;
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, option = toggle.option] { ApplyOption(option); });
    }
    layout->addStretch(1);
    connect(m_up, &QToolButton::clicked, this, [this] { m_list.MoveFirstSelected(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { m_list.MoveFirstSelected(1); });
    connect(&m_list, &LineListWidget::optionKeyPressed, this, &LineStyleButtons::FlipOption);
    connect(&m_list, &LineListWidget::focusedLineChanged, this, &LineStyleButtons::ShowFocusedOptions);
}

LineStyleButtons& LineStyleButtons::AddBeside(LineListWidget& list, QWidget& page) {
    auto* buttons = new LineStyleButtons(list, &page);
    auto* layout = new QHBoxLayout(&page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&list, 1);
    layout->addWidget(buttons);
    return *buttons;
}

QToolButton& LineStyleButtons::OptionButton(int option) const {
    return *m_options.at(static_cast<std::size_t>(option));
}

void LineStyleButtons::ApplyOption(int option) {
    m_list.SetOptionOfSelected(option, OptionButton(option).isChecked());
}

void LineStyleButtons::FlipOption(int option) {
    QToolButton& button = OptionButton(option);
    button.setChecked(!button.isChecked());
    ApplyOption(option);
}

void LineStyleButtons::ShowFocusedOptions() {
    const LineListWidget::Options options = m_list.FocusedOptions();
    for (std::size_t i = 0; i < options.size(); ++i)
        m_options[i]->setChecked(options[i]);
}
