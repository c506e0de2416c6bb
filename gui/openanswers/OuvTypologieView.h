#pragma once

#include "gui/statistics/TypologieView.h"

#include <vector>

class COuvCorpus;

// The typology of the interviews by the words of their answer to an open question: the analyst
// chooses active and illustrative forms of the question's corpus ("&Formes..."), and the run
// groups the interviews as the typology of closed questions does, over the table of the forms
// each interview's answer holds (a form grouped into a lemma counts for the lemma), a form in
// the place of a modality. Every interview of the survey is a row, so the question "&Générer..."
// makes answers for every interview.
class COuvTypologieView : public CTypologieView {
    Q_OBJECT

public:
    enum { IDD = 248 };
    enum ControleOuvTypologie { kFormes = 1161, kFormesActives = 1162, kFormesIllustratives = 1163 };

    explicit COuvTypologieView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    // "&Formes...": the active and illustrative forms chosen in "Sélection des formes".
    void OnSelection() override;
    void AfficherComptes() override;

    const std::vector<int>& GetFormesActives() const { return m_actives; }
    const std::vector<int>& GetFormesIllustratives() const { return m_illustratives; }

protected:
    // Without a form the run still goes, and the engine says that no start rows can be drawn.
    bool ColonnesSuffisantes() override { return true; }
    bool ConstruireTableau() override;

private:
    COuvCorpus* Corpus() const;

    std::vector<int> m_actives;
    std::vector<int> m_illustratives;
};
