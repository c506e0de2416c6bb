#pragma once

#include <QWidget>
#include <array>

class CChampCondition;
class QLineEdit;
class QRadioButton;
class UserInterface;

// The page of a condition on a free numeric question: ten kinds, from "x = {Non réponse}" to
// "x < a ou x > b", and the bounds a and b, each box enabled when its kind uses it. A bound whose
// text reads as a number is taken at once; a kind is taken when its button is clicked.
class CConditionNumeriqueDlg : public QWidget {
    Q_OBJECT

public:
    enum { IDD = 174 };
    static constexpr int kNombreTypes = 10;

    // The page edits the condition in place; the condition outlives it.
    explicit CConditionNumeriqueDlg(CChampCondition& condition, QWidget* parent = nullptr);

    // Shows the condition's kind and bounds (after its question changed).
    void Afficher();
    // The bounds the kind uses must read as numbers; otherwise "Vous devez entrer un nombre...",
    // the focus on the faulty box, and false.
    bool Valider(UserInterface& ui);

    QRadioButton& TypeButton(int kind) const { return *m_kinds.at(static_cast<std::size_t>(kind)); }
    QLineEdit& BorneA() const { return *m_a; }
    QLineEdit& BorneB() const { return *m_b; }

private:
    void OnType(int kind);
    void OnBorne(QLineEdit& box, double& bound);
    void EnableBounds();

    CChampCondition& m_condition;
    std::array<QRadioButton*, kNombreTypes> m_kinds{};
    QLineEdit* m_a;
    QLineEdit* m_b;
};
