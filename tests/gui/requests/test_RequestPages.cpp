// The pages of the request dialogs on the demo questionnaire: the lines and calculations a
// request shows again, the analyst's keys and buttons on the lists, the merge dialog.
#include "RequestDialogTestSupport.h"
#include "app/Registre.h"
#include "gui/requests/FusionDlg.h"
#include "gui/requests/PageGeneraleDlg.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>

namespace {

using namespace requests_test;
using T = CTraitement;
using Options = LineListWidget::Options;

class RequestPageTest : public DemoRequestTest {
protected:
    // A question-rows page on a question, its Total the rows', in a mode.
    std::unique_ptr<CPageQuestionsCalculsDlg> RowsPage(const std::string& name, std::int16_t mode = 0) {
        auto page = std::make_unique<CPageQuestionsCalculsDlg>(m_context, Question(name), 0, true, mode);
        page->show();
        return page;
    }

    std::unique_ptr<CPageCalculsDlg> CalculationsPage(std::int16_t mode, int side = 0) {
        auto page = std::make_unique<CPageCalculsDlg>(m_context, side, mode);
        page->show();
        return page;
    }

    // A selection entry of a modality of the question, of the rows' Total, or of a calculation.
    std::unique_ptr<CModaliteEtendue> Modality(const std::string& question, std::int32_t code) {
        CQuestionEtendue* q = Question(question);
        return std::make_unique<CModaliteEtendue>(*q->GetModaliteEtendue(q->TrouverModalite(code)));
    }
    std::unique_ptr<CModaliteEtendue> Total() {
        return std::make_unique<CModaliteEtendue>(*m_context.DonnerModaliteTotal(0));
    }
    std::unique_ptr<CModaliteEtendue> Calculation(std::int32_t code, const std::string& label) {
        auto entry = std::make_unique<CModaliteEtendue>(&m_context);
        entry->code = code;
        entry->SetShortCaption(label);
        entry->calculationLine = true;
        return entry;
    }

    // A request whose rows are the entries, on the question.
    template <class... Entries> T RowsRequest(const std::string& question, Entries... entries) {
        CPageQuestionsCalculsDlg::Lines lines;
        (lines.push_back(std::move(entries)), ...);
        T request;
        request.DefinirModalitesAxe(Question(question), lines, T::kLignes);
        return request;
    }

    static std::vector<std::string> WrittenLabels(const CPageQuestionsCalculsDlg& page) {
        T request;
        page.EcrireTraitement(request, T::kLignes);
        std::vector<std::string> labels;
        for (const auto& line : request.GetModalitesAxe(T::kLignes))
            labels.push_back(line->label);
        return labels;
    }
};

// ---- A request read back -----------------------------------------------------------------------

TEST_F(RequestPageTest, ARequestsLinesComeFirstInItsOrderAndEveryOtherLineIsUnticked) {
    auto page = RowsPage("SATISF");
    page->LireTraitement(RowsRequest("SATISF", Total(), Modality("SATISF", 3), Modality("SATISF", 1)),
                         T::kLignes);
    const std::vector<std::string> first3 = {"Total", "Ni satisfait ni insatisfait", "Très satisfait"};
    const std::vector<std::string> labels = Labels(page->GetList());
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 3), first3);
    EXPECT_EQ(Labels(page->GetList(), true), first3);
    EXPECT_EQ(WrittenLabels(*page), first3);
}

// The Total line shows the base of the question: every interview of the demo (its size is set by
// the fixture), whether the question takes one answer or several.
TEST_F(RequestPageTest, TheTotalLineCountsTheInterviewsOfTheQuestion) {
    for (const char* name : {"SEXE", "MARQUES"}) {
        auto page = RowsPage(name);
        const QTreeWidget& list = page->GetList();
        const QTreeWidgetItem* total = list.topLevelItem(Question(name)->GetNbreModalite());
        ASSERT_NE(total, nullptr) << name;
        EXPECT_EQ(total->text(0), "Total") << name;
        EXPECT_EQ(total->text(CModaliteListCtrl::kEffectif), QString::number(kInterviews)) << name;
    }
}

