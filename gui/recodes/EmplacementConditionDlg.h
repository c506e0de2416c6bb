#pragma once

#include <QWidget>

class CChampCondition;
class CContexteEtude;
class QLineEdit;
class QPushButton;

// One of the four condition slots of "Champ d'étude": the condition's description, read-only,
// and "Définir...", which edits a copy of it in "Définition d'une condition" and takes the copy
// back on OK. The button follows the slot's enabled state.
class CEmplacementConditionDlg : public QWidget {
    Q_OBJECT

public:
    enum { IDD = 172 };

    // The slot shows and edits the condition in place; the condition outlives it.
    CEmplacementConditionDlg(CContexteEtude& context, CChampCondition& condition, QWidget* parent = nullptr);

    // Shows the condition's description again (after the condition changed).
    void Rafraichir();

    QLineEdit& Description() const { return *m_description; }
    QPushButton& DefinirButton() const { return *m_define; }

signals:
    // The condition was redefined.
    void Modifie();

private:
    void OnDefinir();

    CContexteEtude& m_context;
    CChampCondition& m_condition;
    QLineEdit* m_description;
    QPushButton* m_define;
};
