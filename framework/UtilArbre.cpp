#include "framework/UtilArbre.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

// What is drawn inside an icon's box.
enum class Motif {
    kFolder,
    kList,
    kListDotted,
    kHash,
    kBrackets,
    kPodium,
    kParagraph,
    kListPlus,
    kCalendar,
    kCross,
    kCircle,
    kPlain
};

struct IconDrawing {
    int index;
    Motif motif;
    QRgb colour;
    bool faded; // outside the current level
};

constexpr std::array kIcons{
    IconDrawing{0, Motif::kFolder, 0xE0B030, false},     IconDrawing{1, Motif::kHash, 0x2F6DB5, false},
    IconDrawing{2, Motif::kListDotted, 0x1F8A8A, false}, IconDrawing{3, Motif::kBrackets, 0x7A3FA0, false},
    IconDrawing{4, Motif::kPodium, 0xD07018, false},     IconDrawing{5, Motif::kParagraph, 0x8A6A3A, false},
    IconDrawing{6, Motif::kListPlus, 0xB0307A, false},   IconDrawing{7, Motif::kList, 0x2E8B3A, false},
    IconDrawing{8, Motif::kCross, 0x909090, false},      IconDrawing{9, Motif::kCircle, 0x707070, false},
    IconDrawing{10, Motif::kBrackets, 0x505050, false},  IconDrawing{11, Motif::kHash, 0x2F6DB5, true},
    IconDrawing{12, Motif::kListDotted, 0x1F8A8A, true}, IconDrawing{13, Motif::kBrackets, 0x7A3FA0, true},
    IconDrawing{14, Motif::kPodium, 0xD07018, true},     IconDrawing{15, Motif::kParagraph, 0x8A6A3A, true},
    IconDrawing{16, Motif::kPlain, 0x909090, false},     IconDrawing{17, Motif::kList, 0x2E8B3A, true},
    IconDrawing{18, Motif::kCalendar, 0xC03030, false},  IconDrawing{19, Motif::kCalendar, 0xC03030, true},
    IconDrawing{20, Motif::kPlain, 0x909090, true},
};
static_assert(kIcons.size() == CUtilArbre::kImageCount);

void DrawBox(QPainter& painter, const QColor& colour) {
    painter.setPen(QPen(colour.darker(140), 1));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
}

void DrawFolder(QPainter& painter, const QColor& colour) {
    QPainterPath folder;
    folder.moveTo(1.5, 3.5);
    folder.lineTo(6.5, 3.5);
    folder.lineTo(8, 5);
    folder.lineTo(14.5, 5);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(1.5, 13.5);
    folder.closeSubpath();
    painter.setPen(QPen(colour.darker(160), 1));
    painter.setBrush(colour);
    painter.drawPath(folder);
    painter.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
}

void DrawListLines(QPainter& painter, int left) {
    for (int y : {5, 8, 11})
        painter.drawLine(left, y, 12, y);
}

void DrawMotif(QPainter& painter, Motif motif, const QColor& colour) {
    if (motif == Motif::kFolder) {
        DrawFolder(painter, colour);
        return;
    }
    if (motif == Motif::kCircle) {
        painter.setPen(QPen(colour, 1.5));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        return;
    }
    DrawBox(painter, colour);
    painter.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::white);
    switch (motif) {
    case Motif::kList:
        DrawListLines(painter, 4);
        break;
    case Motif::kListDotted:
        DrawListLines(painter, 7);
        for (int y : {5, 8, 11})
            painter.drawPoint(4, y);
        break;
    case Motif::kListPlus:
        DrawListLines(painter, 7);
        painter.drawLine(3, 8, 6, 8);
        painter.drawLine(4, 6, 4, 10);
        break;
    case Motif::kHash:
        painter.drawLine(6, 3, 5, 13);
        painter.drawLine(11, 3, 10, 13);
        painter.drawLine(3, 6, 13, 6);
        painter.drawLine(3, 10, 13, 10);
        break;
    case Motif::kBrackets:
        painter.drawPolyline(QPolygon({QPoint(6, 4), QPoint(4, 4), QPoint(4, 12), QPoint(6, 12)}));
        painter.drawPolyline(QPolygon({QPoint(10, 4), QPoint(12, 4), QPoint(12, 12), QPoint(10, 12)}));
        break;
    case Motif::kPodium:
        painter.drawRect(3, 9, 2, 3);
        painter.drawRect(7, 4, 2, 8);
        painter.drawRect(11, 7, 1, 5);
        break;
    case Motif::kParagraph:
        painter.drawLine(4, 5, 12, 5);
        painter.drawLine(4, 8, 10, 8);
        painter.drawLine(4, 11, 12, 11);
        break;
    case Motif::kCalendar:
        painter.drawRect(4, 6, 8, 6);
        painter.drawLine(5, 3, 5, 5);
        painter.drawLine(11, 3, 11, 5);
        break;
    case Motif::kCross:
        painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.8));
        painter.drawLine(4, 4, 12, 12);
        painter.drawLine(12, 4, 4, 12);
        break;
    case Motif::kFolder:
    case Motif::kCircle:
    case Motif::kPlain:
        break;
    }
}

