#include "export/MappingRtf.h"

#include "app/StringTable.h"
#include "export/FichierRtf.h"
#include "presentation/PoliceAna.h"

namespace MappingRtf {

bool ExporterMappingWord(const std::string& title, const std::vector<std::uint8_t>& png,
                         const std::string& path, const std::string& questionnairePath, Message& error) {
    CFichierRtf rtf(path);
    if (!rtf.Ouvrir(questionnairePath)) {
        error = rtf.GetErreur();
        return false;
    }
    const std::string titleStyle = StringTable::Format(Message(StringTable::kStyleTitre, {"1"}));
    const std::string normalStyle = StringTable::Text(StringTable::kStyleNormal);
    rtf.AjouterStyle(titleStyle, CFichierRtf::PoliceDeStyle(CFichierRtf::kTailleTitre));
    rtf.AjouterStyle(normalStyle, CFichierRtf::PoliceDeStyle(CFichierRtf::kTailleNormal));
    rtf.EcrireEntete(true);
    rtf.EcrireParagraphe(titleStyle);
    rtf.EcrireTexte(title);
    rtf.EcrireFinParagraphe();
    rtf.EcrireParagraphe(normalStyle);
    rtf.EcrireFinParagraphe();
    // Bytes that are not a picture leave the document without one rather than unreadable.
    rtf.EcrirePicture(png, kCoteTwips, kCoteTwips);
    if (!rtf.EcrireFin()) {
        error = rtf.GetErreur();
        return false;
    }
    return true;
}

} // namespace MappingRtf
