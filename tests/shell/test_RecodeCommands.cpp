// The recode commands of the main frame, driven as the analyst drives them: each opens its dialog
// on the question selected, the dialog stores its recode and the recoded question appears under
// its source. A recode made in a dialog tabulates as the same recode built in code, and both agree
// with counts taken by hand from the source's answers. What a dialog refuses leaves the
// questionnaire file and the survey as they were. On copies of the demo of the test's own.
#include "MorvaneAppTestSupport.h"
#include "app/DataAccess.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "recodes/RecodageDiscrete.h"
#include "recodes/RecodageIntervalle.h"
#include "recodes/DateText.h"
#include "recodes/RecodageModalite.h"
#include "gui/recodes/RecodeNumeriqueNiveauDlg.h"
#include "gui/recodes/RegroupementDlg.h"
#include "gui/recodes/RegrouperIntervallesDlg.h"
#include "gui/recodes/RegrouperValeursDlg.h"
#include "gui/requests/SelectionnerDlg.h"
#include "platform/db/Database.h"
#include "support/FlatCountTable.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QListWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

using shell_test::MorvaneAppTest;

constexpr unsigned kSousTotaux = 32802;
constexpr unsigned kIntervalles = 32836;
constexpr unsigned kValeurs = 32837;
constexpr unsigned kNiveauNumerique = 32889;
constexpr unsigned kModifier = 32803;
constexpr double kNoAnswer = -999999.99;
constexpr double kNotAsked = -888888.88;

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<double> Counts(const CTableau& table) {
    std::vector<double> counts;
    for (std::int32_t row = 0; row < table.RowCount(); ++row)
        counts.push_back(table.GetValeur(row, 0));
    return counts;
}

void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
}

class RecodeCommandsTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder / ("recodes-" +
                             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".qes");
        std::filesystem::copy_file(DemoPath(), m_copy, std::filesystem::copy_options::overwrite_existing);
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        std::filesystem::remove(m_copy);
    }

    // The recoded question of a recode key; null when there is none.
    CQuestionEtendue* RecodedQuestion(std::int32_t id) const {
        for (int i = 0; i < m_app->DonnerNbreQuestions(); ++i)
            if (m_app->DonnerQuestion(i)->recodeId == id)
                return m_app->DonnerQuestion(i);
        return nullptr;
    }

    // The question made by the last recode stored: the largest key.
    CQuestionEtendue* NewestRecodedQuestion() const {
        CQuestionEtendue* newest = nullptr;
        for (int i = 0; i < m_app->DonnerNbreQuestions(); ++i) {
            CQuestionEtendue* q = m_app->DonnerQuestion(i);
            if (q->recodeId != 0 && (newest == nullptr || q->recodeId > newest->recodeId))
                newest = q;
        }
        return newest;
    }

    // The question's values as the tables read them.
    std::vector<double> Values(CQuestionEtendue& question) const {
        CDataAccess access(*m_app, false);
        CVecteurDouble* values = nullptr;
        EXPECT_TRUE(access.LireValeursNumeriques(question, values)) << access.GetErrorText();
        std::vector<double> out;
        if (values != nullptr) {
            out.assign(values->Valeurs().begin(), values->Valeurs().end());
            access.MemoriserValeursNumeriques(question, values);
        }
        return out;
    }

    std::vector<double> AnsweredValuesSorted(const std::string& name) const {
        std::vector<double> kept;
        for (const double v : Values(QuestionNamed(name)))
            if (v != kNoAnswer && v != kNotAsked)
                kept.push_back(v);
        std::sort(kept.begin(), kept.end());
        return kept;
    }

    std::vector<double> TableOf(CQuestionEtendue& question) const {
        const std::unique_ptr<CTableau> table = test_support::FlatTable(*m_app, question);
        EXPECT_NE(table, nullptr);
        return table != nullptr ? Counts(*table) : std::vector<double>{};
    }

    // The same recode built in code, shown in the survey under a key no record has.
    CQuestionEtendue& InsertedInCode(std::unique_ptr<CRecodage> recode, const std::string& source) {
        CQuestionEtendue& from = QuestionNamed(source);
        recode->id = 90000 + static_cast<std::int32_t>(++m_codeRecodes);
        recode->sourceQuestionCode = from.code;
        recode->label = "En code " + std::to_string(m_codeRecodes);
        m_app->InsererQuestionsRecodage(*recode, true);
        CQuestionEtendue* inserted = RecodedQuestion(recode->id);
        EXPECT_NE(inserted, nullptr);
        return *inserted;
    }

    std::filesystem::path m_copy;
    int m_codeRecodes = 0;
};