TEST_F(RequestPageTest, ACalculationLineAndAModalityOfTheSameCodeAreToldApart) {
    struct Case {
        const char* name;
        bool calculation;
        const char* ticked;
    };
    for (const Case& test :
         {Case{"calculation 1", true, "Ecart-type"}, Case{"modality 1", false, "Très satisfait"}}) {
        SCOPED_TRACE(test.name);
        auto page = RowsPage("SATISF", 3);
        ASSERT_GE(RowLabelled(page->GetList(), "Ecart-type"), 0);
        page->LireTraitement(test.calculation ? RowsRequest("SATISF", Calculation(1, "Ecart-type"))
                                              : RowsRequest("SATISF", Modality("SATISF", 1)),
                             T::kLignes);
        EXPECT_EQ(Labels(page->GetList(), true), std::vector<std::string>{test.ticked});
        T written;
        page->EcrireTraitement(written, T::kLignes);
        ASSERT_EQ(written.GetModalitesAxe(T::kLignes).size(), 1u);
        EXPECT_EQ(dynamic_cast<const CCalcul*>(written.GetModalitesAxe(T::kLignes).front().get()) != nullptr,
                  test.calculation);
    }
}

TEST_F(RequestPageTest, ARequestsCalculationsComeFirstInItsOrderWithTheirStyle) {
    auto page = CalculationsPage(1);
    T request;
    std::vector<std::unique_ptr<CCalcul>> calculations;
    calculations.push_back(std::make_unique<CCalcul>(1, "Pourcentage", true));
    calculations.push_back(std::make_unique<CCalcul>(0, "Effectifs", true));
    calculations.push_back(std::make_unique<CCalcul>(99, "Inconnu", true));
    calculations.front()->underline = 1;
    request.SetCalculsLignes(calculations);
    page->LireTraitement(request);
    const std::vector<std::string> labels = Labels(page->GetList());
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 2),
              (std::vector<std::string>{"Pourcentage", "Effectifs"}));
    EXPECT_EQ(Labels(page->GetList(), true), (std::vector<std::string>{"Pourcentage", "Effectifs"}));
    EXPECT_TRUE(page->GetList().topLevelItem(0)->font(0).underline());
    T written;
    page->EcrireTraitement(written);
    EXPECT_EQ(Codes(written.GetCalculsLignes()), (std::vector<std::int32_t>{1, 0}));
    EXPECT_EQ(written.GetCalculsLignes().front()->underline, 1);
    EXPECT_TRUE(written.GetCalculsColonnes().empty());
}

TEST_F(RequestPageTest, TheColumnSideWritesTheColumnCalculations) {
    auto page = CalculationsPage(3, T::kColonnes);
    T written;
    page->EcrireTraitement(written);
    EXPECT_EQ(Codes(written.GetCalculsColonnes()), (std::vector<std::int32_t>{0, 1}));
    EXPECT_TRUE(written.GetCalculsLignes().empty());
}

// ---- The analyst's keys and buttons ------------------------------------------------------------

TEST_F(RequestPageTest, ARenamedLineKeepsItsLabelUnlessTheNewOneIsEmpty) {
    auto page = RowsPage("SEXE");
    CModaliteListCtrl& list = page->GetList();
    QSignalSpy changes(page.get(), &CPageQuestionsCalculsDlg::changed);
    for (const char* text : {"", "Hommes"}) {
        SelectRows(list, {0});
        QTest::keyClick(&list, Qt::Key_F2);
        TypeLabel(list, QString::fromUtf8(text));
    }
    EXPECT_EQ(list.topLevelItem(0)->text(0), "Hommes");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(WrittenLabels(*page).front(), "Hommes");
    EXPECT_EQ(Question("SEXE")->GetModaliteEtendue(0)->GetShortCaption(), "Homme");
}

TEST_F(RequestPageTest, SortingByOrderRestoresTheBuildOrderAndTheRequestFollowsTheScreen) {
    auto page = RowsPage("SATISF");
    CModaliteListCtrl& list = page->GetList();
    const std::vector<std::string> built = Labels(list);
    const auto clickHeader = [&list](int column) {
        QHeaderView& header = *list.header();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(column) + 5, header.height() / 2));
    };
    clickHeader(CModaliteListCtrl::kLibelle);
    std::vector<std::string> alphabetical = built;
    std::sort(alphabetical.begin(), alphabetical.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(Labels(list), alphabetical);
    EXPECT_EQ(WrittenLabels(*page), alphabetical);
    EXPECT_EQ(list.topLevelItem(0)->text(CModaliteListCtrl::kOrdre), "1");

    clickHeader(CModaliteListCtrl::kEffectif);
    for (int row = 1; row < list.topLevelItemCount(); ++row)
        EXPECT_GE(list.topLevelItem(row - 1)->text(CModaliteListCtrl::kEffectif).toInt(),
                  list.topLevelItem(row)->text(CModaliteListCtrl::kEffectif).toInt());

    clickHeader(CModaliteListCtrl::kOrdre);
    EXPECT_EQ(Labels(list), built);
}

