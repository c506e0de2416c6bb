#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Recodage.h"

class CModalite;

// Intervals: a free numeric or date question turned into a closed one by ascending bounds. With n
// bounds there are n - 1 inner classes, [b_i, b_i+1[ when closed on the left (closed side 0) or
// ]b_i, b_i+1] when closed on the right, and optionally a class below the first bound and one
// above the last. Definition text: each bound with six significant digits, then "@".
class CRecodageIntervalle : public CRecodage {
public:
    explicit CRecodageIntervalle(CEnquete* survey);
    CRecodageIntervalle(const CRecodageIntervalle& other) = default;
    CRecodageIntervalle& operator=(const CRecodageIntervalle&) = delete;
    ~CRecodageIntervalle() override = default;

    // Date modes: -1 plain numbers; else dates, compared and shown whole (date and time), by
    // their day only, or by their time of day only.
    static constexpr std::int16_t kPlainNumbers = -1;
    static constexpr std::int16_t kDateAndTime = 0;
    static constexpr std::int16_t kDateOnly = 1;
    static constexpr std::int16_t kTimeOnly = 2;

    // ---- The recode's operations ----
    std::int16_t GetType() const override { return kIntervalle; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }
    // One modality per class with the survey's range captions in every language, then the
    // missing-answer modalities; type 7, or 1 in a date mode.
    void Appliquer(CQuestionEtendue& target, bool withNoAnswer) const override;
    bool EstApplicable(const CQuestionEtendue& question) const override;
    // The portable form is the same text.
    using CRecodage::GetRegroupement;
    using CRecodage::SetRegroupement;
    std::string GetRegroupement() const override;
    void SetRegroupement(const std::string& text) override;
    std::string GetUnite() const override { return m_unite; }
    void SetUnite(const std::string& unit) override { m_unite = unit; }
    // The closed side: 0 on the left, any other on the right.
    std::int16_t GetSousType() const override { return m_coteFerme; }
    void SetSousType(std::int16_t side) override { m_coteFerme = side; }
    // Whole numbers: the inner captions show the integers each class holds.
    bool GetEstEntier() const override { return m_estEntier; }
    void SetEstEntier(bool integers) override { m_estEntier = integers; }
    bool GetEstPlus() const override { return m_estPlus; }
    void SetEstPlus(bool above) override { m_estPlus = above; }
    bool GetEstMoins() const override { return m_estMoins; }
    void SetEstMoins(bool below) override { m_estMoins = below; }
    std::int16_t GetDateType() const override { return m_dateType; }
    void SetDateType(std::int16_t mode) override { m_dateType = mode; }
    // The bounds + the below class + the above class - 1; 0 without bounds.
    int DonnerNombreClasses() const override;
    // The class of a value (its day or time of day in those date modes); -5 outside every class.
    std::int16_t DonnerClasse(double value) const override;

    // ---- The bounds, ascending ----
    int DonnerNombreBornes() const { return static_cast<int>(m_bornes.size()); }
    double DonnerValeur(int i) const { return m_bornes.at(static_cast<std::size_t>(i)); }
    void ViderValeurs() { m_bornes.clear(); }
    void AjouterValeur(double bound) { m_bornes.push_back(bound); }

protected:
    std::unique_ptr<CRecodage> Clone() const override;

private:
    bool IsDateMode() const { return m_dateType != kPlainNumbers; }
    bool IsClosedOnTheRight() const { return m_coteFerme != 0; }
    // Whether x lies before the bound: below it, or at it too when closed on the right.
    bool LiesBefore(double x, double bound) const;
    std::string DateTextOf(double date) const;
    void CaptionBelow(CModalite& modality) const;
    void CaptionInner(CModalite& modality, double low, double high) const;
    void CaptionAbove(CModalite& modality) const;

    std::string m_unite;
    std::int16_t m_coteFerme = 0;
    bool m_estEntier = false;
    bool m_estPlus = false;
    bool m_estMoins = false;
    std::vector<double> m_bornes;
    std::int16_t m_dateType = kPlainNumbers;
};