// "Île-de-France" alone against the four other regions: the dialog's table equals the table of the
// same grouping built in code, and each sub-total counts the interviews of its regions.
TEST_F(RecodeCommandsTest, ASubTotalRecodeMadeInItsDialogTabulatesAsTheSameRecodeBuiltInCode) {
    ASSERT_TRUE(Start(m_copy.string()));
    Select("REGION");
    ASSERT_TRUE(IsEnabled(kSousTotaux));
    ModalAnswers answers({[](QDialog& shown) {
        auto* dialog = qobject_cast<CRegroupementDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Regroupement");
        dialog->LabelEdit().setText(QStringLiteral("Paris et province"));
        QTreeWidget& source = dialog->SourceTree();
        dialog->NewGroupButton().click();
        // The sub-total's caption edited in place.
        dialog->GroupTree().topLevelItem(0)->setText(0, QStringLiteral("Paris"));
        source.topLevelItem(0)->setSelected(true);
        dialog->AddButton().click();
        dialog->NewGroupButton().click();
        EXPECT_EQ(dialog->GroupTree().topLevelItem(1)->text(0), "Sous total 2");
        source.clearSelection();
        for (int row = 1; row < 5; ++row)
            source.topLevelItem(row)->setSelected(true);
        PressKey(source, Qt::Key_Space);
        EXPECT_TRUE(dialog->IsUsed(0));
        EXPECT_TRUE(dialog->IsUsed(4));
        dialog->OkButton().click();
    }});
    EXPECT_TRUE(Run(kSousTotaux));
    EXPECT_EQ(answers.Unexpected(), 0);
    ASSERT_TRUE(m_ui->shown.empty()) << StringTable::Format(m_ui->shown.front().message);

    CQuestionEtendue* recoded = NewestRecodedQuestion();
    ASSERT_NE(recoded, nullptr);
    EXPECT_EQ(recoded->name, "Paris et province");
    EXPECT_EQ(m_app->DonnerQuestionParente(recoded), &QuestionNamed("REGION"));
    ASSERT_EQ(recoded->GetNbreModalite(), 2);
    EXPECT_EQ(CModaliteEtendue::ShortCaptionFor(*recoded->GetModalite(0), m_app.get()), "Paris");
    EXPECT_EQ(CModaliteEtendue::ShortCaptionFor(*recoded->GetModalite(1), m_app.get()), "Sous total 2");
    const std::vector<double> made = TableOf(*recoded);

    auto inCode = std::make_unique<CRecodageModalite>(m_app.get());
    inCode->SetRegroupement("0;0;Paris|1;1;a|0;0;Province|2;1;b|3;1;c|4;1;d|5;1;e|");
    inCode->Reinitialiser();
    EXPECT_EQ(TableOf(InsertedInCode(std::move(inCode), "REGION")), made);

    // By hand from the regions' own table (five regions first, the Total last).
    const std::vector<double> regions = TableOf(QuestionNamed("REGION"));
    ASSERT_GE(regions.size(), 6u);
    EXPECT_EQ(made, (std::vector<double>{regions[0], regions[1] + regions[2] + regions[3] + regions[4], regions.back()}));
}