TEST_F(RequestPageTest, TheCountsAreTheModalitiesAnswers) {
    auto page = RowsPage("SEXE");
    const CModaliteListCtrl& list = page->GetList();
    const int men = list.topLevelItem(RowLabelled(list, "Homme"))->text(CModaliteListCtrl::kEffectif).toInt();
    const int women =
        list.topLevelItem(RowLabelled(list, "Femme"))->text(CModaliteListCtrl::kEffectif).toInt();
    EXPECT_EQ(men + women, kInterviews);
}

TEST_F(RequestPageTest, UpOnTheFirstRowAndDownOnTheLastDoNothing) {
    auto page = CalculationsPage(2);
    CCalculListCtrl& list = page->GetList();
    const std::vector<std::string> built = Labels(list);
    const int last = list.topLevelItemCount() - 1;
    SelectRows(list, {0});
    QTest::mouseClick(&page->GetButtons().UpButton(), Qt::LeftButton);
    SelectRows(list, {last});
    QTest::keyClick(&list, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Labels(list), built);

    QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
    QTest::mouseClick(&page->GetButtons().UpButton(), Qt::LeftButton);
    EXPECT_EQ(Labels(list)[static_cast<std::size_t>(last - 2)], built.back());
    EXPECT_EQ(list.currentItem()->text(0).toStdString(), built.back());
    SelectRows(list, {1});
    QTest::mouseClick(&page->GetButtons().DownButton(), Qt::LeftButton);
    EXPECT_EQ(Labels(list)[2], built[1]);
}

