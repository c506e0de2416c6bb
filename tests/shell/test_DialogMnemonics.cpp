// Alt and a letter reach one control: within every dialog of the program, and within each page of
// a dialog that shows its pages in turn (tabs, panels of a mode), no two labelled controls share a
// mnemonic letter, whatever its case. Qt's own dialogs (files, colours, messages) are Qt's.
#include "MorvaneAppTestSupport.h"
#include "app/ChampCondition.h"
#include "app/IdName.h"
#include "framework/MoreWindowsDialog.h"
#include "gui/openanswers/BibliothequeMotsOutilsDlg.h"
#include "gui/presentation/BrushingDlg.h"
#include "gui/presentation/MappingPreviewView.h"
#include "gui/presentation/MappingView.h"
#include "gui/presentation/PresentationGraphiqueDlg.h"
#include "gui/presentation/PresentationMappingDlg.h"
#include "gui/presentation/PresentationTableauDlg.h"
#include "gui/presentation/SizingDlg.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/recodes/DefinitionConditionDlg.h"
#include "gui/recodes/RecodeModaliteNiveauDlg.h"
#include "gui/recodes/RecodeNumeriqueNiveauDlg.h"
#include "gui/recodes/RecodeOuverteNiveauDlg.h"
#include "gui/recodes/RedressementDlg.h"
#include "gui/recodes/RegroupementDlg.h"
#include "gui/recodes/RegrouperIntervallesDlg.h"
#include "gui/recodes/RegrouperValeursDlg.h"
#include "gui/requests/FusionDlg.h"
#include "gui/requests/OperationDlg.h"
#include "gui/requests/ProfilDlg.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "gui/requests/ProfilNumeriqueDlg.h"
#include "gui/requests/ProfilsActifsIllustratifsDlg.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/RequestDialogKind.h"
#include "gui/requests/SelCalculDlg.h"
#include "gui/requests/SelNiveauDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "gui/requests/SelectionProfilDlg.h"
#include "gui/requests/SelectionnerDlg.h"
#include "gui/statistics/GenererVariableDlg.h"
#include "gui/statistics/OptionsCalculDlg.h"
#include "gui/statistics/OptionsClassificationDlg.h"
#include "gui/statistics/SelInterviewsDlg.h"
#include "gui/statistics/SelLignesDlg.h"
#include "gui/statistics/SelModalitesDlg.h"
#include "gui/statistics/SelNbAxesDlg.h"
#include "gui/statistics/SelNbGroupesDlg.h"
#include "gui/statistics/SeuilsSignificativiteDlg.h"
#include "gui/tabulation/OptionsTableauxDlg.h"
#include "gui/tabulation/TableauPreviewView.h"
#include "gui/tabulation/TableauView.h"
#include "gui/variables/CreerVariableDlg.h"
#include "presentation/PresentationGraphique.h"
#include "presentation/PresentationMapping.h"
#include "shell/AboutDlg.h"
#include "shell/InversionDlg.h"
#include "shell/LanguesDlg.h"
#include "shell/ListeQuestionsDlg.h"
#include "shell/OptionsDlg.h"
#include "shell/ProgressionDlg.h"
#include "shell/SaisieValeurDlg.h"
#include "statistics/ParamBrushing.h"
#include "statistics/ParamSizing.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/TypeFusion.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

using shell_test::MorvaneAppTest;

// The letter Alt reaches in a caption: the one after its first single '&' ("&&" shows an '&');
// null when there is none.
QChar Mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

// The captions of the labelled controls shown now in the dialog: buttons, check boxes and radio
// buttons, group boxes, the labels of a buddy, and the tabs.
QStringList ShownCaptions(const QDialog& dialog) {
    QStringList captions;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&dialog))
            captions << button->text();
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        if (box->isVisibleTo(&dialog))
            captions << box->title();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() != nullptr && label->isVisibleTo(&dialog))
            captions << label->text();
    for (const QTabBar* tabs : dialog.findChildren<QTabBar*>())
        if (tabs->isVisibleTo(&dialog))
            for (int tab = 0; tab < tabs->count(); ++tab)
                if (tabs->isTabVisible(tab))
                    captions << tabs->tabText(tab);
    return captions;
}

// Each letter that two captions shown now share, with the captions: "Alt+A: &Afficher | &Annuler".
std::set<std::string> SharedNow(const QDialog& dialog) {
    std::map<QChar, QStringList> byLetter;
    for (const QString& caption : ShownCaptions(dialog))
        if (const QChar letter = Mnemonic(caption); !letter.isNull())
            byLetter[letter] << caption;
    std::set<std::string> shared;
    for (auto& [letter, captions] : byLetter)
        if (captions.size() > 1) {
            captions.sort();
            shared.insert("Alt+" + QString(letter).toStdString() + ": " + captions.join(" | ").toStdString());
        }
    return shared;
}