// Four intervals from "&Pourcentiles...": the bounds are the ages at the first indexes at or above
// N/4, N/2 and 3N/4 of the sorted ages, found here by a walk of their own.
TEST_F(RecodeCommandsTest, AnIntervalRecodeFromPercentilesTabulatesAsTheSameRecodeBuiltInCode) {
    ASSERT_TRUE(Start(m_copy.string()));
    const std::vector<double> ages = AnsweredValuesSorted("AGE");
    ASSERT_GE(ages.size(), 8u);
    std::vector<double> bounds;
    for (std::size_t j = 1; j < 4; ++j) {
        std::size_t i = 0;
        while (4 * i < j * ages.size())
            ++i;
        if (bounds.empty() || bounds.back() != ages[i])
            bounds.push_back(ages[i]);
    }

    Select("AGE");
    ASSERT_TRUE(IsEnabled(kIntervalles));
    std::vector<double> shown;
    int promptUnexpected = -1;
    ModalAnswers answers({[&shown, &promptUnexpected](QDialog& opened) {
        auto* dialog = qobject_cast<CRegrouperIntervallesDlg*>(&opened);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->DateModeButton(1).isVisibleTo(dialog));
        EXPECT_TRUE(dialog->IntegersBox().isVisibleTo(dialog));
        // The prompt opens over the dialog and is answered from inside its own loop.
        QTimer::singleShot(0, [&promptUnexpected] {
            auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->labelText(), "Nombre d'intervalles désiré:");
            EXPECT_EQ(input->intValue(), 2);
            input->setIntValue(4);
            input->accept();
            promptUnexpected = 0;
        });
        dialog->PercentilesButton().click();
        shown = dialog->Entries();
        EXPECT_TRUE(dialog->BelowBox().isChecked());
        EXPECT_TRUE(dialog->AboveBox().isChecked());
        EXPECT_TRUE(dialog->ClosedLeftButton().isChecked());
        dialog->LabelEdit().setText(QStringLiteral("Quartiles d'âge"));
        dialog->OkButton().click();
    }});
    EXPECT_TRUE(Run(kIntervalles));
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(promptUnexpected, 0);
    EXPECT_EQ(shown, bounds);
    CQuestionEtendue* recoded = NewestRecodedQuestion();
    ASSERT_NE(recoded, nullptr);
    EXPECT_EQ(recoded->name, "Quartiles d'âge");
    const std::vector<double> made = TableOf(*recoded);

    auto inCode = std::make_unique<CRecodageIntervalle>(m_app.get());
    for (const double b : bounds)
        inCode->AjouterValeur(b);
    inCode->SetEstMoins(true);
    inCode->SetEstPlus(true);
    EXPECT_EQ(TableOf(InsertedInCode(std::move(inCode), "AGE")), made);

    // By hand: below the first bound, between each two, from the last one on.
    std::vector<double> expected(bounds.size() + 1, 0.0);
    for (const double age : ages)
        ++expected[static_cast<std::size_t>(std::upper_bound(bounds.begin(), bounds.end(), age) - bounds.begin())];
    ASSERT_GE(made.size(), expected.size());
    EXPECT_EQ(std::vector<double>(made.begin(), made.begin() + static_cast<long>(expected.size())), expected);
}

// "&Trouver les valeurs..." lists each household size once; each value counts the interviews that
// gave it.
TEST_F(RecodeCommandsTest, ADiscreteValueRecodeTabulatesAsTheSameRecodeBuiltInCode) {
    ASSERT_TRUE(Start(m_copy.string()));
    const std::vector<double> sizes = AnsweredValuesSorted("FOYER");
    std::map<double, double> byHand;
    for (const double v : sizes)
        ++byHand[v];

    Select("FOYER");
    ASSERT_TRUE(IsEnabled(kValeurs));
    std::vector<double> found;
    ModalAnswers answers({[&found](QDialog& opened) {
        auto* dialog = qobject_cast<CRegrouperValeursDlg*>(&opened);
        ASSERT_NE(dialog, nullptr);
        dialog->NearestBox().setChecked(true);
        dialog->FindValuesButton().click();
        EXPECT_FALSE(dialog->NearestBox().isChecked());
        found = dialog->Entries();
        dialog->LabelEdit().setText(QStringLiteral("Taille du foyer"));
        dialog->OkButton().click();
    }});
    EXPECT_TRUE(Run(kValeurs));
    EXPECT_EQ(answers.Unexpected(), 0);
    std::vector<double> distinct;
    std::vector<double> counts;
    for (const auto& [value, count] : byHand) {
        distinct.push_back(value);
        counts.push_back(count);
    }
    EXPECT_EQ(found, distinct);
    CQuestionEtendue* recoded = NewestRecodedQuestion();
    ASSERT_NE(recoded, nullptr);
    const std::vector<double> made = TableOf(*recoded);

    auto inCode = std::make_unique<CRecodageDiscrete>(m_app.get());
    for (const double v : distinct)
        inCode->AjouterValeur(v);
    EXPECT_EQ(TableOf(InsertedInCode(std::move(inCode), "FOYER")), made);
    ASSERT_GE(made.size(), counts.size());
    EXPECT_EQ(std::vector<double>(made.begin(), made.begin() + static_cast<long>(counts.size())), counts);
}

