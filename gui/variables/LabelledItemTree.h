#pragma once

#include <QIcon>
#include <QTreeWidget>

class QVBoxLayout;

#include "variables/DefinitionTexts.h"

#include <cstdint>
#include <string>
#include <vector>

// The tree of named items of the creation dialog's pages (the classes of a classification, the
// modalities of a superposition): each item a label and a number, the labels edited in place (F2
// begins, Enter keeps, Escape cancels; an empty label, or one holding a character the stored
// texts keep for themselves, is refused with a beep), moved with Alt+Up and Alt+Down and
// removed with Delete.
class LabelledItemTree : public QTreeWidget {
    Q_OBJECT

public:
    using Item = DefinitionTexts::Item;

    // `reserved`: the characters a label may not hold.
    LabelledItemTree(std::string reserved, QWidget* parent = nullptr);

    // The icon every item shows (none at first), kept through the moves.
    void SetItemIcon(const QIcon& icon);
    void SetItems(const std::vector<Item>& items);
    std::vector<Item> Items() const;
    void Append(const Item& item);

    // The current item one place up or down; a beep when there is none to move.
    void Monter();
    void Descendre();
    // The current item removed; a beep when there is none.
    void Supprimer();

    // A column of the buttons 1001 (up) and 1002 (down) and of the delete button of that id, for
    // the page to place.
    QVBoxLayout* NewButtons(QWidget& page, const char* deleteId);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnChanged(QTreeWidgetItem* item);

    // A moved item is made anew: it is given back its editable label and its icon.
    void Restore(QTreeWidgetItem& item) const;

    std::string m_reserved;
    QIcon m_icon;
    QString m_before; // the label as it was when its edit began
};