QIcon DrawIcon(const IconDrawing& drawing) {
    QPixmap pixmap(CUtilArbre::kImageSize, CUtilArbre::kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawMotif(painter, drawing.motif, QColor::fromRgb(drawing.colour));
    if (drawing.faded) {
        // Outside the current level: the same icon, washed out.
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(pixmap.rect(), QColor(255, 255, 255, 150));
    }
    painter.end();
    return QIcon(pixmap);
}

// Icon of a question (kind 1) by type: inside and outside the current level. Type 1 depends on
// the flags and is chosen apart.
struct QuestionIcon {
    std::int16_t type;
    int inside;
    int outside;
};

constexpr std::array kQuestionIcons{
    QuestionIcon{2, 1, 0},  QuestionIcon{3, 18, 19}, QuestionIcon{4, 5, 15},
    QuestionIcon{5, 1, 11}, QuestionIcon{6, 2, 12},  QuestionIcon{7, 3, 13},
};

// Icon of a derived question (kind 2) by type, whatever the level.
struct DerivedIcon {
    std::int16_t type;
    int icon;
};

constexpr std::array kDerivedIcons{DerivedIcon{1, 6}, DerivedIcon{5, 1}, DerivedIcon{6, 2},
                                   DerivedIcon{7, 3}};

int QuestionImage(const CQuestionEtendue& question) {
    const CContexteEtude* context = GetContexte();
    const bool inside = context == nullptr || EstDansNiveauDe(question, *context);
    if (question.type == 1) {
        if (question.ranking != 0)
            return inside ? 4 : 14;
        if (question.hasNoAnswer != 0)
            return inside ? 2 : 12;
        return inside ? 7 : 17;
    }
    for (const QuestionIcon& entry : kQuestionIcons) {
        if (entry.type == question.type)
            return inside ? entry.inside : entry.outside;
    }
    return inside ? 1 : 0;
}

int DerivedImage(const CQuestionEtendue& question) {
    for (const DerivedIcon& entry : kDerivedIcons) {
        if (entry.type == question.type)
            return entry.icon;
    }
    return 0;
}

// The moves up, down and out never limit the depth.
constexpr int kNoDepthLimit = 99;

// Where a moved item goes: under `holder` (the tree's invisible root for the top level), after
// `after`, or first when `after` is null.
struct Place {
    QTreeWidgetItem* holder;
    QTreeWidgetItem* after;
};

QTreeWidgetItem& Holder(const QTreeWidget& tree, const QTreeWidgetItem& item) {
    return item.parent() != nullptr ? *item.parent() : *tree.invisibleRootItem();
}

QTreeWidgetItem* SiblingAt(const QTreeWidget& tree, const QTreeWidgetItem& item, int offset) {
    QTreeWidgetItem& holder = Holder(tree, item);
    return holder.child(holder.indexOfChild(const_cast<QTreeWidgetItem*>(&item)) + offset);
}

Place LastUnder(QTreeWidgetItem& holder) {
    return {&holder, holder.child(holder.childCount() - 1)};
}

std::optional<Place> PlaceUp(const QTreeWidget& tree, QTreeWidgetItem& item, bool allowOut) {
    if (SiblingAt(tree, item, -1) != nullptr)
        return Place{&Holder(tree, item), SiblingAt(tree, item, -2)};
    QTreeWidgetItem* parent = item.parent();
    if (parent == nullptr)
        return std::nullopt;
    if (QTreeWidgetItem* parentsPrevious = SiblingAt(tree, *parent, -1))
        return LastUnder(*parentsPrevious);
    if (!allowOut)
        return std::nullopt;
    return Place{&Holder(tree, *parent), nullptr};
}

std::optional<Place> PlaceDown(const QTreeWidget& tree, QTreeWidgetItem& item, bool allowOut) {
    if (QTreeWidgetItem* next = SiblingAt(tree, item, 1))
        return Place{&Holder(tree, item), next};
    if (allowOut) {
        for (QTreeWidgetItem* ancestor = item.parent(); ancestor != nullptr; ancestor = ancestor->parent()) {
            if (QTreeWidgetItem* next = SiblingAt(tree, *ancestor, 1))
                return Place{&Holder(tree, *next), next};
        }
        return std::nullopt;
    }
    QTreeWidgetItem* parent = item.parent();
    QTreeWidgetItem* parentsNext = parent != nullptr ? SiblingAt(tree, *parent, 1) : nullptr;
    if (parentsNext == nullptr)
        return std::nullopt;
    return Place{parentsNext, nullptr};
}

std::optional<Place> PlaceOut(const QTreeWidget& tree, QTreeWidgetItem& item) {
    QTreeWidgetItem* parent = item.parent();
    if (parent == nullptr)
        return std::nullopt;
    return Place{&Holder(tree, *parent), parent};
}

std::optional<Place> PlaceIn(const QTreeWidget& tree, QTreeWidgetItem& item, int maximumDepth) {
    QTreeWidgetItem* previous = SiblingAt(tree, item, -1);
    if (CUtilArbre::Profondeur(&item) >= maximumDepth || previous == nullptr)
        return std::nullopt;
    return LastUnder(*previous);
}

// Takes every item below `item` out of the tree, in preorder.
void TakeDescendants(QTreeWidgetItem& item, std::vector<QTreeWidgetItem*>& taken) {
    while (item.childCount() > 0) {
        QTreeWidgetItem* child = item.takeChild(0);
        taken.push_back(child);
        TakeDescendants(*child, taken);
    }
}

// Lifts the items below `item` (at `depth`) that lie deeper than the maximum depth: an item at the
// maximum depth is followed by its former descendants, in their order.
void KeepWithinDepth(const QTreeWidget& tree, QTreeWidgetItem& item, int depth, int maximumDepth) {
    if (depth < maximumDepth) {
        std::vector<QTreeWidgetItem*> children;
        for (int i = 0; i < item.childCount(); ++i)
            children.push_back(item.child(i));
        for (QTreeWidgetItem* child : children)
            KeepWithinDepth(tree, *child, depth + 1, maximumDepth);
        return;
    }
    std::vector<QTreeWidgetItem*> lifted;
    TakeDescendants(item, lifted);
    QTreeWidgetItem& holder = Holder(tree, item);
    int position = holder.indexOfChild(&item);
    for (QTreeWidgetItem* descendant : lifted)
        holder.insertChild(++position, descendant);
}

void FoldDescendants(QTreeWidgetItem& item) {
    for (int i = 0; i < item.childCount(); ++i) {
        item.child(i)->setExpanded(false);
        FoldDescendants(*item.child(i));
    }
}

bool MoveCurrentItem(QTreeWidget& tree, const std::optional<Place>& place, int maximumDepth) {
    QTreeWidgetItem* item = tree.currentItem();
    if (item == nullptr || !place)
        return false;
    const bool wasExpanded = item->isExpanded();
    const bool wasSelected = item->isSelected();
    QTreeWidgetItem& oldHolder = Holder(tree, *item);
    oldHolder.takeChild(oldHolder.indexOfChild(item));
    place->holder->insertChild(place->after != nullptr ? place->holder->indexOfChild(place->after) + 1 : 0,
                               item);
    KeepWithinDepth(tree, *item, CUtilArbre::Profondeur(item), maximumDepth);
    FoldDescendants(*item);
    tree.setCurrentItem(item);
    if (wasSelected)
        item->setSelected(true);
    item->setExpanded(wasExpanded);
    return true;
}

void ExpandSubtree(QTreeWidgetItem& item) {
    item.setExpanded(true);
    for (int i = 0; i < item.childCount(); ++i)
        ExpandSubtree(*item.child(i));
}

} // namespace

