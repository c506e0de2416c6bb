// The style operations of CBibliotheque. They are declared in app/Bibliotheque.h with the rest of
// the library, whose stored texts they read and write, but live here beside CStyle: that class
// sits above app/ in the layering, so app/ cannot see its definition.

#include <string>

#include "app/Bibliotheque.h"
#include "app/StringTable.h"
#include "tabulation/Style.h"

bool CBibliotheque::ReadStyle(std::int32_t code, CStyle& style) {
    std::string name;
    std::string calculations;
    if (!ReadStyleTexts(code, name, calculations))
        return false;
    style.name = name;
    style.LireChaine(calculations);
    return true;
}

bool CBibliotheque::SaveStyle(const CStyle& style) {
    Message refusal;
    if (!style.VerifierTextes(refusal)) {
        m_errorText = StringTable::Format(refusal);
        return false;
    }
    return SaveStyleTexts(style.name, style.DonnerChaine());
}
