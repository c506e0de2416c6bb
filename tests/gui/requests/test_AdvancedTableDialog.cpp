// "Profils croisés", the request dialog of advanced tables: its style and its two profiles on
// three tabs, filled as the analyst fills them; the request it builds gives the table of the same
// request written as a qesrun text, comes back unchanged when reopened, and OK refuses on the tab
// that needs the analyst's attention.
#include "AdvancedTableTestSupport.h"
#include "app/StringTable.h"
#include "gui/requests/PageArbreTotalDlg.h"
#include "tabulation/Style.h"

#include <QCheckBox>
#include <QTabWidget>

namespace {

using namespace requests_test;
using T = CTraitement;
using Reply = UserInterface::Reply;

class AdvancedTableDialogTest : public DemoCopyTest {
protected:
    std::unique_ptr<RequestDialog> NewAdvancedDialog() { return NewDialog(T::kTableauxEvolues, {}); }

    static void Fill(RequestDialog& dialog, bool style, bool rows, bool columns) {
        FillAdvancedTable(dialog, style, rows, columns);
    }

    static std::string StyleText(const CTraitement& request) {
        return request.GetStyle() != nullptr ? request.GetStyle()->DonnerChaine() : std::string("(none)");
    }
};

TEST_F(AdvancedTableDialogTest, TheDialogPutsItsPagesOnTabsAndGivesTheTableOfTheSameRequestAsText) {
    auto dialog = NewAdvancedDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Profils croisés"));
    QTabWidget* tabs = dialog->GetTabs();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Général"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Lignes"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Colonnes"));
    EXPECT_EQ(tabs->currentWidget(), dialog->GetPageStyle());
    EXPECT_EQ(tabs->widget(1), dialog->GetPageProfil(0));
    EXPECT_EQ(tabs->widget(2), dialog->GetPageProfil(1));
    for (int axis : {0, 1}) {
        auto* page = dynamic_cast<CPageArbreTotalDlg*>(dialog->GetPageProfil(axis));
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->TotalBox().isVisibleTo(page));
    }
    EXPECT_EQ(dialog->GetPageStyle()->TitleEdit().text(), QStringLiteral("Profils croisés"));

    Fill(*dialog, true, true, true);
    std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->type, T::kTableauxEvolues);
    EXPECT_EQ(request->GetTypeAxe(T::kLignes), T::kAxeProfilFermees);
    EXPECT_EQ(request->GetTypeAxe(T::kColonnes), T::kAxeProfilFermees);
    const std::string expected = Computed(*FromText(std::string(kAdvancedText) + "titre Profils croisés\n"));
    ASSERT_NE(expected.find("Test khi2"), std::string::npos) << expected;
    EXPECT_EQ(Computed(*request), expected);
    EXPECT_TRUE(m_ui->shown.empty()) << m_ui->ShownTexts().front();
}

TEST_F(AdvancedTableDialogTest, TheRequestReopenedComesBackUnchanged) {
    auto first = NewAdvancedDialog();
    Fill(*first, true, true, true);
    first->GetPageStyle()->TitleEdit().setText(QStringLiteral("Satisfaction et âge"));
    std::unique_ptr<CTraitement> original = ClickOk(*first);
    ASSERT_NE(original, nullptr);

    auto edit = EditDialog(*original);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetTabs()->currentIndex(), 0);
    std::unique_ptr<CTraitement> again = ClickOk(*edit);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->type, original->type);
    EXPECT_EQ(again->title, "Satisfaction et âge");
    EXPECT_EQ(StyleText(*again), StyleText(*original));
    for (int axis : {T::kLignes, T::kColonnes}) {
        EXPECT_EQ(again->GetTypeAxe(axis), original->GetTypeAxe(axis));
        ASSERT_NE(again->GetProfilAxe(axis), nullptr);
        EXPECT_EQ(again->GetProfilAxe(axis)->ToString(m_context), original->GetProfilAxe(axis)->ToString(m_context));
    }
    EXPECT_EQ(Computed(*again), Computed(*original));
}

// OK checks the style, then its save, then the rows' profile, and shows the tab that refused;
// the columns' profile is not checked. Nothing is built until every check passes.
TEST_F(AdvancedTableDialogTest, OkRefusesOnTheTabThatNeedsAttention) {
    struct Case {
        const char* name;
        bool style;
        bool rows;
        bool columns;
        int tab;                // the tab shown after OK; -1 when the request was built
        const char* message;    // shown, or empty
    };
    const std::vector<Case> cases = {
        {"no operation", false, true, true, 0, "Vous devez sélectionner au moins un traitement..."},
        {"no row", true, false, true, 1, "Vous devez sélectionner au moins une modalité..."},
        {"no column", true, true, false, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ui->shown.clear();
        auto dialog = NewAdvancedDialog();
        Fill(*dialog, c.style, c.rows, c.columns);
        dialog->GetTabs()->setCurrentIndex(2);
        std::unique_ptr<CTraitement> request = ClickOk(*dialog);
        if (c.tab < 0) {
            EXPECT_NE(request, nullptr);
            EXPECT_TRUE(m_ui->shown.empty());
            continue;
        }
        EXPECT_EQ(request, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->GetTabs()->currentIndex(), c.tab);
        EXPECT_EQ(m_ui->ShownTexts(), (std::vector<std::string>{c.message}));
    }
}

// A new style left unsaved is asked about on OK: Cancel stays on the style's tab, No builds the
// request with the operations as they are; neither writes into the questionnaire.
TEST_F(AdvancedTableDialogTest, TheSaveQuestionOnOkWritesOnlyOnYes) {
    struct Case {
        Reply reply;
        bool built;
        bool written;
    };
    const std::vector<Case> cases = {
        {Reply::Cancel, false, false},
        {Reply::No, true, false},
        {Reply::Yes, true, true},
    };
    int saved = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.reply));
        auto dialog = NewAdvancedDialog();
        CPageGeneraleProfilsDlg& style = *dialog->GetPageStyle();
        Click(style.NewStyleButton());
        TypeName(style.StyleCombo(), QStringLiteral("Style %1").arg(++saved));
        Fill(*dialog, true, true, true);
        dialog->GetTabs()->setCurrentIndex(1);
        m_ui->asked.clear();
        m_ui->ScriptThreeWayReplies({c.reply});
        const QByteArray before = FileHash(m_copy);
        std::unique_ptr<CTraitement> request = ClickOk(*dialog);
        ASSERT_EQ(m_ui->asked.size(), 1u);
        EXPECT_EQ(StringTable::Format(m_ui->asked[0]), "Ce style a changé. Voulez-vous le sauvegarder ?");
        EXPECT_EQ(request != nullptr, c.built);
        EXPECT_EQ(FileHash(m_copy) != before, c.written);
        if (!c.built) {
            EXPECT_EQ(dialog->GetTabs()->currentIndex(), 0);
            continue;
        }
        // Saved, the request names its style; otherwise it holds its operations alone.
        ASSERT_NE(request->GetStyle(), nullptr);
        EXPECT_EQ(request->GetStyle()->id > 0, c.written);
        EXPECT_EQ(request->GetStyle()->GetCount(), static_cast<int>(kAdvancedStyle.size()));
    }
}

} // namespace
