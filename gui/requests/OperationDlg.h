#pragma once

#include "tabulation/CalculEvolue.h"

#include <QDialog>
#include <cstdint>

class CContexteEtude;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Opération": defines or edits one operation of an advanced table's style on a copy of it. The
// operation is a crossing, a total, a statistics sub-total or a test line, computed on a study
// field, a weighting and a level of its own; the type decides which list of operations is offered
// and which of the position, operation and test-line fields can be changed. OK checks the copy
// (no ";" nor "|" in its texts, an operation chosen for the first three types, a position for a
// total) and keeps the dialog open with a message when one is missing; GetCalcul gives the copy.
class COperationDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 273 };

    COperationDlg(CContexteEtude& context, const CCalculEvolue& calculation, QWidget* parent = nullptr);
    ~COperationDlg() override;

    // The operation as the dialog left it; after OK, the one defined.
    const CCalculEvolue& GetCalcul() const { return m_calculation; }

    QLineEdit& LabelEdit() const { return *m_label; }
    QComboBox& TypeCombo() const { return *m_type; }
    QComboBox& PositionCombo() const { return *m_position; }
    QComboBox& OperationCombo() const { return *m_operation; }
    QLineEdit& TestLineEdit() const { return *m_testLine; }
    QPushButton& StudyFieldButton() const { return *m_studyFieldButton; }
    QPushButton& WeightingButton() const { return *m_weightingButton; }
    QPushButton& LevelButton() const { return *m_levelButton; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& CancelButton() const { return *m_cancel; }

    void accept() override;

private:
    void OnSelchangeType();
    void OnStudyField();
    void OnWeighting();
    void OnLevel();
    void ShowNames();
    void Refuse(const Message& message);

    CContexteEtude& m_context;
    CCalculEvolue m_calculation; // the dialog's own copy
    QLineEdit* m_label;
    QLabel* m_studyFieldName;
    QLabel* m_weightingName;
    QLabel* m_levelName;
    QPushButton* m_studyFieldButton;
    QPushButton* m_weightingButton;
    QPushButton* m_levelButton;
    QComboBox* m_type;
    QComboBox* m_position;
    QComboBox* m_operation;
    QLineEdit* m_testLine;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