CUtilArbre::CUtilArbre() {
    m_images.reserve(kIcons.size());
    for (const IconDrawing& drawing : kIcons)
        m_images.push_back(DrawIcon(drawing));
}

const QIcon& CUtilArbre::GetImage(int index) const {
    static const QIcon none;
    if (index < 0 || index >= static_cast<int>(m_images.size()))
        return none;
    return m_images[static_cast<std::size_t>(index)];
}

int CUtilArbre::GetImageQuestion(const CQuestionEtendue& question) {
    switch (question.kind) {
    case 0:
        return 0;
    case 1:
        return QuestionImage(question);
    case 2:
        return DerivedImage(question);
    default:
        return 1;
    }
}

void CUtilArbre::DeplierTout(QTreeWidget& tree, QTreeWidgetItem* item) {
    if (item != nullptr) {
        ExpandSubtree(*item);
        return;
    }
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        ExpandSubtree(*tree.topLevelItem(i));
}

int CUtilArbre::CompterDescendants(const QTreeWidgetItem& item) {
    int count = item.childCount();
    for (int i = 0; i < item.childCount(); ++i)
        count += CompterDescendants(*item.child(i));
    return count;
}

int CUtilArbre::Profondeur(const QTreeWidgetItem* item) {
    int depth = 0;
    for (; item != nullptr; item = item->parent())
        ++depth;
    return depth;
}

