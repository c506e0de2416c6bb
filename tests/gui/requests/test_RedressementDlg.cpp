// "Redressement" driven as the analyst drives it, on a copy of the demo of the test's own: a
// raking scheme on two questions defined in the dialog, stored, opened again, chosen on the
// general page of a cross table whose weighted margins then reach its targets, copied to the
// library and taken from it in another questionnaire. What is stored is read back from the
// questionnaire file; the counts are counted by SQLite in the response table.
#include "RequestDialogTestSupport.h"
#include "app/Bibliotheque.h"
#include "app/DBQuestionnaire.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "framework/MultiTree.h"
#include "platform/db/Database.h"
#include "recodes/EditionRedressement.h"
#include "recodes/EnregistrerRecodages.h"
#include "recodes/ObjectifRedressement.h"
#include "gui/recodes/RedressementDlg.h"
#include "gui/recodes/SaisiePoidsDlg.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "gui/requests/SelectionnerDlg.h"
#include "tabulation/Tableau.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <map>
#include <sqlite3.h>

namespace {

using namespace requests_test;
using T = CTraitement;
using Reply = UserInterface::Reply;

constexpr const char* kSchemeName = "Calage sexe région";
const std::vector<std::string> kSexeTargets{"480", "520"};
const std::vector<std::string> kRegionTargets{"200", "200", "200", "200", "200"};

// The question picker's step: the question of that name chosen, then OK.
ModalAnswers::Step Pick(const std::string& name) {
    return [name](QDialog& shown) {
        auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
        ASSERT_NE(picker, nullptr);
        const QList<QTreeWidgetItem*> found =
            picker->GetTree().findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << name;
        picker->GetTree().SelectItem(found.front());
        picker->accept();
    };
}

void TypeInto(QLineEdit& edit, const std::string& text) {
    edit.setFocus();
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    // Letters beyond ASCII (the accents of French names) are typed as the text of a key.
    for (const QChar letter : QString::fromStdString(text)) {
        if (letter.unicode() < 0x80)
            QTest::keyClick(&edit, static_cast<char>(letter.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    }
}

std::string FileContents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RedressementDlgTest : public DemoRequestTest {
protected:
    void SetUp() override {
        DemoRequestTest::SetUp();
        EnregistrerRecodages();
        m_demo = m_context.questionnairePath;
        m_copy = Copy("calage");
        m_context.libraryPath = (m_copy.parent_path() / (m_copy.stem().string() + ".bib")).string();
        db::Database created(m_context.libraryPath, db::Database::Access::ReadWrite,
                             db::Database::Creation::CreateIfMissing);
        Reopen(m_copy);
    }
    void TearDown() override {
        DemoRequestTest::TearDown();
        for (const auto& path : m_made)
            std::filesystem::remove(path);
    }

    std::filesystem::path Copy(const std::string& prefix) {
        const std::filesystem::path copy =
            std::filesystem::path(m_demo).parent_path() /
            (prefix + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".qes");
        std::filesystem::copy_file(m_demo, copy, std::filesystem::copy_options::overwrite_existing);
        m_made.push_back(copy);
        return copy;
    }

    void Reopen(const std::filesystem::path& path) {
        m_context.questionnairePath = path.string();
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    }

    std::unique_ptr<CRedressementDlg> Dialog(std::int32_t id = -1) {
        auto dialog = std::make_unique<CRedressementDlg>(m_context, id, SelecteursRedressement());
        dialog->show();
        return dialog;
    }

    // Clicks a button that opens the question picker, which chooses `name`.
    static void AddThrough(QPushButton& button, const std::string& name) {
        ModalAnswers answers({Pick(name)});
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
    }

    static void TypeDesired(CRedressementDlg& dialog, const std::vector<std::string>& values) {
        for (std::size_t k = 0; k < values.size(); ++k)
            TypeInto(dialog.Ligne(static_cast<int>(k)).Desire(), values[k]);
    }

    static QTreeWidgetItem* Item(CRedressementDlg& dialog, const QString& text) {
        const QList<QTreeWidgetItem*> found = dialog.Arbre().findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    }

    // A new scheme of two plain targets, SEXE and REGION, on 1000 interviews.
    static void DefineTwoQuestions(CRedressementDlg& dialog) {
        QTest::mouseClick(&dialog.NouveauButton(), Qt::LeftButton);
        TypeInto(*dialog.NameCombo().lineEdit(), kSchemeName);
        TypeInto(dialog.TotalEdit(), "1000");
        AddThrough(dialog.QuestionButton(), "SEXE");
        TypeDesired(dialog, kSexeTargets);
        // Beside the question selected, not under it.
        AddThrough(dialog.QuestionButton(), "REGION");
        TypeDesired(dialog, kRegionTargets);
    }

    // The shape of the tree: every item's text, indented by its depth.
    static std::vector<std::string> Shape(const CRedressementDlg& dialog) {
        std::vector<std::string> shape;
        std::function<void(const QTreeWidgetItem&, int)> walk = [&](const QTreeWidgetItem& item, int depth) {
            shape.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + item.text(0).toStdString());
            for (int i = 0; i < item.childCount(); ++i)
                walk(*item.child(i), depth + 1);
        };
        for (int i = 0; i < dialog.Arbre().topLevelItemCount(); ++i)
            walk(*dialog.Arbre().topLevelItem(i), 0);
        return shape;
    }

    // The visible rows: caption, observed count and desired value.
    static std::vector<std::vector<std::string>> Rows(const CRedressementDlg& dialog) {
        std::vector<std::vector<std::string>> rows;
        for (int k = 0; k < CRedressementDlg::kLignesValeurs; ++k) {
            const CSaisiePoidsDlg& row = dialog.Ligne(k);
            if (row.isHidden())
                continue;
            rows.push_back({row.Libelle().text().toStdString(), row.Observe().text().toStdString(),
                            row.Desire().text().toStdString()});
        }
        return rows;
    }

    std::vector<std::unique_ptr<CRedressement>> Stored() {
        CDBQuestionnaire file(m_context);
        std::vector<std::unique_ptr<CRedressement>> schemes;
        EXPECT_TRUE(file.GetWeightingList(schemes)) << file.GetLastError();
        schemes.erase(schemes.begin()); // "Aucun redressement"
        return schemes;
    }

    // The interviews per answer code of a closed question, counted by SQLite.
    std::map<int, int> CountedBySqlite(const std::string& name, const std::string& where = "1") const {
        std::map<int, int> counts;
        const std::string column = std::to_string(m_context.TrouverQuestionParNom(name)->code) + ";1";
        sqlite3* database = nullptr;
        if (sqlite3_open_v2(m_context.questionnairePath.c_str(), &database, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK) {
            const std::string sql = "SELECT \"" + column + "\", COUNT(*) FROM \"VEL Reponse1\" WHERE " + where +
                                    " GROUP BY \"" + column + "\"";
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(database, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
                while (sqlite3_step(statement) == SQLITE_ROW)
                    counts[sqlite3_column_int(statement, 0)] = sqlite3_column_int(statement, 1);
            sqlite3_finalize(statement);
        }
        sqlite3_close(database);
        return counts;
    }

    std::string Reference(const std::string& name) const {
        return std::to_string(m_context.TrouverQuestionParNom(name)->code) + "@@0";
    }

    std::string m_demo;
    std::filesystem::path m_copy;
    std::vector<std::filesystem::path> m_made;
};

// ---- Defining, storing, opening again ------------------------------------------------------

TEST_F(RedressementDlgTest, NewShowsTheInterviewCountAndNoWeightingCannotBeEdited) {
    auto dialog = Dialog();
    EXPECT_EQ(dialog->windowTitle(), "Redressement");
    EXPECT_EQ(dialog->NameCombo().currentText(), "Aucun redressement");
    EXPECT_FALSE(dialog->TotalEdit().isEnabled());
    EXPECT_EQ(dialog->Arbre().topLevelItemCount(), 0);
    // The tree buttons do nothing and deleting only beeps: no picker, no question asked.
    ModalAnswers none({});
    QTest::mouseClick(&dialog->QuestionButton(), Qt::LeftButton);
    QTest::mouseClick(&dialog->EclateeButton(), Qt::LeftButton);
    QTest::mouseClick(&dialog->SupprimerButton(), Qt::LeftButton);
    QTest::mouseClick(&dialog->VersBibliothequeButton(), Qt::LeftButton);
    EXPECT_EQ(none.Unexpected(), 0);
    EXPECT_TRUE(m_ui->asked.empty());
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_EQ(dialog->Arbre().topLevelItemCount(), 0);

    QTest::mouseClick(&dialog->NouveauButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->NameCombo().currentText(), "Nouveau redressement");
    EXPECT_EQ(dialog->TotalEdit().text(), QString::number(kInterviews));
    EXPECT_TRUE(dialog->TotalEdit().isEnabled());
    EXPECT_EQ(dialog->PoidsInitialLabel().text(), "Aucune");
}

TEST_F(RedressementDlgTest, SavedTwiceItIsOneRecordAndOpensAgainAsItWasDefined) {
    const std::map<int, int> sexe = CountedBySqlite("SEXE");
    std::int32_t id = 0;
    {
        auto dialog = Dialog();
        DefineTwoQuestions(*dialog);
        EXPECT_EQ(Shape(*dialog), (std::vector<std::string>{"SEXE", "REGION"}));
        // Leaving the scheme for "Aucun redressement" saves it when the analyst says so.
        m_ui->ScriptThreeWayReplies({Reply::Yes});
        dialog->NameCombo().setCurrentIndex(0);
        ASSERT_EQ(Stored().size(), 1u);
        id = Stored()[0]->id;
        // Opened again, changed, and saved by OK.
        dialog->NameCombo().setCurrentIndex(dialog->NameCombo().findText(kSchemeName));
        EXPECT_EQ(Shape(*dialog), (std::vector<std::string>{"SEXE", "REGION"}));
        EXPECT_EQ(dialog->TotalEdit().text(), "1000");
        dialog->Arbre().setCurrentItem(Item(*dialog, "SEXE"));
        EXPECT_EQ(Rows(*dialog), (std::vector<std::vector<std::string>>{
                                     {"Homme", std::to_string(sexe.at(1)), "480"},
                                     {"Femme", std::to_string(sexe.at(2)), "520"}}));
        TypeDesired(*dialog, {"500", "500"});
        m_ui->ScriptThreeWayReplies({Reply::Yes});
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->RedressementChoisi().id, id);
        EXPECT_EQ(dialog->RedressementChoisi().name, kSchemeName);
    }
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->id, id);
    EXPECT_EQ(stored[0]->NTotal, 1000.0);
    // The text written by hand from the tree: no initial weight, the root, then the two targets.
    EXPECT_EQ(stored[0]->definition, "0@@0~0@@0|0|1|#" + Reference("SEXE") + "|1|2|500@500@#" + Reference("REGION") +
                                         "|1|2|200@200@200@200@200@#");

    // The scheme opens again with the same tree and values, and writes back the same text.
    auto again = Dialog(id);
    EXPECT_EQ(again->NameCombo().currentText(), kSchemeName);
    EXPECT_EQ(Shape(*again), (std::vector<std::string>{"SEXE", "REGION"}));
    again->Arbre().setCurrentItem(Item(*again, "REGION"));
    std::vector<std::string> desired;
    for (const auto& row : Rows(*again))
        desired.push_back(row[2]);
    EXPECT_EQ(desired, kRegionTargets);
    CRedressement copy;
    ASSERT_TRUE(m_context.DonnerRedressement(id, copy));
    EXPECT_EQ(copy.EcrireValeurs(m_context, false), stored[0]->definition);
}

// A scheme stored as text (a split question with a target within one of its modalities) shows in
// the dialog as it is, counted within its populations.
TEST_F(RedressementDlgTest, ASchemeStoredAsTextIsShownAsItIs) {
    CRedressement scheme;
    scheme.name = "Régions des hommes";
    scheme.NTotal = 300;
    scheme.definition = "0@@0~0@@0|0|1|#" + Reference("SEXE") + "|1|0|150@150@#0@@0|2|1|#" + Reference("REGION") +
                        "|3|2|30@30@30@30@30@#0@@0|2|1|#";
    std::string error;
    ASSERT_TRUE(EnregistrerRedressement(scheme, m_context, error)) << error;
    const std::map<int, int> men = CountedBySqlite("REGION", "\"" + std::to_string(Question("SEXE")->code) + ";1\" = 1");

    auto dialog = Dialog(scheme.id);
    EXPECT_EQ(Shape(*dialog), (std::vector<std::string>{"SEXE", "  Homme", "    REGION", "  Femme"}));
    // The first item is selected: the split question's rows.
    EXPECT_EQ(Rows(*dialog)[0][2], "150");
    dialog->Arbre().setCurrentItem(Item(*dialog, "REGION"));
    const auto rows = Rows(*dialog);
    ASSERT_EQ(rows.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(rows[static_cast<std::size_t>(k)][1], std::to_string(men.count(k + 1) ? men.at(k + 1) : 0));
        EXPECT_EQ(rows[static_cast<std::size_t>(k)][2], "30");
    }
    // A modality item cannot be deleted; the split question goes with everything under it.
    dialog->Arbre().setCurrentItem(Item(*dialog, "Homme"));
    QTest::mouseClick(&dialog->RetirerButton(), Qt::LeftButton);
    ASSERT_FALSE(m_ui->shown.empty());
    EXPECT_EQ(m_ui->shown.back().message, Message(StringTable::kImpossibleSupprimerItem));
    EXPECT_EQ(Shape(*dialog).size(), 4u);
    dialog->Arbre().setCurrentItem(Item(*dialog, "SEXE"));
    QTest::mouseClick(&dialog->RetirerButton(), Qt::LeftButton);
    EXPECT_EQ(m_ui->asked.back(), Message(StringTable::kSupprimerEnregistrement));
    EXPECT_TRUE(Shape(*dialog).empty());
    EXPECT_TRUE(dialog->EstModifie());
}

// ---- The general page ------------------------------------------------------------------------

TEST_F(RedressementDlgTest, TheSchemeChosenOnTheGeneralPageWeighsTheCrossTableToItsTargets) {
    {
        auto dialog = Dialog();
        DefineTwoQuestions(*dialog);
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton); // saved when the analyst says yes
    }
    auto request = NewDialog(T::kTriCroise, {"SEXE", "REGION"});
    CPageGeneraleDlg& page = *request->GetPageGenerale();
    ASSERT_TRUE(page.WeightingButton().isEnabled());
    QString offered;
    ModalAnswers answers({[&offered](QDialog& shown) {
        auto* dialog = qobject_cast<CRedressementDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->NameCombo().currentText();
        dialog->NameCombo().setCurrentIndex(dialog->NameCombo().findText(kSchemeName));
        dialog->OkButton().click();
    }});
    QTest::mouseClick(&page.WeightingButton(), Qt::LeftButton);
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(offered, "Aucun redressement"); // a new request's weighting: the study's, none
    ASSERT_EQ(Stored().size(), 1u);
    EXPECT_EQ(page.GetRedressement().id, Stored()[0]->id);
    EXPECT_EQ(page.GetRedressement().name, kSchemeName);

    std::unique_ptr<CTraitement> chosen = ClickOk(*request);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->weightingId, Stored()[0]->id);
    CExecuteurTraitement executor(m_context);
    executor.Executer(std::make_unique<CTraitement>(*chosen));
    auto tables = executor.TakeTableaux();
    ASSERT_FALSE(tables.empty());
    // The margins: the counts of the "Total" column per row and of the "Total" row per column.
    const CTableau& table = *tables.front();
    std::map<std::string, int> countColumn;
    for (int c = 0; c < table.DonnerNbColonnes(); ++c)
        if (table.GetLibelleColonne(1, c) == "Effectifs")
            countColumn[table.GetLibelleColonne(0, c)] = c;
    int totalRow = -1;
    for (int r = 0; r < table.DonnerNbLignes(); ++r)
        if (table.DonnerLibelleLigne(r) == "Total")
            totalRow = r;
    ASSERT_GE(totalRow, 0);
    ASSERT_EQ(countColumn.count("Total"), 1u);
    std::map<std::string, double> rows;
    for (int r = 0; r < table.DonnerNbLignes(); ++r)
        rows[table.DonnerLibelleLigne(r)] = table.DonnerValeurAffichee(r, countColumn["Total"]);
    std::map<std::string, double> columns;
    for (const auto& [label, c] : countColumn)
        columns[label] = table.DonnerValeurAffichee(totalRow, c);
    const double tolerance = 1e-6 * 1000;
    EXPECT_NEAR(rows["Homme"], 480, tolerance);
    EXPECT_NEAR(rows["Femme"], 520, tolerance);
    for (const char* region : {"Île-de-France", "Nord-Est", "Nord-Ouest", "Sud-Ouest", "Sud-Est"})
        EXPECT_NEAR(columns[region], 200, tolerance) << region;
}