// The letters shared in the dialog as it opens, then on each page of each of its tab widgets and
// stacks of panels in turn; the dialog is left on the pages it showed.
std::set<std::string> SharedMnemonics(QDialog& dialog) {
    std::set<std::string> shared = SharedNow(dialog);
    const auto eachPage = [&](int count, int current, const std::function<void(int)>& show) {
        for (int page = 0; page < count; ++page) {
            show(page);
            shared.merge(SharedNow(dialog));
        }
        show(current);
    };
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
        eachPage(tabs->count(), tabs->currentIndex(), [tabs](int page) { tabs->setCurrentIndex(page); });
    for (QStackedWidget* stack : dialog.findChildren<QStackedWidget*>())
        if (qobject_cast<QTabWidget*>(stack->parentWidget()) == nullptr)
            eachPage(stack->count(), stack->currentIndex(),
                     [stack](int page) { stack->setCurrentIndex(page); });
    return shared;
}

TEST(DialogMnemonicsTest, TheLetterIsTheOneAfterTheFirstSingleAmpersand) {
    EXPECT_EQ(Mnemonic(QStringLiteral("&Annuler")), QLatin1Char('A'));
    EXPECT_EQ(Mnemonic(QStringLiteral("Re&lire")), QLatin1Char('L'));
    EXPECT_EQ(Mnemonic(QStringLiteral("Question é&clatée...")), QLatin1Char('C'));
    EXPECT_EQ(Mnemonic(QStringLiteral("Un &tableau pour chaque question en &ligne")), QLatin1Char('T'));
    EXPECT_EQ(Mnemonic(QStringLiteral("Tom && Jerry &x")), QLatin1Char('X'));
    EXPECT_TRUE(Mnemonic(QStringLiteral("Tom && Jerry")).isNull());
    EXPECT_TRUE(Mnemonic(QStringLiteral("Libellé&")).isNull());
}

// The checker itself: a shared letter whatever its case is found, on the page that shows it only.
TEST(DialogMnemonicsTest, ALetterSharedOnOnePageIsFoundAndNotAcrossPages) {
    QDialog dialog;
    auto* tabs = new QTabWidget(&dialog);
    auto* first = new QWidget();
    auto* second = new QWidget();
    tabs->addTab(first, QStringLiteral("&Général"));
    tabs->addTab(second, QStringLiteral("&Lignes"));
    new QPushButton(QStringLiteral("&Fond"), first);
    new QPushButton(QStringLiteral("&OK"), &dialog);
    new QPushButton(QStringLiteral("&Police"), second);
    EXPECT_EQ(SharedMnemonics(dialog), std::set<std::string>{});
    new QPushButton(QStringLiteral("&police"), first);
    auto* label = new QLabel(QStringLiteral("&Grille :"), second);
    EXPECT_EQ(SharedMnemonics(dialog), std::set<std::string>{}); // the label has no buddy
    label->setBuddy(new QPushButton(second));
    EXPECT_EQ(SharedMnemonics(dialog), (std::set<std::string>{"Alt+G: &Grille : | &Général"}));
    EXPECT_EQ(tabs->currentIndex(), 0);
}

// The program started on the demo; what the dialogs' factories use is public to them.
class DialogMnemonicsOfTheProgramTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }

public:
    using MorvaneAppTest::m_app;

    CContexteEtude& Context() const { return *m_app; }
    CQuestionEtendue& Q(const char* name) const { return QuestionNamed(name); }

    std::unique_ptr<QDialog> Request(std::int16_t type, const std::vector<const char*>& names) {
        std::vector<CQuestionEtendue*> questions;
        for (const char* name : names)
            questions.push_back(&Q(name));
        return RequestDialog::PourNouvelleDemande(Context(), type, questions);
    }

    // What the dialogs that take them by reference work on.
    std::vector<std::uint32_t> m_active{0, 1}, m_illustrative;
    CSelModalitesDlg::Selection m_modalities;
    CTableauView m_tableView;
    CMappingView m_mappingView;
};

using Factory = std::function<std::unique_ptr<QDialog>(DialogMnemonicsOfTheProgramTest&)>;
using T = CTraitement;

template <class Dialog, class... Args> std::unique_ptr<QDialog> Make(Args&&... args) {
    return std::make_unique<Dialog>(std::forward<Args>(args)...);
}

