// The style of an advanced table as the analyst edits it: the operation dialog and its checks, the
// list of operations of the general page, and the styles kept in the questionnaire and in the
// shared library. Each test works on a copy of the demo questionnaire of its own, since styles
// are written into it.
#include "StyleTestSupport.h"
#include "app/Bibliotheque.h"
#include "app/Crc32c.h"
#include "app/IdName.h"
#include "platform/db/Database.h"
#include "presentation/PresentationTableau.h"
#include "gui/requests/PageGeneraleProfilsDlg.h"
#include "gui/requests/SelectionnerDlg.h"
#include "tabulation/Style.h"

#include <QComboBox>
#include <QListWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sqlite3.h>

namespace {

using namespace requests_test;
using Reply = UserInterface::Reply;

std::uint32_t FileHash(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Crc32c::Of(bytes.data(), bytes.size());
}

void Execute(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
    char* message = nullptr;
    const int result = sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message);
    const std::string text = message != nullptr ? message : "";
    sqlite3_free(message);
    sqlite3_close(connection);
    ASSERT_EQ(result, SQLITE_OK) << text;
}

std::vector<std::string> ComboItems(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i)
        items.push_back(combo.itemText(i).toStdString());
    return items;
}

// The operations of a list, as the page's columns show them.
std::vector<std::vector<std::string>> Rows(const QTreeWidget& list) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < list.columnCount(); ++column)
            cells.push_back(list.topLevelItem(row)->text(column).toStdString());
        rows.push_back(cells);
    }
    return rows;
}

class StylePageTest : public DemoRequestTest {
protected:
    void SetUp() override {
        DemoRequestTest::SetUp();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::filesystem::path folder = DemoSurveyFolder::Get(kInterviews);
        m_first = (folder / ("style-" + name + "-1.qes")).string();
        m_second = (folder / ("style-" + name + "-2.qes")).string();
        m_library = (folder / ("style-" + name + ".bib")).string();
        for (const std::string& copy : {m_first, m_second}) {
            std::filesystem::remove(copy);
            std::filesystem::copy_file(m_context.questionnairePath, copy);
        }
        std::filesystem::remove(m_library);
        { db::Database created(m_library, db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing); }
        m_context.libraryPath = m_library;
        Open(m_first);
    }

    void Open(const std::string& path) {
        m_page.reset();
        m_context.questionnairePath = path;
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
        m_ui->shown.clear();
        m_ui->asked.clear();
    }

    // A new page, shown.
    CPageGeneraleProfilsDlg& NewPage() {
        m_page = std::make_unique<CPageGeneraleProfilsDlg>(m_context, m_presentation, "Tableau", m_level);
        m_page->show();
        return *m_page;
    }

    // The two operations most tests start from: counts in the cells, then a column of totals.
    void AddCountsAndTotals(CPageGeneraleProfilsDlg& page) {
        AddOperations(page, {{0, "Effectifs", "Eff."}, {1, "Total", "Tot.", 1}});
    }

    static void ChooseStyle(QComboBox& combo, const std::string& name) {
        const int index = combo.findText(QString::fromStdString(name));
        ASSERT_GE(index, 0) << name;
        combo.setCurrentIndex(index);
        emit combo.activated(index);
    }

    static void TypeStyleName(CPageGeneraleProfilsDlg& page, const QString& name) {
        QLineEdit* edit = page.StyleCombo().lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, name);
    }

    static std::string Definitions(const CPageGeneraleProfilsDlg& page) {
        CStyle style;
        for (const auto& operation : page.GetOperations())
            style.Add(std::make_unique<CCalculEvolue>(*operation));
        return style.DonnerChaine();
    }

    std::vector<std::string> ShownTexts() const { return m_ui->ShownTexts(); }

    std::string m_first;
    std::string m_second;
    std::string m_library;
    CPresentationTableau m_presentation;
    std::int32_t m_level = 0;
    std::unique_ptr<CPageGeneraleProfilsDlg> m_page;
};

// ---- "Opération" ---------------------------------------------------------------------------------