// A date question is cut by dates compared by their day ("Date seulement", the question's own
// kind): a bound is typed as the list shows dates, and the class before it counts the purchases
// of the days before 15 March 2023 (serial 45000).
TEST_F(RecodeCommandsTest, ADateQuestionIsCutByDaysTypedAsTheListShowsThem) {
    ASSERT_TRUE(Start(m_copy.string()));
    long before = 0;
    for (const double day : AnsweredValuesSorted("ACHAT"))
        before += day < 45000.0 ? 1 : 0;
    const QString shown = QString::fromStdString(DateText::Format(45000.0, DateText::kDateOnly));

    Select("ACHAT");
    ASSERT_TRUE(IsEnabled(kIntervalles));
    ModalAnswers answers({[&](QDialog& opened) {
        auto* dialog = qobject_cast<CRegrouperIntervallesDlg*>(&opened);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->DateModeButton(1).isVisibleTo(dialog));
        EXPECT_TRUE(dialog->DateModeButton(1).isChecked());
        EXPECT_FALSE(dialog->IntegersBox().isVisibleTo(dialog));
        PressKey(dialog->EntryList(), Qt::Key_Insert);
        ASSERT_EQ(dialog->EntryList().topLevelItemCount(), 1);
        dialog->EntryList().topLevelItem(0)->setText(0, shown);
        EXPECT_EQ(dialog->Entries(), std::vector<double>{45000.0});
        EXPECT_EQ(dialog->EntryList().topLevelItem(0)->text(0), shown);
        dialog->BelowBox().click();
        ASSERT_EQ(dialog->PreviewList().topLevelItemCount(), 1);
        EXPECT_EQ(dialog->PreviewList().topLevelItem(0)->text(0), "Avant " + shown);
        EXPECT_EQ(dialog->PreviewList().topLevelItem(0)->text(1).toLong(), before);
        // A text that is no date is refused and the bound stays.
        dialog->EntryList().topLevelItem(0)->setText(0, QStringLiteral("pas une date"));
        EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kDateNonValide);
        EXPECT_EQ(dialog->Entries(), std::vector<double>{45000.0});
        dialog->reject();
    }});
    Run(kIntervalles);
    EXPECT_EQ(answers.Unexpected(), 0);
}

// Each refusal shows its message, leaves the dialog open, and nothing reaches the file or the
// survey.
TEST_F(RecodeCommandsTest, RefusedRecodesLeaveTheQuestionnaireAsItWas) {
    ASSERT_TRUE(Start(m_copy.string()));
    const std::string before = Bytes(m_copy);
    const int questions = m_app->DonnerNbreQuestions();
    const auto lastShown = [this] { return m_ui->shown.empty() ? 0 : m_ui->shown.back().message.id; };

    Select("REGION");
    {
        ModalAnswers subTotals({[&](QDialog& opened) {
            auto* dialog = qobject_cast<CRegroupementDlg*>(&opened);
            ASSERT_NE(dialog, nullptr);
            QTreeWidget& source = dialog->SourceTree();
            QTreeWidget& groups = dialog->GroupTree();
            dialog->LabelEdit().setText(QStringLiteral("Régions"));
            dialog->OkButton().click();
            EXPECT_EQ(lastShown(), StringTable::kAucuneModaliteSelectionnee);

            // A sub-total holding only an empty sub-total; a caption may not hold the separator
            // of the stored grouping, nor be empty.
            dialog->NewGroupButton().click();
            groups.topLevelItem(0)->setText(0, QStringLiteral("Nord|Sud"));
            EXPECT_EQ(lastShown(), StringTable::kLibelleSansBarre);
            EXPECT_EQ(groups.topLevelItem(0)->text(0), "Sous total 1");
            groups.topLevelItem(0)->setText(0, QString());
            EXPECT_EQ(groups.topLevelItem(0)->text(0), "Sous total 1");
            dialog->NewGroupButton().click();
            dialog->InButton().click();
            dialog->OkButton().click();
            EXPECT_EQ(lastShown(), StringTable::kSousTotalSansModalite);
            EXPECT_EQ(groups.currentItem(), groups.topLevelItem(0));
            PressKey(groups, Qt::Key_Delete);
            ASSERT_EQ(groups.topLevelItemCount(), 0);

            // A modality moved in under another modality.
            dialog->NewGroupButton().click();
            source.topLevelItem(0)->setSelected(true);
            source.topLevelItem(1)->setSelected(true);
            dialog->AddButton().click();
            PressKey(groups, Qt::Key_Right, Qt::AltModifier);
            dialog->OkButton().click();
            EXPECT_EQ(lastShown(), StringTable::kModaliteSansSousItems);
            QTreeWidgetItem* holder = groups.topLevelItem(0)->child(0);
            EXPECT_EQ(groups.currentItem(), holder);
            ASSERT_EQ(holder->childCount(), 1);
            groups.setCurrentItem(holder->child(0));
            PressKey(groups, Qt::Key_Left, Qt::AltModifier);

            // A modality already in a sub-total: "No" adds nothing.
            m_ui->ScriptReplies({false});
            source.clearSelection();
            source.topLevelItem(0)->setSelected(true);
            dialog->AddButton().click();
            ASSERT_FALSE(m_ui->asked.empty());
            EXPECT_EQ(m_ui->asked.back().id, StringTable::kModaliteDejaSelectionnee);
            EXPECT_EQ(groups.topLevelItem(0)->childCount(), 2);

            // The tree is right now; the labels are not.
            dialog->LabelEdit().setText(QString());
            dialog->OkButton().click();
            EXPECT_EQ(lastShown(), StringTable::kEntrerUnLibelle);
            dialog->LabelEdit().setText(QStringLiteral("SEXE"));
            dialog->OkButton().click();
            EXPECT_EQ(lastShown(), StringTable::kLibelleDejaUtilise);
            EXPECT_TRUE(dialog->isVisible());
            dialog->reject();
        }});
        Run(kSousTotaux);
        EXPECT_EQ(subTotals.Unexpected(), 0);
    }

    Select("AGE");
    ModalAnswers intervals({[&](QDialog& opened) {
        auto* dialog = qobject_cast<CRegrouperIntervallesDlg*>(&opened);
        ASSERT_NE(dialog, nullptr);
        dialog->LabelEdit().setText(QStringLiteral("Classes"));
        dialog->OkButton().click();
        EXPECT_EQ(lastShown(), StringTable::kAuMoinsUneBorne);
        PressKey(dialog->EntryList(), Qt::Key_Insert);
        PressKey(dialog->EntryList(), Qt::Key_Insert);
        EXPECT_EQ(dialog->Entries(), (std::vector<double>{0, 0}));
        dialog->OkButton().click();
        EXPECT_EQ(lastShown(), StringTable::kBornesDifferentes);
        EXPECT_EQ(dialog->EntryList().currentItem(), dialog->EntryList().topLevelItem(1));
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    }});
    Run(kIntervalles);
    EXPECT_EQ(intervals.Unexpected(), 0);

    EXPECT_EQ(m_app->DonnerNbreQuestions(), questions);
    EXPECT_EQ(Bytes(m_copy), before);
}

