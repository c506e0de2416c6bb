#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Recodage.h"

// Discrete values: a free numeric question turned into a closed one with one modality per value
// of a list. An answer takes the modality of the value it equals, or in nearest mode of the
// value closest to it. Definition text: each value with 15 significant digits, then "@".
class CRecodageDiscrete : public CRecodage {
public:
    explicit CRecodageDiscrete(CEnquete* survey);
    CRecodageDiscrete(const CRecodageDiscrete& other) = default;
    CRecodageDiscrete& operator=(const CRecodageDiscrete&) = delete;
    ~CRecodageDiscrete() override = default;

    // ---- The recode's operations ----
    std::int16_t GetType() const override { return kDiscrete; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }
    // One modality per value ("%.9g %s" with the unit), then the missing-answer modalities;
    // type 6.
    void Appliquer(CQuestionEtendue& target, bool withNoAnswer) const override;
    bool EstApplicable(const CQuestionEtendue& question) const override;
    // The portable form is the same text.
    using CRecodage::GetRegroupement;
    using CRecodage::SetRegroupement;
    std::string GetRegroupement() const override;
    void SetRegroupement(const std::string& text) override;
    std::string GetUnite() const override { return m_unite; }
    void SetUnite(const std::string& unit) override { m_unite = unit; }
    // The nearest-value mode.
    bool GetEstEntier() const override { return m_estPlusProche; }
    void SetEstEntier(bool nearest) override { m_estPlusProche = nearest; }
    int DonnerNombreValeurs() const override { return static_cast<int>(m_valeurs.size()); }
    // Exact mode: the first value within 1e-9 of x. Nearest mode: walking up from the first
    // value while the next one is strictly nearer (with ascending values the nearest value, ties
    // to the lower one). -5 without values or without an equal value.
    std::int16_t DonnerIndexValeur(double value) const override;

    // ---- The values, in the order given ----
    double DonnerValeur(int i) const { return m_valeurs.at(static_cast<std::size_t>(i)); }
    void ViderValeurs() { m_valeurs.clear(); }
    void AjouterValeur(double value) { m_valeurs.push_back(value); }

protected:
    std::unique_ptr<CRecodage> Clone() const override;

private:
    std::string m_unite;
    bool m_estPlusProche = false;
    std::vector<double> m_valeurs;
};
