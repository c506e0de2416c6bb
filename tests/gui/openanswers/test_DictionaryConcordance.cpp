#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "framework/DocumentSource.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/WinApp.h"
#include "gui/openanswers/OuvConcordanceDoc.h"
#include "gui/openanswers/OuvConcordanceView.h"
#include "gui/openanswers/OuvDictionnaireDoc.h"
#include "gui/openanswers/OuvDictionnaireView.h"
#include "gui/openanswers/OuvFenetres.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "openanswers/OuvCorpus.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

using Texts = std::vector<std::string>;

class TestApp : public CWinApp {};

// The windows over a survey of one open question, in a main frame of their two templates.
class DictionaryWindowTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerOuvertes();
        OpenFixture("questionnaire \"Avis\" language=fr\n"
                    "language 1036 fr \"Français\"\n"
                    "question 1 AVIS open\n"
                    "  caption fr \"Votre avis\"\n"
                    "records\n"
                    "Cle1,1;1\n"
                    "1,\"chat noir et chat blanc\"\n"
                    "2,\"le chat noir dort\"\n"
                    "3,\"Chien\"\n"
                    "end\n",
                    "avis");
        CContexteEtude::RegisterContext(&context);
        app = std::make_unique<TestApp>();
        auto frame = std::make_unique<CMDIFrameWnd>(app.get());
        app->SetMainFrame(std::move(frame));
        auto makeFrame = [] { return std::make_unique<CMDIChildWnd>(); };
        dictionaries = &app->AddDocTemplate(
            CMultiDocTemplate::Create<COuvDictionnaireDoc, COuvDictionnaireView>(129, makeFrame));
        concordances = &app->AddDocTemplate(
            CMultiDocTemplate::Create<COuvConcordanceDoc, COuvConcordanceView>(129, makeFrame));
        OuvFenetres::SetAjoutDossier([this](const CTableau& table) { added.push_back(std::make_unique<CTableau>(table)); });
    }

    void TearDown() override {
        OuvFenetres::SetAjoutDossier(nullptr);
        OuvFenetres::SetOuvertureConcordance(nullptr);
        app.reset();
        CContexteEtude::RegisterContext(nullptr);
        FixtureStudyTest::TearDown();
    }

    COuvDictionnaireView* OpenDictionary() {
        CDocument* document = dictionaries->OpenDocumentFile(DocumentSource::FromObject(&Named("AVIS")));
        return document != nullptr ? dynamic_cast<COuvDictionnaireView*>(document->GetViews().front()) : nullptr;
    }

    static Texts Listed(const QTreeWidget& list, int column = 0) {
        Texts texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts.push_back(list.topLevelItem(i)->text(column).toStdString());
        return texts;
    }

    static void Select(QTreeWidget& list, const Texts& texts) {
        list.clearSelection();
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            for (const std::string& text : texts)
                if (list.topLevelItem(i)->text(0).toStdString() == text)
                    list.topLevelItem(i)->setSelected(true);
    }

    std::unique_ptr<TestApp> app;
    CMultiDocTemplate* dictionaries = nullptr;
    CMultiDocTemplate* concordances = nullptr;
    std::vector<std::unique_ptr<CTableau>> added;
};

TEST_F(DictionaryWindowTest, ListsSortsAndSearches) {
    COuvDictionnaireView* view = OpenDictionary();
    ASSERT_NE(view, nullptr);
    // Counted by hand: chat 3, noir 2, the others once; «Chien» folded.
    EXPECT_EQ(Listed(view->Liste()), (Texts{"blanc", "chat", "chien", "dort", "et", "le", "noir"}));
    EXPECT_EQ(view->Nombre().text().toStdString(), "Nombre: 7");
    view->FrequenceMinimale().setValue(2);
    EXPECT_EQ(Listed(view->Liste()), (Texts{"chat", "noir"}));
    view->FrequenceMinimale().setValue(1);
    view->TrierPar(COuvDictionnaireView::kFrequence);
    EXPECT_EQ(Listed(view->Liste()), (Texts{"chat", "noir", "blanc", "chien", "dort", "et", "le"}));
    EXPECT_EQ(Listed(view->Liste(), 1), (Texts{"3", "2", "1", "1", "1", "1", "1"}));

    // The search is exact: «cha» finds nothing, «chien» its item only.
    view->Liste().clearSelection();
    view->Recherche().setText("cha");
    view->OnRechercher();
    EXPECT_TRUE(view->Liste().selectedItems().isEmpty());
    view->Recherche().setText("chien");
    view->OnRechercher();
    ASSERT_EQ(view->Liste().selectedItems().size(), 1);
    EXPECT_EQ(view->Liste().selectedItems().front()->text(0).toStdString(), "chien");
}

