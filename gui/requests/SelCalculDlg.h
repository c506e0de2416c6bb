#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <vector>

class CCalcul;
class QListWidget;

// "Sélectionner un calcul": one calculation out of a request's list, by its code (a table with
// several calculation lines is charted on one of them). The lines keep the list's order.
class CSelCalculDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 197 };

    using Calculs = std::vector<std::unique_ptr<CCalcul>>;

    // Only the labels and codes are read: the dialog keeps nothing of the caller's list.
    explicit CSelCalculDlg(const Calculs& calculations, QWidget* parent = nullptr);

    // After OK: the code of the chosen calculation.
    std::int32_t GetCode() const { return m_code; }

    QListWidget& GetList() const { return *m_list; }

    // OK (or a double click on a line): keeps the dialog open with a message when no line is
    // selected.
    void accept() override;

private:
    QListWidget* m_list;
    std::int32_t m_code = 0;
};
