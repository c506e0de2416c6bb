#pragma once

#include "gui/statistics/GroupAnalysisView.h"

#include <vector>

class QSpinBox;

// The typology by moving centres of the interviews: of their closed answers (analysis type 0)
// or of their numeric ones (type 1). "&Recalculer" runs it with the number of groups and the
// options chosen and lists the results per group, per interview and the description of every
// group; "&Générer..." turns the groups into a new closed question of the survey.
class CTypologieView : public GroupAnalysisView {
    Q_OBJECT

public:
    enum { IDD = 216 };
    enum ControleTypologie { kRecalculer = 1084, kGenerer = 1159, kNombreGroupes = 1121 };
    static constexpr int kGroupesDefaut = 5;
    static constexpr int kGroupesMinimum = 2;
    static constexpr int kGroupesMaximum = 30;

    explicit CTypologieView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void OnOptions() override;
    void OnRecalculer() override;
    void OnGenerer();

    QSpinBox& GetNombreGroupes() const { return *m_groups; }
    bool EstCalcule() const { return m_calcule; }
    bool GetStabilite() const { return m_stabilite; }
    int GetNombre() const { return m_nombre; }
    void SetOptions(bool stabilite, int nombre, int radio);
    const std::vector<double>& GetParIndividu() const { return m_parIndividu; }
    const std::vector<double>& GetParGroupe() const { return m_parGroupe; }

protected:
    // A typology of other columns: its own counts and buttons (Recalculer and Générer among
    // them), the number of groups below them.
    CTypologieView(const std::vector<Compteur>& counts, const std::vector<Bouton>& buttons, QWidget* parent);
    // Whether the columns chosen can be grouped; false after telling the analyst why.
    virtual bool ColonnesSuffisantes();

private:
    void AjouterNombreGroupes();
    void Vider();
    bool Executer(int k);
    void AjouterResultats(int k);

    QSpinBox* m_groups;
    bool m_stabilite = false;
    int m_nombre = 0;
    bool m_calcule = false;
    int m_groupesCalcules = 0;
    std::vector<double> m_parIndividu;
    std::vector<double> m_parGroupe;
};
