#include <algorithm>
#include <string>
#include <vector>

#include <QSpinBox>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Calcul.h"
#include "framework/DocumentSource.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/openanswers/OuvSegmentView.h"
#include "openanswers/OpenAnswersFixture.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "portfolio/ElementDossier.h"
#include "portfolio/EnregistrerClassesDossier.h"
#include "portfolio/RecalculDossier.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

// Segments by hand: "le chat noir" three times (length 3), "un chien" twice (2), "le chat" is
// inside the longer one at the same places and so not kept on its own; "chien noir" twice.
const std::vector<std::string> kAnswers = {"le chat noir dort", "le chat noir mange", "un chien noir",
                                           "le chat noir et un chien noir", "rien"};

class SegmentWindowTest : public OpenAnswersTest {
protected:
    void SetUp() override {
        OpenAnswersTest::SetUp();
        OpenAnswers(kAnswers);
        CContexteEtude::RegisterContext(&context);
        ASSERT_TRUE(document.OnOpenDocument(DocumentSource::FromObject(&Named("AVIS"))));
        document.AddView(view);
        view.OnInitialUpdate();
    }
    void TearDown() override {
        document.RemoveView(view);
        CContexteEtude::RegisterContext(nullptr);
        OpenAnswersTest::TearDown();
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int i = 0; i < view.GetListe().topLevelItemCount(); ++i)
            texts.push_back(view.GetListe().topLevelItem(i)->text(column).toStdString());
        return texts;
    }
    COuvCorpusDoc document;
    COuvSegmentView view;
};

TEST_F(SegmentWindowTest, ListsAndSortsTheSegments) {
    const std::vector<std::string> texts = Column(0);
    ASSERT_FALSE(texts.empty());
    // By text first: dictionary order.
    EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end())) << texts.front();
    const auto at = [&](const std::string& text) { return std::find(texts.begin(), texts.end(), text) - texts.begin(); };
    ASSERT_LT(at("le chat noir"), static_cast<long>(texts.size()));
    EXPECT_EQ(Column(1)[static_cast<std::size_t>(at("le chat noir"))], "3");
    EXPECT_EQ(Column(2)[static_cast<std::size_t>(at("le chat noir"))], "3");
    // By frequency: the most frequent first.
    view.Trier(1);
    EXPECT_EQ(Column(0).front(), "le chat noir");
    // By length: the longest first, equal lengths by text.
    view.Trier(2);
    EXPECT_EQ(Column(2).front(), "3");
    const std::vector<std::string> lengths = Column(2);
    EXPECT_TRUE(std::is_sorted(lengths.rbegin(), lengths.rend()));
    // A minimum above every frequency lists nothing.
    view.GetFrequenceMinimale().setValue(4);
    view.Remplir();
    EXPECT_EQ(view.GetListe().topLevelItemCount(), 0);
}

// The portfolio keeps the request; the engine rebuilds the same inventory from it.
TEST_F(SegmentWindowTest, PortfolioElementSavedAndReopenedEqual) {
    view.Trier(1);
    const std::unique_ptr<CTableau> table = view.ConstruireElementDossier();
    ASSERT_TRUE(table);
    const CTraitement* request = table->GetTraitement();
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->type, CTraitement::kOuvertesSegments);
    ASSERT_EQ(request->GetCalculsLignes().size(), 2u);
    EXPECT_EQ(request->GetCalculsLignes()[0]->code, 2); // minimum frequency
    EXPECT_EQ(request->GetCalculsLignes()[1]->code, 1); // sort column
    EXPECT_EQ(table->title, "Inventaire des segments répétés de 'Votre avis'");

    EnregistrerClassesDossier();
    // Stored and read back as the portfolio's file does, at the program's archive version.
    const int kVersion = CElementDossier::GetVersionCourante();
    CElementDossier element(*table);
    CArchiveVersion out(kVersion);
    element.Serialize(out);
    CArchiveVersion in(out.TakeBytes(), kVersion);
    CElementDossier reopened;
    reopened.Serialize(in);
    EXPECT_TRUE(in.IsAtEnd());
    // A portfolio keeps the request, not the numbers: reopening computes the table again.
    RecalculDossier recompute(context);
    ASSERT_TRUE(recompute.RecalculerElement(reopened));
    const CTableau* back = reopened.GetTableau();
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->RowCount(), table->RowCount());
    for (int i = 0; i < table->RowCount(); ++i) {
        EXPECT_EQ(back->GetLibelleLigne(0, i), table->GetLibelleLigne(0, i));
        EXPECT_EQ(back->GetValeur(i, 0), table->GetValeur(i, 0));
    }
    ASSERT_NE(back->GetTraitement(), nullptr);
    EXPECT_EQ(back->GetTraitement()->GetCalculsLignes()[1]->code, 1);
}

} // namespace