// ---- The library -------------------------------------------------------------------------------

TEST_F(RedressementDlgTest, CopiedToTheLibraryItIsTakenInAnotherQuestionnaire) {
    std::string definition;
    {
        auto dialog = Dialog();
        DefineTwoQuestions(*dialog);
        QTest::mouseClick(&dialog->VersBibliothequeButton(), Qt::LeftButton);
        ASSERT_FALSE(m_ui->shown.empty());
        EXPECT_EQ(m_ui->shown.back().message, Message(StringTable::kAjoutBibliotheque));
        m_ui->ScriptThreeWayReplies({Reply::Yes});
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
        definition = Stored().at(0)->definition;
    }
    Reopen(Copy("autre"));
    ASSERT_TRUE(Stored().empty());
    auto dialog = Dialog();
    QTest::mouseClick(&dialog->NouveauButton(), Qt::LeftButton);
    TypeInto(dialog->TotalEdit(), "1000");
    ModalAnswers answers({[](QDialog& shown) {
        auto* chooser = qobject_cast<CSelectionnerDlg*>(&shown);
        ASSERT_NE(chooser, nullptr);
        const auto found = chooser->GetList().findItems(kSchemeName, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        chooser->GetList().setCurrentItem(found.front());
        chooser->accept();
    }});
    QTest::mouseClick(&dialog->DeBibliothequeButton(), Qt::LeftButton);
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(dialog->NameCombo().currentText(), kSchemeName);
    EXPECT_EQ(Shape(*dialog), (std::vector<std::string>{"SEXE", "REGION"}));
    m_ui->ScriptThreeWayReplies({Reply::Yes});
    QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
    ASSERT_EQ(Stored().size(), 1u);
    EXPECT_EQ(Stored()[0]->definition, definition);
}

TEST_F(RedressementDlgTest, AnUnreachableLibraryIsSaidAndChangesNothing) {
    m_context.libraryPath = (m_copy.parent_path() / "absente" / "bibliotheque.bib").string();
    auto dialog = Dialog();
    DefineTwoQuestions(*dialog);
    const std::vector<std::string> before = Shape(*dialog);
    for (QPushButton* button : {&dialog->VersBibliothequeButton(), &dialog->DeBibliothequeButton()}) {
        m_ui->shown.clear();
        ModalAnswers none({});
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(none.Unexpected(), 0);
        ASSERT_EQ(m_ui->shown.size(), 1u);
        EXPECT_EQ(StringTable::Format(m_ui->shown[0].message), "Ne peut pas ouvrir le fichier bibliothèque");
    }
    EXPECT_EQ(Shape(*dialog), before);
}

// ---- Refusals -----------------------------------------------------------------------------------

struct BadInput {
    const char* total;
    std::vector<std::string> sexe;
    int message;
};

TEST_F(RedressementDlgTest, BadInputIsRefusedAndTheQuestionnaireStaysAsItWas) {
    const std::vector<BadInput> cases{
        {"0", kSexeTargets, StringTable::kEntrerNombrePositif},
        {"-5", kSexeTargets, StringTable::kEntrerNombrePositif},
        {"mille", kSexeTargets, StringTable::kEntrerNombrePositif},
        {"1000", {"480", "500"}, StringTable::kObjectifsMalTotalises},
    };
    const std::string before = FileContents(m_copy);
    for (const BadInput& c : cases) {
        auto dialog = Dialog();
        DefineTwoQuestions(*dialog);
        TypeInto(dialog->TotalEdit(), c.total);
        dialog->Arbre().setCurrentItem(Item(*dialog, "SEXE"));
        TypeDesired(*dialog, c.sexe);
        m_ui->shown.clear();
        m_ui->ScriptThreeWayReplies({Reply::Yes});
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible()) << c.total;
        ASSERT_EQ(m_ui->shown.size(), 1u) << c.total;
        EXPECT_EQ(m_ui->shown[0].message.id, c.message) << c.total;
        if (c.message == StringTable::kEntrerNombrePositif) {
            EXPECT_EQ(StringTable::Format(m_ui->shown[0].message), "Vous devez entrer un nombre positif...");
        }
        dialog->reject();
    }
    EXPECT_TRUE(Stored().empty());
    EXPECT_EQ(FileContents(m_copy), before);
}

} // namespace