TEST_F(DialogMnemonicsOfTheProgramTest, NoTwoControlsOfADialogShareALetter) {
    using D = DialogMnemonicsOfTheProgramTest;
    const std::vector<std::pair<const char*, Factory>> dialogs = {
        // The request dialogs of "Tris" and "Ouverte/Profils".
        {"Tri simple", [](D& t) { return t.Request(T::kTriSimple, {"CSP"}); }},
        {"Tri croisé",
         [](D& t) {
             return t.Request(T::kTriCroise, {"MARQUES", "REGION"});
         }},
        {"Statistiques", [](D& t) { return t.Request(T::kStatistiques, {"AGE"}); }},
        {"Tableau de moyenne",
         [](D& t) {
             return t.Request(T::kTableauMoyenne, {"SATISF", "AGE"});
         }},
        {"Tri avec regroupement", [](D& t) { return t.Request(T::kTriRegroupement, {"SATISF"}); }},
        {"Morvane de classement", [](D& t) { return t.Request(T::kTriClassement, {"CLASSEMENT"}); }},
        {"Traitement mixte", [](D& t) { return t.Request(T::kTraitementMixte, {"SATISF"}); }},
        {"Tri croisé avec regroupement",
         [](D& t) {
             return t.Request(T::kTriCroiseRegroupement, {"SATISF", "SEXE"});
         }},
        {"Profil simple", [](D& t) { return t.Request(T::kProfilsSimples, {}); }},
        {"Statistiques rapides", [](D& t) { return t.Request(T::kProfilsStatistiques, {}); }},
        {"Profil croisé", [](D& t) { return t.Request(T::kProfilsCroises, {}); }},
        {"Comparaison de modalités", [](D& t) { return t.Request(T::kComparaisonModalites, {}); }},
        {"Profil croisé de moyenne", [](D& t) { return t.Request(T::kProfilsCroisesMoyenne, {}); }},
        {"Profils de questions ouvertes", [](D& t) { return t.Request(T::kOuvertesProfils, {}); }},
        {"Profils croisés (tableaux évolués)", [](D& t) { return t.Request(T::kTableauxEvolues, {}); }},
        // What the request dialogs open.
        {"Fusion", [](D&) { return Make<CFusionDlg>(CTypeFusion()); }},
        {"Présentation des tableaux", [](D&) { return Make<CPresentationTableauDlg>(); }},
        {"Opération", [](D& t) { return Make<COperationDlg>(t.Context(), CCalculEvolue()); }},
        {"Profil de modalités", [](D& t) { return Make<CProfilModalitesDlg>(t.Context(), 0, CProfil()); }},
        {"Profil de questions", [](D& t) { return Make<CProfilDlg>(t.Context(), 0, CProfil(), false); }},
        {"Profil de questions ouvertes",
         [](D& t) { return Make<CProfilDlg>(t.Context(), 0, CProfil(), true); }},
        {"Profil numérique",
         [](D& t) { return Make<CProfilNumeriqueDlg>(t.Context(), CProfil(), CProfil()); }},
        {"Profils actifs et illustratifs",
         [](D& t) { return Make<CProfilsActifsIllustratifsDlg>(t.Context(), CProfil(), CProfil()); }},
        {"Sélection de profil", [](D& t) { return Make<CSelectionProfilDlg>(t.Context(), CProfil()); }},
        {"Sélection d'une question", [](D&) { return Make<CSelQuestionDlg>(std::int16_t{0}); }},
        {"Sélection des calculs", [](D&) { return Make<CSelCalculDlg>(CSelCalculDlg::Calculs()); }},
        {"Sélectionner",
         [](D&) {
             return Make<CSelectionnerDlg>(std::vector<CIdName>{{1, "Un"}, {2, "Deux"}});
         }},
        {"Niveau", [](D&) { return Make<CSelNiveauDlg>(0); }},
        {"Niveau de référence", [](D&) { return Make<CSelNiveauDlg>(0, 1); }},
        // Study fields, weightings and recodes.
        {"Champs d'étude", [](D& t) { return Make<CChampEtudeDlg>(t.Context(), -1); }},
        {"Condition", [](D& t) { return Make<CDefinitionConditionDlg>(t.Context(), CChampCondition()); }},
        {"Redressement",
         [](D& t) { return Make<CRedressementDlg>(t.Context(), -1, SelecteursRedressement()); }},
        {"Regroupement", [](D& t) { return Make<CRegroupementDlg>(t.Context(), t.Q("REGION")); }},
        {"Regrouper des valeurs", [](D& t) { return Make<CRegrouperValeursDlg>(t.Context(), t.Q("AGE")); }},
        {"Regrouper en intervalles",
         [](D& t) { return Make<CRegrouperIntervallesDlg>(t.Context(), t.Q("AGE")); }},
        {"Changer le niveau d'une question fermée",
         [](D& t) { return Make<CRecodeModaliteNiveauDlg>(t.Context(), t.Q("LIEN")); }},
        {"Changer le niveau d'une question numérique",
         [](D& t) { return Make<CRecodeNumeriqueNiveauDlg>(t.Context(), t.Q("AGEMEMBRE")); }},
        {"Changer le niveau d'une question ouverte",
         [](D& t) { return Make<CRecodeOuverteNiveauDlg>(t.Context(), t.Q("OPINION")); }},
        {"Créer une variable", [](D& t) { return Make<CCreerVariableDlg>(t.Context()); }},
        // Tables, charts and maps.
        {"Options des tableaux", [](D&) { return Make<COptionsTableauxDlg>(); }},
        {"Aperçu d'un tableau", [](D& t) { return Make<CTableauPreviewView>(t.m_tableView); }},
        {"Présentation d'un graphique",
         [](D&) { return Make<CPresentationGraphiqueDlg>(CPresentationGraphique()); }},
        {"Présentation d'un mapping",
         [](D&) { return Make<CPresentationMappingDlg>(CPresentationMapping()); }},
        {"Brushing", [](D&) { return Make<CBrushingDlg>(CParamBrushing(), true, true, true, 2); }},
        {"Sizing", [](D&) { return Make<CSizingDlg>(CParamSizing(), true, true, true, 2); }},
        {"Aperçu d'un mapping", [](D& t) { return Make<CMappingPreviewView>(t.m_mappingView); }},
        // Analyses and tests.
        {"Options de la typologie", [](D&) { return Make<COptionsCalculDlg>(true, false, 1234, 1); }},
        {"Options d'une analyse", [](D&) { return Make<COptionsCalculDlg>(false, 2); }},
        {"Options de la classification",
         [](D&) { return Make<COptionsClassificationDlg>(true, 1, true, 10, 1234); }},
        {"Nombre de groupes",
         [](D&) {
             return Make<CSelNbGroupesDlg>(std::vector<double>{5.0, 12.0}, 4, 40.0);
         }},
        {"Nombre d'axes",
         [](D&) {
             return Make<CSelNbAxesDlg>(std::vector<double>{2.0, 0.75, 0.25});
         }},
        {"Générer une variable", [](D& t) { return Make<CGenererVariableDlg>(t.Context(), 2); }},
        {"Seuils de significativité", [](D& t) { return Make<CSeuilsSignificativiteDlg>(t.Context()); }},
        {"Sélection des modalités",
         [](D& t) { return Make<CSelModalitesDlg>(t.Context(), t.Q("SATISF"), t.m_modalities); }},
        {"Sélection des interviews",
         [](D& t) { return Make<CSelInterviewsDlg>(t.Context(), t.m_active, t.m_illustrative); }},
        {"Sélection des lignes",
         [](D& t) {
             return Make<CSelLignesDlg>(std::vector<std::string>{"Un", "Deux"}, t.m_active, t.m_illustrative);
         }},
        {"Bibliothèque des mots outils",
         [](D&) {
             return Make<CBibliothequeMotsOutilsDlg>([](std::string&) { return false; },
                                                     [] { return false; });
         }},
        // The small dialogs of the main window.
        {"Options", [](D&) { return Make<COptionsDlg>(); }},
        {"Inversion de la base", [](D& t) { return Make<CInversionDlg>(t.Context()); }},
        {"Saisie d'un nombre",
         [](D&) { return Make<CSaisieValeurDlg>(StringTable::kEntrerUnNom, 1.0, 10.0, 1); }},
        {"Saisie d'un texte",
         [](D&) { return Make<CSaisieValeurDlg>(StringTable::kEntrerUnNom, std::string("x"), 10); }},
        {"Liste de questions", [](D& t) { return Make<CListeQuestionsDlg>(t.Context()); }},
        {"A propos", [](D& t) { return Make<CAboutDlg>(t.m_app->GetInfoVersion()); }},
        {"Progression", [](D&) { return Make<CProgressionDlg>(); }},
        {"Langues", [](D& t) { return Make<CLanguesDlg>(t.m_app->languages, t.m_app->currentLanguage); }},
        {"Fenêtres",
         [](D&) { return Make<MoreWindowsDialog>(std::vector<QPointer<QMdiSubWindow>>{}, nullptr); }},
    };
    std::set<std::string> requestDialogs;
    for (const auto& [name, factory] : dialogs) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QDialog> dialog = factory(*this);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(SharedMnemonics(*dialog), std::set<std::string>{});
        if (qobject_cast<RequestDialog*>(dialog.get()) != nullptr)
            requestDialogs.insert(dialog->windowTitle().toStdString());
    }
    // Every member of the family of request dialogs was among them.
    std::set<std::string> family;
    for (const RequestDialogKind& kind : RequestDialogKinds())
        family.insert(kind.caption);
    EXPECT_EQ(requestDialogs, family);
}

} // namespace
