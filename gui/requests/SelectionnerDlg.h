#pragma once

#include "app/IdName.h"

#include <QDialog>
#include <cstdint>
#include <vector>

class QListWidget;

// "Sélectionner": one named item out of a list (study fields, weightings, profiles, styles...),
// shown in alphabetical order whatever the order of the list.
class CSelectionnerDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 279 };

    explicit CSelectionnerDlg(std::vector<CIdName> items, QWidget* parent = nullptr);

    // After OK: the id of the chosen item.
    std::int32_t GetChosenId() const { return m_chosenId; }

    QListWidget& GetList() const { return *m_list; }

    // OK: keeps the dialog open with a message when nothing is selected.
    void accept() override;

private:
    std::vector<CIdName> m_items;
    QListWidget* m_list;
    std::int32_t m_chosenId = 0;
};