namespace {

// ---- Scrolling the value rows ------------------------------------------------------------------

// A question of twelve modalities on four interviews.
std::string TwelveModalities() {
    std::string text = "questionnaire \"Douze\" language=fr\nlanguage 1036 fr \"Français\"\nquestion 1 DOUZE closed\n";
    for (int m = 1; m <= 12; ++m)
        text += "  modality " + std::to_string(m) + " fr \"M" + std::to_string(m) + "\"\n";
    text += "records\nCle1,1;1\n1,1\n2,5\n3,12\n4,12\nend\n";
    return text;
}

class ValueRowsTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-douze-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_context.questionnairePath = m_folder + "/douze.qes";
        qesbuild::FixtureDescription fixture =
            qesbuild::DescriptionParser::Parse(TwelveModalities(), "douze.txt", m_folder);
        qesbuild::WriteFixture(fixture, m_context.questionnairePath);
        m_context.SetUserInterface(std::make_unique<RecordingUserInterface>());
        CContexteEtude::RegisterContext(&m_context);
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        std::filesystem::remove_all(m_folder);
        SettingsFixture::TearDown();
    }

    // The captions of the rows shown, in order.
    static std::vector<std::string> Captions(const CRedressementDlg& dialog) {
        std::vector<std::string> captions;
        for (int k = 0; k < CRedressementDlg::kLignesValeurs; ++k)
            if (!dialog.Ligne(k).isHidden())
                captions.push_back(dialog.Ligne(k).Libelle().text().toStdString());
        return captions;
    }
    static std::vector<std::string> Modalities(int first, int last) {
        std::vector<std::string> captions;
        for (int m = first; m <= last; ++m)
            captions.push_back("M" + std::to_string(m));
        return captions;
    }

    std::string m_folder;
    CContexteEtude m_context;
};

