#include "shell/MainFrameCommands.h"

#include "app/QuestionEtendue.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "variables/ConstructionVariable.h"
#include "gui/variables/CreerVariableDlg.h"
#include "recodes/AppliquerChampEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/openanswers/BibliothequeMotsOutilsDlg.h"
#include "shell/ExportsDonnees.h"
#include "shell/InversionDlg.h"
#include "gui/recodes/RedressementDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "gui/recodes/RecodeModaliteNiveauDlg.h"
#include "gui/recodes/RecodeNumeriqueNiveauDlg.h"
#include "gui/recodes/RecodeOuverteNiveauDlg.h"
#include "gui/recodes/RegroupementDlg.h"
#include "gui/recodes/RegrouperIntervallesDlg.h"
#include "gui/recodes/RegrouperValeursDlg.h"
#include "gui/requests/SelNiveauDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/requests/SelectionnerDlg.h"
#include "openanswers/TableauxReponses.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "shell/OptionsDlg.h"
#include "tabulation/Traitement.h"
#include "gui/tabulation/OptionsTableauxDlg.h"
#include "gui/statistics/SeuilsSignificativiteDlg.h"

#include <algorithm>
#include <memory>

namespace MainFrameCommands {
namespace {

using R = QuestionRule;
using S = SecondQuestion;
using T = CTraitement;

constexpr bool kLevel = true;

void CreateStudyFieldPerModality(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    CreerChampsEtudeParModalite(*question, frame.GetApplication());
}

void OpenTableOptions(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    COptionsTableauxDlg dialog(&frame);
    dialog.exec();
}

// "Champ d'étude" on the study's default field; its "&Définir par défaut" box changes the default.
void EditStudyFields(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CContexteEtude& context = frame.GetApplication();
    CChampEtudeDlg dialog(context, context.universeCode, &frame);
    dialog.exec();
}

void InvertDatabase(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CInversionDlg dialog(frame.GetApplication(), &frame);
    dialog.exec();
}

// The dialog keeps its settings itself; the Total line's kind also applies to the open survey.
void EditGeneralOptions(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    COptionsDlg dialog(&frame);
    if (dialog.exec() == QDialog::Accepted)
        frame.GetApplication().TotalType = static_cast<std::int16_t>(dialog.GetTotalType());
}

void ExportStudyFieldInterviews(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    ExportsDonnees::ExporterInterviewsChampEtude(frame.GetApplication(), &frame);
}

void ExportQuestionSelection(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    ExportsDonnees::ExporterSelectionQuestions(frame.GetApplication(), &frame);
}

// "Redressement" on the study's default weighting; its "&Définir par défaut" box changes the default.
void EditWeightings(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CContexteEtude& context = frame.GetApplication();
    CRedressementDlg dialog(context, context.weightingCode, SelecteursRedressement(), &frame);
    dialog.exec();
}

// "Edition/Sélectionner le niveau courant...": the tree's icons show which questions suit the level.
void SelectCurrentLevel(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CMorvaneApp& application = frame.GetApplication();
    CSelNiveauDlg dialog(application.currentLevel, &frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    application.currentLevel = dialog.GetChosenLevel();
    application.RafraichirArbreQuestions();
}

// "Outils/Nom des interviews...": the open question whose answers label the interviews.
void NameInterviews(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CMorvaneApp& application = frame.GetApplication();
    CSelQuestionDlg dialog(CSelQuestionDlg::kOuvertes, application.GetLabelQuestion(), &frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    application.SetLabelQuestion(dialog.GetQuestion());
    application.RechargerLibellesInterviews();
}

// ---- Recodes ----

// The levels above the source's, from the level dialog of the requests.
bool ChooseLevel(int current, int sourceLevel, QWidget* parent, int& chosen) {
    CSelNiveauDlg dialog(current, sourceLevel, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.GetChosenLevel();
    return true;
}

// One recode of the library, from the selection dialog of the requests.
bool PickRecode(std::vector<CIdName> recodes, QWidget* parent, std::int32_t& chosen) {
    CSelectionnerDlg dialog(std::move(recodes), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.GetChosenId();
    return true;
}

// What a recode dialog needs from the dialogs above it, handed in before it opens.
template <class Dialog>
void HandInChoosers(Dialog& /*dialog*/) {}
void HandInChoosers(CRegroupementDlg& dialog) {
    dialog.SetRecodePicker(&PickRecode);
}

// A recode dialog on a new recode of the question, or on the recode of `edited`, made from
// `question`.
template <class Dialog>
void OpenRecodeDialog(CMainFrame& frame, CQuestionEtendue& question, CQuestionEtendue* edited) {
    CContexteEtude& context = frame.GetApplication();
    std::unique_ptr<Dialog> dialog = edited != nullptr ? std::make_unique<Dialog>(context, *edited, question, &frame)
                                                       : std::make_unique<Dialog>(context, question, &frame);
    HandInChoosers(*dialog);
    dialog->exec();
}

// The interval and discrete-value dialogs take the edited recoded question, if any, as one argument.
template <class Dialog>
void OpenRecodeListDialog(CMainFrame& frame, CQuestionEtendue& question, CQuestionEtendue* edited) {
    Dialog dialog(frame.GetApplication(), question, edited, &frame);
    dialog.exec();
}

template <class Dialog>
void OpenLevelDialog(CMainFrame& frame, CQuestionEtendue& question, CQuestionEtendue* edited) {
    CContexteEtude& context = frame.GetApplication();
    std::unique_ptr<Dialog> dialog = edited != nullptr ? std::make_unique<Dialog>(context, *edited, question, &frame)
                                                       : std::make_unique<Dialog>(context, question, &frame);
    dialog->SetLevelChooser(&ChooseLevel);
    dialog->exec();
}

template <class Dialog>
void NewRecode(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    OpenRecodeDialog<Dialog>(frame, *question, nullptr);
}

template <class Dialog>
void NewRecodeList(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    OpenRecodeListDialog<Dialog>(frame, *question, nullptr);
}

template <class Dialog>
void NewLevelChange(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    OpenLevelDialog<Dialog>(frame, *question, nullptr);
}

// The dialog that edits each kind of recode.
struct RecodeEditor {
    std::int16_t type;
    void (*open)(CMainFrame& frame, CQuestionEtendue& question, CQuestionEtendue* edited);
};
const RecodeEditor kRecodeEditors[] = {
    {CRecodage::kModalite, &OpenRecodeDialog<CRegroupementDlg>},
    {CRecodage::kLevelModalite, &OpenLevelDialog<CRecodeModaliteNiveauDlg>},
    {CRecodage::kIntervalle, &OpenRecodeListDialog<CRegrouperIntervallesDlg>},
    {CRecodage::kDiscrete, &OpenRecodeListDialog<CRegrouperValeursDlg>},
    {CRecodage::kLevelNumerique, &OpenLevelDialog<CRecodeNumeriqueNiveauDlg>},
    {CRecodage::kLevelOpen, &OpenLevelDialog<CRecodeOuverteNiveauDlg>},
};

// "Edition/Modifier..." on a recoded question: the dialog of its recode, on the question it is
// made from.
void EditRecode(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    const CRecodage* recode = question->GetRecodage();
    CQuestionEtendue* source = frame.GetApplication().DonnerQuestionParente(question);
    if (recode == nullptr || source == nullptr)
        return;
    const auto editor = std::find_if(std::begin(kRecodeEditors), std::end(kRecodeEditors),
                                     [recode](const RecodeEditor& e) { return e.type == recode->GetType(); });
    if (editor != std::end(kRecodeEditors))
        editor->open(frame, *source, question);
}

// "Edition/Créer une variable...": the new question joins the tree as it is built.
void CreateVariable(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CCreerVariableDlg dialog(frame.GetApplication(), &frame);
    dialog.exec();
}

// "Edition/Modifier..." on a computed question: its kind's page loaded from its definition.
void ModifyVariable(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    CCreerVariableDlg dialog(frame.GetApplication(), question, &frame);
    if (dialog.exec() == QDialog::Accepted)
        frame.GetApplication().RafraichirArbreQuestions();
}

// "Edition/Recalculer toutes les variables": each computed question that cannot be recalculated
// is named once and keeps its answers; the others go on.
void RecalculateVariables(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CMorvaneApp& application = frame.GetApplication();
    UserInterface& ui = application.GetUserInterface();
    std::vector<CConstructionVariable::Echec> failures;
    {
        WaitCursor wait(ui);
        failures = CConstructionVariable::RecalculerTout(application);
    }
    application.RafraichirArbreQuestions();
    for (const CConstructionVariable::Echec& failure : failures)
        ui.ShowMessage(Message(StringTable::kRecalculImpossible, {failure.question->name}), UserInterface::Icon::Warning);
}

// "Edition/Modifier...": a computed question in "Créer une variable", a recoded one in the
// dialog of its recode.
void EditDerived(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* second) {
    if (question->GetQuestionCalculee() != nullptr)
        ModifyVariable(frame, question, second);
    else
        EditRecode(frame, question, second);
}

// The "Ouverte" windows on the question chosen in the tree.
void OpenRepeatedSegments(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvSegment(*question);
}

void OpenOpenAnswerCorrespondence(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvCorrespondance(*question);
}

void OpenOpenAnswerTypology(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvTypologie(*question);
}

void OpenSpecificForms(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvFormeSpecifique(*question);
}

void OpenSpecificSegments(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvSpeSegment(*question);
}

void OpenCharacteristicAnswers(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvCaracteristique(*question);
}

// "Morvane/A. C. P." and "Morvane/AFC Disjonctive": the window finds its questions itself.
void OpenPrincipalComponents(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirMorvaneFactorielle(true);
}

void OpenDictionary(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirOuvDictionnaire(*question);
}

// "Bibliothèque des mots outils": the words asked and the removals confirmed as every prompt is.
void EditStopWords(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CMorvaneApp& application = frame.GetApplication();
    constexpr int kLongueurMotOutil = 50;
    CBibliothequeMotsOutilsDlg dialog(
        [&application](std::string& word) {
            return application.SaisirTexte(StringTable::kSaisieMotOutil, word, kLongueurMotOutil);
        },
        [&application] { return application.GetUserInterface().AskYesNo(Message(StringTable::kEnleverMotsOutils)); },
        &frame);
    dialog.exec();
}

// "Visualiser les réponses": the answers of the open question, as a table of its own.
void ShowOpenAnswers(CMainFrame& /*frame*/, CQuestionEtendue* question, CQuestionEtendue* /*second*/) {
    CMainFrame::LancerTraitement(TableauxReponses::TraitementReponses(*question));
}

// "... selon une autre question": the answers under each modality of the chosen closed question.
void ShowOpenAnswersBy(CMainFrame& /*frame*/, CQuestionEtendue* question, CQuestionEtendue* second) {
    CMainFrame::LancerTraitement(TableauxReponses::TraitementReponsesSelon(*question, *second));
}

void OpenMultipleCorrespondence(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirMorvaneFactorielle(false);
}

// "Test/Test d'indépendance": the first question chosen in rows, the second in columns.
void OpenIndependenceTest(CMainFrame& frame, CQuestionEtendue* question, CQuestionEtendue* second) {
    frame.GetApplication().OuvrirTstIndependance(question, second);
}

// "Outils/Seuils de significativité": the dialog writes the context and the settings itself.
void EditSignificanceThresholds(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    CSeuilsSignificativiteDlg dialog(frame.GetApplication(), &frame);
    dialog.exec();
}

// "Morvane/Régression linéaire multiple" and "Morvane/Tableaux croisés significatifs": the
// windows find their questions themselves.
void OpenRegression(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirRlm();
}

void OpenSignificantCrossTables(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OnTrisSignificatifs();
}

// "Morvane/Typologie", "Typologie numérique" and the two hierarchical classifications: the
// window finds its questions itself.
void OpenTypology(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirTypologie(false);
}

void OpenNumericTypology(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirTypologie(true);
}

void OpenClassification(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirClassification(false);
}

void OpenNumericClassification(CMainFrame& frame, CQuestionEtendue* /*question*/, CQuestionEtendue* /*second*/) {
    frame.GetApplication().OuvrirClassification(true);
}

// clang-format off
const Command kCommands[] = {
    // id     menu/item                                                  rule                   level   second question    request dialog            action
    // ---- Tables ("Tris", "Test") ----
    {32771, "Tris/Tris simple",                                          R::kClosed,            kLevel, S::kNone,          T::kTriSimple,            nullptr},
    {32804, "Tris/Tris avec regroupement",                               R::kGrouped,           kLevel, S::kNone,          T::kTriRegroupement,      nullptr},
    {32793, "Tris/Statistiques",                                         R::kNumeric,           kLevel, S::kNone,          T::kStatistiques,         nullptr},
    {32892, "Tris/Traitement mixte (Tris simple et Statistiques)",       R::kNumericClosed,     kLevel, S::kNone,          T::kTraitementMixte,      nullptr},
    {32846, "Tris/Morvane de classement",                                R::kRanking,           false,  S::kNone,          T::kTriClassement,        nullptr},
    {32795, "Tris/Profils simples",                                      R::kAlways,            false,  S::kNone,          T::kProfilsSimples,       nullptr},
    {32796, "Tris/Profils statistiques",                                 R::kAlways,            false,  S::kNone,          T::kProfilsStatistiques,  nullptr},
    {32844, "Tris/Comparaison de modalités",                             R::kAlways,            false,  S::kNone,          T::kComparaisonModalites, nullptr},
    {32789, "Tris/Tri Croisé",                                           R::kClosed,            kLevel, S::kCrossed,       T::kTriCroise,            nullptr},
    {32917, "Tris/Taux d'importance croisé",                             R::kClosed,            kLevel, S::kCrossed,       T::kTauxImportanceCroise, nullptr},
    {32859, "Tris/Tri Croisé avec regroupement",                         R::kGrouped,           false,  S::kCrossed,       T::kTriCroiseRegroupement, nullptr},
    {32797, "Tris/Tableau de moyenne",                                   R::kClosed,            false,  S::kMeanNumeric,   T::kTableauMoyenne,       nullptr},
    {32798, "Tris/Profils croisés",                                      R::kAlways,            false,  S::kNone,          T::kProfilsCroises,       nullptr},
    {32874, "Tris/Profils croisés de moyenne",                           R::kAlways,            false,  S::kNone,          T::kProfilsCroisesMoyenne, nullptr},
    {32890, "Tris/Tableaux évolués",                                     R::kAlways,            false,  S::kNone,          T::kTableauxEvolues,      nullptr},
    {32918, "Ouverte/Profils",                                           R::kAlways,            false,  S::kNone,          T::kOuvertesProfils,      nullptr},
    {32884, "Test/Test d'indépendance",                                  R::kClosed,            false,  S::kCrossed,       kNoRequest,               &OpenIndependenceTest},
    // ---- Editing and tools ("Edition", "Outils", "Fichier"); those without an action wait for their dialogs ----
    {32802, "Edition/Regrouper/en sous-totaux de modalités",             R::kClosed,            false,  S::kNone,          kNoRequest,               &NewRecode<CRegroupementDlg>},
    {32836, "Edition/Regrouper/en intervalles...",                       R::kFreeNumericOrDate, false,  S::kNone,          kNoRequest,               &NewRecodeList<CRegrouperIntervallesDlg>},
    {32837, "Edition/Regrouper/en valeurs discrètes...",                 R::kFreeNumeric,       false,  S::kNone,          kNoRequest,               &NewRecodeList<CRegrouperValeursDlg>},
    {32822, "Edition/Créer une variable...",                             R::kAlways,            false,  S::kNone,          kNoRequest,               &CreateVariable},
    {32803, "Edition/Modifier...",                                       R::kDerived,           false,  S::kNone,          kNoRequest,               &EditDerived},
    {32903, "Edition/Recalculer toutes les variables",                   R::kAlways,            false,  S::kNone,          kNoRequest,               &RecalculateVariables},
    {32912, "Edition/Créer un champ d'étude par modalité",               R::kClosed,            false,  S::kNone,          kNoRequest,               &CreateStudyFieldPerModality},
    {32887, "Edition/Sélectionner le niveau courant...",                 R::kAlways,            false,  S::kNone,          kNoRequest,               &SelectCurrentLevel},
    {32888, "Edition/Changer le niveau de la question/En tant que question à modalités...",
                                                                         R::kOtherLevelClosed,  false,  S::kNone,          kNoRequest,               &NewLevelChange<CRecodeModaliteNiveauDlg>},
    {32889, "Edition/Changer le niveau de la question/En tant que question numérique...",
                                                                         R::kOtherLevelNumeric, false,  S::kNone,          kNoRequest,               &NewLevelChange<CRecodeNumeriqueNiveauDlg>},
    {32911, "Edition/Changer le niveau de la question/En tant que question ouverte...",
                                                                         R::kOtherLevelOpen,    false,  S::kNone,          kNoRequest,               &NewLevelChange<CRecodeOuverteNiveauDlg>},
    {32791, "Outils/Champs d'étude",                                     R::kAlways,            false,  S::kNone,          kNoRequest,               &EditStudyFields},
    {32842, "Outils/Inverser la base...",                                R::kAlways,            false,  S::kNone,          kNoRequest,               &InvertDatabase},
    {32792, "Outils/Redressement",                                       R::kAlways,            false,  S::kNone,          kNoRequest,               &EditWeightings},
    {32913, "Outils/Seuils de significativité",                          R::kAlways,            false,  S::kNone,          kNoRequest,               &EditSignificanceThresholds},
    {32916, "Outils/Tableaux...",                                        R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenTableOptions},
    {32920, "Outils/Nom des interviews...",                              R::kAlways,            false,  S::kNone,          kNoRequest,               &NameInterviews},
    {32921, "Outils/Options générales...",                               R::kAlways,            false,  S::kNone,          kNoRequest,               &EditGeneralOptions},
    {32860, "Fichier/Exporter les interviews d'un champ d'étude...",     R::kAlways,            false,  S::kNone,          kNoRequest,               &ExportStudyFieldInterviews},
    {32882, "Fichier/Exporter une sélection de questions",               R::kAlways,            false,  S::kNone,          kNoRequest,               &ExportQuestionSelection},
    // ---- Open answers ("Ouverte") and statistical studies ("Morvane") ----
    {32814, "Ouverte/Dictionnaire",                                      R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenDictionary},
    {32816, "Ouverte/Segments répétés",                                  R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenRepeatedSegments},
    {32818, "Ouverte/Spécificités/Formes (Mots)",                        R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenSpecificForms},
    {32880, "Ouverte/Spécificités/Segments répétés",                     R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenSpecificSegments},
    {32820, "Ouverte/Réponses caractéristiques",                         R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenCharacteristicAnswers},
    {32826, "Ouverte/Morvane des Correspondances",                       R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenOpenAnswerCorrespondence},
    {32881, "Ouverte/Typologie",                                         R::kOpen,              false,  S::kNone,          kNoRequest,               &OpenOpenAnswerTypology},
    {32856, "Ouverte/Visualiser les réponses",                           R::kOpen,              false,  S::kNone,          kNoRequest,               &ShowOpenAnswers},
    {32857, "Ouverte/Visualiser les réponses selon une autre question",  R::kOpen,              false,  S::kOpenAnswersBy, kNoRequest,               &ShowOpenAnswersBy},
    {32858, "Ouverte/Bibliothèque des mots outils",                      R::kAlways,            false,  S::kNone,          kNoRequest,               &EditStopWords},
    {32847, "Morvane/Typologie",                                         R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenTypology},
    {32861, "Morvane/Typologie numérique",                               R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenNumericTypology},
    {32848, "Morvane/Classification hiérarchique",                       R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenClassification},
    {32862, "Morvane/Classification hiérarchique numérique",             R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenNumericClassification},
    {32863, "Morvane/A. C. P.",                                          R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenPrincipalComponents},
    {32864, "Morvane/AFC Disjonctive",                                   R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenMultipleCorrespondence},
    {32886, "Morvane/Régression linéaire multiple",                      R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenRegression},
    {32893, "Morvane/Tableaux croisés significatifs",                    R::kAlways,            false,  S::kNone,          kNoRequest,               &OpenSignificantCrossTables},
};
// clang-format on

} // namespace

std::span<const Command> All() {
    return kCommands;
}

const Command* Find(unsigned id) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const Command& command) { return command.id == id; });
    return found != std::end(kCommands) ? &*found : nullptr;
}

bool Satisfies(QuestionRule rule, const CQuestionEtendue* question) {
    if (rule == R::kAlways)
        return true;
    if (question == nullptr)
        return false;
    const CQuestionEtendue& q = *question;
    const bool otherLevel = q.level != 0;
    switch (rule) {
    case R::kAlways: return true;
    case R::kClosed: return q.EstFermee();
    case R::kGrouped: return q.EstRecodageModalite();
    case R::kNumeric: return q.EstNumerique();
    case R::kNumericClosed: return q.EstNumerique() && q.EstFermee();
    case R::kRanking: return q.EstFermee() && q.ranking != 0;
    case R::kFreeNumericOrDate: return q.EstNumeriqueLibre() || q.EstDate();
    case R::kFreeNumeric: return q.EstNumeriqueLibre();
    case R::kDerived: return q.GetQuestionCalculee() != nullptr || (q.recodeId != 0 && q.GetRecodage() != nullptr);
    case R::kOtherLevelClosed: return otherLevel && q.EstFermee();
    case R::kOtherLevelNumeric: return otherLevel && q.EstNumerique();
    case R::kOtherLevelOpen: return otherLevel && q.EstOuverte();
    case R::kOpen: return q.EstOuverte();
    }
    return false;
}

} // namespace MainFrameCommands
