#pragma once

#include <QDialog>
#include <QIcon>
#include <array>

class QTreeWidget;

// "Sélection d'un niveau": the questionnaire's levels (the interviews and their loops) as a tree
// by depth, starting on the current level. With a reference level, only one of its ancestors may
// be chosen.
class CSelNiveauDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 258 };

    // No reference level.
    static constexpr int kAucunNiveau = -1;

    explicit CSelNiveauDlg(int currentLevel, QWidget* parent = nullptr);
    CSelNiveauDlg(int currentLevel, int referenceLevel, QWidget* parent = nullptr);

    // After OK: the index of the chosen level.
    int GetChosenLevel() const { return m_chosenLevel; }

    QTreeWidget& GetTree() const { return *m_tree; }

    // OK: keeps the dialog open with a message when the choice is refused.
    void accept() override;

private:
    void Remplir();
    // Whether `level` lies above the reference level.
    bool EstNiveauParent(int level) const;

    QTreeWidget* m_tree;
    // One icon per level type, 1 to 4.
    std::array<QIcon, 4> m_images;
    int m_chosenLevel;
    int m_referenceLevel;
};
