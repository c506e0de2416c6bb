#pragma once

#include <cstdint>

#include "gui/variables/PanneauVariable.h"

class CContexteEtude;
class QComboBox;
class QPushButton;

// "Par redressement": a numeric variable holding the weight of every interview under one of the
// survey's weightings. The definition is the weighting's code.
class CCalRedressementPage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 255 };

    explicit CCalRedressementPage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    QComboBox& Redressements() const { return *m_weightings; }
    QPushButton& EditerButton() const { return *m_edit; }
    std::int32_t Redressement() const { return m_code; }

private:
    // Lists the survey's weightings and shows the one of the code; a code none carries shows the
    // first and becomes -1.
    void Remplir(std::int32_t code);
    void OnEditer();

    CContexteEtude& m_context;
    std::int32_t m_code = -1;
    QComboBox* m_weightings;
    QPushButton* m_edit;
};
