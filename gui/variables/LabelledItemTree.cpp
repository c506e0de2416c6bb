#include "gui/variables/LabelledItemTree.h"

#include "framework/UtilArbre.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

LabelledItemTree::LabelledItemTree(std::string reserved, QWidget* parent)
    : QTreeWidget(parent), m_reserved(std::move(reserved)) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    connect(this, &QTreeWidget::itemChanged, this, &LabelledItemTree::OnChanged);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        m_before = current != nullptr ? current->text(0) : QString();
    });
}

void LabelledItemTree::SetItemIcon(const QIcon& icon) {
    m_icon = icon;
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setIcon(0, m_icon);
}

void LabelledItemTree::SetItems(const std::vector<Item>& items) {
    clear();
    for (const Item& item : items)
        Append(item);
}

void LabelledItemTree::Append(const Item& item) {
    const QSignalBlocker quiet(this);
    auto* created = new QTreeWidgetItem(this);
    created->setText(0, QString::fromStdString(item.label));
    created->setData(0, Qt::UserRole, item.number);
    Restore(*created);
}

void LabelledItemTree::Restore(QTreeWidgetItem& item) const {
    item.setFlags(item.flags() | Qt::ItemIsEditable);
    item.setIcon(0, m_icon);
}

std::vector<LabelledItemTree::Item> LabelledItemTree::Items() const {
    std::vector<Item> items;
    for (int i = 0; i < topLevelItemCount(); ++i)
        items.push_back({topLevelItem(i)->text(0).toStdString(), topLevelItem(i)->data(0, Qt::UserRole).toInt()});
    return items;
}

void LabelledItemTree::OnChanged(QTreeWidgetItem* item) {
    const std::string label = item->text(0).toStdString();
    if (!label.empty() && label.find_first_of(m_reserved) == std::string::npos) {
        m_before = item->text(0);
        return;
    }
    QApplication::beep();
    const QSignalBlocker quiet(this);
    item->setText(0, m_before);
}

void LabelledItemTree::Monter() {
    if (!CUtilArbre::MonterItem(*this, false))
        QApplication::beep();
    else if (QTreeWidgetItem* moved = currentItem())
        Restore(*moved);
}

void LabelledItemTree::Descendre() {
    if (!CUtilArbre::DescendreItem(*this, false))
        QApplication::beep();
    else if (QTreeWidgetItem* moved = currentItem())
        Restore(*moved);
}

void LabelledItemTree::Supprimer() {
    QTreeWidgetItem* item = currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    delete item;
}

void LabelledItemTree::keyPressEvent(QKeyEvent* event) {
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (alt && event->key() == Qt::Key_Up)
        return Monter();
    if (alt && event->key() == Qt::Key_Down)
        return Descendre();
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState)
        return Supprimer();
    QTreeWidget::keyPressEvent(event);
}

QVBoxLayout* LabelledItemTree::NewButtons(QWidget& page, const char* deleteId) {
    struct Spec {
        const char* id;
        const char* text;
        const char* tip;
        void (LabelledItemTree::*action)();
    };
    const Spec specs[] = {
        {"1001", "▲", "Monter (Alt+Haut)", &LabelledItemTree::Monter},
        {"1002", "▼", "Descendre (Alt+Bas)", &LabelledItemTree::Descendre},
        {deleteId, "X", "Supprimer (Suppr)", &LabelledItemTree::Supprimer},
    };
    auto* column = new QVBoxLayout();
    for (const Spec& spec : specs) {
        auto* button = new QPushButton(QString::fromUtf8(spec.text), &page);
        button->setObjectName(QString::fromLatin1(spec.id));
        button->setToolTip(QString::fromUtf8(spec.tip));
        button->setFixedWidth(44);
        connect(button, &QPushButton::clicked, this, spec.action);
        column->addWidget(button);
    }
    return column;
}
