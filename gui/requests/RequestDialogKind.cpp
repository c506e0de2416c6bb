#include "gui/requests/RequestDialogKind.h"

#include "app/StringTable.h"
#include "tabulation/Traitement.h"

#include <algorithm>

namespace {

using Page = RequestPage;
using Defaults = CalculationDefaults;

constexpr int kGeneraleAvecFusion = 153;
constexpr int kGeneraleSansFusion = 168;
constexpr int kNoPlainQuestion = -1;
constexpr bool kKept = true;
constexpr bool kNotKept = false;
constexpr int kLignes = 0;
constexpr int kColonnes = 1;
constexpr bool kTotalShown = true;
constexpr bool kTotalHidden = false;
constexpr bool kSameNumber = true;

Page Generale(int templateId) {
    return {Page::kGenerale, templateId, 0, 0, 0};
}
Page Lignes(int question, std::int16_t mode = 0) {
    return {Page::kLignes, 0, question, mode, 0};
}
Page Calculs(std::int16_t mode, int side) {
    return {Page::kCalculs, 0, 0, mode, side};
}
Page Regroupement(int question) {
    return {Page::kRegroupement, 0, question, 0, 0};
}
// A calculations page that may have nothing ticked.
Page CalculsFacultatifs(std::int16_t mode, int side) {
    Page page = Calculs(mode, side);
    page.checked = false;
    return page;
}
Page Profil(int side, bool totalShown, bool sameNumber = false) {
    return {Page::kProfil, 182, 0, 0, side, totalShown, sameNumber};
}
Page ProfilQuestions(int side) {
    return {Page::kProfilQuestions, 185, 0, 0, side};
}
Page ProfilOuvertes() {
    return {Page::kProfilOuvertes, 288, 0, 0, kLignes};
}
Page OnTab(Page page, const char* tab) {
    page.tab = tab;
    return page;
}
// A page that OK does not check.
Page Unchecked(Page page) {
    page.checked = false;
    return page;
}
// The style page of advanced tables.
Page Style() {
    return {Page::kStyle, 261, 0, 0, 0};
}

} // namespace

bool RequestDialogKind::AlwaysInWindow() const {
    return std::any_of(pages.begin(), pages.end(), [](const RequestPage& page) {
        return page.kind == RequestPage::kGenerale && page.templateId == kGeneraleSansFusion;
    });
}

bool RequestDialogKind::OnTabs() const {
    return !pages.empty() && pages.front().tab != nullptr;
}

