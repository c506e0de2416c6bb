#include <QApplication>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/ContexteEtude.h"
#include "shell/QuestionListWindow.h"
#include "tools/qesbuild/DemoSurvey.h"

namespace {

TEST(QuestionListWindow, ShowsTheDemoSurveyAsATreeWithItsLevels) {
    int argc = 1;
    char name[] = "test_shell";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    const auto folder = std::filesystem::temp_directory_path() / ("morvane-shell-" + std::to_string(::getpid()));
    qesbuild::DemoSurvey::Write(folder, qesbuild::DemoSurvey::kSeed, 50);
    CContexteEtude context;
    context.questionnairePath = (folder / "demo.qes").string();
    ASSERT_TRUE(context.OuvrirEtude());

    QuestionListWindow window;
    window.ShowSurvey(QString::fromStdString(context.questionnairePath), context);

    auto* tree = window.findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    QTreeWidgetItem* chapter = tree->topLevelItem(0);
    EXPECT_EQ(chapter->text(0), QStringLiteral("SIGNALETIQUE"));
    EXPECT_EQ(chapter->child(0)->text(0), QStringLiteral("SEXE"));
    EXPECT_EQ(chapter->child(0)->text(1), QStringLiteral("Sexe"));
    EXPECT_EQ(chapter->child(1)->text(3), QStringLiteral("Numérique"));
    QTreeWidgetItem* members = tree->topLevelItem(2);
    EXPECT_EQ(members->text(4), QStringLiteral("MEMBRES"));
    EXPECT_EQ(members->child(0)->text(4), QStringLiteral("MEMBRES"));
    EXPECT_EQ(chapter->child(0)->text(4), QStringLiteral("Interviews"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Morvane - demo.qes"));

    context.FermerEtude();
    std::filesystem::remove_all(folder);
}

} // namespace
