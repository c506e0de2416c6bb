#pragma once

#include "gui/statistics/AnalysisFormView.h"

#include <cstdint>
#include <memory>
#include <vector>

class RegressionAnalysis;
class QLabel;
class QPushButton;

// "Régression linéaire multiple": a numeric target question ("Question cible :") explained by the
// active numeric questions of the explanatory profiles, over the active interviews (the
// illustrative ones only fitted). "&Recalculer" lists two result tables, "Coefficients" and
// "Résultats par interview"; a double click opens one.
class CRlmView : public AnalysisFormView {
    Q_OBJECT

public:
    enum Controle {
        kTexteCible = 1080,
        kCible = 1006,
        kExplicatives = 1173,
        kCompteExplicatives = 1113,
        kInterviews = 1118,
        kInterviewsActives = 1115,
        kInterviewsIllustratives = 1116,
        kOptions = 1136,
        kRecalculer = 1084,
    };

    explicit CRlmView(QWidget* parent = nullptr);
    ~CRlmView() override;

    void OnInitialUpdate() override;

    void OnCible();
    void OnExplicatives();
    void OnInterviews();
    void OnOptions();
    void OnRecalculer();

    RegressionAnalysis* GetAnalyse() const { return m_analysis.get(); }
    // The interview lists the dialog edits; they enter the next run.
    std::vector<std::uint32_t>& GetInterviewsActives() { return m_activeInterviews; }
    std::vector<std::uint32_t>& GetInterviewsIllustratives() { return m_illustrativeInterviews; }
    QLabel& GetTexte(Controle id) const;
    QPushButton& GetBouton(Controle id) const;
    void AfficherComptes();

    CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const override;

private:
    QLabel* m_targetText;
    QLabel* m_explanatoryCount;
    QLabel* m_activeCount;
    QLabel* m_illustrativeCount;
    QPushButton* m_targetButton;
    QPushButton* m_explanatoryButton;
    QPushButton* m_interviewsButton;
    QPushButton* m_optionsButton;
    QPushButton* m_recalculate;
    std::unique_ptr<RegressionAnalysis> m_analysis;
    std::vector<std::uint32_t> m_activeInterviews;
    std::vector<std::uint32_t> m_illustrativeInterviews;
};
