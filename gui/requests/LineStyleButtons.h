#pragma once

#include <QWidget>
#include <array>

class LineListWidget;
class QToolButton;

// The buttons beside a line list: Up and Down move the first selected row; the four toggles
// (B bold, I italic, U underlined, S shadow) apply their state to every selected row and show the
// options of the focused row. Alt+B, Alt+I, Alt+U and Alt+S in the list flip a toggle first, then
// apply it.
class LineStyleButtons : public QWidget {
    Q_OBJECT

public:
    explicit LineStyleButtons(LineListWidget& list, QWidget* parent = nullptr);
    // Lays the list out on its page with new buttons on its right; answers the buttons.
    static LineStyleButtons& AddBeside(LineListWidget& list, QWidget& page);

    QToolButton& UpButton() const { return *m_up; }
    QToolButton& DownButton() const { return *m_down; }
    // The toggle of an option (LineListWidget::Option).
    QToolButton& OptionButton(int option) const;

private:
    void ApplyOption(int option);
    void FlipOption(int option);
    void ShowFocusedOptions();

    LineListWidget& m_list;
    QToolButton* m_up;
    QToolButton* m_down;
    std::array<QToolButton*, 4> m_options{};
};
