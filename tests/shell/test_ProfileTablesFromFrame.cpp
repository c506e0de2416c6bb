// The profile commands of the "Tris" and "Ouverte" menus as the analyst uses them: the command
// opens its request dialog, the profiles are built in the profile dialogs with clicks on the
// trees, and the tables in the windows are the tables qesrun prints for the same request written
// as text (the golden requests of tests/golden, whose numbers tests/golden/qesrun-profiles.py
// checks independently). The demo is the full one, as for those golden files.
#include "MorvaneAppTestSupport.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "gui/requests/ProfileDialogTestSupport.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TablePrinter.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using shell_test::MorvaneAppTest;
using namespace requests_test;

std::string Path2000() {
    return DemoSurveyFolder::QuestionnairePath(qesbuild::DemoSurvey::kInterviews);
}

std::string GoldenRequest(const std::string& name) {
    std::ifstream file(std::string(MORVANE_SOURCE_DIR) + "/tests/golden/qesrun-" + name + ".req");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Exactly the calculations labelled are ticked.
void TickOnly(QTreeWidget& list, const std::vector<std::string>& labels) {
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const std::string label = list.topLevelItem(row)->text(0).toStdString();
        list.topLevelItem(row)->setCheckState(
            0, std::find(labels.begin(), labels.end(), label) != labels.end() ? Qt::Checked : Qt::Unchecked);
    }
}

class ProfileTablesFromFrameTest : public MorvaneAppTest {
protected:
    // What qesrun prints for the request text.
    static std::string Qesrun(const std::string& text) {
        const std::filesystem::path file =
            DemoSurveyFolder::Get(qesbuild::DemoSurvey::kInterviews) / "profile-request.req";
        std::ofstream(file) << text;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(qesrun::Command::Run({Path2000(), file.string()}, out, err), qesrun::Command::kTablesPrinted)
            << err.str();
        return out.str();
    }

    // Every table window, printed as qesrun prints tables.
    std::string PrintedWindows() const {
        std::ostringstream out;
        bool first = true;
        for (const CTableauDoc* document : TableDocuments()) {
            if (!first)
                out << '\n';
            qesrun::TablePrinter::Print(*document->GetTableau(), out);
            first = false;
        }
        return out.str();
    }
};

