#include "portfolio/ExportsDossier.h"

#include "app/Registre.h"
#include "app/StringTable.h"
#include "export/ExportFile.h"
#include "export/FichierRtf.h"
#include "export/MappingRtf.h"
#include "export/TableListExports.h"
#include "export/TableTextExport.h"
#include "portfolio/ElementDossier.h"
#include "presentation/PoliceAna.h"
#include "tabulation/Cellule.h"
#include "tabulation/Tableau.h"

#include <algorithm>

namespace ExportsDossier {
namespace {

constexpr const char* kLineEnd = "\r\n";
// Heading n is 15 - n points, never smaller than 8.
constexpr int kHeadingSizeBase = 15;
constexpr int kSmallestHeadingSize = 8;

// The table a table element (not a chart) exports; null for any other element.
const CTableau* TableOf(const CElementDossier& element) {
    return element.type == CElementDossier::kTableau ? element.GetTableau() : nullptr;
}

ImageMapping& InstalledImageMapping() {
    static ImageMapping draw;
    return draw;
}

std::string HeadingStyle(std::int32_t depth) {
    return StringTable::Format(Message(StringTable::kStyleTitre, {std::to_string(depth + 1)}));
}

} // namespace

void SetImageMapping(ImageMapping draw) {
    InstalledImageMapping() = std::move(draw);
}

bool ExporterWord(const std::vector<const CElementDossier*>& elements, const std::string& path,
                  const std::string& questionnairePath, Message& error) {
    CFichierRtf rtf(path);
    if (!rtf.Ouvrir(questionnairePath)) {
        error = rtf.GetErreur();
        return false;
    }
    std::int32_t deepest = 0;
    for (const CElementDossier* element : elements)
        deepest = std::max(deepest, element->depth);
    for (std::int32_t depth = 0; depth <= deepest; ++depth)
        rtf.AjouterStyle(HeadingStyle(depth),
                         CFichierRtf::PoliceDeStyle(std::max(kHeadingSizeBase - (depth + 1), kSmallestHeadingSize)));
    rtf.AjouterStyle(StringTable::Text(StringTable::kStyleNormal), CFichierRtf::PoliceDeStyle(CFichierRtf::kTailleNormal));

    bool portrait = true;
    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    for (const CElementDossier* element : elements) {
        const CTableau* table = TableOf(*element);
        if (table == nullptr)
            continue;
        table->DonnerTablePolices(fonts, cells);
        for (const CPoliceAna& font : fonts)
            rtf.FormaterPolice(font);
        portrait = portrait && table->GetPresentation().GetTypePage() == 0;
    }
    rtf.EcrireEntete(portrait);

    for (const CElementDossier* element : elements) {
        const std::string heading = HeadingStyle(element->depth);
        rtf.EcrireParagraphe(heading);
        rtf.EcrireTexte(element->name);
        rtf.EcrireFinParagraphe();
        // A table opens with its own paragraph in the Normal style (holding its title block when
        // that stands above the table); any other element gets an empty one.
        const CTableau* table = TableOf(*element);
        if (element->type == CElementDossier::kGraphique && element->GetTableau() != nullptr) {
            rtf.EcrireParagraphe(StringTable::Text(StringTable::kStyleNormal));
            rtf.EcrireFinParagraphe();
            rtf.EcrireGraphique(*element->GetTableau());
        } else if (table != nullptr) {
            rtf.EcrireTableau(*table, heading, element->name);
        } else {
            rtf.EcrireParagraphe(StringTable::Text(StringTable::kStyleNormal));
            rtf.EcrireFinParagraphe();
            const CMapping* map =
                element->type == CElementDossier::kMapping ? element->GetMapping() : nullptr;
            if (map != nullptr && InstalledImageMapping())
                rtf.EcrirePicture(InstalledImageMapping()(*map), MappingRtf::kCoteTwips,
                                  MappingRtf::kCoteTwips);
        }
    }
    if (!rtf.EcrireFin()) {
        error = rtf.GetErreur();
        return false;
    }
    return true;
}

bool ExporterClasseur(const std::vector<const CElementDossier*>& elements, const std::string& path,
                      const std::string& questionnairePath, Message& error) {
    std::vector<TableauTitre> tables;
    for (const CElementDossier* element : elements)
        if (const CTableau* table = TableOf(*element))
            tables.push_back({element->name, table});
    return ExporterTableauxClasseur(tables, path, questionnairePath, error);
}

std::optional<Message> ElementsHorsClasseur(const std::vector<const CElementDossier*>& elements) {
    std::string names;
    for (const CElementDossier* element : elements)
        if (element->type != CElementDossier::kChapitre && TableOf(*element) == nullptr)
            names += "\n" + element->name;
    if (names.empty())
        return std::nullopt;
    return Message(StringTable::kDossierElementsHorsClasseur, {names});
}

std::string TexteAscii(const std::vector<const CElementDossier*>& elements) {
    const int linesAfterTitle = CRegistre::GetNombreLigneApresTitre();
    std::string out;
    for (const CElementDossier* element : elements) {
        TableTextExport::AppendLines(out, element->name);
        out += kLineEnd;
        const CTableau* table = TableOf(*element);
        if (table == nullptr)
            continue;
        if (table->GetPresentation().GetEstTitreBase()) {
            TableTextExport::AppendLines(out, table->DonnerTexteBase());
            out += kLineEnd;
        }
        for (int i = 0; i < linesAfterTitle; ++i)
            out += kLineEnd;
        TableTextExport::AppendCells(*table, out);
    }
    return out;
}

bool ExporterAscii(const std::vector<const CElementDossier*>& elements, const std::string& path,
                   const std::string& questionnairePath, Message& error) {
    ExportFile file(path);
    if (!file.Open(questionnairePath)) {
        error = file.GetError();
        return false;
    }
    file.Write(TexteAscii(elements));
    if (!file.Commit()) {
        error = file.GetError();
        return false;
    }
    return true;
}

} // namespace ExportsDossier
