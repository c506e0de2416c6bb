#pragma once

#include "app/Message.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CElementDossier;

// The stream a portfolio is kept in, in a ".dos" file and on the clipboard.
//
// File: the version marker (the count -404, bytes FF FF 6C FE FF FF), the element count, then the
// elements as objects of the archive, in the pre-order of the tree, each with its depth. A file
// written before the marker existed starts with the count and is read as version 403; any other
// negative count is the marker of a version we do not know and is refused. An empty file is an
// empty portfolio.
//
// Clipboard: the count and the elements alone, at the clipboard's version (405), no marker.
//
// Reading checks every count and length against what remains (a damaged or foreign stream is
// refused with a message, never half-read); the requests inside the tables are resolved on the
// survey that is open. Writing a file goes to a temporary file that replaces the old one only
// once whole: a failed save leaves the old file as it was.
namespace PortfolioArchive {

constexpr int kVersionFichier = 404;
constexpr int kVersionSansMarqueur = 403;
// The count -404 as the stream stores it.
constexpr std::uint32_t kMarqueurVersion = 0xFFFFFE6Cu;

// The elements must have their depths set. False, with the reason, when the file cannot be
// written.
bool Enregistrer(const std::string& path, const std::vector<const CElementDossier*>& elements,
                 Message& error);

// The elements read, in stream order, and the version found. False, with the reason and nothing
// read, for a file that cannot be opened or is not a whole portfolio.
bool Charger(const std::string& path, std::vector<std::unique_ptr<CElementDossier>>& elements, int& version,
             Message& error);

std::vector<std::uint8_t> EcrirePressePapiers(const std::vector<const CElementDossier*>& elements);
// False, and nothing read, for bytes that are not a whole portfolio stream.
bool LirePressePapiers(const std::vector<std::uint8_t>& bytes,
                       std::vector<std::unique_ptr<CElementDossier>>& elements);

} // namespace PortfolioArchive