// Each type offers its list of operations (the context's lists, as the calculation lists of the
// program name them) and the fields it can change.
TEST_F(StylePageTest, EachTypeOffersItsOperationsAndFields) {
    struct Case {
        int type;
        std::vector<std::string> operations;
        bool position;
        bool operation;
        bool testLine;
    };
    const std::vector<Case> cases = {
        {0, {"Effectifs", "Profil ligne", "Profil colonne", "Fréquence totale", "Significativité", "Valeur test",
             "Indice d'affinité"}, false, true, false},
        {1, {"Effectifs", "Pourcentage", "Coefficient de pondération", "Taux d'importance", "Total"}, true, true, false},
        {2, {"Moyenne", "Ecart-type", "Nbre de réponses", "Nbre de 'Non-réponses'", "Somme", "Minimum", "Maximum",
             "IC sur moyenne(-)", "IC sur moyenne (+)", "Variance", "Significativité"}, false, true, false},
        {3, {}, false, false, true},
    };
    COperationDlg dialog(m_context, CCalculEvolue());
    dialog.show();
    EXPECT_EQ(ComboItems(dialog.TypeCombo()),
              (std::vector<std::string>{"Croisement", "Total", "Sous total (stats)", "Ligne de test"}));
    EXPECT_EQ(ComboItems(dialog.PositionCombo()),
              (std::vector<std::string>{"Total lignes uniquement", "Total colonnes uniquement",
                                        "Total lignes et colonnes"}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        dialog.TypeCombo().setCurrentIndex(c.type);
        EXPECT_EQ(ComboItems(dialog.OperationCombo()), c.operations);
        EXPECT_EQ(dialog.PositionCombo().isEnabled(), c.position);
        EXPECT_EQ(dialog.OperationCombo().isEnabled(), c.operation);
        EXPECT_EQ(dialog.TestLineEdit().isEnabled(), c.testLine);
    }
}

// What OK keeps of each choice: the kind is the code of the operation chosen (a test line's is
// -1 and only a test line keeps its text); a type without position takes the first.
TEST_F(StylePageTest, OkGivesTheOperationDefined) {
    struct Case {
        OperationChoice choice;
        const char* definition; // study field, weighting, level code, type, position, kind, label, test
    };
    const std::vector<Case> cases = {
        {{0, "Valeur test", "VT", 2, "ignoré"}, "-1;-1;0;0;2;6;VT;"},
        {{1, "Taux d'importance", "Taux", 1}, "-1;-1;0;1;1;4;Taux;"},
        {{2, "Variance", "Var. de l'âge"}, "-1;-1;0;2;2;9;Var. de l'âge;"},
        {{3, "", "Khi deux", 0, "khi2=??K?? p=??P??"}, "-1;-1;0;3;0;-1;Khi deux;khi2=??K?? p=??P??"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        COperationDlg dialog(m_context, CCalculEvolue());
        dialog.show();
        Fill(dialog, c.choice);
        QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.GetCalcul().DonnerDefinition(), c.definition);
    }
    EXPECT_TRUE(m_ui->shown.empty());
}

// A refused OK leaves the dialog open, says why and keeps the operation as it was.
TEST_F(StylePageTest, OkRefusesWhatCannotBeStored) {
    struct Case {
        const char* name;
        OperationChoice choice;
        bool clearPosition;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"semicolon in the label", {0, "Effectifs", "Eff;total"}, false,
         "Vous ne pouvez utiliser les caractères suivants ; et |"},
        {"bar in the label", {2, "Moyenne", "a|b"}, false, "Vous ne pouvez utiliser les caractères suivants ; et |"},
        {"bar in the test text", {3, "", "Khi2", 0, "khi2|p"}, false,
         "Vous ne pouvez utiliser les caractères suivants ; et |"},
        {"no operation chosen", {1, "", "Rien"}, false, "Vous devez sélectionner  un calcul..."},
        {"a total without position", {1, "Total", "Tot."}, true, "Sélectionner un type total"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ui->shown.clear();
        CCalculEvolue original;
        original.code = 99; // in no list: no operation selected at first
        original.label = "Avant";
        COperationDlg dialog(m_context, original);
        dialog.show();
        Fill(dialog, c.choice);
        if (c.clearPosition)
            dialog.PositionCombo().setCurrentIndex(-1);
        QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ShownTexts(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(dialog.GetCalcul().DonnerDefinition(), original.DonnerDefinition());
    }
    // A blank is no separator.
    m_ui->shown.clear();
    COperationDlg dialog(m_context, CCalculEvolue());
    dialog.show();
    Fill(dialog, {0, "Effectifs", "Effectifs bruts"});
    QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(m_ui->shown.empty());
}

// ---- The list of operations ---------------------------------------------------------------------

TEST_F(StylePageTest, TheListShowsEachOperationAndIsEditedInPlace) {
    CPageGeneraleProfilsDlg& page = NewPage();
    AddOperations(page, {{0, "Effectifs", "Eff."}, {1, "Total", "Tot.", 1}, {3, "", "Test", 0, "khi2=??K??"}});
    const std::vector<std::string> header{"Calcul", "Nom", "Champ d'étude", "Redressement", "Niveau"};
    QTreeWidgetItem* headerItem = page.OperationList().headerItem();
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(headerItem->text(column).toStdString(), header[static_cast<std::size_t>(column)]);
    EXPECT_EQ(Rows(page.OperationList()),
              (std::vector<std::vector<std::string>>{
                  {"Effectifs", "Eff.", "Toutes les interviews", "Aucun redressement", "Interviews"},
                  {"Total", "Tot.", "Toutes les interviews", "Aucun redressement", "Interviews"},
                  {"Test khi2", "Test", "Toutes les interviews", "Aucun redressement", "Interviews"}}));

    // Edited: the second becomes a percentage; moved up twice it stops at the top.
    SelectRows(page.OperationList(), {1});
    ClickAnswered(page.EditButton(), {Answer({1, "Pourcentage", "Pct", 2})});
    SelectRows(page.OperationList(), {1});
    QTest::mouseClick(&page.UpButton(), Qt::LeftButton);
    QTest::mouseClick(&page.UpButton(), Qt::LeftButton);
    EXPECT_EQ(Definitions(page), "-1;-1;0;1;2;1;Pct;|-1;-1;0;0;2;0;Eff.;|-1;-1;0;3;0;-1;Test;khi2=??K??|");
    // Alt+Down moves it back down; Delete asks first, and No keeps the operation.
    QTest::keyClick(&page.OperationList(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(page.GetOperations()[1]->label, "Pct");
    m_ui->ScriptReplies({false, true});
    QTest::keyClick(&page.OperationList(), Qt::Key_Delete);
    EXPECT_EQ(page.GetOperations().size(), 3u);
    QTest::mouseClick(&page.DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(Definitions(page), "-1;-1;0;0;2;0;Eff.;|-1;-1;0;3;0;-1;Test;khi2=??K??|");
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{});
    ASSERT_EQ(m_ui->asked.size(), 2u);
    EXPECT_EQ(StringTable::Format(m_ui->asked[0]), "Etes-vous sûre de vouloir supprimer cette opération ?");
}

// Editing an operation again and again leaves the list, and the page around it, as wide as it was.
TEST_F(StylePageTest, EditingAnOperationKeepsThePagesWidth) {
    CPageGeneraleProfilsDlg& page = NewPage();
    AddCountsAndTotals(page);
    page.adjustSize();
    const int listWidth = page.OperationList().minimumWidth();
    const int pageWidth = page.width();
    for (int time = 0; time < 2; ++time) {
        SelectRows(page.OperationList(), {0});
        ClickAnswered(page.EditButton(), {Answer({0, "Effectifs", "Eff."})});
        page.adjustSize();
        EXPECT_EQ(page.OperationList().minimumWidth(), listWidth) << time;
        EXPECT_EQ(page.width(), pageWidth) << time;
    }
}

// ---- Styles in the questionnaire and in the library -------------------------------------------

TEST_F(StylePageTest, AStyleSavedInTheQuestionnaireAndTheLibraryIsReadBackEqual) {
    CPageGeneraleProfilsDlg& page = NewPage();
    QTest::mouseClick(&page.NewStyleButton(), Qt::LeftButton);
    EXPECT_EQ(page.StyleCombo().currentText(), QStringLiteral("Nouveau style"));
    EXPECT_EQ(page.GetStyleId(), -1);
    AddOperations(page, {{1, "Effectifs", "Base", 0}, {0, "Profil colonne", "% col."}, {3, "", "Khi2", 0, "p=??P??"}});
    TypeStyleName(page, QStringLiteral("Satisfaction"));
    QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
    EXPECT_GT(page.GetStyleId(), 0);
    EXPECT_FALSE(page.EstModifie());
    QTest::mouseClick(&page.SaveToLibraryButton(), Qt::LeftButton);
    EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"Ajout avec succès à la bibliothèque"}));
    const std::string expected = "-1;-1;0;1;0;0;Base;|-1;-1;0;0;2;2;% col.;|-1;-1;0;3;0;-1;Khi2;p=??P??|";
    ASSERT_EQ(Definitions(page), expected);

    // A new page of the same questionnaire offers it and reads it back.
    CPageGeneraleProfilsDlg& again = NewPage();
    EXPECT_EQ(ComboItems(again.StyleCombo()), (std::vector<std::string>{"Satisfaction"}));
    EXPECT_TRUE(again.GetOperations().empty());
    ChooseStyle(again.StyleCombo(), "Satisfaction");
    EXPECT_EQ(Definitions(again), expected);

    // Another questionnaire has no style of its own, and takes it from the library.
    Open(m_second);
    CPageGeneraleProfilsDlg& other = NewPage();
    EXPECT_TRUE(ComboItems(other.StyleCombo()).empty());
    ClickAnswered(other.LoadFromLibraryButton(), {[](QDialog& shown) {
                      auto* chooser = qobject_cast<CSelectionnerDlg*>(&shown);
                      ASSERT_NE(chooser, nullptr);
                      const auto found = chooser->GetList().findItems(QStringLiteral("Satisfaction"), Qt::MatchExactly);
                      ASSERT_EQ(found.size(), 1);
                      chooser->GetList().setCurrentItem(found.front());
                      chooser->accept();
                  }});
    EXPECT_EQ(Definitions(other), expected);
    EXPECT_EQ(other.StyleCombo().currentText(), QStringLiteral("Satisfaction"));
    QTest::mouseClick(&other.SaveStyleButton(), Qt::LeftButton);
    CPageGeneraleProfilsDlg& reopened = NewPage();
    ChooseStyle(reopened.StyleCombo(), "Satisfaction");
    EXPECT_EQ(Definitions(reopened), expected);
    EXPECT_TRUE(m_ui->shown.empty()) << ShownTexts().front();
}

// A library that cannot be reached or refuses the write says so, and never that it succeeded.
TEST_F(StylePageTest, ALibraryThatFailsShowsAnErrorAndNoSuccess) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"missing", [this] { m_context.libraryPath = m_library + ".absente"; },
         "Ne peut pas ouvrir le fichier bibliothèque"},
        {"not a database",
         [this] {
             m_context.libraryPath = m_library + ".txt";
             std::ofstream(m_context.libraryPath) << "pas une bibliothèque";
         },
         "Ne peut pas ouvrir le fichier bibliothèque"},
        {"refusing the write",
         [this] {
             m_context.libraryPath = m_library;
             CBibliotheque library(m_context);
             ASSERT_TRUE(library.Open());
             CStyle kept;
             kept.name = "Autre";
             kept.Add(std::make_unique<CCalculEvolue>());
             ASSERT_TRUE(library.SaveStyle(kept)) << library.GetLastError();
             library.Close();
             Execute(m_library, "CREATE TRIGGER \"plein\" BEFORE INSERT ON \"MFW Style\" "
                                     "BEGIN SELECT RAISE(ABORT, 'disque plein'); END;");
         },
         "Le style n'a pas pu être ajouté à la bibliothèque : disque plein"},
    };
    CPageGeneraleProfilsDlg& page = NewPage();
    AddCountsAndTotals(page);
    TypeStyleName(page, QStringLiteral("Essai"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        const bool existed = std::filesystem::exists(m_context.libraryPath);
        const std::uint32_t before = existed ? FileHash(m_context.libraryPath) : 0;
        m_ui->shown.clear();
        QTest::mouseClick(&page.SaveToLibraryButton(), Qt::LeftButton);
        ASSERT_EQ(m_ui->shown.size(), 1u);
        EXPECT_EQ(ShownTexts().front(), c.message);
        EXPECT_EQ(m_ui->shown.front().icon, UserInterface::Icon::Error);
        EXPECT_EQ(std::filesystem::exists(m_context.libraryPath), existed);
        if (existed) {
            EXPECT_EQ(FileHash(m_context.libraryPath), before);
        }
    }
}

