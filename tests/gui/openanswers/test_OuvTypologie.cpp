// The typology of the interviews by the forms of their open answers, run from its window as the
// analyst runs it, beside the typology of closed questions over the same 0/1 table.
//
// Eight interviews; the closed questions BLEU, ROUGE, VERT, JAUNE and ET are answered "oui"
// exactly where the open answer holds that word, so the table of their modalities is the
// presence table of the forms. Frequencies: bleu 4, rouge 3, vert 3, et 2, jaune 2, rien 1.
#include "gui/statistics/StudyWindowTest.h"

#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "framework/Document.h"
#include "gui/openanswers/EntryList.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/openanswers/OuvTypologieView.h"
#include "gui/openanswers/SelectionFormesDlg.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/TypologieView.h"
#include "openanswers/Forme.h"
#include "openanswers/OuvCorpus.h"
#include "portfolio/ElementDossier.h"

#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace statistics_ui_test {
namespace {

const char* const kSurvey = R"(
questionnaire "Couleurs" language=fr
language 1036 fr "Français"
question 1 AVIS open
question 2 BLEU closed
  modality 1 fr "oui"
question 3 ROUGE closed
  modality 1 fr "oui"
question 4 VERT closed
  modality 1 fr "oui"
question 5 JAUNE closed
  modality 1 fr "oui"
question 6 ET closed
  modality 1 fr "oui"
records
Cle1,1;1,2;1,3;1,4;1,5;1,6;1
1,"rouge vert",,1,1,,
2,"Rouge et vert",,1,1,,1
3,"vert, rouge",,1,1,,
4,"bleu",1,,,,
5,"bleu et jaune",1,,,1,1
6,"jaune bleu bleu",1,,,1,
7,"rien",,,,,
8,"",,,,,
end
)";

constexpr int kInterviews = 8;

class OuvTypologieTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(kSurvey);
    }

    COuvTypologieView& OpenOpen() {
        return Open<COuvCorpusDoc, COuvTypologieView>(DocumentSource::FromObject(&Named("AVIS")));
    }

    static void Click(QPushButton& button, std::vector<ModalAnswers::Step> steps) {
        const std::size_t expected = steps.size();
        ModalAnswers answers(std::move(steps));
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), expected);
    }

    // "Sélection des formes": every form met twice active, then "et" illustrative.
    static ModalAnswers::Step EveryFormButEtActive() {
        return [](QDialog& shown) {
            using D = CSelectionFormesDlg;
            auto* dialog = qobject_cast<D*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->GetBouton(D::kToutVersActives).click();
            EntryList& actives = dialog->GetListe(D::kActives);
            const auto found = actives.findItems(QStringLiteral("et"), Qt::MatchExactly, 0);
            ASSERT_EQ(found.size(), 1);
            found.front()->setSelected(true);
            dialog->GetBouton(D::kActivesVersIllustratives).click();
            dialog->accept();
        };
    }

    // The "oui" of the questions, in the order of the forms of the window's lists.
    void ChooseQuestions(CTypologieView& view, std::vector<const char*> actives, std::vector<const char*> illustratives) {
        for (auto [profile, names] : {std::pair{&view.GetProfilActif(), actives},
                                      std::pair{&view.GetProfilIllustratif(), illustratives}})
            for (const char* name : names) {
                std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
                Named(name).DonnerModalites(modalities, true);
                std::erase_if(modalities, [](const auto& modality) { return modality->code < 0; });
                profile->Add(&Named(name), modalities);
            }
        view.AfficherComptes();
    }

    static std::vector<std::string> Texts(const COuvCorpus& corpus, const std::vector<int>& entries) {
        std::vector<std::string> texts;
        for (const int entry : entries)
            texts.push_back(corpus.DonnerForme(entry)->text);
        return texts;
    }
};

