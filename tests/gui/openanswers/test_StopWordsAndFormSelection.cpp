// The two dialogs of the stop words: the library of stop words, and the choice of the forms of an
// open-answer typology, which can put the stop words aside.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QListWidget>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/DBQuestionnaire.h"
#include "app/TblMotVide.h"
#include "gui/openanswers/BibliothequeMotsOutilsDlg.h"
#include "gui/openanswers/EntryList.h"
#include "gui/openanswers/SelectionFormesDlg.h"
#include "openanswers/Forme.h"
#include "openanswers/OuvCorpus.h"
#include "platform/db/Database.h"
#include "support/FixtureStudyTest.h"

namespace {

using Texts = std::vector<std::string>;

// A survey of one open question with a library of its own holding "le", "et" and "un". The forms
// and their frequencies: chat 3, le 3, chien 2, et 2, un 2, and dort and oiseau once each.
class StopWordDialogsTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture("questionnaire \"Animaux\" language=fr\n"
                    "language 1036 fr \"Français\"\n"
                    "question 1 AVIS open\n"
                    "records\n"
                    "Cle1,1;1\n"
                    "1,\"le chat et le chien\"\n"
                    "2,\"Le chat dort\"\n"
                    "3,\"un chien et un chat\"\n"
                    "4,\"oiseau\"\n"
                    "end\n",
                    "animaux");
        CContexteEtude::RegisterContext(&context);
        context.libraryPath = (folder / "bibliotheque.bib").string();
        {
            db::Database library(context.libraryPath, db::Database::Access::ReadWrite,
                                 db::Database::Creation::CreateIfMissing);
            library.createTable(CTblMotVide::Layout().Definition());
        }
        ASSERT_TRUE(CDBQuestionnaire::SauverMotsVides({"le", "et", "un"}, {}));
    }

    void TearDown() override {
        corpus.reset();
        CContexteEtude::RegisterContext(nullptr);
        FixtureStudyTest::TearDown();
    }

    COuvCorpus& Corpus() {
        if (corpus == nullptr) {
            corpus = std::make_unique<COuvCorpus>(context, Named("AVIS"));
            EXPECT_TRUE(corpus->Ouvrir());
        }
        return *corpus;
    }

    int Entry(const char* text) {
        int index = -1;
        EXPECT_TRUE(Corpus().ChercherForme(text, index)) << text;
        return index;
    }

    std::vector<int> Entries(const Texts& texts) {
        std::vector<int> entries;
        for (const std::string& text : texts)
            entries.push_back(Entry(text.c_str()));
        return entries;
    }

    Texts TextsOf(const std::vector<int>& entries) {
        Texts texts;
        for (const int entry : entries)
            texts.push_back(Corpus().DonnerForme(entry)->text);
        return texts;
    }

    static Texts Listed(const QTreeWidget& list) {
        Texts texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts.push_back(list.topLevelItem(i)->text(0).toStdString());
        return texts;
    }

    static Texts Library() {
        std::vector<std::string> words;
        EXPECT_TRUE(CDBQuestionnaire::LireMotsVides(words));
        std::sort(words.begin(), words.end());
        return words;
    }

    std::unique_ptr<COuvCorpus> corpus;
};

// ---- Sélection des formes ---------------------------------------------------------------------

TEST_F(StopWordDialogsTest, TheFormsOfOneAnswerAreListedNowhere) {
    using D = CSelectionFormesDlg;
    // dort, met once, is among the actives given, and oiseau is in no array.
    std::vector<int> actives = Entries({"le", "dort"});
    std::vector<int> illustratives = Entries({"chien"});
    D dialog(actives, illustratives, Corpus());
    EXPECT_EQ(Listed(dialog.GetListe(D::kActives)), (Texts{"le"}));
    EXPECT_EQ(Listed(dialog.GetListe(D::kIllustratives)), (Texts{"chien"}));
    // The rest by frequency, then by text.
    EXPECT_EQ(Listed(dialog.GetListe(D::kFormes)), (Texts{"chat", "et", "un"}));
    EXPECT_EQ(dialog.GetListe(D::kFormes).topLevelItem(0)->text(1), QStringLiteral("3"));
    dialog.accept();
    EXPECT_EQ(TextsOf(actives), (Texts{"le"}));
    EXPECT_EQ(TextsOf(illustratives), (Texts{"chien"}));
}