// ---- What is refused, and what a No or a Cancel leaves ------------------------------------------

TEST_F(StylePageTest, AStyleWithoutOperationOrUnderATakenNameIsNotStored) {
    CPageGeneraleProfilsDlg& page = NewPage();
    QTest::mouseClick(&page.NewStyleButton(), Qt::LeftButton);
    const std::uint32_t before = FileHash(m_first);
    QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
    QTest::mouseClick(&page.SaveToLibraryButton(), Qt::LeftButton);
    EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"Vous devez définir au moins une opération.",
                                                      "Vous devez définir au moins une opération."}));
    EXPECT_FALSE(page.Valider());
    EXPECT_EQ(ShownTexts().back(), "Vous devez sélectionner au moins un traitement...");
    EXPECT_EQ(FileHash(m_first), before);

    // A first style stored, a second one under the same name is refused and stays changed.
    AddCountsAndTotals(page);
    TypeStyleName(page, QStringLiteral("Base"));
    QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
    ASSERT_GT(page.GetStyleId(), 0);
    QTest::mouseClick(&page.NewStyleButton(), Qt::LeftButton);
    AddOperations(page, {{0, "Profil ligne", "% ligne"}});
    TypeStyleName(page, QStringLiteral("Base"));
    m_ui->shown.clear();
    const std::uint32_t stored = FileHash(m_first);
    QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
    EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"Nom déjà utilisé..."}));
    EXPECT_TRUE(page.EstModifie());
    EXPECT_EQ(page.GetStyleId(), -1);
    EXPECT_EQ(FileHash(m_first), stored);
}

