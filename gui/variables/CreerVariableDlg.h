#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class CContexteEtude;
class CPanneauVariable;
class CQuestionEtendue;
class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// "Créer une variable": a label, a choice among thirteen kinds, and in the middle the page of the
// chosen kind. OK builds the variable (a new one, or the computed question being changed) and
// closes only when it was built. The kinds whose page is not in the program yet are listed and
// disabled, with a tooltip saying so.
class CCreerVariableDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 203 };
    static constexpr int kNombreTypes = 13;
    static constexpr int kLongueurLibelle = 50;

    // A new variable.
    explicit CCreerVariableDlg(CContexteEtude& context, QWidget* parent = nullptr);
    // Changes the computed question.
    CCreerVariableDlg(CContexteEtude& context, CQuestionEtendue* question, QWidget* parent = nullptr);
    ~CCreerVariableDlg() override;

    // The question built by the last successful OK.
    CQuestionEtendue* GetQuestion() const { return m_built; }

    // The radio button of the group index (0 .. 12, in the order of the list), and the kind it
    // chooses.
    QRadioButton& Bouton(int index) const { return *m_buttons.at(static_cast<std::size_t>(index)); }
    static std::int16_t TypeDuBouton(int index);
    // The page of the kind; null for a kind without page.
    CPanneauVariable* Panneau(std::int16_t kind) const;
    // The page shown; null when none is.
    CPanneauVariable* PanneauVisible() const;
    QLineEdit& LibelleEdit() const { return *m_label; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

    void accept() override;

private:
    void Construire();
    void Charger();
    void OnType(int index);
    void OnCopierBoucle();
    void MontrerPanneau(CPanneauVariable* panel);
    int IndexDuType(std::int16_t kind) const;

    CContexteEtude& m_context;
    CQuestionEtendue* m_edited = nullptr;
    CQuestionEtendue* m_built = nullptr;
    QLineEdit* m_label;
    QButtonGroup* m_group;
    std::array<QRadioButton*, kNombreTypes> m_buttons{};
    std::array<CPanneauVariable*, kNombreTypes> m_panels{}; // by button index; owned by the frame
    QStackedWidget* m_frame;
    QWidget* m_empty;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