// A grouping kept in the library comes back on another question by the positions of its
// modalities: "Île-de-France" alone and the four other regions become the first age group alone
// and the four others, shown with the age groups' own captions. A library that cannot be opened
// is said so.
TEST_F(RecodeCommandsTest, ASubTotalGroupingGoesToTheLibraryAndComesBackOnAnotherQuestion) {
    ASSERT_TRUE(Start(m_copy.string()));
    const std::string before = Bytes(m_copy);
    m_app->libraryPath = (s_folder / "absente.bib").string();
    Select("REGION");
    {
        ModalAnswers answers({[this](QDialog& opened) {
            auto* dialog = qobject_cast<CRegroupementDlg*>(&opened);
            ASSERT_NE(dialog, nullptr);
            dialog->LabelEdit().setText(QStringLiteral("Paris et province"));
            dialog->NewGroupButton().click();
            dialog->SourceTree().topLevelItem(0)->setSelected(true);
            dialog->AddButton().click();
            dialog->NewGroupButton().click();
            for (int row = 1; row < 5; ++row)
                dialog->SourceTree().topLevelItem(row)->setSelected(true);
            dialog->AddButton().click();
            dialog->LibrarySaveButton().click();
            ASSERT_FALSE(m_ui->shown.empty());
            EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kOuvrirBibliotheque);

            const std::filesystem::path library = s_folder / "bibliotheque.bib";
            std::filesystem::remove(library);
            { db::Database created(library.string(), db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing); }
            m_app->libraryPath = library.string();
            dialog->LibrarySaveButton().click();
            EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kAjoutBibliotheque);
            dialog->reject();
        }});
        Run(kSousTotaux);
        EXPECT_EQ(answers.Unexpected(), 0);
    }
    EXPECT_EQ(Bytes(m_copy), before);

    Select("TRANCHE");
    ModalAnswers answers({[](QDialog& opened) {
        auto* dialog = qobject_cast<CRegroupementDlg*>(&opened);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->LibraryLoadButton().isEnabled());
        QString offered;
        QTimer::singleShot(0, [&offered] {
            auto* picker = qobject_cast<CSelectionnerDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            ASSERT_EQ(picker->GetList().count(), 1);
            offered = picker->GetList().item(0)->text();
            picker->GetList().setCurrentRow(0);
            picker->accept();
        });
        dialog->LibraryLoadButton().click();
        EXPECT_EQ(offered, "Paris et province");
        QTreeWidget& groups = dialog->GroupTree();
        ASSERT_EQ(groups.topLevelItemCount(), 2);
        EXPECT_EQ(groups.topLevelItem(0)->childCount(), 1);
        EXPECT_EQ(groups.topLevelItem(1)->childCount(), 4);
        EXPECT_EQ(groups.topLevelItem(0)->child(0)->text(0), dialog->SourceTree().topLevelItem(0)->text(0));
        for (int row = 0; row < 5; ++row)
            EXPECT_TRUE(dialog->IsUsed(row)) << row;
        dialog->reject();
    }});
    Run(kSousTotaux);
    EXPECT_EQ(answers.Unexpected(), 0);
}

