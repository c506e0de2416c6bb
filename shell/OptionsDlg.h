#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

// "Options": the general options kept in the settings, section "Options": whether the inverted
// files are checked against the interview count at opening, whether only completed interviews
// are used (from the next opening), and what the Total line of flat tables counts. The dialog
// reads them as it opens and writes them back on OK only.
class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 291 };
    // The Total line's kinds, in the order of the combo box: the index is the value.
    enum TotalType { kSommeDesModalites = 0, kTotalDesInterviews = 1 };

    explicit COptionsDlg(QWidget* parent = nullptr);

    // After OK: the Total line's kind chosen.
    int GetTotalType() const { return m_totalType; }

    void accept() override;

    QCheckBox& CheckInversionBox() const { return *m_checkInversion; }
    QCheckBox& UseCompletedOnlyBox() const { return *m_useCompletedOnly; }
    QComboBox& TotalTypeCombo() const { return *m_totalTypeCombo; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

private:
    int m_totalType = -1;
    QCheckBox* m_checkInversion;
    QCheckBox* m_useCompletedOnly;
    QComboBox* m_totalTypeCombo;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
