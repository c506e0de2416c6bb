#pragma once

#include "framework/UtilArbre.h"

#include <QDialog>
#include <cstdint>
#include <vector>

class CContexteEtude;
class QCheckBox;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// "Liste de questions": the questions to export. The questions of the current level (chapters
// left out) are moved between the list of those not chosen and the list of those chosen, one
// selection or all at once; both lists keep the survey's order whatever the order of the moves.
// A question holding a version number may be asked for in front of them. OK needs at least one
// question chosen.
class CListeQuestionsDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 250 };
    static constexpr int kColumnWidth = 250;
    static constexpr int kVersionMinimum = 1;
    static constexpr int kVersionMaximum = 1000;

    explicit CListeQuestionsDlg(CContexteEtude& context, QWidget* parent = nullptr);

    // After OK: the positions in the survey of the questions chosen, in list order; whether a
    // version question is asked for, and its number.
    void GetResult(std::vector<std::uint32_t>& positions, bool& addVersion, int& version) const;

    void accept() override;

    QTreeWidget& Disponibles() const { return *m_available; }
    QTreeWidget& Choisies() const { return *m_chosen; }
    QPushButton& AjouterButton() const { return *m_add; }
    QPushButton& RetirerButton() const { return *m_remove; }
    QPushButton& ToutAjouterButton() const { return *m_addAll; }
    QPushButton& ToutRetirerButton() const { return *m_removeAll; }
    QCheckBox& AjouterVersionBox() const { return *m_addVersion; }
    QSpinBox& VersionSpin() const { return *m_version; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

private:
    QTreeWidget* NewList(const QString& title);
    void Remplir();
    // Moves the selected items (or all) of one list to the other, which is then put back in the
    // survey's order.
    void Deplacer(QTreeWidget& from, QTreeWidget& to, bool all);
    static void TrierParIndex(QTreeWidget& list);

    CContexteEtude& m_context;
    CUtilArbre m_images;
    std::vector<std::uint32_t> m_result;
    QTreeWidget* m_available;
    QTreeWidget* m_chosen;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_addAll;
    QPushButton* m_removeAll;
    QCheckBox* m_addVersion;
    QSpinBox* m_version;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
