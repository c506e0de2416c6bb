#include "statistics/SignificantCrossTables.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/OneStateScope.h"
#include "app/StringTable.h"
#include "statistics/IndependenceCrossing.h"
#include "tabulation/AxesTraitement.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

// The calculations of the listed tables: counts, row profiles and significance marks.
constexpr std::int32_t kKeptCalculations[] = {0, 1, 4};

std::string CaptionOf(const CProfil& profile, int line) { return profile.GetQuestion(line)->GetCaption(); }

} // namespace

// One run of the search: the request every listed table is copied from, and the pairs walked with
// the progress shown.
class SignificantCrossTables::Scan {
public:
    explicit Scan(SignificantCrossTables& owner) : m_owner(owner), m_engine(owner.m_context) { MakeTemplate(); }

    void Run() {
        UserInterface& ui = m_owner.m_context.GetUserInterface();
        const CProfil& rows = m_owner.m_rows;
        const CProfil& columns = m_owner.m_columns;
        ui.BeginProgress(Message(StringTable::kTableauxCroisesSignificatifs),
                         rows.GetNbreQuestions() * columns.GetNbreQuestions());
        int step = 0;
        bool going = true;
        for (int i = 0; going && i < rows.GetCount(); ++i) {
            if (rows.IsSeparator(i))
                continue;
            for (int j = 0; going && j < columns.GetCount(); ++j) {
                if (columns.IsSeparator(j))
                    continue;
                going = ui.ReportProgress(step++) && TestPair(i, j);
            }
        }
        ui.EndProgress();
    }

private:
    void MakeTemplate() {
        const CContexteEtude& context = m_owner.m_context;
        m_template.type = CTraitement::kTriCroise;
        m_template.SetProfilAxe(&m_owner.m_rows, CTraitement::kLignes);
        m_template.SetProfilAxe(&m_owner.m_columns, CTraitement::kColonnes);
        m_template.SetTotalAxe(CTraitement::kLignes, 1);
        m_template.SetTotalAxe(CTraitement::kColonnes, 1);
        m_template.level = context.currentLevel;
        m_template.studyFieldId = m_owner.m_studyField;
        m_template.studyFieldName = m_owner.m_studyFieldText;
        m_template.weightingId = m_owner.m_weighting;
        m_template.weightingName = m_owner.m_weightingText;
        std::vector<std::unique_ptr<CCalcul>> calculations;
        m_owner.m_context.DonnerCalculsCroises(calculations);
        std::erase_if(calculations, [](const auto& calculation) {
            return std::find(std::begin(kKeptCalculations), std::end(kKeptCalculations), calculation->code) ==
                   std::end(kKeptCalculations);
        });
        m_template.SetCalculsLignes(calculations);
    }

    // False when the scan must end: the pair could not be crossed.
    bool TestPair(int i, int j) {
        IndependenceCrossing crossing;
        std::string error;
        if (!IndependenceCrossing::Croiser(m_engine, m_owner.m_rows, i, m_owner.m_columns, j, m_template.level,
                                           m_template.studyFieldId, m_template.weightingId, crossing, error)) {
            m_owner.m_context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Error);
            return false;
        }
        const double risk = crossing.Risque();
        if (crossing.EstTestable() && risk <= m_owner.seuil)
            ListPair(i, j, risk);
        return true;
    }

    void ListPair(int i, int j, double risk) {
        const CProfil& rows = m_owner.m_rows;
        const CProfil& columns = m_owner.m_columns;
        auto request = std::make_unique<CTraitement>(m_template);
        AxesTraitement::AjouterAxeAvecTotal(*request, rows, i, CTraitement::kLignes, true);
        AxesTraitement::AjouterAxeAvecTotal(*request, columns, j, CTraitement::kColonnes, true);
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        const std::string name =
            StringTable::Format(Message(StringTable::kNomTableauCroise, {CaptionOf(rows, i), CaptionOf(columns, j)}));
        request->title = name;
        CExecuteurTraitement runner(m_owner.m_context);
        runner.Executer(std::move(request));
        for (std::unique_ptr<CTableau>& table : runner.TakeTableaux())
            m_owner.m_results.push_back(Resultat{name, risk, std::move(table)});
    }

    SignificantCrossTables& m_owner;
    CMoteurTableau m_engine;
    CTraitement m_template;
};

SignificantCrossTables::SignificantCrossTables(CContexteEtude& context)
    : m_context(context), m_studyField(context.universeCode), m_weighting(context.weightingCode),
      m_studyFieldText(context.universeLabel), m_weightingText(context.weightingLabel) {}

SignificantCrossTables::~SignificantCrossTables() = default;

void SignificantCrossTables::SetChampEtude(std::int32_t id, std::string text) {
    m_studyField = id;
    m_studyFieldText = std::move(text);
}

void SignificantCrossTables::SetRedressement(std::int32_t id, std::string text) {
    m_weighting = id;
    m_weightingText = std::move(text);
}

bool SignificantCrossTables::Recalculer() {
    UserInterface& ui = m_context.GetUserInterface();
    if (m_rows.GetNbreQuestions() == 0) {
        ui.ShowMessage(Message(StringTable::kSelectionnerQuestionsEnLigne), UserInterface::Icon::Warning);
        return false;
    }
    if (m_columns.GetNbreQuestions() == 0) {
        ui.ShowMessage(Message(StringTable::kSelectionnerQuestionsEnColonne), UserInterface::Icon::Warning);
        return false;
    }
    WaitCursor wait(ui);
    m_results.clear();
    // Every pair of one committed state of the file.
    const OneStateScope oneState(m_context);
    if (oneState.Refusal().id != 0) {
        ui.ShowMessage(oneState.Refusal(), UserInterface::Icon::Warning);
        return false;
    }
    Scan(*this).Run();
    Trier(kProbabilite);
    return true;
}

std::unique_ptr<CTableau> SignificantCrossTables::PrendreTableau(std::size_t i) {
    return i < m_results.size() ? std::move(m_results[i].tableau) : nullptr;
}

void SignificantCrossTables::Trier(int colonne) {
    if (colonne == kNom)
        std::stable_sort(m_results.begin(), m_results.end(),
                         [](const Resultat& a, const Resultat& b) { return a.nom < b.nom; });
    else
        std::stable_sort(m_results.begin(), m_results.end(),
                         [](const Resultat& a, const Resultat& b) { return a.risque < b.risque; });
}

std::string SignificantCrossTables::TexteCellule(std::size_t i, int colonne) const {
    if (i >= m_results.size())
        return std::string();
    if (colonne == kNom)
        return m_results[i].nom;
    char text[64];
    std::snprintf(text, sizeof text, "%0.3lf", m_results[i].risque);
    return text;
}
