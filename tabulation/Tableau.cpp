#include "tabulation/Tableau.h"

#include <array>
#include <utility>

#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "tabulation/Traitement.h"

namespace {

// A new table has this many (empty) label arrays on each side.
constexpr std::size_t kDefaultLabelLevels = 3;

// The archive's flag before the request.
constexpr std::uint16_t kWithoutRequest = 0;
constexpr std::uint16_t kWithRequest = 1;

// ---- The presentation dialog's sample: 3 rows by 2 columns, counts then percentages.
constexpr std::int32_t kSampleRows = 3;
constexpr std::int32_t kSampleColumns = 2;
constexpr std::array<std::array<double, kSampleColumns>, kSampleRows> kSampleValues{{{100, 20}, {200, 40}, {200, 40}}};
constexpr std::array<const char*, kSampleRows> kSampleRowLabels{"Ligne 1", "Ligne 2", "Ligne 3"};
constexpr std::array<const char*, kSampleColumns> kSampleColumnLabels{"Colonne 1", "Colonne 2"};
constexpr std::array<std::uint16_t, kSampleColumns> kSampleMarkers{CTableauBase::kMarqueEffectif,
                                                                    CTableauBase::kMarquePourcentage};
constexpr double kSampleBase = 500;

} // namespace

CTableau::CTableau() : m_rowLabels(kDefaultLabelLevels), m_columnLabels(kDefaultLabelLevels) {}

CTableau::CTableau(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows,
                   std::int32_t columns, std::int32_t markerMode) {
    Dimensionner(columnHeaderLevels, rowHeaderLevels, rows, columns, markerMode);
    SizeLabels();
    SetFusionLignes(std::make_unique<CFusion>(ColumnHeaderLevels(), RowHeaderLevels(), RowCount(), ColumnCount()));
    SetFusionColonnes(std::make_unique<CFusion>(ColumnHeaderLevels(), RowHeaderLevels(), RowCount(), ColumnCount()));
    SetBordures(std::make_unique<CMatriceCreuse>(ColumnHeaderLevels() + RowCount(), RowHeaderLevels() + ColumnCount()));
}

CTableau::CTableau(const CTableau& other) : CTableauBase(other) { CopyLabelsOf(other); }

CTableau::CTableau(const CTableauBase& other) : CTableauBase(other) { CopyLabelsOf(other); }

CTableau& CTableau::operator=(const CTableau& other) {
    if (this == &other)
        return *this;
    CTableau copy(other);
    SwapBase(copy);
    m_rowLabels.swap(copy.m_rowLabels);
    m_columnLabels.swap(copy.m_columnLabels);
    return *this;
}

CTableau::~CTableau() = default;

void CTableau::SizeLabels() {
    m_rowLabels.clear();
    m_columnLabels.clear();
    m_rowLabels.resize(static_cast<std::size_t>(RowHeaderLevels()));
    for (auto& level : m_rowLabels)
        level.resize(static_cast<std::size_t>(RowCount()));
    m_columnLabels.resize(static_cast<std::size_t>(ColumnHeaderLevels()));
    for (auto& level : m_columnLabels)
        level.resize(static_cast<std::size_t>(ColumnCount()));
}

// Through the stored labels of the other table (its own, or its label source's), never the
// displayed ones: a transposed table's copy keeps each label with its cells.
void CTableau::CopyLabelsOf(const CTableauBase& other) {
    SizeLabels();
    for (std::int32_t level = 0; level < RowHeaderLevels(); ++level)
        for (std::int32_t index = 0; index < RowCount(); ++index)
            SetSlot(m_rowLabels, level, index, other.GetLigneEnTete(level, index));
    for (std::int32_t level = 0; level < ColumnHeaderLevels(); ++level)
        for (std::int32_t index = 0; index < ColumnCount(); ++index)
            SetSlot(m_columnLabels, level, index, other.GetColonneEnTete(level, index));
}

const CLigne* CTableau::Slot(const LabelLevels& levels, std::int32_t level, std::int32_t index) {
    if (level < 0 || static_cast<std::size_t>(level) >= levels.size())
        return nullptr;
    const auto& labels = levels[static_cast<std::size_t>(level)];
    if (index < 0 || static_cast<std::size_t>(index) >= labels.size())
        return nullptr;
    return labels[static_cast<std::size_t>(index)].get();
}

void CTableau::SetSlot(LabelLevels& levels, std::int32_t level, std::int32_t index, const CLigne* label) {
    if (label == nullptr || level < 0 || static_cast<std::size_t>(level) >= levels.size())
        return;
    auto& labels = levels[static_cast<std::size_t>(level)];
    if (index < 0 || static_cast<std::size_t>(index) >= labels.size())
        return;
    labels[static_cast<std::size_t>(index)] = CLigne::CopierLigne(label);
}

void CTableau::SetLibelleLigne(std::int32_t level, std::int32_t index, const CLigne* label) {
    SetSlot(m_rowLabels, level, index, label);
}

void CTableau::SetLibelleColonne(std::int32_t level, std::int32_t index, const CLigne* label) {
    SetSlot(m_columnLabels, level, index, label);
}

const CLigne* CTableau::GetLigneEnTete(std::int32_t level, std::int32_t index) const {
    return Slot(m_rowLabels, level, index);
}

const CLigne* CTableau::GetColonneEnTete(std::int32_t level, std::int32_t index) const {
    return Slot(m_columnLabels, level, index);
}

void CTableau::RemplirExemple() {
    Dimensionner(1, 1, kSampleRows, kSampleColumns, kMarqueParColonne);
    SizeLabels();
    for (std::int32_t row = 0; row < kSampleRows; ++row) {
        const CLigne label(kSampleRowLabels[static_cast<std::size_t>(row)]);
        SetLibelleLigne(0, row, &label);
        for (std::int32_t column = 0; column < kSampleColumns; ++column)
            SetValeur(row, column,
                      kSampleValues[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
    }
    for (std::int32_t column = 0; column < kSampleColumns; ++column) {
        const CLigne label(kSampleColumnLabels[static_cast<std::size_t>(column)]);
        SetLibelleColonne(0, column, &label);
        SetMarque(column, kSampleMarkers[static_cast<std::size_t>(column)]);
    }
    studyFieldCaption = StringTable::Text(StringTable::kToutesLesInterviews);
    weightingCaption = StringTable::Text(StringTable::kAucunRedressement);
    levelCaption = StringTable::Text(StringTable::kInterviews);
    base = kSampleBase;
    SetFusionLignes(std::make_unique<CFusion>(1, 1, kSampleRows, kSampleColumns));
    SetFusionColonnes(std::make_unique<CFusion>(1, 1, kSampleRows, kSampleColumns));
    SetBordures(std::make_unique<CMatriceCreuse>(1 + kSampleRows, 1 + kSampleColumns));
}

void CTableau::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        CTraitement* request = GetTraitement();
        archive << (request ? kWithRequest : kWithoutRequest);
        if (request)
            request->Serialize(archive);
        return;
    }
    std::uint16_t withRequest = kWithoutRequest;
    archive >> withRequest;
    if (withRequest == kWithoutRequest) {
        SetTraitement(nullptr);
        return;
    }
    auto request = std::make_unique<CTraitement>();
    request->Serialize(archive);
    SetTraitement(std::move(request));
}
