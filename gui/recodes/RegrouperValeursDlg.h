#pragma once

#include "gui/recodes/RecodeListDialog.h"

class QCheckBox;

// "Regrouper en valeurs discrètes": a free numeric question turned into one modality per value
// of a list. "&Trouver les valeurs..." lists every distinct answer; with "Regrouper à la valeur
// la plus proche" an answer goes to the nearest value (ties to the lower one), otherwise only to
// a value it equals.
class CRegrouperValeursDlg : public RecodeListDialog {
    Q_OBJECT

public:
    enum { IDD = 212 };

    // A new recode of `question`, or the recode of `edited`, a recoded question made from `question`.
    CRegrouperValeursDlg(CContexteEtude& context, CQuestionEtendue& question, CQuestionEtendue* edited = nullptr,
                         QWidget* parent = nullptr);

    QPushButton& FindValuesButton() const { return *m_find; }
    QCheckBox& NearestBox() const { return *m_nearest; }

protected:
    QString EntryText(double value) const override;
    bool ReadEntry(const QString& text, double& value) const override;
    void FillRecode(CRecodage& recode) const override;
    void Preview(const CRecodage& recode, std::vector<std::string>& captions, std::vector<long>& counts) const override;

private:
    void Init();
    void FindValues();

    QCheckBox* m_nearest;
    QPushButton* m_find;
};