TEST_F(OuvTypologieTest, TheTablesAreThoseOfTheTypologyOfTheSamePresenceTable) {
    COuvTypologieView& open = OpenOpen();
    EXPECT_EQ(open.GetDocument()->GetTitle(), QStringLiteral("Typologie"));
    EXPECT_EQ(open.GetCompte(COuvTypologieView::kFormesActives).text(), QStringLiteral("0"));
    Click(open.GetBouton(COuvTypologieView::kFormes), {EveryFormButEtActive()});
    const COuvCorpus& corpus = *dynamic_cast<COuvCorpusDoc*>(open.GetDocument())->GetCorpus();
    // By frequency, then by text; rien, met once, is offered nowhere.
    EXPECT_EQ(Texts(corpus, open.GetFormesActives()), (std::vector<std::string>{"bleu", "rouge", "vert", "jaune"}));
    EXPECT_EQ(Texts(corpus, open.GetFormesIllustratives()), std::vector<std::string>{"et"});
    EXPECT_EQ(open.GetCompte(COuvTypologieView::kFormesActives).text(), QStringLiteral("4"));
    EXPECT_EQ(open.GetCompte(COuvTypologieView::kFormesIllustratives).text(), QStringLiteral("1"));
    open.GetNombreGroupes().setValue(3);
    Click(open.GetBouton(COuvTypologieView::kRecalculer), {});
    ASSERT_TRUE(open.EstCalcule()) << (ShownTexts().empty() ? "" : ShownTexts().front());

    std::uint16_t typology = 0; // of modalities
    auto& closed = Open<CMorvaneFactorielleDoc, CTypologieView>(DocumentSource::FromObject(&typology));
    ChooseQuestions(closed, {"BLEU", "ROUGE", "VERT", "JAUNE"}, {"ET"});
    closed.GetNombreGroupes().setValue(3);
    Click(closed.GetBouton(CTypologieView::kRecalculer), {});
    ASSERT_TRUE(closed.EstCalcule()) << (ShownTexts().empty() ? "" : ShownTexts().front());

    EXPECT_EQ(open.GetParIndividu(), closed.GetParIndividu());
    EXPECT_EQ(open.GetParGroupe(), closed.GetParGroupe());
    ASSERT_EQ(open.GetNombreElements(), 2 + 3);
    ASSERT_EQ(open.GetNombreElements(), closed.GetNombreElements());
    for (int e = 0; e < open.GetNombreElements(); ++e) {
        const CTableau& mine = *open.GetElement(e).GetTableau();
        const CTableau& theirs = *closed.GetElement(e).GetTableau();
        SCOPED_TRACE(mine.title);
        EXPECT_EQ(mine.title, theirs.title);
        EXPECT_EQ(mine.base, theirs.base);
        ASSERT_EQ(mine.RowCount(), theirs.RowCount());
        ASSERT_EQ(mine.ColumnCount(), theirs.ColumnCount());
        for (int j = 0; j < mine.ColumnCount(); ++j)
            EXPECT_EQ(mine.GetLibelleColonne(0, j), theirs.GetLibelleColonne(0, j));
        for (int i = 0; i < mine.RowCount(); ++i)
            for (int j = 0; j < mine.ColumnCount(); ++j)
                EXPECT_EQ(mine.GetValeur(i, j), theirs.GetValeur(i, j)) << i << ", " << j;
    }
    // The rows of a group's description are the forms; its last column is the share of all
    // eight interviews holding the form: bleu 3, rouge 3, vert 3, jaune 2, et 2.
    const CTableau& description = *open.GetElement(2).GetTableau();
    const std::vector<std::string> forms{"bleu", "rouge", "vert", "jaune", "et"};
    const double shares[] = {37.5, 37.5, 37.5, 25, 25};
    ASSERT_EQ(description.RowCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(description.GetLibelleLigne(0, i), forms[static_cast<std::size_t>(i)]);
        EXPECT_DOUBLE_EQ(description.GetValeur(i, 3), shares[i]);
    }
    // One row per interview, labelled as the typology of closed questions labels it.
    const CTableau& perInterview = *open.GetElement(1).GetTableau();
    ASSERT_EQ(perInterview.RowCount(), kInterviews);
    for (int i = 0; i < kInterviews; ++i)
        EXPECT_EQ(perInterview.GetLibelleLigne(0, i), closed.GetElement(1).GetTableau()->GetLibelleLigne(0, i));
}

TEST_F(OuvTypologieTest, GenererGivesEveryInterviewItsGroup) {
    COuvTypologieView& view = OpenOpen();
    Click(view.GetBouton(COuvTypologieView::kFormes), {EveryFormButEtActive()});
    view.GetNombreGroupes().setValue(2);
    Click(view.GetBouton(COuvTypologieView::kRecalculer), {});
    ASSERT_TRUE(view.EstCalcule()) << (ShownTexts().empty() ? "" : ShownTexts().front());
    Click(view.GetBouton(COuvTypologieView::kGenerer), {[](QDialog& shown) {
              auto& prompt = dynamic_cast<QInputDialog&>(shown);
              prompt.setTextValue(QStringLiteral("GroupesAvis"));
              prompt.accept();
          }});
    CQuestionEtendue* made = m_context.TrouverQuestionParNom("GroupesAvis");
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made->GetQuestionCalculee(), nullptr);
    EXPECT_EQ(made->GetQuestionCalculee()->definition, "1|2|");
    // The answerless interviews 7 and 8 are rows too: none is without an answer.
    CDataAccess access(m_context, true);
    CMatriceCodes codes;
    ASSERT_TRUE(access.LireReponsesFermeesNiveau(*made, 0, codes));
    const std::vector<double>& rows = view.GetParIndividu();
    ASSERT_EQ(rows.size(), 2u * kInterviews);
    for (int interview = 0; interview < kInterviews; ++interview) {
        EXPECT_NE(codes.GetAt(interview, 0), -5) << interview;
        EXPECT_EQ(codes.GetAt(interview, 0), static_cast<int>(rows[2 * static_cast<std::size_t>(interview)]) - 1)
            << interview;
    }
    // Interviews 1 to 3 name the same two colours, 5 and 6 the same two others: each pair
    // shares its group.
    EXPECT_EQ(codes.GetAt(0, 0), codes.GetAt(1, 0));
    EXPECT_EQ(codes.GetAt(1, 0), codes.GetAt(2, 0));
    EXPECT_EQ(codes.GetAt(4, 0), codes.GetAt(5, 0));
}

TEST_F(OuvTypologieTest, ARunWithoutActiveFormCannotDrawItsStartRows) {
    COuvTypologieView& view = OpenOpen();
    Click(view.GetBouton(COuvTypologieView::kGenerer), {}); // before any run: nothing
    Click(view.GetBouton(COuvTypologieView::kRecalculer), {});
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{StringTable::Text(StringTable::kIndividusDepartImpossibles)});
    EXPECT_FALSE(view.EstCalcule());
    EXPECT_EQ(view.GetNombreElements(), 0);
}

} // namespace
} // namespace statistics_ui_test