TEST_F(StopWordDialogsTest, EnleverLesMotsOutilMovesOnlyTheActiveStopWords) {
    using D = CSelectionFormesDlg;
    ASSERT_EQ(Corpus().DonnerForme(Entry("le"))->stopWord, 1);
    const std::vector<int> givenActives = Entries({"le", "chat", "et"});
    const std::vector<int> givenIllustratives = Entries({"un"});
    std::vector<int> actives = givenActives;
    std::vector<int> illustratives = givenIllustratives;
    D dialog(actives, illustratives, Corpus());
    // A form of the remaining ones selected beforehand stays where it is.
    dialog.GetListe(D::kFormes).topLevelItem(0)->setSelected(true);
    dialog.GetBouton(D::kEnleverMotsOutils).click();
    EXPECT_EQ(Listed(dialog.GetListe(D::kActives)), (Texts{"chat"}));
    EXPECT_EQ(Listed(dialog.GetListe(D::kFormes)), (Texts{"le", "chien", "et"}));
    // The illustrative stop word is not touched.
    EXPECT_EQ(Listed(dialog.GetListe(D::kIllustratives)), (Texts{"un"}));
    // No stop word left among the actives: nothing moves.
    dialog.GetBouton(D::kEnleverMotsOutils).click();
    EXPECT_EQ(Listed(dialog.GetListe(D::kActives)), (Texts{"chat"}));
    EXPECT_EQ(Listed(dialog.GetListe(D::kFormes)), (Texts{"le", "chien", "et"}));
    // Annuler hands nothing back.
    dialog.reject();
    EXPECT_EQ(actives, givenActives);
    EXPECT_EQ(illustratives, givenIllustratives);
}

