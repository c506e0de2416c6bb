// The study field of a request chosen on the general page: its "..." opens "Champ d'étude", and
// the field chosen there is the one the request is computed on, as qesrun computes the same
// request naming the field.
#include "RequestDialogTestSupport.h"
#include "app/ChampEtude.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QComboBox>
#include <filesystem>
#include <sqlite3.h>

namespace {

using namespace requests_test;
using T = CTraitement;

// The demo copied for the test, whose fields it stores, reopened in the test's context.
class PageGeneraleChampEtudeTest : public DemoRequestTest {
protected:
    void SetUp() override {
        DemoRequestTest::SetUp();
        const std::filesystem::path demo = m_context.questionnairePath;
        m_copy = demo.parent_path() /
                 ("champ-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  ".qes");
        std::filesystem::copy_file(demo, m_copy, std::filesystem::copy_options::overwrite_existing);
        m_context.questionnairePath = m_copy.string();
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    }
    void TearDown() override {
        DemoRequestTest::TearDown();
        std::filesystem::remove(m_copy);
    }

    // The interviews whose SEXE is Homme (code 1), counted by SQLite in the response table.
    int MenCountedBySqlite() const {
        sqlite3* database = nullptr;
        int count = -1;
        if (sqlite3_open_v2(m_copy.c_str(), &database, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(database, R"(SELECT COUNT(*) FROM "VEL Reponse1" WHERE "1;1" = 1)", -1,
                                   &statement, nullptr) == SQLITE_OK &&
                sqlite3_step(statement) == SQLITE_ROW)
                count = sqlite3_column_int(statement, 0);
            sqlite3_finalize(statement);
        }
        sqlite3_close(database);
        return count;
    }

    std::filesystem::path m_copy;
};

TEST_F(PageGeneraleChampEtudeTest, TheFieldChosenInItsDialogIsTheOneTheRequestCounts) {
    CChampEtude men;
    men.name = "Hommes";
    men.complexCondition = true;
    men.complexConditionText = "??SEXE?? = 1";
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(men, m_context, error)) << error;

    auto dialog = NewDialog(T::kTriCroise, {"SATISF", "REGION"});
    CPageGeneraleDlg& page = *dialog->GetPageGenerale();
    int offeredId = 0;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* chooser = qobject_cast<CChampEtudeDlg*>(&shown);
        ASSERT_NE(chooser, nullptr);
        offeredId = chooser->NameCombo().currentData().toInt();
        chooser->NameCombo().setCurrentIndex(chooser->NameCombo().findText("Hommes"));
        chooser->OkButton().click();
    }});
    QTest::mouseClick(&page.StudyFieldButton(), Qt::LeftButton);
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    // The chooser opened on the request's field, all interviews for a new request.
    EXPECT_EQ(offeredId, -1);
    EXPECT_EQ(page.GetChampEtude().name, "Hommes");

    std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->studyFieldId, men.id);
    EXPECT_EQ(request->studyFieldName, "Hommes");
    // The context's default is the analyst's, not changed by the request.
    EXPECT_EQ(m_context.universeCode, -1);
    const std::unique_ptr<CTraitement> asText = FromText(
        "type tri-croise\nlignes SATISF total\ncolonnes REGION total\ncalculs 0 1\nchamp Hommes\ntitre " +
        request->title + "\n");
    ASSERT_NE(asText, nullptr);
    const std::string computed = Computed(*request);
    EXPECT_EQ(computed, Computed(*asText));
    EXPECT_NE(computed.find("\nBase : " + std::to_string(MenCountedBySqlite()) + "\n"), std::string::npos)
        << computed;
}

} // namespace
