#include "portfolio/ElementDossier.h"

#include "platform/questionnaire/ArchiveException.h"
#include "portfolio/MapSnapshot.h"
#include "statistics/Dendogramme.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "tabulation/Tableau.h"

namespace {

constexpr std::uint16_t kWithoutTable = 0;
constexpr std::uint16_t kWithTable = 1;

std::int32_t TypeOf(const CTableauBase& table) {
    return table.openAsChart != 0 ? CElementDossier::kGraphique : CElementDossier::kTableau;
}

bool IsKnownType(std::int32_t type) {
    return type >= CElementDossier::kChapitre && type <= CElementDossier::kDendogramme;
}

} // namespace

CElementDossier::CElementDossier() = default;

CElementDossier::CElementDossier(std::string chapterName) : type(kChapitre), name(std::move(chapterName)) {}

CElementDossier::CElementDossier(const CTableauBase& table) : type(TypeOf(table)), name(table.title) {
    TakeTable(std::make_unique<CTableau>(table));
}

CElementDossier::CElementDossier(std::unique_ptr<CTableau> table) {
    if (table == nullptr)
        return;
    type = TypeOf(*table);
    name = table->title;
    TakeTable(std::move(table));
}

CElementDossier::CElementDossier(const CMapping& mapping)
    : type(kMapping), name(mapping.nom), m_map(std::make_unique<MapSnapshot>(mapping)) {
    m_map->GetMapping().proprietaire = nullptr;
}

CElementDossier::CElementDossier(std::unique_ptr<CDendogramme> dendogramme)
    : type(kDendogramme), name(dendogramme != nullptr ? dendogramme->titre : std::string()),
      m_dendogramme(std::move(dendogramme)) {}

CElementDossier::~CElementDossier() = default;

CMapping* CElementDossier::GetMapping() const {
    return type == kMapping && m_map != nullptr ? &m_map->GetMapping() : nullptr;
}

void CElementDossier::DevenirChapitre() {
    m_table.reset();
    m_map.reset();
    type = kChapitre;
}

void CElementDossier::SetTableau(std::unique_ptr<CTableau> table) {
    TakeTable(std::move(table));
}

void CElementDossier::TakeTable(std::unique_ptr<CTableau> table) {
    // The element keeps its table: a window that shows it never deletes it.
    if (table != nullptr)
        table->deleteWithWindow = 0;
    m_table = std::move(table);
}

void CElementDossier::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        const bool withTable = EstTableau() && m_table != nullptr;
        archive << type << depth << name << (withTable ? kWithTable : kWithoutTable);
        if (withTable)
            m_table->Serialize(archive);
        return;
    }
    std::int32_t loadedType = kChapitre;
    std::int32_t loadedDepth = 0;
    std::string loadedName;
    std::uint16_t withTable = kWithoutTable;
    archive >> loadedType >> loadedDepth >> loadedName >> withTable;
    if (!IsKnownType(loadedType) || loadedDepth < 0 || withTable > kWithTable)
        throw ArchiveException(ArchiveException::Reason::ReadFailed, "CElementDossier");
    std::unique_ptr<CTableau> loadedTable;
    if (withTable == kWithTable) {
        loadedTable = std::make_unique<CTableau>();
        loadedTable->Serialize(archive);
    }
    type = loadedType;
    depth = loadedDepth;
    name = std::move(loadedName);
    // A chapter, map or dendrogram keeps no table, whatever the stream holds.
    TakeTable(EstTableau() ? std::move(loadedTable) : nullptr);
}
