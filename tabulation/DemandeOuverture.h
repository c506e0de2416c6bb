#pragma once

#include <cstdint>

class CTableau;

// The creation record a window opener hands to a document template in place of a path: the kind
// of study the new window runs and the table it starts from. It is built on the opener's stack and
// lives only while the window opens; the document copies what it keeps.
struct CDemandeOuverture {
    CDemandeOuverture(std::uint16_t studyType, const CTableau* sourceTable) : type(studyType), source(sourceTable) {}

    // The study, in the numbering of the analysis openers (4 principal components, 6
    // correspondence analysis of a table, ...).
    std::uint16_t type;
    // The table the study starts from; not owned, null when there is none.
    const CTableau* source;
};