TEST_F(DictionaryWindowTest, LemmasMadeAndUndone) {
    COuvDictionnaireView* view = OpenDictionary();
    ASSERT_NE(view, nullptr);
    Select(view->Liste(), {"chat"});
    EXPECT_FALSE(view->Associer().isEnabled());
    view->OnAssocier();
    EXPECT_EQ(view->Liste().topLevelItemCount(), 7);

    // A lemma of chat and chien counts 3 + 1; a lemma of that lemma and «dort» 4 + 1.
    Select(view->Liste(), {"chat", "chien"});
    EXPECT_TRUE(view->Associer().isEnabled());
    view->OnAssocier();
    Select(view->Liste(), {"chat", "dort"});
    view->OnAssocier();
    EXPECT_EQ(Listed(view->Liste()), (Texts{"blanc", "chat", "et", "le", "noir"}));
    EXPECT_EQ(Listed(view->Liste(), 1), (Texts{"1", "5", "1", "1", "2"}));
    ASSERT_EQ(view->Liste().selectedItems().size(), 1);
    EXPECT_TRUE(view->Dissocier().isEnabled());

    // The lemma is written at once: a new window reads it back.
    COuvDictionnaireView* again = OpenDictionary();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Listed(again->Liste(), 1), (Texts{"1", "5", "1", "1", "2"}));

    Select(view->Liste(), {"chat"});
    view->OnDissocier();
    EXPECT_EQ(Listed(view->Liste()), (Texts{"blanc", "chat", "chien", "dort", "et", "le", "noir"}));
    EXPECT_EQ(Listed(view->Liste(), 1), (Texts{"1", "3", "1", "1", "1", "1", "2"}));
    EXPECT_EQ(view->Liste().selectedItems().size(), 3);
}

TEST_F(DictionaryWindowTest, PortfolioElementRebuildsTheSameTable) {
    COuvDictionnaireView* view = OpenDictionary();
    ASSERT_NE(view, nullptr);
    view->FrequenceMinimale().setValue(2);
    view->TrierPar(COuvDictionnaireView::kFrequence);
    ASSERT_TRUE(view->HandleOwnCommand(COuvDictionnaireView::kAjouterAuDossier, CmdMsg::kCommand, nullptr));
    ASSERT_EQ(added.size(), 1u);
    const CTableau& table = *added.front();
    EXPECT_EQ(table.title, "Dictionnaire de 'Votre avis'");
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.GetValeur(0, 0), 3);
    EXPECT_EQ(table.GetValeur(1, 0), 2);
    const CTraitement* request = table.GetTraitement();
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->type, CTraitement::kOuvertesDictionnaire);
    ASSERT_EQ(request->GetCalculsLignes().size(), 3u);
    EXPECT_EQ(request->GetCalculsLignes()[0]->code, 2);
    EXPECT_EQ(request->GetCalculsLignes()[1]->code, 0);
    EXPECT_EQ(request->GetCalculsLignes()[2]->code, 1);
}

TEST_F(DictionaryWindowTest, ConcordanceOfAFormSortsItsColumns) {
    int chat = -1;
    {
        COuvCorpus corpus(context, Named("AVIS"));
        ASSERT_TRUE(corpus.Ouvrir());
        ASSERT_TRUE(corpus.ChercherForme("chat", chat));
        chat = corpus.DonnerForme(chat)->id;
    }
    const COuvConcordanceDoc::Demande request{&Named("AVIS"), chat, 1};
    CDocument* document = concordances->OpenDocumentFile(DocumentSource::FromObject(&request));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle().toStdString(), "Concordance de 'chat'");
    auto* view = dynamic_cast<COuvConcordanceView*>(document->GetViews().front());
    ASSERT_NE(view, nullptr);
    // By hand: chat twice in interview 1, once in interview 2.
    EXPECT_EQ(Listed(*view, 0), (Texts{"1", "1", "2"}));
    EXPECT_EQ(Listed(*view, 1), (Texts{"", "chat noir et ", "le "}));
    EXPECT_EQ(Listed(*view, 3), (Texts{"noir et chat blanc ", "blanc ", "noir dort "}));
    // Left contexts from the nearest word: «» first, then «et» before «le».
    view->Trier(COuvConcordanceView::kDroite);
    EXPECT_EQ(Listed(*view, 3), (Texts{"blanc ", "noir dort ", "noir et chat blanc "}));
    view->Trier(COuvConcordanceView::kGauche);
    EXPECT_EQ(Listed(*view, 1), (Texts{"", "chat noir et ", "le "}));
    view->Trier(COuvConcordanceView::kInterview);
    EXPECT_EQ(Listed(*view, 0), (Texts{"1", "1", "2"}));
    const std::unique_ptr<CTableau> table = view->TableauDeLaListe();
    EXPECT_EQ(table->RowCount(), 3);
}

// A concordance holds its own engine of the answers: closing the dictionary it was opened from
// leaves it open with all its lines (what closes with the window it came from are the table,
// chart, map and dendrogram windows of an analysis).
TEST_F(DictionaryWindowTest, AConcordanceOutlivesItsDictionary) {
    OuvFenetres::SetOuvertureConcordance([this](CQuestionEtendue& question, std::int32_t entry, std::int16_t kind) {
        const COuvConcordanceDoc::Demande request{&question, entry, kind};
        concordances->OpenDocumentFile(DocumentSource::FromObject(&request));
    });
    COuvDictionnaireView* view = OpenDictionary();
    ASSERT_NE(view, nullptr);
    Select(view->Liste(), {"chat"});
    view->OnConcordance();
    ASSERT_EQ(concordances->GetDocuments().size(), 1u);
    view->GetDocument()->OnCloseDocument();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dictionaries->GetDocuments().empty());
    ASSERT_EQ(concordances->GetDocuments().size(), 1u);
    auto* lines = dynamic_cast<COuvConcordanceView*>(concordances->GetDocuments().front()->GetViews().front());
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(concordances->GetDocuments().front()->GetTitle().toStdString(), "Concordance de 'chat'");
    lines->Trier(COuvConcordanceView::kDroite);
    EXPECT_EQ(Listed(*lines, 3), (Texts{"blanc ", "noir dort ", "noir et chat blanc "}));
    EXPECT_EQ(lines->TableauDeLaListe()->RowCount(), 3);
}

} // namespace