// Leaving a changed style asks whether to save it; No and Cancel write nothing, Cancel keeps the
// style and its edits, No keeps the edits as no style, Yes saves them.
TEST_F(StylePageTest, LeavingAChangedStyleAsksAndOnlyYesWrites) {
    {
        CPageGeneraleProfilsDlg& page = NewPage();
        QTest::mouseClick(&page.NewStyleButton(), Qt::LeftButton);
        AddCountsAndTotals(page);
        TypeStyleName(page, QStringLiteral("Premier"));
        QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
        QTest::mouseClick(&page.NewStyleButton(), Qt::LeftButton);
        AddOperations(page, {{0, "Profil ligne", "% ligne"}});
        TypeStyleName(page, QStringLiteral("Second"));
        QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
        ASSERT_TRUE(m_ui->shown.empty()) << ShownTexts().front();
    }
    struct Case {
        Reply reply;
        bool staysOnFirst;
        bool written;
    };
    const std::vector<Case> cases = {
        {Reply::Cancel, true, false},
        {Reply::No, false, false},
        {Reply::Yes, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.reply));
        CPageGeneraleProfilsDlg& page = NewPage();
        ChooseStyle(page.StyleCombo(), "Premier");
        const std::int32_t first = page.GetStyleId();
        SelectRows(page.OperationList(), {0});
        ClickAnswered(page.EditButton(), {Answer({0, "Valeur test", "VT"})});
        const std::string edited = Definitions(page);
        ASSERT_TRUE(page.EstModifie());
        m_ui->asked.clear();
        m_ui->ScriptThreeWayReplies({c.reply});
        const std::uint32_t before = FileHash(m_first);
        ChooseStyle(page.StyleCombo(), "Second");
        ASSERT_EQ(m_ui->asked.size(), 1u);
        EXPECT_EQ(StringTable::Format(m_ui->asked[0]), "Ce style a changé. Voulez-vous le sauvegarder ?");
        EXPECT_EQ(FileHash(m_first) != before, c.written);
        if (c.staysOnFirst) {
            EXPECT_EQ(page.GetStyleId(), first);
            EXPECT_EQ(page.StyleCombo().currentText(), QStringLiteral("Premier"));
            EXPECT_EQ(Definitions(page), edited);
            EXPECT_TRUE(page.EstModifie());
        } else {
            EXPECT_EQ(page.StyleCombo().currentText(), QStringLiteral("Second"));
            // "Nouveau" started the second style from the first one's operations.
            EXPECT_EQ(Definitions(page), "-1;-1;0;0;2;0;Eff.;|-1;-1;0;1;1;9;Tot.;|-1;-1;0;0;2;1;% ligne;|");
        }
    }
    // Yes stored the edit: the first style now reads back edited.
    CPageGeneraleProfilsDlg& page = NewPage();
    ChooseStyle(page.StyleCombo(), "Premier");
    EXPECT_EQ(page.GetOperations().front()->label, "VT");
}