TEST_F(ValueRowsTest, TwelveModalitiesShowEightRowsAtATime) {
    CRedressementDlg dialog(m_context, -1, SelecteursRedressement());
    dialog.show();
    QTest::mouseClick(&dialog.NouveauButton(), Qt::LeftButton);
    {
        ModalAnswers answers({Pick("DOUZE")});
        QTest::mouseClick(&dialog.QuestionButton(), Qt::LeftButton);
        ASSERT_EQ(answers.Answered(), 1u);
    }
    QScrollBar& scroll = dialog.Defilement();
    EXPECT_FALSE(scroll.isHidden());
    EXPECT_EQ(Captions(dialog), Modalities(1, 8));
    // The request for the bottom shows the last eight.
    scroll.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Captions(dialog), Modalities(5, 12));
    // The arrows go one further: the last seven, the eighth row empty; no further.
    for (int step = 0; step < 12; ++step)
        scroll.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Captions(dialog), Modalities(6, 12));
    scroll.triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(Captions(dialog), Modalities(1, 8));
    // The thumb dragged to the end reaches the same furthest place.
    scroll.setSliderPosition(scroll.maximum());
    EXPECT_EQ(Captions(dialog), Modalities(6, 12));
    // The desired value typed in a scrolled row is that modality's.
    TypeInto(dialog.Ligne(6).Desire(), "7");
    CObjectifRedressement* target = CRedressementDlg::Objectif(*dialog.Arbre().currentItem());
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->DonnerValeurDesiree(11), 7.0);
}

