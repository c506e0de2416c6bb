#include "formula/FormulaErrorText.h"

#include "formula/FormulaError.h"

#include <algorithm>
#include <iterator>

namespace {

struct CodeText {
    std::int32_t code;
    const char* text;
};

using E = FormulaError;

constexpr CodeText kTexts[] = {
    {E::kAucunOperande, "la formule ne contient aucune valeur"},
    {E::kNombreInvalide, "nombre illisible"},
    {E::kPointInterrogationSeul, "« ? » non suivi d'un second « ? »"},
    {E::kReferenceNonFermee, "« ?? » sans le « ?? » qui le ferme"},
    {E::kQuestionInconnue, "aucune question de ce nom"},
    {E::kDateNonFermee, "« # » sans le « # » qui le ferme"},
    {E::kDateInvalide, "date invalide"},
    {E::kHeureNonFermee, "« & » sans le « & » qui le ferme"},
    {E::kHeureInvalide, "heure invalide"},
    {E::kChaineNonFermee, "guillemet sans le guillemet qui le ferme"},
    {E::kListeNonFermee, "« { » sans le « } » qui le ferme"},
    {E::kMembreInvalide, "membre de liste invalide"},
    {E::kMotInconnu, "mot inconnu"},
    {E::kListeTropLongue, "liste de plus d'un million de membres"},
    {E::kOperandeAttendu, "une valeur est attendue"},
    {E::kParentheseMalPlacee, "parenthèse mal placée"},
    {E::kParentheseNonFermee, "« ( » sans la « ) » qui la ferme"},
    {E::kGroupeSansValeurUnique, "groupe ou indice qui ne donne pas exactement une valeur"},
    {E::kFonctionEnAttente, "fonction placée là où une autre attend son argument"},
    {E::kOperateurAttendu, "un opérateur est attendu"},
    {E::kCrochetFermantSeul, "« ] » sans « [ »"},
    {E::kCrochetNonFerme, "« [ » sans « ] »"},
    {E::kTropPeuDOperandes, "opérateur ou fonction sans assez de valeurs"},
    {E::kNombreAttendu, "l'argument doit être un nombre"},
    {E::kChaineAttendue, "l'argument doit être une chaîne"},
    {E::kDateAttendue, "l'argument doit être une date"},
    {E::kPlusRefuse, "valeurs que « + » n'accepte pas"},
    {E::kMoinsRefuse, "valeurs que « - » n'accepte pas"},
    {E::kIntersectionRefusee, "valeurs que « | » n'accepte pas"},
    {E::kProduitRefuse, "valeurs que « * » n'accepte pas"},
    {E::kQuotientRefuse, "valeurs que « / » n'accepte pas"},
    {E::kModuloRefuse, "valeurs que « MOD » n'accepte pas"},
    {E::kComparaisonRefusee, "valeurs que la comparaison n'accepte pas"},
    {E::kLogiqueRefusee, "« ET » et « OU » demandent deux nombres"},
    {E::kIndiceNonNumerique, "l'indice n'est pas un nombre"},
    {E::kIndiceSansListe, "indice sur une valeur qui n'est pas une liste"},
    {E::kPlusieursValeurs, "la formule donne plusieurs valeurs"},
    {E::kSeparateurAttendu, "arguments non séparés par « , » ou trop peu nombreux"},
    {E::kValeursDifferentes, "valeurs de types différents"},
    {E::kQuestionNonFermee, "la question n'est pas fermée"},
    {E::kModaliteHorsLimites, "la question n'a pas cette modalité"},
    {E::kImbricationTropProfonde, "groupes imbriqués sur plus de 100 niveaux"},
    {E::kLectureImpossible, "les réponses de la question ne peuvent pas être lues"},
};

} // namespace

std::string FormulaErrorText(std::int32_t code) {
    const auto* found = std::find_if(std::begin(kTexts), std::end(kTexts),
                                     [code](const CodeText& entry) { return entry.code == code; });
    return found != std::end(kTexts) ? found->text : "erreur " + std::to_string(code);
}
