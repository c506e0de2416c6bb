#pragma once

#include <array>
#include <cstdint>

#include "presentation/PoliceAna.h"

class CArchiveVersion;

// The look of a result table: four fonts, orientation of the table and of its pages, digits
// shown, title lines, and the three line styles of its grid. Every request and result table
// holds one. A new record takes the user's saved defaults.
class CPresentationTableau {
public:
    // Line styles of the grid (the *BorderType fields); any other value draws no line.
    enum LineStyle : std::uint16_t { kNoLine = 0, kSolidLine = 1, kDashedLine = 2, kDottedLine = 3 };

    // The built-in values, then every field from the user's saved defaults.
    CPresentationTableau();

    const CPoliceAna& GetQuestion() const { return m_question; }
    void SetQuestion(const CPoliceAna& police) { m_question = police; }
    const CPoliceAna& GetLigne() const { return m_ligne; }
    void SetLigne(const CPoliceAna& police) { m_ligne = police; }
    const CPoliceAna& GetColonne() const { return m_colonne; }
    void SetColonne(const CPoliceAna& police) { m_colonne = police; }
    const CPoliceAna& GetCellule() const { return m_cellule; }
    void SetCellule(const CPoliceAna& police) { m_cellule = police; }

    std::uint16_t GetThinBorderSize() const { return m_thinBorderSize; }
    void SetThinBorderSize(std::uint16_t valeur) { m_thinBorderSize = valeur; }
    std::uint16_t GetThinBorderType() const { return m_thinBorderType; }
    void SetThinBorderType(std::uint16_t valeur) { m_thinBorderType = valeur; }
    std::uint16_t GetNormalBorderSize() const { return m_normalBorderSize; }
    void SetNormalBorderSize(std::uint16_t valeur) { m_normalBorderSize = valeur; }
    std::uint16_t GetNormalBorderType() const { return m_normalBorderType; }
    void SetNormalBorderType(std::uint16_t valeur) { m_normalBorderType = valeur; }
    std::uint16_t GetThickBorderSize() const { return m_thickBorderSize; }
    void SetThickBorderSize(std::uint16_t valeur) { m_thickBorderSize = valeur; }
    std::uint16_t GetThickBorderType() const { return m_thickBorderType; }
    void SetThickBorderType(std::uint16_t valeur) { m_thickBorderType = valeur; }

    // 0 answers in rows, otherwise the table is shown transposed.
    std::uint16_t GetOrientation() const { return m_orientation; }
    void SetOrientation(std::uint16_t valeur) { m_orientation = valeur; }
    // 0 portrait pages, otherwise landscape.
    std::uint16_t GetTypePage() const { return m_typePage; }
    void SetTypePage(std::uint16_t valeur) { m_typePage = valeur; }
    // Digits after the decimal point for counts, percentages and real values.
    std::uint16_t GetEffectif() const { return m_effectif; }
    void SetEffectif(std::uint16_t valeur) { m_effectif = valeur; }
    std::uint16_t GetPourcentage() const { return m_pourcentage; }
    void SetPourcentage(std::uint16_t valeur) { m_pourcentage = valeur; }
    std::uint16_t GetReel() const { return m_reel; }
    void SetReel(std::uint16_t valeur) { m_reel = valeur; }

    // Three further words that stored tables carry: kept, copied and stored, never interpreted.
    static constexpr int kReservedValueCount = 3;
    std::int32_t GetReservedValue(int index) const;
    void SetReservedValue(int index, std::int32_t valeur);

    bool GetEstPourcent() const { return m_estPourcent; }
    void SetEstPourcent(bool valeur) { m_estPourcent = valeur; }
    bool GetEstTitreAuDessus() const { return m_estTitreAuDessus; }
    void SetEstTitreAuDessus(bool valeur) { m_estTitreAuDessus = valeur; }
    bool GetEstTitreBase() const { return m_estTitreBase; }
    void SetEstTitreBase(bool valeur) { m_estTitreBase = valeur; }
    bool GetEstTitreChamp() const { return m_estTitreChamp; }
    void SetEstTitreChamp(bool valeur) { m_estTitreChamp = valeur; }
    bool GetEstTitreRedressement() const { return m_estTitreRedressement; }
    void SetEstTitreRedressement(bool valeur) { m_estTitreRedressement = valeur; }
    bool GetEstTitreLevel() const { return m_estTitreLevel; }
    void SetEstTitreLevel(bool valeur) { m_estTitreLevel = valeur; }

    bool operator==(const CPresentationTableau&) const = default;

    // The first archive version that stores EstTitreLevel.
    static constexpr int kVersionTitreLevel = 405;

    // Archive, the same order both ways, the version being the archive's: the fonts Question,
    // Ligne, Colonne, Cellule; 16-bit Orientation, TypePage, Effectif, Pourcentage, Reel; 32-bit
    // the three further values and EstPourcent; 32-bit EstTitreAuDessus, EstTitreBase,
    // EstTitreChamp, EstTitreRedressement; from version 405 on 32-bit EstTitreLevel (an older
    // archive leaves it as it was); 16-bit ThinBorderSize, ThinBorderType, NormalBorderSize,
    // NormalBorderType, ThickBorderSize, ThickBorderType. Loading replaces the record only once
    // all is read.
    void Serialize(CArchiveVersion& archive);

private:
    // Stores or loads every field in the archive's order.
    void Transfer(CArchiveVersion& archive);

    // The constructor takes every value below from the user's saved defaults, whose built-in
    // values are the registry reader's (CRegistre::ReadPresentationTableau).
    CPoliceAna m_question;
    CPoliceAna m_ligne;
    CPoliceAna m_colonne;
    CPoliceAna m_cellule;
    std::uint16_t m_thinBorderSize = 0;
    std::uint16_t m_thinBorderType = 0;
    std::uint16_t m_normalBorderSize = 0;
    std::uint16_t m_normalBorderType = 0;
    std::uint16_t m_thickBorderSize = 0;
    std::uint16_t m_thickBorderType = 0;
    std::uint16_t m_orientation = 0;
    std::uint16_t m_typePage = 0;
    std::uint16_t m_effectif = 0;
    std::uint16_t m_pourcentage = 0;
    std::uint16_t m_reel = 0;
    std::array<std::int32_t, kReservedValueCount> m_reservedValues{};
    bool m_estPourcent = false;
    bool m_estTitreAuDessus = false;
    bool m_estTitreBase = false;
    bool m_estTitreChamp = false;
    bool m_estTitreRedressement = false;
    bool m_estTitreLevel = false;
};
