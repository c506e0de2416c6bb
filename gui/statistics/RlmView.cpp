#include "gui/statistics/RlmView.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "framework/Document.h"
#include "gui/requests/AnalysisProfileChoice.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/statistics/OptionsCalculDlg.h"
#include "statistics/RegressionAnalysis.h"
#include "tabulation/TableauBase.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// The numeric questions, as the question selection dialog filters them.
constexpr std::int16_t kFiltreNumerique = 2;

QPushButton* Button(int id, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::number(id));
    return button;
}

} // namespace

CRlmView::CRlmView(QWidget* parent) : AnalysisFormView(parent) {
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    grid->addWidget(new QLabel(QStringLiteral("Question cible :"), controls), 0, 0);
    m_targetText = new QLabel(controls);
    m_targetText->setObjectName(QString::number(kTexteCible));
    m_targetText->setMinimumWidth(160);
    grid->addWidget(m_targetText, 0, 1, 1, 3);
    m_targetButton = Button(kCible, "...", controls);
    grid->addWidget(m_targetButton, 0, 4);
    m_explanatoryCount = AjouterCompteur(*grid, kCompteExplicatives, "Questions explicatives :", 1, 0);
    m_explanatoryButton = Button(kExplicatives, "...", controls);
    grid->addWidget(m_explanatoryButton, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Interviews :"), controls), 2, 0);
    m_activeCount = AjouterCompteur(*grid, kInterviewsActives, "Actives :", 2, 1);
    m_illustrativeCount = AjouterCompteur(*grid, kInterviewsIllustratives, "Illustratives :", 3, 1);
    m_interviewsButton = Button(kInterviews, "...", controls);
    grid->addWidget(m_interviewsButton, 2, 4);
    m_optionsButton = Button(kOptions, "&Options...", controls);
    m_recalculate = Button(kRecalculer, "&Recalculer", controls);
    grid->addWidget(m_optionsButton, 0, 5);
    grid->addWidget(m_recalculate, 1, 5);
    grid->setColumnStretch(6, 1);
    connect(m_targetButton, &QPushButton::clicked, this, [this] { OnCible(); });
    connect(m_explanatoryButton, &QPushButton::clicked, this, [this] { OnExplicatives(); });
    connect(m_interviewsButton, &QPushButton::clicked, this, [this] { OnInterviews(); });
    connect(m_optionsButton, &QPushButton::clicked, this, [this] { OnOptions(); });
    connect(m_recalculate, &QPushButton::clicked, this, [this] { OnRecalculer(); });
    SetControles(controls);
}

// The windows of the tables go with the results, before the analysis.
CRlmView::~CRlmView() {
    ViderResultats();
}

QLabel& CRlmView::GetTexte(Controle id) const {
    switch (id) {
    case kTexteCible: return *m_targetText;
    case kCompteExplicatives: return *m_explanatoryCount;
    case kInterviewsActives: return *m_activeCount;
    default: return *m_illustrativeCount;
    }
}

QPushButton& CRlmView::GetBouton(Controle id) const {
    switch (id) {
    case kCible: return *m_targetButton;
    case kExplicatives: return *m_explanatoryButton;
    case kInterviews: return *m_interviewsButton;
    case kOptions: return *m_optionsButton;
    default: return *m_recalculate;
    }
}

void CRlmView::OnInitialUpdate() {
    if (CDocument* document = GetDocument())
        document->SetTitle(QStringLiteral("RLM"));
    CContexteEtude* context = GetContexte();
    if (context == nullptr)
        return;
    m_analysis = std::make_unique<RegressionAnalysis>(*context);
    m_activeInterviews.assign(m_analysis->interviewsActives.begin(), m_analysis->interviewsActives.end());
    m_illustrativeInterviews.clear();
    AfficherComptes();
}

void CRlmView::AfficherComptes() {
    if (m_analysis == nullptr)
        return;
    m_targetText->setText(m_analysis->cible != nullptr ? QString::fromStdString(m_analysis->cible->GetCaption())
                                                        : QString());
    m_explanatoryCount->setText(QString::number(m_analysis->explicativesActives.GetNbreQuestions()));
    m_activeCount->setText(QString::number(m_activeInterviews.size()));
    m_illustrativeCount->setText(QString::number(m_illustrativeInterviews.size()));
}

void CRlmView::OnCible() {
    if (m_analysis == nullptr)
        return;
    CSelQuestionDlg dialog(kFiltreNumerique, m_analysis->cible, this);
    if (dialog.exec() != QDialog::Accepted || dialog.GetQuestion() == nullptr)
        return;
    m_analysis->cible = dialog.GetQuestion();
    AfficherComptes();
}

void CRlmView::OnExplicatives() {
    CContexteEtude* context = GetContexte();
    if (m_analysis == nullptr || context == nullptr)
        return;
    if (ChoisirProfilsAnalyse(*context, true, m_analysis->explicativesActives, m_analysis->explicativesIllustratives,
                              this))
        AfficherComptes();
}

void CRlmView::OnInterviews() {
    if (ChoisirInterviews(m_activeInterviews, m_illustrativeInterviews))
        AfficherComptes();
}

void CRlmView::OnOptions() {
    if (m_analysis == nullptr)
        return;
    COptionsCalculDlg dialog(false, m_analysis->modeValeursManquantes, this);
    if (dialog.exec() == QDialog::Accepted)
        m_analysis->modeValeursManquantes = dialog.DonnerOptions();
}

void CRlmView::OnRecalculer() {
    CContexteEtude* context = GetContexte();
    if (m_analysis == nullptr || context == nullptr)
        return;
    // The tables of the last run go with their windows, whatever this run gives.
    ViderResultats();
    context->PreparerLibellesInterviews();
    m_analysis->interviewsActives.assign(m_activeInterviews.begin(), m_activeInterviews.end());
    m_analysis->interviewsIllustratives.assign(m_illustrativeInterviews.begin(), m_illustrativeInterviews.end());
    if (!m_analysis->Recalculer())
        return;
    const ResultatsRegression& results = m_analysis->GetResultats();
    const int rows = m_analysis->GetNombreActives() + m_analysis->GetNombreIllustratives();
    const int coefficients = static_cast<int>(results.coefficients.size() / 3);
    using M = CTableauBase::Marque;
    AjouterTableau("Coefficients", results.coefficients.data(), coefficients, 3, RegressionAnalysis::kLignesCoefficients,
                   RegressionAnalysis::kColonnesCoefficients, M::kMarqueReel, rows);
    AjouterTableau("Résultats par interview", results.parInterview.data(), rows, 3,
                   RegressionAnalysis::kLignesInterviews, RegressionAnalysis::kColonnesInterviews, M::kMarqueReel, rows);
}

CLigne CRlmView::DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const {
    return m_analysis != nullptr ? m_analysis->DonnerLigne(genre, second, index)
                                 : AnalysisFormView::DonnerLigne(genre, second, index);
}