TEST_F(StylePageTest, DeletingAStyleAsksAndNoKeepsIt) {
    CPageGeneraleProfilsDlg& page = NewPage();
    QTest::mouseClick(&page.NewStyleButton(), Qt::LeftButton);
    AddCountsAndTotals(page);
    TypeStyleName(page, QStringLiteral("Jetable"));
    QTest::mouseClick(&page.SaveStyleButton(), Qt::LeftButton);
    const std::uint32_t stored = FileHash(m_first);
    m_ui->ScriptReplies({false});
    QTest::mouseClick(&page.DeleteStyleButton(), Qt::LeftButton);
    EXPECT_EQ(FileHash(m_first), stored);
    EXPECT_EQ(ComboItems(page.StyleCombo()), (std::vector<std::string>{"Jetable"}));
    m_ui->ScriptReplies({true});
    QTest::mouseClick(&page.DeleteStyleButton(), Qt::LeftButton);
    EXPECT_TRUE(ComboItems(page.StyleCombo()).empty());
    EXPECT_EQ(page.GetStyleId(), 0);
    ASSERT_EQ(m_ui->asked.size(), 2u);
    EXPECT_EQ(StringTable::Format(m_ui->asked[1]), "Etes-vous sûre de vouloir supprimer ce style ?");
    EXPECT_TRUE(ComboItems(NewPage().StyleCombo()).empty());
}

} // namespace
