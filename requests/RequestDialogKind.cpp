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
Page Regroupement(int question) {
    return {Page::kRegroupement, 0, question, 0, 0};
}

} // namespace

bool RequestDialogKind::AlwaysInWindow() const {
    return std::any_of(pages.begin(), pages.end(), [](const RequestPage& page) {
        return page.kind == RequestPage::kGenerale && page.templateId == kGeneraleSansFusion;
    });
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
