#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

class CQuestionEtendue;
class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

// What the brushing and sizing dialogs share: the choice of what drives the colour or size of the
// points of a map (nothing, coordinates, qualities or contributions on an axis, or a question),
// with the axis or the question the choice needs. Each dialog adds its own part below (the three
// colours, or the two sizes).
class ModeMappingDlg : public QDialog {
    Q_OBJECT

public:
    enum Mode { kAucun = 0, kCoordonnees = 1, kQualites = 2, kContributions = 3, kQuestion = 4 };

    int GetMode() const { return m_mode; }
    int GetAxe() const;
    CQuestionEtendue* GetQuestion() const { return m_question; }

    QAbstractButton& GetRadio(int mode) const;
    QSpinBox& GetAxeEdit() const { return *m_axe; }
    QLabel& GetQuestionCaption() const { return *m_questionCaption; }
    QPushButton& GetQuestionButton() const { return *m_questionButton; }

    // Whether the axis controls and the question controls are shown (the mode's).
    bool AxeVisible() const;
    bool QuestionVisible() const;

protected:
    ModeMappingDlg(const QString& caption, bool question, bool qualite, bool contribution, int axes,
                   QWidget* parent);

    // Takes the mode, axis and question of the record and shows the mode's controls.
    void Initialiser(int mode, int axe, CQuestionEtendue* question);
    // The layout under the common controls, for the dialog's own part.
    QVBoxLayout& Corps() const { return *m_body; }
    // Puts the OK and Cancel buttons last.
    void Terminer();
    // The record receives the dialog's choice; called by OK once the choice is complete.
    virtual void Enregistrer() = 0;

private:
    void OnMode(int mode);
    void OnChoisirQuestion();
    void OnOk();
    void AfficherControles();

    int m_mode = kAucun;
    CQuestionEtendue* m_question = nullptr;
    QButtonGroup* m_radios = nullptr;
    QLabel* m_axeLabel = nullptr;
    QSpinBox* m_axe = nullptr;
    QLabel* m_questionLabel = nullptr;
    QLabel* m_questionCaption = nullptr;
    QPushButton* m_questionButton = nullptr;
    QVBoxLayout* m_body = nullptr;
    QVBoxLayout* m_main = nullptr;
};
