#include "shell/SplashWnd.h"

#include "gui/tabulation/QtFonts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {
constexpr int kPictureWidth = 440;
constexpr int kPictureHeight = 260;
} // namespace

CSplashWnd::CSplashWnd(QPixmap picture, QWidget* mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(std::move(picture)), m_mainWindow(mainWindow) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_picture.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDisplayMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::Hide);
    m_timer.start();
}

CSplashWnd::~CSplashWnd() {
    if (s_splash == this)
        s_splash = nullptr;
}

void CSplashWnd::EnableSplash(bool enable) {
    s_enabled = enable;
}

void CSplashWnd::ShowSplash(QWidget* mainWindow) {
    if (!s_enabled || s_splash != nullptr)
        return;
    QPixmap picture = DrawPicture();
    if (picture.isNull())
        return;
    s_splash = new CSplashWnd(std::move(picture), mainWindow);
    s_splash->show();
    s_splash->repaint();
}

QString CSplashWnd::VersionLine() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("Morvane") : QStringLiteral("Morvane version %1").arg(version);
}

void CSplashWnd::Hide() {
    if (m_mainWindow != nullptr)
        m_mainWindow->update();
    close();
}

void CSplashWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    QFont font(QtFonts::FamilyFor("Times New Roman"));
    font.setPixelSize(kVersionFontPixels);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect line(0, height() - kVersionBottomGap, width(), kVersionFontPixels * 2);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop, VersionLine());
}

// The picture: the program's name on a deep blue band, with a few bars of a chart behind it.
QPixmap CSplashWnd::DrawPicture() {
    QPixmap picture(kPictureWidth, kPictureHeight);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, kPictureHeight);
    band.setColorAt(0, QColor(0x1B, 0x3A, 0x6B));
    band.setColorAt(1, QColor(0x0E, 0x1F, 0x3D));
    painter.fillRect(picture.rect(), band);
    const int bars[] = {60, 95, 75, 120, 100, 140};
    int x = 250;
    for (int height : bars) {
        painter.fillRect(QRect(x, 200 - height, 22, height), QColor(255, 255, 255, 40));
        x += 28;
    }
    QFont title(QtFonts::FamilyFor("Times New Roman"));
    title.setPixelSize(52);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(30, 60, kPictureWidth - 60, 70), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Morvane"));
    QFont subtitle(QtFonts::FamilyFor("Arial"));
    subtitle.setPixelSize(17);
    painter.setFont(subtitle);
    painter.setPen(QColor(0xD8, 0xE2, 0xF0));
    painter.drawText(QRect(32, 130, kPictureWidth - 60, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Analyse d'enquêtes"));
    painter.end();
    return picture;
}