bool CUtilArbre::MonterItem(QTreeWidget& tree, bool allowOut) {
    QTreeWidgetItem* item = tree.currentItem();
    return item != nullptr && MoveCurrentItem(tree, PlaceUp(tree, *item, allowOut), kNoDepthLimit);
}

bool CUtilArbre::DescendreItem(QTreeWidget& tree, bool allowOut) {
    QTreeWidgetItem* item = tree.currentItem();
    return item != nullptr && MoveCurrentItem(tree, PlaceDown(tree, *item, allowOut), kNoDepthLimit);
}

bool CUtilArbre::SortirItem(QTreeWidget& tree) {
    QTreeWidgetItem* item = tree.currentItem();
    return item != nullptr && MoveCurrentItem(tree, PlaceOut(tree, *item), kNoDepthLimit);
}

bool CUtilArbre::EntrerItem(QTreeWidget& tree, int maximumDepth) {
    QTreeWidgetItem* item = tree.currentItem();
    return item != nullptr && MoveCurrentItem(tree, PlaceIn(tree, *item, maximumDepth), maximumDepth);
}

// ---- Subtrees taken apart and put back --------------------------------------------------------

namespace {

int ItemData(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toInt();
}

QTreeWidgetItem& HolderOrTop(QTreeWidget& tree, QTreeWidgetItem* parent) {
    return parent != nullptr ? *parent : *tree.invisibleRootItem();
}

// Inserts a new item under `holder` at `position` (the end when negative).
QTreeWidgetItem* NewItemAt(QTreeWidgetItem& holder, int position, int data) {
    auto* item = new QTreeWidgetItem();
    item->setData(0, Qt::UserRole, data);
    if (position < 0 || position > holder.childCount())
        holder.addChild(item);
    else
        holder.insertChild(position, item);
    return item;
}

int PositionAfter(QTreeWidgetItem& holder, QTreeWidgetItem* after) {
    return after != nullptr ? holder.indexOfChild(after) + 1 : 0;
}

// The work of both forms of InsererSousArbre: `text` gives the text of entry i, or nothing.
QTreeWidgetItem* InsertSubtree(QTreeWidget& tree, QTreeWidgetItem* parent, QTreeWidgetItem* after,
                               const std::vector<int>& data, const std::vector<int>& depths, int maximumDepth,
                               const std::function<void(QTreeWidgetItem&, std::size_t)>& finish) {
    if (data.empty() || depths.size() != data.size())
        return nullptr;
    QTreeWidgetItem& holder = HolderOrTop(tree, parent);
    QTreeWidgetItem* top = NewItemAt(holder, PositionAfter(holder, after), data[0]);
    finish(*top, 0);
    // The last re-created item of each depth, the top item at depth 0.
    std::vector<QTreeWidgetItem*> lastAt{top};
    for (std::size_t i = 1; i < data.size(); ++i) {
        const int depth = std::max(0, std::min(depths[i], maximumDepth));
        QTreeWidgetItem* item = nullptr;
        if (depth == 0) {
            item = NewItemAt(holder, holder.indexOfChild(top) + 1, data[i]);
        } else {
            const std::size_t above = std::min(static_cast<std::size_t>(depth - 1), lastAt.size() - 1);
            item = NewItemAt(*lastAt[above], -1, data[i]);
        }
        finish(*item, i);
        const std::size_t at = std::min(static_cast<std::size_t>(depth), lastAt.size());
        lastAt.resize(at + 1);
        lastAt[at] = item;
        if (depth == 0)
            lastAt[0] = top;
    }
    return top;
}

} // namespace

