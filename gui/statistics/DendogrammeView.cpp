#include "gui/statistics/DendogrammeView.h"

#include "app/StringTable.h"
#include "gui/statistics/DendogrammeDoc.h"
#include "statistics/DendogrammeDessin.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <cstdio>

namespace {

const QColor kBleu(0, 0, 127);
const QColor kRouge(200, 0, 0);
const QColor kRougeSombre(127, 0, 0);

QPoint Vers(const CDendogramme::Point& point) {
    return {point.x, point.y};
}

QRect Vers(const DendogrammeDessin::Rect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

void DessinerNoeud(QPainter& painter, const DendogrammeDessin::Noeud& node, CDendogramme::Mode mode) {
    const QColor ink = node.partition ? kRougeSombre : Qt::black;
    painter.setPen(QPen(node.partition ? kRouge : Qt::black, 1));
    const QRect shape = Vers(node.forme);
    if (mode == CDendogramme::Mode::Reduit) {
        painter.drawEllipse(shape);
        return;
    }
    painter.drawRect(shape);
    painter.drawLine(shape.left(), node.centre.y, shape.right(), node.centre.y);
    painter.setPen(ink);
    if (node.partition)
        painter.drawText(Vers(node.zoneGroupe), Qt::AlignCenter,
                         QString::fromStdString(StringTable::Format(
                             Message(StringTable::kGroupeNumero, {std::to_string(node.groupe->numeroGroupe)}))));
    char level[32];
    std::snprintf(level, sizeof level, "%.1lf", node.groupe->niveau);
    painter.drawText(Vers(node.zoneInterviews), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::number(node.groupe->nbInterviews));
    painter.drawText(Vers(node.zoneNiveau), Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(level));
}

} // namespace

CDendogrammeView::CDendogrammeView(QWidget* parent) : CScrollView(parent) {}

const CDendogramme* CDendogrammeView::Arbre() const {
    const auto* document = dynamic_cast<const CDendogrammeDoc*>(GetDocument());
    return document != nullptr ? document->GetDendogramme() : nullptr;
}

void CDendogrammeView::OnInitialUpdate() {
    SetMode(CDendogramme::Mode::Reduit);
}

void CDendogrammeView::SetMode(CDendogramme::Mode mode) {
    m_mode = mode;
    const CDendogramme* tree = Arbre();
    const CDendogramme::Point size = tree != nullptr ? tree->TailleDefilement(mode) : CDendogramme::Point{};
    SetScrollSizes(QSize(std::min(size.x, kTailleMaximum), std::min(size.y, kTailleMaximum)));
    viewport()->update();
}

void CDendogrammeView::OnDraw(QPainter& painter) {
    Dessiner(painter);
}

void CDendogrammeView::Dessiner(QPainter& painter) const {
    const CDendogramme* tree = Arbre();
    if (tree == nullptr)
        return;
    const DendogrammeDessin drawing = DendogrammeDessin::Dessiner(*tree, m_mode);
    painter.save();
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(7);
    painter.setFont(font);
    // Nodes are filled white, as a device context's default brush fills them, so that the lines
    // leaving a node's centre do not run through its texts.
    painter.setBrush(Qt::white);
    painter.setPen(QPen(kBleu, 1));
    for (const DendogrammeDessin::Trait& line : drawing.traits) {
        painter.drawLine(Vers(line.depart), Vers(line.coude));
        painter.drawLine(Vers(line.coude), Vers(line.arrivee));
    }
    for (const DendogrammeDessin::Noeud& node : drawing.noeuds)
        DessinerNoeud(painter, node, m_mode);
    painter.restore();
}

void CDendogrammeView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* reduced = menu.addAction(QStringLiteral("Mode réduit"));
    QAction* detailed = menu.addAction(QStringLiteral("Mode détaillé"));
    reduced->setCheckable(true);
    detailed->setCheckable(true);
    reduced->setChecked(m_mode == CDendogramme::Mode::Reduit);
    detailed->setChecked(m_mode == CDendogramme::Mode::Detaille);
    reduced->setData(kModeReduit);
    detailed->setData(kModeDetaille);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen != nullptr)
        SetMode(chosen == detailed ? CDendogramme::Mode::Detaille : CDendogramme::Mode::Reduit);
}