const std::vector<RequestDialogKind>& RequestDialogKinds() {
    using T = CTraitement;
    // clang-format off
    // Template, caption, class, type codes, row kind, column kind, questions taken; the pages from
    // top to bottom; the question set without lines; kept for the next dialog: the row lines, the
    // column lines, the calculations.
    static const std::vector<RequestDialogKind> kinds = {
        {143, "Tri simple", "CTriSimpleDlg", {T::kTriSimple},
         T::kAxeFermee, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Lignes(0), Calculs(1, 0)},
         kNoPlainQuestion, kKept, kNotKept, Defaults::kQualitatifs},
        {167, "Tri croisé", "CTriCroiseDlg", {T::kTriCroise, T::kTauxImportanceCroise},
         T::kAxeFermee, T::kAxeFermee, 2,
         {Generale(kGeneraleAvecFusion), Lignes(0), Lignes(1), Calculs(2, 0)},
         kNoPlainQuestion, kKept, kKept, Defaults::kCroises},
        {179, "Statistiques", "CStatistiquesDlg", {T::kStatistiques},
         T::kAxeNumerique, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Calculs(3, 0)},
         0, kNotKept, kNotKept, Defaults::kNumeriques},
        // The numeric question of a mean table has no line to keep.
        {186, "Tableau de moyenne", "CTableauMoyenneDlg", {T::kTableauMoyenne},
         T::kAxeFermee, T::kAxeNumerique, 2,
         {Generale(kGeneraleSansFusion), Lignes(0), Calculs(6, 0)},
         1, kKept, kNotKept, Defaults::kMoyennes},
        // The grouped rows are the grouping's nodes, not modalities of the question: they are
        // not kept as the question's choices.
        {190, "Tri avec regroupement", "CTriRegroupementDlg", {T::kTriRegroupement},
         T::kAxeRegroupement, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Regroupement(0), Calculs(1, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kQualitatifs},
        {215, "Morvane de classement", "CMorvaneClassementDlg", {T::kTriClassement},
         T::kAxeFermee, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Lignes(0)},
         kNoPlainQuestion, kKept, kNotKept, Defaults::kAucune},
        {275, "Traitement mixte (Tri simple et Statistique)", "CTraitementMixteDlg", {T::kTraitementMixte},
         T::kAxeFermee, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Lignes(0, 3), Calculs(1, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kAucune},
        {228, "Tri croisé avec regroupement", "CTriCroiseRegroupementDlg", {T::kTriCroiseRegroupement},
         T::kAxeRegroupement, T::kAxeFermee, 2,
         {Generale(kGeneraleAvecFusion), Regroupement(0), Lignes(1), Calculs(2, 0)},
         kNoPlainQuestion, kNotKept, kKept, Defaults::kCroises},
        // The profile dialogs take no question: their pages build the profiles, and the general
        // page starts with a title of their own.
        {181, "Profil simple", "CProfilSimpleDlg", {T::kProfilsSimples},
         T::kAxeProfilFermees, T::kAxeAucun, 0,
         {Generale(kGeneraleAvecFusion), Profil(kLignes, kTotalShown), Calculs(1, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kQualitatifs, StringTable::kTitreProfil},
        {183, "Statistiques rapides", "CStatistiquesRapidesDlg", {T::kProfilsStatistiques},
         T::kAxeProfilNumeriques, T::kAxeAucun, 0,
         {Generale(kGeneraleAvecFusion), ProfilQuestions(kLignes), Calculs(3, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kNumeriques, StringTable::kTitreProfil},
        {187, "Profil croisé", "CProfilCroiseDlg", {T::kProfilsCroises},
         T::kAxeProfilFermees, T::kAxeProfilFermees, 0,
         {Generale(kGeneraleAvecFusion), Profil(kLignes, kTotalShown), Profil(kColonnes, kTotalShown), Calculs(2, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kCroises, StringTable::kTitreProfilsCroises},
        // Statistics of the modalities compared need numeric questions; choosing none is allowed.
        {214, "Comparaison de modalités", "CComparaisonModalitesDlg", {T::kComparaisonModalites},
         T::kAxeProfilFermees, T::kAxeAucun, 0,
         {Generale(kGeneraleAvecFusion), Profil(kLignes, kTotalHidden, kSameNumber), Calculs(1, 0),
          CalculsFacultatifs(3, 1)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kQualitatifs, StringTable::kTitreComparaison, true},
        {241, "Profil croisé de moyenne", "CProfilCroiseMoyenneDlg", {T::kProfilsCroisesMoyenne},
         T::kAxeProfilFermees, T::kAxeProfilNumeriques, 0,
         {Generale(kGeneraleAvecFusion), Profil(kLignes, kTotalShown), ProfilQuestions(kColonnes), Calculs(6, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kMoyennes, StringTable::kTitreProfilsCroises},
        {287, "Profils de questions ouvertes", "CProfilsOuvertesDlg", {T::kOuvertesProfils},
         T::kAxeProfilOuvertes, T::kAxeIndefini, 0,
         {Generale(kGeneraleAvecFusion), ProfilOuvertes()},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kAucune, StringTable::kTitreProfil},
        // No general page: the style page has its settings; the columns' profile is not checked.
        {260, "Profils croisés", "CProfilsCroisesDlg", {T::kTableauxEvolues},
         T::kAxeProfilFermees, T::kAxeProfilFermees, 0,
         {OnTab(Style(), "Général"), OnTab(Profil(kLignes, kTotalHidden), "Lignes"),
          OnTab(Unchecked(Profil(kColonnes, kTotalHidden)), "Colonnes")},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kAucune, StringTable::kTitreProfilsCroises, false},
    };
    // clang-format on
    return kinds;
}

const RequestDialogKind* FindRequestDialogKind(std::int16_t type) {
    for (const RequestDialogKind& kind : RequestDialogKinds())
        if (std::find(kind.typeCodes.begin(), kind.typeCodes.end(), type) != kind.typeCodes.end())
            return &kind;
    return nullptr;
}
