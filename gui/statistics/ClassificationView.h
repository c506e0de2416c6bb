#pragma once

#include "gui/statistics/GroupAnalysisView.h"

// The ascending hierarchical classification of the interviews: of their closed answers
// (analysis type 2) or of their numeric ones (type 3). "&Recalculer" merges the interviews, or
// the groups of a first typology of them, asks where to cut the tree and how much of it to draw,
// and lists the dendrogram and the description of every group of the cut.
class CClassificationView : public GroupAnalysisView {
    Q_OBJECT

public:
    enum { IDD = 219 };
    enum ControleClassification { kRecalculer = 1120, kGenerer = 1010 };
    static constexpr int kInterviewsMinimum = 3;

    explicit CClassificationView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void OnOptions() override;
    void OnRecalculer() override;

    void SetOptions(int radio, bool typologie, int groupes, int graine);
    bool GetTypologie() const { return m_typologie; }
    int GetGroupesDepart() const { return m_groupesDepart; }
    int GetGraine() const { return m_graine; }
    // The cut of the last run: groups of the partition and clusters drawn.
    int GetNbGroupes() const { return m_nbGroupes; }
    int GetNbGroupesAffiches() const { return m_nbAffiches; }

private:
    void Vider();
    bool Verifier() const;
    bool Classer();

    bool m_typologie = false;
    int m_groupesDepart = 10;
    int m_graine = 0;
    int m_nbGroupes = 0;
    int m_nbAffiches = 0;
};
