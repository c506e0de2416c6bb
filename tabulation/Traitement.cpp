#include "tabulation/Traitement.h"

#include <utility>

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "recodes/RecodageModalite.h"

// ---- A side of the request -------------------------------------------------------------------

CTraitement::Side::Side() = default;

CTraitement::Side::Side(const Side& other)
    : kind(other.kind), question(other.question),
      profile(other.profile ? std::make_unique<CProfil>(*other.profile) : nullptr),
      grouping(other.grouping ? std::make_unique<CRecodageModalite>(*other.grouping) : nullptr),
      totalOption(other.totalOption) {
    CLigne::CopierLignes(lines, other.lines);
    CCalcul::CopierTableau(calculations, other.calculations);
}

CTraitement::Side::Side(Side&&) noexcept = default;
CTraitement::Side& CTraitement::Side::operator=(Side&&) noexcept = default;
CTraitement::Side::~Side() = default;

// ---- Construction ----------------------------------------------------------------------------

CTraitement::CTraitement() = default;

CTraitement::CTraitement(const CTraitement& other)
    : CObjet(other), type(other.type), title(other.title), studyFieldName(other.studyFieldName),
      weightingName(other.weightingName), level(other.level), studyFieldId(other.studyFieldId),
      weightingId(other.weightingId), presentation(other.presentation), chartPresentation(other.chartPresentation),
      mergeOptions(other.mergeOptions), openAsChart(other.openAsChart), m_axes(other.m_axes),
      m_style(other.m_style ? std::make_unique<CStyle>(*other.m_style) : nullptr) {}

CTraitement::~CTraitement() = default;

void CTraitement::TakeLoaded(CTraitement& loaded) {
    type = loaded.type;
    title = std::move(loaded.title);
    studyFieldName = std::move(loaded.studyFieldName);
    weightingName = std::move(loaded.weightingName);
    level = loaded.level;
    studyFieldId = loaded.studyFieldId;
    weightingId = loaded.weightingId;
    presentation = loaded.presentation;
    chartPresentation = loaded.chartPresentation;
    mergeOptions = loaded.mergeOptions;
    openAsChart = loaded.openAsChart;
    m_axes = std::move(loaded.m_axes);
    m_style = std::move(loaded.m_style);
    m_invalid = loaded.m_invalid;
    m_invalidMessages = std::move(loaded.m_invalidMessages);
}

// ---- Axes ------------------------------------------------------------------------------------

CTraitement::Side* CTraitement::SideOf(int axis) {
    return axis == kLignes || axis == kColonnes ? &m_axes[static_cast<std::size_t>(axis)] : nullptr;
}

const CTraitement::Side* CTraitement::SideOf(int axis) const {
    return axis == kLignes || axis == kColonnes ? &m_axes[static_cast<std::size_t>(axis)] : nullptr;
}

std::int16_t CTraitement::GetTypeAxe(int axis) const {
    const Side* side = SideOf(axis);
    return side ? side->kind : std::int16_t{kAxeIndefini};
}

void CTraitement::SetTypeAxe(int axis, std::int16_t kind) {
    if (Side* side = SideOf(axis))
        side->kind = kind;
}

void CTraitement::SetQuestionAxe(CQuestionEtendue* question, int axis) {
    if (axis == kTroisieme) {
        m_thirdQuestion = question;
        return;
    }
    if (axis == kQuatrieme) {
        m_fourthQuestion = question;
        return;
    }
    Side* side = SideOf(axis);
    if (!side)
        return;
    side->question = question;
    side->lines.clear();
    side->profile.reset();
}

CQuestionEtendue* CTraitement::GetQuestionAxe(int axis) const {
    switch (axis) {
    case kTroisieme:
        return m_thirdQuestion;
    case kQuatrieme:
        return m_fourthQuestion;
    default:
        const Side* side = SideOf(axis);
        return side ? side->question : nullptr;
    }
}

