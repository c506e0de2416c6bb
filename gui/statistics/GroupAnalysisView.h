#pragma once

#include "gui/statistics/AnalysedRows.h"
#include "gui/statistics/AnalysisFormView.h"
#include "tabulation/Profil.h"

#include <cstdint>
#include <string>
#include <vector>

class CContexteEtude;
class CDataAccess;
class CMorvaneFactorielleDoc;
class QGridLayout;
class QLabel;
class QPushButton;
struct TableauDisjonctif;

// What the typology and the hierarchical classification windows share: the questions chosen
// (closed modalities, or numeric questions, as the document's analysis type says), the active
// and illustrative interviews, the data table built from them, and the tables that describe a
// group of rows against all the rows described.
class GroupAnalysisView : public AnalysisFormView {
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
    };
    // Label kinds of the result tables.
    enum Genre {
        kGenreGroupe = 0,
        kGenreResultatGroupe = 1,
        kGenreColonne = 2,
        kGenreDescriptionModalites = 3,
        kGenreInterview = 4,
        kGenreResultatInterview = 5,
        kGenreDescriptionNumerique = 6,
    };

    // A count of the form: its control id and caption.
    struct Compteur {
        int id;
        const char* caption;
    };

    virtual void OnSelection();
    void OnInterviews();
    virtual void OnOptions() = 0;
    virtual void OnRecalculer() = 0;

    // Numeric questions (analysis types 1 and 3) rather than closed modalities.
    bool EstNumerique() const;
    QLabel& GetCompte(int id) const;
    QPushButton& GetBouton(int id) const;

    CProfil& GetProfilActif() { return m_active; }
    CProfil& GetProfilIllustratif() { return m_illustrative; }
    std::vector<std::uint32_t>& GetInterviewsActives() { return m_activeInterviews; }
    std::vector<std::uint32_t>& GetInterviewsIllustratives() { return m_illustrativeInterviews; }
    int GetRadio() const { return m_radio; }
    void SetRadio(int radio) { m_radio = radio; }
    // The interview of each row of the last data table.
    const std::vector<std::int32_t>& GetInterviewsLignes() const { return m_rows.Interviews(); }
    virtual void AfficherComptes();

    CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const override;
    std::string DonnerLibelleLigne(std::int32_t index) const override;
    std::string DonnerLibelleColonne(std::int32_t index) const override;

protected:
    // The form: the counts shown (the illustrative interviews' one or not; or those given, two
    // to a row), then the buttons, each connected to its action, in a row beside them.
    struct Bouton {
        int id;
        const char* text;
        void (GroupAnalysisView::*action)();
    };
    GroupAnalysisView(bool illustrativeInterviewsCount, const std::vector<Bouton>& buttons, QWidget* parent);
    GroupAnalysisView(const std::vector<Compteur>& counts, const std::vector<Bouton>& buttons, QWidget* parent);

    CContexteEtude* Context() const;
    // The form's grid, for the controls of one analysis (row 2 is free).
    QGridLayout& Grille() const { return *m_grid; }
    // Every interview active, none illustrative; the title of the document given.
    void Initialiser(const char* title);
    int ColonnesActivesChoisies() const;
    int NombreInterviewsActives() const { return static_cast<int>(m_activeInterviews.size()); }
    // The data table of the chosen questions and interviews at level 0: false, told to the
    // analyst when there is something to tell, when it cannot be built or keeps no active row.
    virtual bool ConstruireTableau();
    // A 0/1 table the analysis built itself, kept as the data table of the run.
    void GarderModalites(TableauDisjonctif table);
    void ViderTableau();
    // A "Groupe n" table per group: its rows (indexes among the first `rows` rows of the data
    // table) described against those rows, column by column; its base is the group's size.
    void AjouterDescriptions(const std::vector<std::vector<std::int32_t>>& groups, int rows);
    const std::uint8_t* Modalites() const { return m_disjunctive.data(); }
    const double* Valeurs() const { return m_numeric.data(); }

    int m_lignesActives = 0;
    int m_lignesIllustratives = 0;
    int m_colonnesActives = 0;
    int m_colonnesIllustratives = 0;
    // The groups of the tables by group ("Groupe 1" .. "Groupe k", then "Total").
    int m_nbGroupesResultats = 0;

private:
    CMorvaneFactorielleDoc* GetFactorielleDoc() const;
    template <class Table, class Cells> bool Garder(bool built, const CDataAccess& access, Table& table, Cells& cells);
    template <class Table, class Cells> void Prendre(Table& table, Cells& cells);

    QGridLayout* m_grid;
    std::vector<QLabel*> m_counts;
    std::vector<QPushButton*> m_buttons;
    CProfil m_active;
    CProfil m_illustrative;
    std::vector<std::uint32_t> m_activeInterviews;
    std::vector<std::uint32_t> m_illustrativeInterviews;
    int m_radio = 0;
    AnalysedRows m_rows;
    std::vector<double> m_numeric;
    std::vector<std::uint8_t> m_disjunctive;
};
