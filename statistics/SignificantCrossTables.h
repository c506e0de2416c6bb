#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tabulation/Profil.h"

class CContexteEtude;
class CTableau;

// The search for significant cross tables: every pair of a question of the row profile by a
// question of the column profile is tested for independence (the chi-square of the independence
// test window, through the tabulation engine's crossing), and each pair whose risk of error is at
// most the threshold is computed as a cross table request by the tabulation runner. The window
// lists the tables found with their risk, sorted by risk; a double click opens one.
//
// The scan shows its progress through the context's user interface; when the user cancels, the
// tables found so far are kept. A pair with no test (ruling of the degrees of freedom: fewer than
// two non-empty modalities on a side) has no risk and is never listed.
class SignificantCrossTables {
public:
    struct Resultat {
        std::string nom;                  // "row caption x column caption"
        double risque = 0.0;              // per cent
        std::unique_ptr<CTableau> tableau;
    };
    enum Colonne : int { kNom = 0, kProbabilite = 1 };

    // The study field and the weighting start as the context's.
    explicit SignificantCrossTables(CContexteEtude& context);
    ~SignificantCrossTables();
    SignificantCrossTables(const SignificantCrossTables&) = delete;
    SignificantCrossTables& operator=(const SignificantCrossTables&) = delete;

    CProfil& GetProfilLignes() { return m_rows; }
    CProfil& GetProfilColonnes() { return m_columns; }
    void SetChampEtude(std::int32_t id, std::string text);
    void SetRedressement(std::int32_t id, std::string text);
    std::int32_t GetChampEtude() const { return m_studyField; }
    std::int32_t GetRedressement() const { return m_weighting; }
    const std::string& GetTexteChampEtude() const { return m_studyFieldText; }
    const std::string& GetTexteRedressement() const { return m_weightingText; }
    // The threshold in per cent, 0 to 100 (10 at first).
    int seuil = 10;

    // The scan: the previous results go, then every pair is tested. False with message 63424
    // (no row question) or 63425 (no column question) shown and nothing done; a crossing that
    // fails shows the engine's text and ends the scan with the tables found so far, as a cancel
    // does. The results are then sorted by ascending risk.
    bool Recalculer();

    const std::vector<Resultat>& GetResultats() const { return m_results; }
    // Takes the table of result i (for a window that shows it); the entry stays listed.
    std::unique_ptr<CTableau> PrendreTableau(std::size_t i);
    // Sorts ascending on the list's column: the names in byte order, or the risks as numbers.
    void Trier(int colonne);
    // The text of the list's cell: the name, or the risk with "%0.3lf".
    std::string TexteCellule(std::size_t i, int colonne) const;

private:
    class Scan;

    CContexteEtude& m_context;
    CProfil m_rows;
    CProfil m_columns;
    std::int32_t m_studyField = -1;
    std::int32_t m_weighting = -1;
    std::string m_studyFieldText;
    std::string m_weightingText;
    std::vector<Resultat> m_results;
};
