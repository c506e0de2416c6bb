#pragma once

#include "platform/questionnaire/Objet.h"

#include <cstdint>
#include <memory>
#include <string>

class CDendogramme;
class CMapping;
class CTableau;
class CTableauBase;
class MapSnapshot;

// One node of a portfolio: a chapter, or a table kept with the request it was computed from.
// Tables shown as charts, perceptual maps and dendrograms are kinds a portfolio may hold; maps and
// dendrograms come back from a file as their name alone.
//
// Archive: the type (i32), the depth (i32), the name, then a 16-bit flag, 1 when a table follows,
// and the table's own record (its request, never its cells). The depth is the node's place in the
// tree when the portfolio was written; it means nothing in memory between two writes.
class CElementDossier : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CElementDossier", 1, &CObjet::CreateObject<CElementDossier>};
    // The archive version of the clipboard stream.
    static constexpr int kVersionCourante = 405;

    enum Type : std::int32_t {
        kChapitre = 0,
        kTableau = 1,
        kGraphique = 2,
        kMapping = 3,
        kDendogramme = 4,
    };

    // Empty name, no table: what a stream is read into.
    CElementDossier();
    // A chapter of that name.
    explicit CElementDossier(std::string chapterName);
    // A copy of the table, of either kind (labels copied), named after its title: a chart when the
    // table opens as one, else a table.
    explicit CElementDossier(const CTableauBase& table);
    // The table itself, taken over.
    explicit CElementDossier(std::unique_ptr<CTableau> table);
    // A perceptual map, named after it; the element keeps a copy that no longer needs the
    // analysis that drew it.
    explicit CElementDossier(const CMapping& mapping);
    // A classification's dendrogram, taken over and named after its title.
    explicit CElementDossier(std::unique_ptr<CDendogramme> dendogramme);
    ~CElementDossier() override;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    static int GetVersionCourante() { return kVersionCourante; }

    // The table is deleted and the element becomes a chapter under the same name.
    void DevenirChapitre();
    // Whether the element is a table or a chart (the kinds computed from a request).
    bool EstTableau() const { return type == kTableau || type == kGraphique; }

    CTableau* GetTableau() const { return m_table.get(); }
    // Replaces the table (deleting the one held); the type and name stay.
    void SetTableau(std::unique_ptr<CTableau> table);
    // The map of a map element; null for other elements and for a map read back from a file,
    // which keeps its name only.
    CMapping* GetMapping() const;
    // The tree of a dendrogram element; null for other elements and for a dendrogram read back
    // from a file, which keeps its name only.
    CDendogramme* GetDendogramme() const { return type == kDendogramme ? m_dendogramme.get() : nullptr; }

    void Serialize(CArchiveVersion& archive) override;

    std::int32_t type = kChapitre;
    std::string name;
    std::int32_t depth = 0;

private:
    void TakeTable(std::unique_ptr<CTableau> table);

    std::unique_ptr<CTableau> m_table;
    std::unique_ptr<MapSnapshot> m_map;
    std::unique_ptr<CDendogramme> m_dendogramme;
};