// Households with the ages of their members: (40, 10, 13), (71), (30, 50, 52). Means 21, 71 and
// 44; medians 13, 71 and 50.
constexpr const char* kHouseholds = R"(
questionnaire "Foyers" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
loop 500 PERSONNES count=4
  question 501 AGEP numeric
end
records
Cle1,1;1
1,1
2,2
3,1
end
records loop=500
Cle1,Cle2,Ordre,501;1
1,1,1,40
1,2,2,10
1,3,3,13
2,1,1,71
3,1,1,30
3,2,2,50
3,3,3,52
end
)";

TEST_F(RecodeCommandsTest, EditingAMeanIntoAMedianKeepsTheRecodeAndRebuildsItsAnswers) {
    const std::filesystem::path folder = s_folder / "households";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / "foyers.qes";
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(kHouseholds, "foyers.txt", folder);
    qesbuild::WriteFixture(fixture, path);
    ASSERT_TRUE(Start(path.string()));

    Select("AGEP");
    ASSERT_TRUE(IsEnabled(kNiveauNumerique));
    {
        ModalAnswers create({[](QDialog& opened) {
            auto* dialog = qobject_cast<CRecodeNumeriqueNiveauDlg*>(&opened);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Recoder une question numérique vers un autre niveau");
            ASSERT_EQ(dialog->MethodCount(), 8);
            EXPECT_EQ(dialog->MethodButton(4).text(), "Moyenne");
            dialog->LabelEdit().setText(QStringLiteral("Âge des membres"));
            dialog->MethodButton(4).click();
            dialog->OkButton().click();
        }});
        EXPECT_TRUE(Run(kNiveauNumerique));
        EXPECT_EQ(create.Unexpected(), 0);
    }
    CQuestionEtendue* recoded = NewestRecodedQuestion();
    ASSERT_NE(recoded, nullptr);
    const std::int32_t id = recoded->recodeId;
    EXPECT_EQ(recoded->level, 0);
    EXPECT_EQ(Values(*recoded), (std::vector<double>{21, 71, 44}));

    const int questions = m_app->DonnerNbreQuestions();
    EXPECT_EQ(m_app->DonnerQuestionParente(recoded), &QuestionNamed("AGEP"));
    Select(recoded->name);
    ASSERT_TRUE(IsEnabled(kModifier));
    ModalAnswers edit({[](QDialog& opened) {
        auto* dialog = qobject_cast<CRecodeNumeriqueNiveauDlg*>(&opened);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->LabelEdit().text(), "Âge des membres");
        EXPECT_TRUE(dialog->MethodButton(4).isChecked());
        dialog->MethodButton(5).click();
        dialog->OkButton().click();
    }});
    EXPECT_TRUE(Run(kModifier));
    EXPECT_EQ(edit.Answered(), 1u);
    EXPECT_EQ(edit.Unexpected(), 0);
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_EQ(m_app->DonnerNbreQuestions(), questions);
    CQuestionEtendue* rebuilt = RecodedQuestion(id);
    ASSERT_NE(rebuilt, nullptr);
    ASSERT_NE(rebuilt->GetRecodage(), nullptr);
    EXPECT_EQ(rebuilt->GetRecodage()->id, id);
    EXPECT_EQ(rebuilt->GetRecodage()->GetSousType(), 5);
    EXPECT_EQ(Values(*rebuilt), (std::vector<double>{13, 71, 50}));
}

} // namespace
