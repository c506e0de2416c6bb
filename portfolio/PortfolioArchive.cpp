#include "portfolio/PortfolioArchive.h"

#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "portfolio/ElementDossier.h"

#include <filesystem>
#include <system_error>

namespace PortfolioArchive {
namespace {

// The fewest bytes an element object takes in a stream: a class reference (2), type and depth
// (8), an empty name (1) and the table flag (2).
constexpr std::size_t kPlusPetitElement = 13;
// Counts from here on are markers, not counts.
constexpr std::uint32_t kPremierMarqueur = 0x80000000u;

void WriteElements(CArchiveVersion& archive, const std::vector<const CElementDossier*>& elements) {
    archive.WriteCount(static_cast<std::uint32_t>(elements.size()));
    for (const CElementDossier* element : elements)
        archive.WriteObject(element);
}

// Reads `count` elements; a null object where an element is expected is a damaged stream.
std::vector<std::unique_ptr<CElementDossier>> ReadElements(CArchiveVersion& archive, std::uint32_t count) {
    std::vector<std::unique_ptr<CElementDossier>> read;
    read.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CElementDossier> element = archive.ReadObject<CElementDossier>();
        if (element == nullptr)
            throw ArchiveException(ArchiveException::Reason::ReadFailed, "CElementDossier");
        read.push_back(std::move(element));
    }
    return read;
}

std::uint32_t CheckedCount(CArchiveVersion& archive, std::uint32_t count) {
    if (count > archive.Remaining() / kPlusPetitElement)
        throw ArchiveException(ArchiveException::Reason::BadCount);
    return count;
}

} // namespace

bool Enregistrer(const std::string& path, const std::vector<const CElementDossier*>& elements,
                 Message& error) {
    try {
        CArchiveVersion archive(path, CArchiveVersion::Mode::Store, kVersionFichier);
        archive.WriteCount(kMarqueurVersion);
        WriteElements(archive, elements);
        archive.Close();
        return true;
    } catch (const ArchiveException&) {
        error = Message(StringTable::kEnregistrementDossierImpossible, {path});
        return false;
    }
}

bool Charger(const std::string& path, std::vector<std::unique_ptr<CElementDossier>>& elements, int& version,
             Message& error) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        error = Message(StringTable::kImpossibleOuvrirFichier, {path});
        return false;
    }
    try {
        CArchiveVersion archive(path, CArchiveVersion::Mode::Load, kVersionSansMarqueur);
        std::vector<std::unique_ptr<CElementDossier>> read;
        int found = kVersionFichier;
        if (!archive.IsAtEnd()) {
            std::uint32_t count = archive.ReadCount();
            if (count == kMarqueurVersion) {
                archive.SetVersion(kVersionFichier);
                count = archive.ReadCount();
            } else if (count >= kPremierMarqueur) {
                // The marker of a version written after ours.
                error = Message(StringTable::kDossierVersionInconnue, {path});
                return false;
            } else {
                archive.SetVersion(kVersionSansMarqueur);
                found = kVersionSansMarqueur;
            }
            read = ReadElements(archive, CheckedCount(archive, count));
        }
        archive.Close();
        elements = std::move(read);
        version = found;
        return true;
    } catch (const ArchiveException& failure) {
        error = Message(failure.GetReason() == ArchiveException::Reason::CannotOpen
                            ? StringTable::kImpossibleOuvrirFichier
                            : StringTable::kDossierIllisible,
                        {path});
        return false;
    }
}

std::vector<std::uint8_t> EcrirePressePapiers(const std::vector<const CElementDossier*>& elements) {
    CArchiveVersion archive(CElementDossier::GetVersionCourante());
    WriteElements(archive, elements);
    return archive.TakeBytes();
}

bool LirePressePapiers(const std::vector<std::uint8_t>& bytes,
                       std::vector<std::unique_ptr<CElementDossier>>& elements) {
    try {
        CArchiveVersion archive(bytes, CElementDossier::GetVersionCourante());
        elements = ReadElements(archive, CheckedCount(archive, archive.ReadCount()));
        return true;
    } catch (const ArchiveException&) {
        return false;
    }
}

} // namespace PortfolioArchive