void CTraitement::DefinirModalitesAxe(CQuestionEtendue* question,
                                      const std::vector<std::unique_ptr<CModaliteEtendue>>& selection, int axis) {
    Side* side = SideOf(axis);
    if (!side)
        return;
    Lignes lines;
    lines.reserve(selection.size());
    for (const auto& entry : selection) {
        if (!entry)
            continue;
        if (entry->calculationLine)
            lines.push_back(std::make_unique<CCalcul>(*entry));
        else
            lines.push_back(std::make_unique<CLigne>(*entry));
    }
    side->lines = std::move(lines);
    side->question = question;
    side->profile.reset();
}

namespace {

// An empty grouping with the name and the flag of the question's own grouping.
std::unique_ptr<CRecodageModalite> EmptyGroupingOf(const CQuestionEtendue* question) {
    auto grouping = std::make_unique<CRecodageModalite>(question ? question->GetEnquete() : nullptr);
    if (const auto* own = question ? dynamic_cast<const CRecodageModalite*>(question->GetRecodage()) : nullptr) {
        grouping->label = own->label;
        grouping->SetEstCumule(own->GetEstCumule());
    }
    return grouping;
}

} // namespace

void CTraitement::DefinirRegroupementAxe(CQuestionEtendue* question, int axis) {
    std::vector<std::unique_ptr<CModaliteEtendue>> nodes;
    if (question)
        question->DonnerModalitesRecodees(nodes);
    DefinirRegroupementAxe(question, nodes, axis);
}

void CTraitement::DefinirRegroupementAxe(CQuestionEtendue* question,
                                         const std::vector<std::unique_ptr<CModaliteEtendue>>& nodes, int axis) {
    Side* side = SideOf(axis);
    if (!side)
        return;
    side->question = question;
    std::unique_ptr<CRecodageModalite> grouping = EmptyGroupingOf(question);
    for (const auto& entry : nodes) {
        if (!entry)
            continue;
        if (const auto* node = dynamic_cast<const CModaliteGroupe*>(entry.get())) {
            grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(*node));
            continue;
        }
        auto node = std::make_unique<CModaliteGroupe>(entry->GetEnquete(), *entry);
        node->CopierExtension(*entry);
        grouping->AjouterNoeud(std::move(node));
    }
    side->grouping = std::move(grouping);
    side->profile.reset();
}

void CTraitement::SetProfilAxe(const CProfil* profile, int axis) {
    if (Side* side = SideOf(axis))
        side->profile = profile ? std::make_unique<CProfil>(*profile) : nullptr;
}

CProfil* CTraitement::GetProfilAxe(int axis) const {
    const Side* side = SideOf(axis);
    return side ? side->profile.get() : nullptr;
}

CRecodageModalite* CTraitement::GetRegroupementAxe(int axis) const {
    const Side* side = SideOf(axis);
    return side ? side->grouping.get() : nullptr;
}

const CTraitement::Lignes& CTraitement::GetModalitesAxe(int axis) const {
    return m_axes[axis == kColonnes ? kColonnes : kLignes].lines;
}

CTraitement::Lignes& CTraitement::GetModalitesAxe(int axis) {
    return m_axes[axis == kColonnes ? kColonnes : kLignes].lines;
}

std::int32_t CTraitement::GetTotalAxe(int axis) const {
    const Side* side = SideOf(axis);
    return side ? side->totalOption : 0;
}

void CTraitement::SetTotalAxe(int axis, std::int32_t option) {
    if (Side* side = SideOf(axis))
        side->totalOption = option;
}

// ---- Calculations and options ----------------------------------------------------------------

void CTraitement::GarderCalculLigne(std::int32_t code) {
    Calculs& calculations = m_axes[kLignes].calculations;
    Calculs kept;
    for (const auto& calculation : calculations)
        if (calculation && calculation->code == code) {
            kept.push_back(std::make_unique<CCalcul>(static_cast<const CLigne&>(*calculation)));
            break;
        }
    calculations = std::move(kept);
}

void CTraitement::SupprimerTotal() {
    for (Side& side : m_axes)
        for (auto line = side.lines.begin(); line != side.lines.end(); ++line)
            if (*line && (*line)->code == CLigne::kTotalCode) {
                side.lines.erase(line);
                break;
            }
}

void CTraitement::SetStyle(std::unique_ptr<CStyle> style) { m_style = std::move(style); }
