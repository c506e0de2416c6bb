#pragma once

#include <string>

#include "app/Message.h"

// The French string table: every text the program shows or generates, by numeric id. Ids below
// 64000 are the program's historical ids; texts that never had one take ids from 64000 upward.
namespace StringTable {

// Identifiers in use; add new ones here and their text in StringTable.cpp.
enum Id : int {
    kFichiersQes = 63000,
    kToutesLesInterviews = 63111,
    kAucunRedressement = 63112,
    kSelectionnerQuestionAutorisee = 63114,
    kImpossibleOuvrirFichier = 63143,
    kStyleTitre = 63145,
    kStyleNormal = 63146,
    kSousTotal = 63148,
    kDossiersDos = 63156,
    kSelectionnerQuestion = 63161,
    kQuestionsCalculees = 63210,
    kIntvw = 63313,
    kInterviews = 63407,
    kEcraserRedressement = 63439,
    kEcraserRecodage = 63442,
    kInitialisationCom = 63479,
    kOui = 63488,
    kNePeutPasCreerTable = 64030,
    kErreurBaseDeDonnees = 64031,
    kErreurInconnue = 64032,
    kImpossibleOuvrirQuestionnaire = 64033,
    // Reading answers and the inverted files.
    kLectureImpossible = 64034,
    kQuestionNiveauInaccessible = 64035,
    kVeuillezRecalculerVariables = 64036,
    kInversionDeLaBase = 64037,
    kEcritureFichierInverse = 64038,
    // Exports of interviews and questions.
    kImpossibleCopierFichier = 64039,
    kExportSurQuestionnaireOuvert = 64040,
    // Study fields and the weights of the tabulation kernels.
    kFormuleChampEtude = 64041,
    kRedressementIndisponible = 64042,
    kChampsEtudeCrees = 64043,
    // The treatment runner.
    kTraitementInconnu = 64044,
    kTraitementNonDisponible = 64045,
    // The request dialogs and their pages.
    kSelectionnerUneModalite = 64046,
    kSelectionnerUnTraitement = 64047,
    // The questionnaire tree.
    kSupprimerQuestion = 64120,
    // The main window and the application.
    kChangerNiveau = 64121,
    kFenetreNonDisponible = 64122,
    kAideIntrouvable = 64124,
    // The table window: its exports, printing and preview, and the table options.
    kFichiersRtf = 64130,
    kFichiersTextes = 64131,
    kClasseursExcel = 64132,
    kRemplacerFichier = 64133,
    kEntrezUnEntier = 64135,
    kEntrezEntierCompris = 64136,
    kEchecCommande = 64137,
    kImpressionImpossible = 64138,
    // The selection dialogs.
    kQuestionHorsNiveauCourant = 64201,
    kSelectionnerNiveauParent = 64203,
    kSelectionnerElement = 64204,
    kSelectionnerUnCalcul = 64205,
    // Questionnaires and answers the program cannot count.
    kNombreReponsesInvalide = 64300,
    kCodeModaliteEnDouble = 64301,
    kReponseNonEntiere = 64302,
    kReponsesHorsModalites = 64303,
    // Advanced tables.
    kStyleEvolueSansCalcul = 64320,
    kTableauEvolueVide = 64321,
    // Profile tables: profiles that cannot be computed.
    kProfilSansQuestion = 64410,
    kProfilQuestionAbsente = 64411,
    kProfilModaliteAbsente = 64412,
    kProfilSansModalite = 64413,
    kProfilQuestionNonFermee = 64414,
    kProfilQuestionNonNumerique = 64415,
    kProfilQuestionNonOuverte = 64416,
    // Exports of result tables.
    kEcritureFichierImpossible = 64400,
    kTableauTropGrandClasseur = 64401,
    kNomFeuilleClasseur = 64402,
    // The portfolio: its file, the clipboard, its tree and the tables it computes again.
    kDossierIllisible = 64800,
    kDossierVersionInconnue = 64801,
    kEnregistrementDossierImpossible = 64802,
    kDossierElementsDevenusChapitres = 64803,
    kDossierSansRequete = 64804,
    kDossierAucunTableau = 64805,
    kNomChapitre = 64806,
    kSupprimerEnregistrements = 64807,
    kSupprimerSousItems = 64808,
    kCopierPressePapiersImpossible = 64809,
    kLirePressePapiersImpossible = 64810,
    kEnregistrerModificationsDossier = 64811,
    // Study fields: applying them, and their dialogs.
    kFormuleChampEtudeLecture = 64500,
    kChampEtudeInconnu = 64501,
    kChampEtudeHorsNiveau = 64502,
    kSauvegarderModifications = 64503,
    kNomDejaUtilise = 64504,
    kSupprimerEnregistrement = 64505,
    kNouveauChampEtude = 64506,
    kEntrerUnNom = 64507,
    kConditionAutreNiveauRequise = 64508,
    kUneSeuleConditionAutreNiveau = 64509,
    kEntrerUnNombre = 64510,

