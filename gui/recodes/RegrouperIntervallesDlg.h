#pragma once

#include "gui/recodes/RecodeListDialog.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QRadioButton;

// "Regrouper en intervalles": a free numeric or date question cut into classes by ascending
// bounds, closed on the left "[ a, b [" or on the right "] a, b ]", with a class below the first
// bound ("Moins de") and one above the last ("Plus de"). Numbers may be declared whole ("Nombres
// entiers"); a date question is compared by date and time, date only or time only.
// "&Pourcentiles..." asks for a number of intervals and proposes bounds that cut the answers
// into classes of about the same size.
class CRegrouperIntervallesDlg : public RecodeListDialog {
    Q_OBJECT

public:
    enum { IDD = 209 };

    // A new recode of `question`, or the recode of `edited`, a recoded question made from `question`.
    CRegrouperIntervallesDlg(CContexteEtude& context, CQuestionEtendue& question, CQuestionEtendue* edited = nullptr,
                             QWidget* parent = nullptr);

    QRadioButton& ClosedLeftButton() const { return *m_closedLeft; }
    QRadioButton& ClosedRightButton() const { return *m_closedRight; }
    QCheckBox& BelowBox() const { return *m_below; }
    QCheckBox& AboveBox() const { return *m_above; }
    QCheckBox& IntegersBox() const { return *m_integers; }
    // Date and time, date only, time only.
    QRadioButton& DateModeButton(int mode) const { return *m_dateModes.at(static_cast<std::size_t>(mode)); }
    QPushButton& PercentilesButton() const { return *m_percentiles; }

protected:
    QString EntryText(double value) const override;
    bool ReadEntry(const QString& text, double& value) const override;
    void FillRecode(CRecodage& recode) const override;
    void Preview(const CRecodage& recode, std::vector<std::string>& captions, std::vector<long>& counts) const override;

private:
    void Init(bool fresh, const CQuestionEtendue& question);
    std::int16_t DateMode() const;
    void OnDateMode();
    void AskPercentiles();

    QRadioButton* m_closedLeft;
    QRadioButton* m_closedRight;
    QCheckBox* m_below;
    QCheckBox* m_above;
    QCheckBox* m_integers;
    std::array<QRadioButton*, 3> m_dateModes{};
    QPushButton* m_percentiles;
    // The question holds dates: the date modes are offered instead of whole numbers.
    bool m_dateQuestion = false;
};
