#pragma once

#include "gui/presentation/ModeMappingDlg.h"
#include "statistics/ParamSizing.h"

// "Sizing": what sizes the symbols of one set of a map, and the symbol sizes of low and high
// values (2 to 30 pixels). Works on a copy of the record; GetParam after OK.
class CSizingDlg : public ModeMappingDlg {
    Q_OBJECT

public:
    static constexpr int kTailleMin = 2;
    static constexpr int kTailleMax = 30;

    CSizingDlg(const CParamSizing& param, bool question, bool qualite, bool contribution, int axes,
               QWidget* parent = nullptr);
    ~CSizingDlg() override;

    const CParamSizing& GetParam() const { return m_param; }
    QSpinBox& GetTailleFaible() const { return *m_low; }
    QSpinBox& GetTailleForte() const { return *m_high; }

protected:
    void Enregistrer() override;

private:
    CParamSizing m_param;
    QSpinBox* m_low = nullptr;
    QSpinBox* m_high = nullptr;
};