    kEntrerNombrePositif = 64720,
    kNouveauRedressement = 64721,
    kImpossibleSupprimerItem = 64722,
    kBibliothequeInaccessible = 64723,
    kAjoutBibliotheque = 64724,
    kQuestionCorrespondante = 64725,
    kRedressementNeConvergePas = 64726,
    kObjectifsMalTotalises = 64727,
    kPoidsInitialInvalide = 64728,
    kAucuneQuestion = 64729,
    // The multivariate engines and the regression.
    kPasAssezDeMemoire = 63212,
    kTropDeNonReponses = 63318,
    kErreurInconnueRegression = 63405,
    kMatriceNonInversible = 63406,
    kValeursPropresNonNumeriques = 64600,
    kValeursPropresSansConvergence = 64601,
    kCelluleManquante = 64602,
    kCelluleNegative = 64603,
    // Computed questions: what a stored definition cannot give, and the captions typed for one.
    kVariablesCalculeesDefectueuses = 64650,
    kVariableTypeInconnu = 64651,
    kVariableDefinitionIncoherente = 64652,
    kVariableQuestionAbsente = 64653,
    kVariableCodeEnDouble = 64654,
    kVariableElementIllisible = 64655,
    kLibelleSansBarre = 64656,
    kLibelleSansBarreNiArobase = 64657,
    kVariableSansCalcul = 64658,
    kDeuxQuestionsAModalites = 64659,
    kVariableNombreReponses = 64660,
    // The script language of computed variables: cutting, checking and its editor.
    kScriptValeurNumeriqueInvalide = 63186,
    kScriptCaractereInattendu = 63187,
    kScriptManqueFinQuestion = 63188,
    kScriptQuestionInexistante = 63189,
    kScriptQuestionInutilisable = 63190,
    kScriptManqueParentheseFermante = 63192,
    kScriptParentheseInattendue = 63193,
    kScriptSiInattendu = 63194,
    kScriptFinSiAttendu = 63195,
    kScriptAlorsAttendu = 63196,
    kScriptUnSeulSinon = 63197,
    kScriptErreurSyntaxe = 63198,
    kScriptAmbigu = 63199,
    kScriptComparateurInattendu = 63200,
    kScriptOperateurInattendu = 63201,
    kScriptOperateurLogiqueInattendu = 63202,
    kScriptAdditionImpossible = 63203,
    kScriptSoustractionImpossible = 63204,
    kScriptMultiplicationImpossible = 63205,
    kScriptDivisionImpossible = 63206,
    kScriptComparaisonImpossible = 63207,
    kScriptLogiqueSurNombres = 63208,
    kScriptExpressionVide = 63209,
    kScriptPasErreur = 63335,
    kScriptTropImbrique = 64620,
    // The small shared dialogs: value entry, question list, inversion, exports.
    kEntrerNombreEntre = 64700,
    kCaracteresMaximum = 64701,
    kSelectionnerUneQuestion = 64702,
    kSelectionnerFichierDifferent = 64703,
    kInversionEchouee = 64704,
    kInversionNiveauEchouee = 64705,
    kInversionQuestionEchouee = 64706,
};

// The text of an id; empty when the id is unknown.
const std::string& Text(int id);

// The message with its arguments put in place of the text's conversions (%s, %d, %ld, %g, ...)
// in order; "%%" stays a percent sign. A message of id 0 is its first argument.
std::string Format(const Message& message);

} // namespace StringTable