TEST_F(ProfileTablesFromFrameTest, EachProfileCommandGivesTheTablesOfItsRequestAsText) {
    const std::vector<std::string> kFive = {"Très satisfait", "Plutôt satisfait", "Ni satisfait ni insatisfait",
                                            "Plutôt insatisfait", "Pas du tout satisfait"};
    auto list = [](const std::string& question, const std::vector<std::string>& modalities) {
        std::string line = question + ":";
        for (std::size_t i = 0; i < modalities.size(); ++i)
            line += (i > 0 ? "|" : "") + modalities[i];
        return line;
    };
    const std::string satisfaction = list("SATISF", kFive);
    const std::string ages = list("TRANCHE", {"18-24 ans", "25-34 ans", "35-49 ans", "50-64 ans", "65 ans et plus"});
    const std::string regions = list("REGION", {"Île-de-France", "Nord-Est", "Nord-Ouest", "Sud-Ouest", "Sud-Est"});
    struct Case {
        const char* golden;
        unsigned command;
        std::vector<std::string> rows;
        std::vector<std::string> columns;
        std::vector<std::string> calculations;
    };
    const std::vector<Case> cases = {
        {"profiles-simple", 32795, {"SATISF", "TRANCHE"}, {}, {"Effectifs", "Pourcentage"}},
        {"profiles-statistical",
         32796,
         {"Âge", "Revenu mensuel", "Personnes du foyer"},
         {},
         {"Moyenne", "Ecart-type", "Nbre de réponses", "Minimum", "Maximum"}},
        {"profiles-crossed",
         32798,
         {satisfaction, ages, regions},
         {"SEXE:Homme|Femme", "CSP:Cadre, profession intellectuelle supérieure|Employé|Ouvrier"},
         {"Effectifs", "Profil colonne"}},
        {"profiles-comparison",
         32844,
         {list("TRANCHE", {"18-24 ans", "25-34 ans", "35-49 ans"}), list("REGION", {"Île-de-France", "Nord-Est", "Nord-Ouest"}),
          list("SATISF", {"Très satisfait", "Plutôt satisfait", "Ni satisfait ni insatisfait"})},
         {},
         {"Effectifs", "Pourcentage"}},
        {"profiles-mean",
         32874,
         {satisfaction, ages},
         {"Âge", "Revenu mensuel"},
         {"Moyenne", "Ecart-type", "Nbre de réponses"}},
        {"profiles-open", 32918, {"Avis sur le service"}, {}, {}},
    };
    ASSERT_TRUE(Start(Path2000()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        m_app->GetTemplate(TemplateKind::kTableau).CloseAllDocuments();
        Select("");
        ASSERT_TRUE(IsEnabled(c.command));
        std::string title;
        ModalAnswers answers({[&](QDialog& shown) {
            auto* dialog = qobject_cast<RequestDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            EditProfileOf(*dialog->GetPageProfil(0), Profile(c.rows));
            if (!c.columns.empty())
                EditProfileOf(*dialog->GetPageProfil(1), Profile(c.columns));
            if (CPageCalculsDlg* page = dialog->GetPageCalculs(0))
                TickOnly(page->GetList(), c.calculations);
            if (CPageCalculsDlg* statistics = dialog->GetPageCalculs(1))
                TickOnly(statistics->GetList(), {});
            title = dialog->GetPageGenerale()->TitleEdit().text().toStdString();
            Click(dialog->OkButton());
        }});
        Run(c.command);
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_TRUE(m_ui->shown.empty());
        const std::string printed = PrintedWindows();
        EXPECT_FALSE(printed.empty());
        EXPECT_EQ(printed, Qesrun(GoldenRequest(c.golden) + "titre " + title + "\n"));
    }
}

// "Retour à la définition..." on a profile table opens its dialog with the request's profiles;
// OK without a change gives the same table.
TEST_F(ProfileTablesFromFrameTest, TheDefinitionOfAProfileTableComesBackUnchanged) {
    ASSERT_TRUE(Start(Path2000()));
    Select("");
    {
        ModalAnswers answers({[](QDialog& shown) {
            auto* dialog = qobject_cast<RequestDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            EditProfileOf(*dialog->GetPageProfil(0), Profile({"SATISF:Très satisfait|Plutôt satisfait", "REGION"}));
            EditProfileOf(*dialog->GetPageProfil(1), Profile({"SEXE"}));
            Click(dialog->OkButton());
        }});
        Run(32798);
        EXPECT_EQ(answers.Answered(), 1u);
    }
    ASSERT_EQ(TableDocuments().size(), 1u);
    const std::string before = PrintedWindows();
    const CTraitement original(*TableDocuments().front()->GetTableau()->GetTraitement());
    std::string rows;
    ModalAnswers answers({[&rows](QDialog& shown) {
        auto* dialog = qobject_cast<RequestDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        rows = TreeText(dialog->GetPageProfil(0)->GetTree());
        Click(dialog->OkButton());
    }});
    Run(CTableauDoc::kRetourDefinition);
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(rows, "Satisfaction globale(Très satisfait,Plutôt satisfait) "
                    "Région(Île-de-France,Nord-Est,Nord-Ouest,Sud-Ouest,Sud-Est,Non interrogé)");
    ASSERT_EQ(TableDocuments().size(), 1u);
    const CTraitement* again = TableDocuments().front()->GetTableau()->GetTraitement();
    ASSERT_NE(again, nullptr);
    for (int axis : {CTraitement::kLignes, CTraitement::kColonnes})
        EXPECT_EQ(again->GetProfilAxe(axis)->ToString(*m_app), original.GetProfilAxe(axis)->ToString(*m_app));
    EXPECT_EQ(PrintedWindows(), before);
}

} // namespace
