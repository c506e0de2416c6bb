#pragma once

#include <QString>
#include <QWidget>

class QTimer;

// The small pale-yellow window that names the points under the mouse on a map. It shows without
// taking the focus, disappears by itself after four seconds, and as soon as the user presses a key
// or a mouse button (the map relays those through Relayer).
class CInfoBulle : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLargeurDefaut = 100;
    static constexpr int kDureeVie = 4000; // milliseconds
    static constexpr unsigned kCouleurFond = 0xBEFFFF;

    explicit CInfoBulle(QWidget* parent = nullptr);
    ~CInfoBulle() override;

    // Shows `text` next to `point` (screen coordinates), `width` pixels wide (the default below 1),
    // word-wrapped and centred, and starts the four-second life.
    void Show(const QPoint& point, const QString& text, int width = 0);
    void Hide();
    // A message the window's owner received: key and mouse-button presses hide the popup.
    void Relayer(const QEvent& event);

    const QString& GetText() const { return m_text; }
    const QTimer& GetLifeTimer() const { return *m_life; }
    // What the life timer does when it runs out.
    void OnLifeEnded();

    // The box a text needs at a width: the text's own box grown by 5 pixels left and right and
    // 2 above and below.
    static QSize TailleBoite(const QString& text, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    static QFont Police();

    QString m_text;
    int m_width = kLargeurDefaut;
    QTimer* m_life = nullptr;
};
