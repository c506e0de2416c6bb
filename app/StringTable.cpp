#include "app/StringTable.h"

#include <map>
#include <string_view>

namespace StringTable {
namespace {

const std::map<int, std::string>& Entries() {
    static const std::map<int, std::string> entries = {
        {kFichiersQes, "Fichiers Velto (*.qes)|*.qes|"},
        {kToutesLesInterviews, "Toutes les interviews"},
        {kAucunRedressement, "Aucun redressement"},
        {kSelectionnerQuestionAutorisee, "Vous devez sélectionner une question autorisée..."},
        {kImpossibleOuvrirFichier, "Impossible d'ouvrir le fichier '%s'..."},
        {kStyleTitre, "Titre %d"},
        {kStyleNormal, "Normal"},
        {kSousTotal, "Sous total %d"},
        {kDossiersDos, "Dossiers Velto (*.dos)|*.dos|"},
        {kSelectionnerQuestion, "Vous devez sélectionner une question..."},
        {kQuestionsCalculees, "Questions calculées"},
        {kIntvw, "Intvw %d"},
        {kInterviews, "Interviews"},
        {kEcraserRedressement, "Souhaitez-vous écraser le redressement existant ?"},
        {kEcraserRecodage, "Souhaitez-vous écraser le recodage existant ?"},
        {kInitialisationCom, "Ne peut pas initialiser la dll COM"},
        {kOui, "Oui"},
        {kNePeutPasCreerTable, "Ne peut pas créer la table..."},
        {kErreurBaseDeDonnees, "Erreur de base de données '%s' dans %s"},
        {kErreurInconnue, "Erreur inconnue dans %s"},
        {kImpossibleOuvrirQuestionnaire, "Impossible d'ouvrir le questionnaire '%s' : %s"},
        {kLectureImpossible, "Lecture impossible de '%s'..."},
        {kQuestionNiveauInaccessible, "Question '%s dans le niveau '%s' inaccessible"},
        {kVeuillezRecalculerVariables, "Veuillez recalculer les variables"},
        {kInversionDeLaBase, "Inversion de la base"},
        {kEcritureFichierInverse, "Impossible d'écrire le fichier inversé '%s'"},
        {kImpossibleCopierFichier, "Impossible de copier le fichier"},
        {kExportSurQuestionnaireOuvert, "Le fichier '%s' est le questionnaire ouvert : choisissez un autre fichier."},
        {kFormuleChampEtude,
         "La formule du champ d'étude '%s' ne peut pas être calculée : erreur %d à la position %d."},
        {kRedressementIndisponible, "Le redressement %d ne peut pas être calculé."},
        {kChampsEtudeCrees, "%d champs d'étude ont été crées"},
        {kTraitementInconnu,
         "Ce traitement ne peut pas être calculé : lignes de type %d, colonnes de type %d, traitement de type %d."},
        {kTraitementNonDisponible, "Ce type de tableau n'est pas encore disponible : %s."},
        {kSelectionnerUneModalite, "Vous devez sélectionner au moins une modalité..."},
        {kSelectionnerUnTraitement, "Vous devez sélectionner au moins un traitement..."},
        {kSelectionnerUneQuestion, "Vous devez sélectionner au moins une question..."},
        {kMemeNombreModalites,
         "Vous devez sélectionner le même nombre de modalités dans chacune des questions..."},
        {kStatistiquesNonNumeriques,
         "Vous avez demandé des statistiques mais certaines des questions ne sont pas numériques..."},
        {kNouveauProfil, "Nouveau profil"},
        {kTitreProfil, "Profil"},
        {kTitreProfilsCroises, "Profils croisés"},
        {kTitreComparaison, "Comparaison"},
        {kSupprimerQuestion, "Souhaitez-vous vraiment supprimer cette question ?"},
        {kChangerNiveau,
         "Cette question n'est pas compatible avec le niveau courant. Voulez-vous changer de niveau ?"},
        {kFenetreNonDisponible, "Cette fenêtre n'est pas encore disponible : %s."},
        {kAideIntrouvable, "Le fichier d'aide '%s' est introuvable."},
        {kFichiersRtf, "Fichiers RTF (*.rtf)|*.rtf|"},
        {kFichiersTextes, "Fichiers textes (*.txt)|*.txt|"},
        {kClasseursExcel, "Classeurs Excel (*.xlsx)|*.xlsx|"},
        {kRemplacerFichier, "Le fichier '%s' existe déjà. Voulez-vous le remplacer ?"},
        {kEntrezUnEntier, "Entrez un entier."},
        {kEntrezEntierCompris, "Entrez un entier compris entre %d et %d."},
        {kEchecCommande, "Échec de la commande."},
        {kImpressionImpossible, "L'impression n'a pas pu commencer."},
        {kQuestionHorsNiveauCourant, "Cette question n'est pas compatible avec le niveau courant"},
        {kSelectionnerNiveauParent, "Vous devez sélectionner un niveau parent"},
        {kSelectionnerElement, "Vous devez sélectionner un élément..."},
        {kSelectionnerUnCalcul, "Vous devez sélectionner  un calcul..."},
        {kNombreReponsesInvalide,
         "la question '%s' a %d pour nombre de réponses : il en faut au moins une. Le questionnaire est endommagé."},
        {kCodeModaliteEnDouble,
         "la question '%s' a plusieurs modalités de code %d : ses réponses ne peuvent pas être comptées. "
         "Le questionnaire est endommagé."},
        {kReponseNonEntiere,
         "La question '%s' contient une réponse qui n'est pas un code entier (%s) à l'interview %s : "
         "ses réponses ne peuvent pas être lues."},
        {kReponsesHorsModalites,
         "La question '%s' contient %d réponse(s) dont le code ne correspond à aucune de ses modalités : "
         "elles sont lues comme des réponses absentes."},
        {kStyleEvolueSansCalcul, "Le style de ce tableau évolué ne contient aucun calcul : le tableau ne peut pas être calculé."},
        {kTableauEvolueVide,
         "Ce tableau évolué n'a aucune ligne ou aucune colonne : choisissez des modalités dans les profils ou des "
         "calculs de marge dans le style."},
        {kSelectionnerTypeTotal, "Sélectionner un type total"},
        {kStyleModifie, "Ce style a changé. Voulez-vous le sauvegarder ?"},
        {kDefinirUneOperation, "Vous devez définir au moins une opération."},
        {kOuvrirBibliotheque, "Ne peut pas ouvrir le fichier bibliothèque"},
        {kAjoutBibliotheque, "Ajout avec succès à la bibliothèque"},
        {kEcritureBibliotheque, "Le style n'a pas pu être ajouté à la bibliothèque : %s"},
        {kSupprimerOperation, "Etes-vous sûre de vouloir supprimer cette opération ?"},
        {kSupprimerStyle, "Etes-vous sûre de vouloir supprimer ce style ?"},
        {kNouveauStyle, "Nouveau style"},
        {kProfilSansQuestion, "Le profil ne contient aucune question : le tableau ne peut pas être calculé."},
        {kProfilQuestionAbsente,
         "La question n°%d du profil n'existe pas dans le questionnaire : le tableau ne peut pas être calculé."},
        {kProfilModaliteAbsente,
         "La modalité de code %d de la question '%s' n'existe pas dans le questionnaire : le tableau ne peut pas "
         "être calculé."},
        {kProfilSansModalite,
         "Aucune modalité n'est choisie pour la question '%s' du profil : le tableau ne peut pas être calculé."},
        {kProfilQuestionNonFermee, "La question '%s' du profil n'est pas une question fermée."},
        {kProfilQuestionNonNumerique, "La question '%s' du profil n'est pas une question numérique."},
        {kProfilQuestionNonOuverte, "La question '%s' du profil n'est pas une question ouverte."},
        {kEcritureFichierImpossible, "Impossible d'écrire le fichier '%s' : %s"},
        {kTableauTropGrandClasseur,
         "Le tableau '%s' est trop grand pour une feuille de calcul : %d lignes et %d colonnes au plus."},
        {kNomFeuilleClasseur, "Feuil%d"},
        {kDossierIllisible, "Le fichier '%s' n'est pas un dossier, ou il est endommagé : il n'a pas été ouvert."},
        {kDossierVersionInconnue,
         "Le dossier '%s' a été écrit par une version inconnue du programme : il n'a pas été ouvert."},
        {kEnregistrementDossierImpossible,
         "Impossible d'enregistrer le dossier '%s' : le fichier précédent est conservé."},
        {kDossierElementsDevenusChapitres,
         "Ces tableaux ne peuvent plus être calculés sur l'enquête ouverte ; ils deviennent des chapitres :%s"},
        {kDossierSansRequete, "le tableau n'a pas de définition"},
        {kDossierAucunTableau, "le calcul ne donne aucun tableau"},
        {kNomChapitre, "Chapitre %d"},
        {kSupprimerEnregistrements, "Etes-vous sur de vouloir supprimer ces enregistrements ?"},
        {kSupprimerSousItems, "Souhaitez-vous supprimer aussi les sous-items ?"},
        {kCopierPressePapiersImpossible, "Ne peut pas copier dans le presse-papiers"},
        {kLirePressePapiersImpossible, "Ne peut pas lire le presse-papiers"},
        {kEnregistrerModificationsDossier, "Enregistrer les modifications de %s ?"},
        {kFormuleChampEtudeLecture,
         "La formule du champ d'étude '%s' ne peut pas lire ses données : erreur %d à la position %d. %s"},
        {kChampEtudeInconnu, "Le champ d'étude n° %d n'existe plus dans le questionnaire."},
        {kChampEtudeHorsNiveau, "Le champ d'étude '%s' ne peut pas être appliqué au niveau '%s' : %s"},
        {kSauvegarderModifications, "Souhaitez-vous sauvegarder les modifications ?"},
        {kNomDejaUtilise, "Nom déjà utilisé..."},
        {kSupprimerEnregistrement, "Souhaitez-vous vraiment supprimer cet enregistrement ?"},
        {kNouveauChampEtude, "Nouveau champ d'étude"},
        {kEntrerUnNom, "Vous devez entrer un nom"},
        {kConditionAutreNiveauRequise,
         "Vous devez avoir au moins une condition pointant sur un autre niveau..."},
        {kUneSeuleConditionAutreNiveau, "Vous ne pouvez avoir qu'une seule condition dans un autre niveau..."},
        {kEntrerUnNombre, "Vous devez entrer un nombre..."},
        {kEntrerNombreEntre, "Vous devez entrer un nombre entre %g et %g..."},
        {kCaracteresMaximum, "%d caractères maximum..."},
        {kSelectionnerFichierDifferent, "Vous devez sélectionner un fichier différent de celui de la base ouverte..."},
        {kInversionEchouee, "L'inversion de la base a échoué : %s"},
        {kInversionNiveauEchouee, "L'inversion de la base a échoué au niveau '%s' : %s"},
        {kInversionQuestionEchouee, "L'inversion de la base a échoué à la question '%s' : %s"},
        {kEntrerNombrePositif, "Vous devez entrer un nombre positif..."},
        {kNouveauRedressement, "Nouveau redressement"},
        {kImpossibleSupprimerItem, "Impossible de supprimer cet item..."},
        {kQuestionCorrespondante, "Selectionner la question correspondant à '%s'"},
        {kRedressementNeConvergePas,
         "Le redressement ne converge pas, probablement à cause des objectifs fixés pour la question '%s'..."},
        {kObjectifsMalTotalises,
         "Les valeurs désirées de la question '%s' totalisent %s au lieu de %s."},
        {kPoidsInitialInvalide,
         "La question de poids initial '%s' a des valeurs négatives ou manquantes."},
        {kAucuneQuestion, "Aucune"},
        {kPasAssezDeMemoire, "Pas assez de mémoire"},
        {kTropDeNonReponses, "Trop de non-réponses ... Impossible de créer la matrice..."},
        {kErreurInconnueRegression, "Erreur inconnue"},
        {kMatriceNonInversible,
         "La matrice ne peut être inversée. Augmenter le nombre d'interviews ou diminuez le nombre de variables"},
        {kValeursPropresNonNumeriques,
         "Les valeurs propres ne peuvent pas être calculées : la matrice contient une valeur qui n'est pas un nombre."},
        {kValeursPropresSansConvergence,
         "Le calcul des valeurs propres ne converge pas : l'analyse est interrompue."},
        {kCelluleManquante, "La cellule de la ligne %d et de la colonne %d est une valeur manquante : l'analyse est impossible."},
        {kCelluleNegative,
         "La cellule de la ligne %d et de la colonne %d est négative : l'analyse des correspondances est impossible."},
        {kVariablesCalculeesDefectueuses,
         "Des variables calculées ne peuvent pas être reconstruites telles qu'elles ont été enregistrées :\n%s"},
        {kVariableTypeInconnu, "'%s' : type de variable inconnu (%d), la question n'a aucune modalité."},
        {kVariableDefinitionIncoherente,
         "'%s' : la définition donne %d éléments pour %d libellés, la question n'a aucune modalité."},
        {kVariableQuestionAbsente,
         "'%s' : la question de code %d n'existe plus, la variable ne peut plus être recalculée."},
        {kVariableCodeEnDouble, "'%s' : plusieurs modalités ont le code %d, seule la première est gardée."},
        {kVariableElementIllisible, "'%s' : l'élément '%s' de la définition ne peut pas être lu."},
        {kEffectif, "Effectif"},
        {kModaliteDejaSelectionnee,
         "Cette modalité est déjà sélectionnée. Souhaitez-vous l'ajouter dans un autre sous total ?"},
        {kAucuneModaliteSelectionnee, "Aucune modalité sélectionnée..."},
        {kSousTotalSansModalite, "Le sous-total n'a pas de modalité attachée..."},
        {kModaliteSansSousItems, "Une modalité ne peut avoir de sous-items..."},
        {kEntrerUnLibelle, "Vous devez entrer un libellé..."},
        {kLibelleDejaUtilise, "Ce libellé est déjà utilisé... Veuillez en changer."},
        {kIntervalles, "Intervalles"},
        {kMoinsDe, "Moins de %g %s"},
        {kPlusDe, "Plus de %g %s"},
        {kDeA, "De %g à %g %s"},
        {kNombreIntervallesDesire, "Nombre d'intervalles désiré:"},
        {kBornes, "Bornes"},
        {kOuMoins, "%g %s ou moins"},
        {kOuPlus, "%g %s ou plus"},
        {kAuMoinsUneBorne, "Vous devez entrer au moins une borne..."},
        {kBornesDifferentes, "Les bornes doivent être différentes..."},
        {kAuMoinsUnIntervalle, "Vous devez avoir au moins un intervalle..."},
        // The French "à", as in the recoded question's own caption.
        {kDeADate, "De %s à %s"},
        {kAvant, "Avant %s"},
        {kAvantInclus, "Avant %s (inclus)"},
        {kApresInclus, "Après %s (inclus)"},
        {kApres, "Après %s"},
        {kDateNonValide, "Vous devez entrer une date valide..."},
        {kPasDisponible, "Pas disponible"},
        {kAuMoinsTroisInterviews, "Vous devez sélectionner au moins 3 interviews..."},
        {kAuMoinsDeuxLignesActives, "Vous devez sélectionner au moins 2 lignes actives..."},
        {kAuMoinsDeuxColonnesActives, "Vous devez sélectionner au moins 2 colonnes actives..."},
        {kAucunAxe, "Aucun axe ne porte d'inertie : il n'y a rien à représenter."},
        {kEcritureVariableImpossible, "La variable '%s' n'a pas pu être créée : %s"},
        {kLibelleSansBarre, "Vous ne pouvez utiliser le caractère |"},
        {kLibelleSansBarreNiArobase, "Vous ne pouvez utiliser les caractères suivants | et @"},
        {kVariableSansCalcul, "'%s' : les réponses de cette variable ne peuvent pas être calculées à partir de sa définition."},
        {kDeuxQuestionsAModalites, "Vous devez sélectionner deux questions à modalité..."},
        {kVariableNombreReponses, "'%s' : le nombre de réponses enregistré (%d) est remplacé par 1."},
        // The script language of computed variables.
        {kScriptValeurNumeriqueInvalide, "Valeur numérique no valide"},
        {kScriptCaractereInattendu, "Caractère inattendu..."},
        {kScriptManqueFinQuestion, "Manque délimiteur de fin de question"},
        {kScriptQuestionInexistante, "La question '%s' n'existe pas"},
        {kScriptQuestionInutilisable, "Question '%s' inutilisable pour script..."},
        {kScriptManqueParentheseFermante, "Il manque une parenthèse fermante"},
        {kScriptParentheseInattendue, "Parenthèse inattendue"},
        {kScriptSiInattendu, "SI inattendu en milieu d'expression"},
        {kScriptFinSiAttendu, "FINSI attendu en fin de SI"},
        {kScriptAlorsAttendu, "ALORS attendu en fin de SI ou SINONSI"},
        {kScriptUnSeulSinon, "Il ne peut y avoir que 1 seul SINON"},
        {kScriptErreurSyntaxe, "Erreur de syntaxe"},
        {kScriptAmbigu, "Ambigu. Parenthésez votre expression"},
        {kScriptComparateurInattendu, "Comparateur inattendu"},
        {kScriptOperateurInattendu, "Opérateur inattendu"},
        {kScriptOperateurLogiqueInattendu, "Opérateur logique inattendu"},
        {kScriptAdditionImpossible, "Vous ne pouvez additionner ces 2 valeurs"},
        {kScriptSoustractionImpossible, "Vous ne pouvez soustraire ces 2 valeurs"},
        {kScriptMultiplicationImpossible, "Vous ne pouvez multiplier ces 2 valeurs"},
        {kScriptDivisionImpossible, "Vous ne pouvez diviser ces 2 valeurs"},
        {kScriptComparaisonImpossible, "Vous ne pouvez comparer ces deux valeurs"},
        {kScriptLogiqueSurNombres, "Les opérateurs logiques ne peuvent s'effectuer que sur des nombres"},
        {kScriptExpressionVide, "Expression vide"},
        {kScriptPasErreur, "Pas d'erreur"},
        {kVariableSansReponse, "La variable '%s' ne donne aucune réponse : elle n'est pas créée."},
        {kRecalculImpossible, "Ne peut pas recalculer question '%s'..."},
        {kNon, "Non"},
        {kSelectionnerChampEtude, "Vous devez sélectionner un champ d'étude..."},
        {kNonImplemente, "Non disponible pour une question ouverte"},
        {kPasDansUneBoucle, "Les questions ne font pas partie d'une boucle"},
        {kAucuneModaliteDefinie, "Aucune modalité définie..."},
        {kItemSansModaliteLiee, "Cet item n'a pas de modalité liée..."},
        {kRegrouperNonReponses, "Souhaitez-vous regrouper les 'non-réponse' ensemble ?"},
        {kNonReponse, "Non réponse"},
        {kNonInterroge, "Non interrogé"},
        {kModeNonDisponible, "Ce mode n'est pas encore disponible."},
        {kCroisementAvecElleMeme, "Vous ne pouvez pas croiser une question avec elle-même..."},
        {kChampDejaSelectionne, "Ce champ est déjà sélectionné. Souhaitez-vous l'ajouter dans un autre sous total ?"},
        {kChampSansSousItems, "Un champ ne peut avoir de sous-items..."},
        {kUneSeuleModaliteAutre, "Vous ne pouvez avoir qu'une seule modalité de type 'Autre'..."},
        {kCreerModaliteAutre, "Souhaitez-vous créer une modalité de type 'Autre' ?"},
        {kAutre, "Autre"},
        {kSelectionnerQuestionOuverte, "Vous devez sélectionner une question ouverte..."},
        {kQuestionNiveauInterviews, "La question doit être au niveau 'interviews'..."},
        {kFichierAutreEncodage,
         "Le fichier '%s' n'est pas lisible : il est écrit dans un autre encodage (UTF-16 ?). Enregistrez-le en "
         "UTF-8 ou en Windows-1252."},
        {kFichierLigneMalformee,
         "Le fichier '%s' est mal formé à la ligne %s : un code postal doit être suivi de ses codes de "
         "classification, séparés par des tabulations."},
        {kFichierLibellesVide,
         "Le fichier de libellés '%s' ne contient aucune ligne 'code<tabulation>libellé'."},
        {kFichiersCodesPostauxNonDefinis,
         "Les fichiers de la classification des codes postaux ne sont pas indiqués dans les réglages (section "
         "'Postcode', clés 'PostcodePath' et 'LabelPath1' à 'LabelPath3')."},
        {kScriptTropImbrique, "Expression trop imbriquée. Simplifiez votre script"},
    };
    return entries;
}

bool IsConversionEnd(char c) {
    return std::string_view("diouxXeEfFgGsc").find(c) != std::string_view::npos;
}

} // namespace

const std::string& Text(int id) {
    static const std::string empty;
    const auto& entries = Entries();
    const auto found = entries.find(id);
    return found == entries.end() ? empty : found->second;
}

std::string Format(const Message& message) {
    if (message.id == 0)
        return message.arguments.empty() ? std::string() : message.arguments.front();
    const std::string& text = Text(message.id);
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        if (text[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && !IsConversionEnd(text[end]))
            ++end;
        if (end == text.size()) {
            out += text.substr(i);
            break;
        }
        if (next < message.arguments.size())
            out += message.arguments[next];
        ++next;
        i = end;
    }
    return out;
}

} // namespace StringTable
