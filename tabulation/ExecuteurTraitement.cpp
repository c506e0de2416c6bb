#include "tabulation/ExecuteurTraitement.h"

#include <array>
#include <limits>
#include <string>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/OneStateScope.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "tabulation/ValeursDerivees.h"

namespace {

using Compute = void (CExecuteurTraitement::*)(std::unique_ptr<CTraitement>);

// Matches any kind or type code.
constexpr std::int16_t kAny = std::numeric_limits<std::int16_t>::min();

// One line of the dispatch table. A line with a name and no function is a table this program
// cannot compute yet (the user is told so); a line with neither makes a known pair of kinds that
// computes nothing.
struct Dispatch {
    std::int16_t rowKind;
    std::int16_t columnKind;
    std::int16_t type;
    const char* name;
    Compute compute;
};

using E = CExecuteurTraitement;

// Read top to bottom, the first line that matches wins. A pair of kinds that some line names is
// known: with a type code that no line of the pair takes, nothing is computed.
constexpr std::array kDispatch = {
    Dispatch{0, 0, 2, "CalculerTriCroise", &E::CalculerTriCroise},
    Dispatch{0, 0, 16, "CalculerTauxImportanceCroise", &E::CalculerTauxImportanceCroise},
    Dispatch{0, 4, 1, "CalculerTriSimple", &E::CalculerTriSimple},
    Dispatch{0, 4, 11, "CalculerTriClassement", &E::CalculerTriClassement},
    Dispatch{0, 4, 15, "CalculerTraitementMixte", &E::CalculerTraitementMixte},
    Dispatch{0, 5, kAny, "CalculerTableauMoyenne", &E::CalculerTableauMoyenne},
    Dispatch{1, 0, kAny, "CalculerTriCroiseRegroupe", &E::CalculerTriCroiseRegroupe},
    Dispatch{1, 4, kAny, "CalculerTriRegroupe", &E::CalculerTriRegroupe},
    Dispatch{2, 2, 8, "CalculerProfilsCroises", &E::CalculerProfilsCroises},
    Dispatch{2, 2, 14, "CalculerTableauxEvolues", &E::CalculerTableauxEvolues},
    Dispatch{2, 3, kAny, "CalculerProfilsCroisesMoyenne", &E::CalculerProfilsCroisesMoyenne},
    Dispatch{2, 4, 4, "CalculerProfilsSimples", &E::CalculerProfilsSimples},
    Dispatch{2, 4, 10, "CalculerComparaisonModalites", &E::CalculerComparaisonModalites},
    Dispatch{3, 4, kAny, "CalculerProfilsStatistiques", &E::CalculerProfilsStatistiques},
    Dispatch{5, kAny, kAny, "CalculerTableauStatistiques", &E::CalculerTableauStatistiques},
    Dispatch{6, -1, kAny, "ConstruireTableauReponses", &E::ConstruireTableauReponses},
    Dispatch{6, 4, 19, "ConstruireTableauDictionnaire", &E::ConstruireTableauDictionnaire},
    Dispatch{6, 4, 20, "ConstruireTableauSegments", &E::ConstruireTableauSegments},
    Dispatch{6, 6, kAny, "ConstruireTableauReponsesSelon", &E::ConstruireTableauReponsesSelon},
    Dispatch{7, -1, kAny, "CalculerProfilsOuvertes", &E::CalculerProfilsOuvertes},
    // Open answers by any other column kind: known, nothing to compute.
    Dispatch{6, kAny, kAny, "", nullptr},
    Dispatch{7, kAny, kAny, "", nullptr},
};

bool Matches(std::int16_t wanted, std::int16_t value) {
    return wanted == kAny || wanted == value;
}

// The line for the combination; `pairKnown` tells whether some line names the pair of kinds.
const Dispatch* Find(std::int16_t rowKind, std::int16_t columnKind, std::int16_t type, bool& pairKnown) {
    pairKnown = false;
    for (const Dispatch& line : kDispatch) {
        if (!Matches(line.rowKind, rowKind) || !Matches(line.columnKind, columnKind))
            continue;
        pairKnown = true;
        if (Matches(line.type, type))
            return &line;
    }
    return nullptr;
}

} // namespace

CExecuteurTraitement::CExecuteurTraitement(CContexteEtude& context) : m_context(context) {}

CExecuteurTraitement::~CExecuteurTraitement() = default;

