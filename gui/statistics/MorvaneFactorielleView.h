#pragma once

#include "gui/statistics/AnalysedRows.h"
#include "gui/statistics/FactorFormView.h"
#include "tabulation/Profil.h"

#include <cstdint>
#include <string>
#include <vector>

class CContexteEtude;
class CDataAccess;
class CMorvaneFactorielleDoc;
class QLabel;
class QPushButton;

// The factor analysis of questions on the interviews: principal components of numeric questions
// (analysis type 4) or multiple correspondence analysis of closed questions (type 5). The analyst
// chooses the active and illustrative questions ("&Sélection..."), the active and illustrative
// interviews ("&Interviews..."), what becomes of missing values or how modalities are labelled
// ("&Options..."); "&Recalculer" builds the data table, runs the engine, asks for the number of
// axes and lists the result tables and the maps of every pair of axes; "&Générer..." turns one
// result per interview into a new numeric question of the survey.
class CMorvaneFactorielleView : public FactorFormView {
    Q_OBJECT

public:
    enum Controle {
        kActives = 1113,
        kIllustratives = 1114,
        kInterviewsActives = 1115,
        kInterviewsIllustratives = 1116,
        kSelection = 1006,
        kInterviews = 1118,
        kOptions = 1136,
        kRecalculer = 1084,
        kGenerer = 1159,
    };
    // Label kinds of the result tables.
    enum Genre { kGenreInterview = 0, kGenreAxe = 1, kGenreColonne = 2, kGenreValeurPropre = 3 };

    explicit CMorvaneFactorielleView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;

    void OnSelection();
    void OnInterviews();
    void OnOptions();
    void OnRecalculer();
    void OnGenerer();

    bool EstAcp() const;
    QLabel& GetCompte(Controle id) const;
    QPushButton& GetBouton(Controle id) const;
    // The interview (record) of each row of the last data table.
    const std::vector<std::int32_t>& GetInterviewsLignes() const { return m_rows.Interviews(); }

    // What the window analyses; the dialogs write here.
    CProfil& GetProfilActif() { return m_active; }
    CProfil& GetProfilIllustratif() { return m_illustrative; }
    std::vector<std::uint32_t>& GetInterviewsActives() { return m_activeInterviews; }
    std::vector<std::uint32_t>& GetInterviewsIllustratives() { return m_illustrativeInterviews; }
    int GetOptions() const { return m_options; }
    void SetOptions(int options) { m_options = options; }
    // The counts shown again after the profiles or interviews changed.
    void AfficherComptes();

    // ---- Data source of the tables and maps ----
    CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const override;
    std::string DonnerLibelleLigne(std::int32_t index) const override;
    std::string DonnerLibelleColonne(std::int32_t index) const override;
    bool DonnerQuestion() const override { return true; }
    std::vector<double> DonnerModalite(CQuestionEtendue& question) const override;
    std::vector<double> DonnerValeur(CQuestionEtendue& question) const override;

private:
    CMorvaneFactorielleDoc* GetFactorielleDoc() const;
    CContexteEtude* Context() const;
    void ClearAll();
    bool RunAcp(CContexteEtude& context);
    bool RunAcm(CContexteEtude& context);
    // The steps the two analyses share: keeps the data table the data layer built (its cells,
    // interviews and column labels), runs the engine on it and lets the analyst choose the number
    // of axes; false, told to the analyst, at the first step that fails.
    template <class Engine, class Table, class Cells, class Results>
    bool RunEngine(bool built, const CDataAccess& access, Table& table, Cells& cells, bool trivialAxis,
                   Results& results);
    void AddAcpResults();
    void AddAcmResults();
    // The generated question's value for every interview: the result on the axis for the rows
    // that have one, not asked for the others.
    std::vector<double> ValeursParInterview(int result, int axis) const;

    QLabel* m_counts[4]{};
    QPushButton* m_selection;
    QPushButton* m_interviews;
    QPushButton* m_optionsButton;
    QPushButton* m_recalculate;
    QPushButton* m_generate;

    CProfil m_active;
    CProfil m_illustrative;
    std::vector<std::uint32_t> m_activeInterviews;
    std::vector<std::uint32_t> m_illustrativeInterviews;
    int m_options = 0;

    AnalysedRows m_rows;
    std::vector<double> m_numeric;
    std::vector<std::uint8_t> m_disjunctive;
};
