#pragma once

#include <QWidget>
#include <array>

class CChampCondition;
class QListWidget;
class QRadioButton;

// The page of a condition on a closed question: the question's modalities, of which several are
// chosen, and five kinds, from "Au moins une parmi..." to "Toutes et aucune autre parmi...". The
// last three are offered only for a question with several answers; a kind the question cannot
// have falls back to the first. The chosen modalities and a clicked kind are taken at once.
class CConditionModaliteDlg : public QWidget {
    Q_OBJECT

public:
    enum { IDD = 175 };
    static constexpr int kNombreTypes = 5;

    // The page edits the condition in place; the condition outlives it.
    explicit CConditionModaliteDlg(CChampCondition& condition, QWidget* parent = nullptr);

    // Shows the modalities of the condition's question (after it changed), its chosen ones and
    // its kind.
    void Afficher();

    QListWidget& Modalites() const { return *m_modalities; }
    QRadioButton& TypeButton(int kind) const { return *m_kinds.at(static_cast<std::size_t>(kind)); }

private:
    void OnType(int kind);
    void OnSelection();

    CChampCondition& m_condition;
    QListWidget* m_modalities;
    std::array<QRadioButton*, kNombreTypes> m_kinds{};
    bool m_showing = false;
};