int CExecuteurTraitement::Executer(std::unique_ptr<CTraitement> request) {
    WaitCursor wait(m_context.GetUserInterface());
    // Every table of the request reads one committed state of the questionnaire.
    const OneStateScope oneState(m_context);
    if (oneState.Refusal().id != 0) {
        m_failures.push_back(StringTable::Format(oneState.Refusal()));
        m_context.GetUserInterface().ShowMessage(oneState.Refusal(), UserInterface::Icon::Warning);
        return 0;
    }
    return Calculer(std::move(request));
}

int CExecuteurTraitement::Calculer(std::unique_ptr<CTraitement> request) {
    if (!request)
        return 0;
    // A request computes its parts through this very function: the notes on its weights belong
    // to the outermost call.
    const bool outermost = m_depth++ == 0;
    if (outermost)
        m_context.GetWeightingNotes().Clear();
    const int done = RunDispatched(std::move(request));
    if (--m_depth == 0) {
        for (const std::string& message : m_context.GetWeightingNotes().TakeUnshown())
            m_context.GetUserInterface().ShowMessage(Message::Text(message), UserInterface::Icon::Warning);
    }
    return done;
}

int CExecuteurTraitement::RunDispatched(std::unique_ptr<CTraitement> request) {
    const std::int16_t rowKind = request->GetTypeAxe(CTraitement::kLignes);
    const std::int16_t columnKind = request->GetTypeAxe(CTraitement::kColonnes);
    bool pairKnown = false;
    const Dispatch* line = Find(rowKind, columnKind, request->type, pairKnown);
    if (!pairKnown) {
        m_context.GetUserInterface().ShowMessage(
            Message(StringTable::kTraitementInconnu,
                    {std::to_string(rowKind), std::to_string(columnKind), std::to_string(request->type)}),
            UserInterface::Icon::Warning);
        return 0;
    }
    if (line == nullptr || line->compute == nullptr) {
        if (line != nullptr && *line->name != '\0')
            m_context.GetUserInterface().ShowMessage(Message(StringTable::kTraitementNonDisponible, {line->name}),
                                                     UserInterface::Icon::Information);
        return 1;
    }
    // A sub-request names itself while it runs; its parent's name comes back after it.
    const std::string parent = std::exchange(m_computing, request->title.empty() ? line->name : request->title);
    (this->*line->compute)(std::move(request));
    m_computing = parent;
    return 1;
}

const char* CExecuteurTraitement::DonnerNomCalcul(std::int16_t rowKind, std::int16_t columnKind, std::int16_t type) {
    bool pairKnown = false;
    const Dispatch* line = Find(rowKind, columnKind, type, pairKnown);
    if (!pairKnown)
        return nullptr;
    return line != nullptr ? line->name : "";
}

void CExecuteurTraitement::AjouterTableau(std::unique_ptr<CTableau> table) {
    if (table)
        m_tables.push_back(std::move(table));
}

CTableau* CExecuteurTraitement::GetTableau(int i) const {
    if (i < 0 || i >= GetNbTableaux())
        return nullptr;
    return m_tables[static_cast<std::size_t>(i)].get();
}

std::vector<std::unique_ptr<CTableau>> CExecuteurTraitement::TakeTableaux() {
    return std::exchange(m_tables, {});
}

double CExecuteurTraitement::CalculerValeursTriRegroupe(std::vector<double>& rows, std::span<const double> counts,
                                                        double base1, double base2, int resultRows, int countRows,
                                                        double answerTotal) const {
    return ValeursDerivees::CalculerValeursTriRegroupe(rows, counts, base1, base2, resultRows, countRows, answerTotal,
                                                       m_context.ConfidenceIntervalThreshold);
}

void CExecuteurTraitement::FinirTableau(CTableau& table, std::unique_ptr<CTraitement> request, double base) const {
    table.title = request->title;
    table.base = base;
    table.studyFieldCaption = request->studyFieldName;
    // Weights that did not converge say so with every table computed on them.
    const std::string* notConverged = m_context.GetWeightingNotes().Find(request->weightingId);
    table.weightingCaption =
        notConverged != nullptr && request->weightingId != -1
            ? StringTable::Format(Message(StringTable::kRedressementNonConvergentLegende, {request->weightingName}))
            : request->weightingName;
    const CQuestionNiveau* level = m_context.DonnerNiveau(request->level);
    table.levelCaption = level != nullptr ? level->GetCaption() : std::string();
    table.openAsChart = request->openAsChart;
    const CPresentationTableau presentation = request->presentation;
    const CPresentationGraphique chartPresentation = request->chartPresentation;
    table.SetTraitement(std::move(request));
    table.SetPresentation(presentation);
    table.SetPresentationGraphique(chartPresentation);
}

void CExecuteurTraitement::SignalerErreur(const std::string& error) {
    m_failures.push_back(m_computing + ": " + error);
    m_context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
}
