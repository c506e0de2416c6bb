#pragma once

#include <cstdint>

#include "gui/variables/PanneauVariable.h"

class CContexteEtude;
class QButtonGroup;
class QRadioButton;

// "À partir des infos générales": a variable made from one field of the interview records
// (interviewer, start or end time, interview number or code, language, completion). The radios
// stand for the information numbers the definition stores.
class CCalInfosGeneralesPage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 289 };
    static constexpr int kNombreInfos = 7;

    explicit CCalInfosGeneralesPage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    // The radio of position 0 .. 6 from the top.
    QRadioButton& Bouton(int position) const;
    // The information number of the radio chosen.
    std::int32_t Info() const;

private:
    QButtonGroup* m_group;
};
