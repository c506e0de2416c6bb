#include "app/Redressement.h"

#include "app/Enquete.h"

namespace {

CRedressement::Lecteur& InstalledReader() {
    static CRedressement::Lecteur reader = nullptr;
    return reader;
}

} // namespace

CRedressement& CRedressement::operator=(const CRedressement& other) {
    if (this == &other)
        return *this;
    id = other.id;
    name = other.name;
    description = other.description;
    NTotal = other.NTotal;
    definition = other.definition;
    return *this;
}

std::string CRedressement::EcrireValeurs(const CEnquete& survey, bool byName) const {
    if (root == nullptr || root.get_deleter().write == nullptr)
        return definition;
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    CEnquete::DonnerReferenceQuestion(initialWeightQuestion, code, keys, recode);
    return std::to_string(code) + '@' + keys + '@' + std::to_string(recode) + '~' +
           root.get_deleter().write(*root, survey, byName);
}

void CRedressement::InstallerLecteur(Lecteur reader) { InstalledReader() = reader; }

void CRedressement::Lier(CEnquete& survey) {
    if (InstalledReader() != nullptr)
        InstalledReader()(*this, survey);
}
