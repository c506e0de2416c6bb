#include "requests/RequestDialogKind.h"

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

Page Generale(int templateId) {
    return {Page::kGenerale, templateId, 0, 0, 0};
}
Page Lignes(int question, std::int16_t mode = 0) {
    return {Page::kLignes, 0, question, mode, 0};
}
Page Calculs(std::int16_t mode, int side) {
    return {Page::kCalculs, 0, 0, mode, side};
}
Page OnTab(Page page, const char* tab) {
    page.tab = tab;
    return page;
}
// The style page of advanced tables.
Page Style() {
    return {Page::kStyle, 261, 0, 0, 0};
}
// A profile page of closed questions without its box "Total", which OK checks or not.
Page ProfilSansTotal(int side, bool checked) {
    Page page{Page::kProfil, 182, 0, 0, side};
    page.checked = checked;
    return page;
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
        {215, "Morvane de classement", "CMorvaneClassementDlg", {T::kTriClassement},
         T::kAxeFermee, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Lignes(0)},
         kNoPlainQuestion, kKept, kNotKept, Defaults::kAucune},
        {275, "Traitement mixte (Tri simple et Statistique)", "CTraitementMixteDlg", {T::kTraitementMixte},
         T::kAxeFermee, T::kAxeAucun, 1,
         {Generale(kGeneraleSansFusion), Lignes(0, 3), Calculs(1, 0)},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kAucune},
        // No general page: the style page has its settings; the columns' profile is not checked.
        {260, "Profils croisés", "CProfilsCroisesDlg", {T::kTableauxEvolues},
         T::kAxeProfilFermees, T::kAxeProfilFermees, 0,
         {OnTab(Style(), "Général"), OnTab(ProfilSansTotal(0, true), "Lignes"),
          OnTab(ProfilSansTotal(1, false), "Colonnes")},
         kNoPlainQuestion, kNotKept, kNotKept, Defaults::kAucune},
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
