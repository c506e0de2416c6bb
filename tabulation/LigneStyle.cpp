// CLigne::AppliquerStyle is declared with the line in app/Ligne.h but defined here, with the
// result tables that use it: the fonts it changes are presentation records, which sit above app/
// in the layering.

#include "app/Ligne.h"
#include "presentation/PoliceAna.h"

void CLigne::AppliquerStyle(CPoliceAna& font, const CPoliceAna& questionFont) const {
    if (heading != 0) {
        CPoliceAna question = questionFont;
        question.SetGras(font.GetGras());
        question.SetItalique(font.GetItalique());
        question.SetSouligne(font.GetSouligne());
        question.SetOmbre(font.GetOmbre());
        font = question;
    }
    if (bold != 0)
        font.SetGras(true);
    if (italic != 0)
        font.SetItalique(true);
    if (underline != 0)
        font.SetSouligne(true);
    if (shadow != 0)
        font.SetOmbre(true);
}