// A scheme of the library whose question this questionnaire names otherwise: the analyst is asked
// for it under its name, and the target takes the question chosen.
TEST_F(ValueRowsTest, AQuestionOfTheLibraryMissingHereIsAskedForByItsName) {
    m_context.libraryPath = m_folder + "/bibliotheque.bib";
    {
        db::Database created(m_context.libraryPath, db::Database::Access::ReadWrite,
                             db::Database::Creation::CreateIfMissing);
    }
    CRedressement stored;
    stored.name = "Ailleurs";
    stored.definition = "0@@0~ |0|1|#SEXE|1|2|1@3@#";
    CBibliotheque library(m_context);
    ASSERT_TRUE(library.Open());
    ASSERT_TRUE(library.SaveWeighting(stored)) << library.GetLastError();
    library.Close();

    CRedressementDlg dialog(m_context, -1, SelecteursRedressement());
    dialog.show();
    QTest::mouseClick(&dialog.NouveauButton(), Qt::LeftButton);
    QString title;
    ModalAnswers answers({[](QDialog& shown) {
                              auto* chooser = qobject_cast<CSelectionnerDlg*>(&shown);
                              ASSERT_NE(chooser, nullptr);
                              chooser->GetList().setCurrentRow(0);
                              chooser->accept();
                          },
                          [&title](QDialog& shown) {
                              title = shown.windowTitle();
                              Pick("DOUZE")(shown);
                          }});
    QTest::mouseClick(&dialog.DeBibliothequeButton(), Qt::LeftButton);
    EXPECT_EQ(answers.Answered(), 2u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(title, "Sélectionner la question correspondant à 'SEXE'");
    ASSERT_EQ(dialog.Arbre().topLevelItemCount(), 1);
    EXPECT_EQ(dialog.Arbre().topLevelItem(0)->text(0), "DOUZE");
    dialog.Arbre().setCurrentItem(dialog.Arbre().topLevelItem(0));
    EXPECT_EQ(dialog.Ligne(0).Desire().text(), "1");
    EXPECT_EQ(dialog.Ligne(1).Desire().text(), "3");
    // Beyond the values the library gives, the counts of the questionnaire: M5 is answered once.
    EXPECT_EQ(dialog.Ligne(4).Desire().text(), "1");
    EXPECT_EQ(dialog.NameCombo().currentText(), "Ailleurs");
    EXPECT_TRUE(dialog.EstModifie());
}

} // namespace
