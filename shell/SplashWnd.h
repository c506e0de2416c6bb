#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QPaintEvent;

// The picture shown over the main window while the program starts: a borderless window centred
// on the screen that goes by itself after a second. There is never more than one.
class CSplashWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDisplayMilliseconds = 1000;
    static constexpr int kVersionFontPixels = 16;
    // The version line stands this far above the bottom edge.
    static constexpr int kVersionBottomGap = 35;

    ~CSplashWnd() override;

    // Start-up allows the splash (or not) before the main window is made.
    static void EnableSplash(bool enable);
    // Shows the splash unless it is not enabled or already shown; `mainWindow` is repainted when
    // the splash goes.
    static void ShowSplash(QWidget* mainWindow);
    // The splash on screen; null when there is none.
    static CSplashWnd* GetSplash() { return s_splash; }

    // The program's version line, drawn under the picture.
    static QString VersionLine();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CSplashWnd(QPixmap picture, QWidget* mainWindow);
    static QPixmap DrawPicture();
    void Hide();

    static inline bool s_enabled = false;
    static inline CSplashWnd* s_splash = nullptr;

    QPixmap m_picture;
    QPointer<QWidget> m_mainWindow;
    QTimer m_timer;
};