void CUtilArbre::CollecterSousArbre(const QTreeWidgetItem& item, std::vector<QString>& texts, std::vector<int>& data,
                                    std::vector<int>& depths, int depth) {
    texts.push_back(item.text(0));
    data.push_back(ItemData(item));
    depths.push_back(depth);
    for (int i = 0; i < item.childCount(); ++i)
        CollecterSousArbre(*item.child(i), texts, data, depths, depth + 1);
}

void CUtilArbre::CollecterSousArbreSansTexte(const QTreeWidgetItem& item, std::vector<int>& data,
                                             std::vector<int>& depths, int depth) {
    data.push_back(ItemData(item));
    depths.push_back(depth);
    for (int i = 0; i < item.childCount(); ++i)
        CollecterSousArbreSansTexte(*item.child(i), data, depths, depth + 1);
}

QTreeWidgetItem* CUtilArbre::InsererSousArbre(QTreeWidget& tree, QTreeWidgetItem* parent, QTreeWidgetItem* after,
                                              const std::vector<QString>& texts, const std::vector<int>& data,
                                              const std::vector<int>& depths, int maximumDepth) {
    if (texts.size() != data.size())
        return nullptr;
    return InsertSubtree(tree, parent, after, data, depths, maximumDepth,
                         [&texts](QTreeWidgetItem& item, std::size_t i) { item.setText(0, texts[i]); });
}

QTreeWidgetItem* CUtilArbre::InsererSousArbreSansTexte(QTreeWidget& tree, QTreeWidgetItem* parent,
                                                       QTreeWidgetItem* after, const std::vector<int>& data,
                                                       const std::vector<int>& depths, int maximumDepth,
                                                       const Decorate& decorate) {
    return InsertSubtree(tree, parent, after, data, depths, maximumDepth, [&decorate](QTreeWidgetItem& item, std::size_t) {
        if (decorate)
            decorate(item);
    });
}

void CUtilArbre::InsererArbre(QTreeWidget& tree, QTreeWidgetItem* parent, QTreeWidgetItem* after,
                              const std::vector<int>& data, const std::vector<int>& depths, const Decorate& decorate) {
    if (depths.size() != data.size())
        return;
    QTreeWidgetItem& holder = HolderOrTop(tree, parent);
    // The last inserted item of each depth; `parent` stands at depth 0.
    std::vector<QTreeWidgetItem*> lastAt{&holder};
    bool first = true;
    for (std::size_t i = 1; i < data.size(); ++i) {
        const int depth = std::max(1, depths[i]);
        const std::size_t above = std::min(static_cast<std::size_t>(depth - 1), lastAt.size() - 1);
        QTreeWidgetItem& under = *lastAt[above];
        const int position = first && &under == &holder ? PositionAfter(holder, after) : -1;
        QTreeWidgetItem* item = NewItemAt(under, position, data[i]);
        first = false;
        if (decorate)
            decorate(*item);
        lastAt.resize(above + 2);
        lastAt[above + 1] = item;
    }
}