// Each arrow from chat and le active, et illustrative, chien and un remaining; an arrow of the
// selected items moves the first item of its source list.
TEST_F(StopWordDialogsTest, EachArrowMovesItsFormsBetweenItsTwoLists) {
    using D = CSelectionFormesDlg;
    struct Case {
        D::Bouton button;
        D::Liste source;
        Texts remaining, active, illustrative;
    };
    const Case cases[] = {
        {D::kVersActives, D::kFormes, {"un"}, {"chat", "le", "chien"}, {"et"}},
        {D::kActivesVersFormes, D::kActives, {"chat", "chien", "un"}, {"le"}, {"et"}},
        {D::kActivesVersIllustratives, D::kActives, {"chien", "un"}, {"le"}, {"chat", "et"}},
        {D::kIllustrativesVersActives, D::kIllustratives, {"chien", "un"}, {"chat", "le", "et"}, {}},
        {D::kToutVersActives, D::kFormes, {}, {"chat", "le", "chien", "un"}, {"et"}},
        {D::kToutActivesVersFormes, D::kActives, {"chat", "le", "chien", "un"}, {}, {"et"}},
        {D::kToutActivesVersIllustratives, D::kActives, {"chien", "un"}, {}, {"chat", "le", "et"}},
        {D::kToutIllustrativesVersActives, D::kIllustratives, {"chien", "un"}, {"chat", "le", "et"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        std::vector<int> actives = Entries({"le", "chat"});
        std::vector<int> illustratives = Entries({"et"});
        D dialog(actives, illustratives, Corpus());
        dialog.GetListe(c.source).topLevelItem(0)->setSelected(true);
        dialog.GetBouton(c.button).click();
        EXPECT_EQ(Listed(dialog.GetListe(D::kFormes)), c.remaining);
        EXPECT_EQ(Listed(dialog.GetListe(D::kActives)), c.active);
        EXPECT_EQ(Listed(dialog.GetListe(D::kIllustratives)), c.illustrative);
        dialog.accept();
        EXPECT_EQ(TextsOf(actives), c.active);
        EXPECT_EQ(TextsOf(illustratives), c.illustrative);
    }
}

// ---- Bibliothèque des mots outils -------------------------------------------------------------

// The words typed, one per addition, and the answer to every removal.
struct Typist {
    std::vector<std::string> words;
    bool confirms = true;
    CBibliothequeMotsOutilsDlg::SaisieMot Ask() {
        return [this](std::string& word) {
            if (words.empty())
                return false;
            word = words.front();
            words.erase(words.begin());
            return true;
        };
    }
    CBibliothequeMotsOutilsDlg::Confirmation Confirm() {
        return [this] { return confirms; };
    }
};

Texts SelectedWords(const QListWidget& list) {
    Texts texts;
    for (const QListWidgetItem* item : list.selectedItems())
        texts.push_back(item->text().toStdString());
    return texts;
}

void Select(QListWidget& list, const std::string& word) {
    list.clearSelection();
    const auto found = list.findItems(QString::fromStdString(word), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << word;
    found.front()->setSelected(true);
}

TEST_F(StopWordDialogsTest, AWordTheLibraryHoldsIsSelectedAndCapitalsAreStoredFolded) {
    Typist typist{{"LE", "ÉTÉ", "été"}};
    CBibliothequeMotsOutilsDlg dialog(typist.Ask(), typist.Confirm());
    QListWidget& list = dialog.Liste();
    ASSERT_EQ(list.count(), 3);
    dialog.OnAjouter();
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(SelectedWords(list), (Texts{"le"}));
    EXPECT_TRUE(dialog.Ajoutes().empty());
    dialog.OnAjouter();
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(SelectedWords(list), (Texts{"été"}));
    // The same word again, as typed in small letters: one item still.
    dialog.OnAjouter();
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(dialog.Ajoutes(), (Texts{"été"}));
    dialog.accept();
    EXPECT_EQ(Library(), (Texts{"et", "le", "un", "été"}));
}

TEST_F(StopWordDialogsTest, RemovingAWordAddedMeanwhileLeavesTheLibraryAsItWasForIt) {
    Typist typist{{"chat"}};
    CBibliothequeMotsOutilsDlg dialog(typist.Ask(), typist.Confirm());
    dialog.OnAjouter();
    dialog.OnEnlever(); // the new word is the one selected
    EXPECT_TRUE(dialog.Ajoutes().empty());
    EXPECT_TRUE(dialog.Enleves().empty());
    // A removal the user does not confirm removes nothing.
    Select(dialog.Liste(), "et");
    typist.confirms = false;
    dialog.OnEnlever();
    EXPECT_EQ(dialog.Liste().count(), 3);
    typist.confirms = true;
    dialog.OnEnlever();
    EXPECT_EQ(dialog.Enleves(), (Texts{"et"}));
    dialog.accept();
    EXPECT_EQ(Library(), (Texts{"le", "un"}));
}

TEST_F(StopWordDialogsTest, AnnulerWritesNothing) {
    Typist typist{{"Chat"}};
    CBibliothequeMotsOutilsDlg dialog(typist.Ask(), typist.Confirm());
    dialog.OnAjouter();
    Select(dialog.Liste(), "le");
    dialog.OnEnlever();
    ASSERT_EQ(dialog.Ajoutes(), (Texts{"chat"}));
    ASSERT_EQ(dialog.Enleves(), (Texts{"le"}));
    dialog.reject();
    EXPECT_EQ(Library(), (Texts{"et", "le", "un"}));
}

} // namespace
