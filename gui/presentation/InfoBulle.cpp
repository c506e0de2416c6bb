#include "gui/presentation/InfoBulle.h"

#include "gui/presentation/DessinSymbole.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kMargeX = 5;
constexpr int kMargeY = 2;
constexpr int kDecalageX = 10;
constexpr int kDecalageY = 6;
constexpr int kFlags = Qt::AlignHCenter | Qt::TextWordWrap;

} // namespace

CInfoBulle::CInfoBulle(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_life(new QTimer(this)) {
    setObjectName(QStringLiteral("Bulle"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::ArrowCursor);
    setGeometry(0, 0, 50, 50);
    m_life->setSingleShot(true);
    m_life->setInterval(kDureeVie);
    connect(m_life, &QTimer::timeout, this, &CInfoBulle::OnLifeEnded);
}

CInfoBulle::~CInfoBulle() = default;

QFont CInfoBulle::Police() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    return font;
}

QSize CInfoBulle::TailleBoite(const QString& text, int width) {
    const QFontMetrics metrics(Police());
    const QRect box = metrics.boundingRect(QRect(0, 0, std::max(width, 1), 1 << 16), kFlags, text);
    return QSize(box.width() + 2 * kMargeX, box.height() + 2 * kMargeY);
}

void CInfoBulle::Show(const QPoint& point, const QString& text, int width) {
    m_width = width < 1 ? kLargeurDefaut : width;
    m_text = text;
    const QSize box = TailleBoite(text, m_width);
    setGeometry(point.x() + kDecalageX - box.width() / 2, point.y() + kDecalageY, box.width(),
                box.height() + 1);
    show();
    update();
    m_life->start();
}

void CInfoBulle::Hide() {
    if (isVisible())
        hide();
    m_life->stop();
}

void CInfoBulle::OnLifeEnded() {
    Hide();
}

void CInfoBulle::Relayer(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        Hide();
        break;
    default:
        break;
    }
}

void CInfoBulle::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, DessinSymbole::Couleur(kCouleurFond));
    painter.setPen(Qt::black);
    painter.drawRect(client.adjusted(0, 0, -1, -1));
    painter.setFont(Police());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(client.adjusted(kMargeX, kMargeY, -kMargeX, -kMargeY), kFlags, m_text);
}

void CInfoBulle::mousePressEvent(QMouseEvent* event) {
    Hide();
    QWidget::mousePressEvent(event);
}