TEST_F(RequestPageTest, AltBOnThreeSelectedCalculationsMakesThemBold) {
    auto page = CalculationsPage(3);
    CCalculListCtrl& list = page->GetList();
    SelectRows(list, {1, 2, 4});
    QTest::keyClick(&list, Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(page->GetButtons().OptionButton(LineListWidget::kBold).isChecked());
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(list.topLevelItem(row)->font(0).bold(), row == 1 || row == 2 || row == 4) << row;
    // The buttons show the focused row's options.
    SelectRows(list, {0});
    EXPECT_FALSE(page->GetButtons().OptionButton(LineListWidget::kBold).isChecked());
    SelectRows(list, {4});
    EXPECT_TRUE(page->GetButtons().OptionButton(LineListWidget::kBold).isChecked());
    // A toggle applies its state to the selected rows.
    SelectRows(list, {1, 4});
    QTest::mouseClick(&page->GetButtons().OptionButton(LineListWidget::kShadow), Qt::LeftButton);
    T written;
    page->EcrireTraitement(written);
    EXPECT_EQ(written.GetCalculsLignes()[0]->shadow, 0);
    EXPECT_EQ(written.GetCalculsLignes()[1]->shadow, 1);
    EXPECT_EQ(written.GetCalculsLignes()[1]->bold, 1);
    // Alt+B flips the toggle first: the selected rows lose the bold.
    QTest::keyClick(&list, Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(list.topLevelItem(1)->font(0).bold());
    EXPECT_TRUE(list.topLevelItem(2)->font(0).bold());
}

TEST_F(RequestPageTest, SpaceAndTheTickBoxTickTheLineAndTellTheDialog) {
    auto page = RowsPage("SEXE");
    CModaliteListCtrl& list = page->GetList();
    QSignalSpy changes(page.get(), &CPageQuestionsCalculsDlg::changed);
    SelectRows(list, {1, 0});
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(list.topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(list.topLevelItem(1)->checkState(0), Qt::Checked);

    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = list.visualItemRect(list.topLevelItem(1));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box = list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(list.topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_FALSE(page->Valider() && Labels(list, true).empty());
}

TEST_F(RequestPageTest, GetLignesGivesEveryLineInTheOrderTheyWereBuilt) {
    auto page = RowsPage("SEXE", 1);
    TickAll(page->GetList(), false);
    SelectRows(page->GetList(), {2});
    page->GetList().MoveFirstSelected(-1);
    CPageQuestionsCalculsDlg::Lines lines;
    page->GetLignes(lines);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(page->GetList().topLevelItemCount()));
    EXPECT_EQ(lines[0]->GetShortCaption(), "Homme");
    EXPECT_EQ(lines[1]->GetShortCaption(), "Femme");
    EXPECT_TRUE(lines.back()->calculationLine);
    EXPECT_FALSE(lines.front()->selected);
}

// ---- The merge dialog --------------------------------------------------------------------------

TEST_F(RequestPageTest, TheMergeDialogShowsAndWritesTheMergeOptions) {
    CTypeFusion options;
    options.Type = CTypeFusion::kBlocksInRows;
    options.EstVersDossier = 1;
    options.EstTableauParColonne = 1;
    options.EstLibelleTraitement = 0;
    CFusionDlg dialog(options);
    EXPECT_EQ(dialog.windowTitle(), "Fusion");
    EXPECT_TRUE(dialog.DestinationButton(CFusionDlg::kDossier).isChecked());
    EXPECT_TRUE(dialog.MergeKindButton(CTypeFusion::kBlocksInRows).isChecked());
    EXPECT_TRUE(dialog.CheckBox(CFusionDlg::kTableauParColonne).isChecked());
    EXPECT_FALSE(dialog.CheckBox(CFusionDlg::kLibellesTraitements).isChecked());
    EXPECT_FALSE(dialog.CheckBox(CFusionDlg::kParDefaut).isChecked());

    dialog.DestinationButton(CFusionDlg::kNouvelleFenetre).setChecked(true);
    dialog.MergeKindButton(CTypeFusion::kSeparateTables).setChecked(true);
    dialog.CheckBox(CFusionDlg::kLigneEntreQuestions).setChecked(true);
    dialog.accept();
    const CTypeFusion& chosen = dialog.GetTypeFusion();
    EXPECT_EQ(chosen.EstVersDossier, 0);
    EXPECT_EQ(chosen.Type, CTypeFusion::kSeparateTables);
    EXPECT_EQ(chosen.IsEmptyLinePerQuestion, 1);
    EXPECT_EQ(chosen.EstTableauParColonne, 1);
    EXPECT_EQ(chosen.EstLibelleTraitement, 0);
    // Not made the defaults.
    EXPECT_TRUE(CTypeFusion() == CTypeFusion(CTypeFusion()));
    EXPECT_EQ(CTypeFusion().Type, CTypeFusion::kBlocksInColumns);
    EXPECT_EQ(CTypeFusion().IsEmptyLinePerQuestion, 0);
}

TEST_F(RequestPageTest, MergeOptionsSetAsDefaultsStartTheNextRequests) {
    CFusionDlg dialog{CTypeFusion()};
    dialog.MergeKindButton(CTypeFusion::kBlocksInRows).setChecked(true);
    dialog.CheckBox(CFusionDlg::kTableauParLigne).setChecked(true);
    dialog.CheckBox(CFusionDlg::kParDefaut).setChecked(true);
    dialog.accept();
    const CTypeFusion next;
    EXPECT_EQ(next.Type, CTypeFusion::kBlocksInRows);
    EXPECT_EQ(next.EstTableauParLigne, 1);
}

TEST_F(RequestPageTest, TheMergeButtonOfTheGeneralPageChangesTheRequestsMergeOptions) {
    auto dialog = NewDialog(T::kTriCroise, {"SEXE", "REGION"});
    QTimer::singleShot(0, [] {
        auto* merge = qobject_cast<CFusionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(merge, nullptr);
        merge->MergeKindButton(CTypeFusion::kSeparateTables).setChecked(true);
        merge->DestinationButton(CFusionDlg::kDossier).setChecked(true);
        merge->accept();
    });
    QTest::mouseClick(dialog->GetPageGenerale()->FusionButton(), Qt::LeftButton);
    std::unique_ptr<T> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->mergeOptions.Type, CTypeFusion::kSeparateTables);
    EXPECT_EQ(request->mergeOptions.EstVersDossier, 1);
    EXPECT_EQ(CTypeFusion().Type, CTypeFusion::kBlocksInColumns);
}

} // namespace
