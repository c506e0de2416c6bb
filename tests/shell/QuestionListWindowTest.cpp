#include <QApplication>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/questionnaire/Questionnaire.h"
#include "shell/QuestionListWindow.h"

namespace {

std::unique_ptr<CQuestion> MakeQuestion(int code, const char* name, short depth, short kind, short type) {
    auto question = std::make_unique<CQuestion>();
    question->code = code;
    question->name = name;
    question->depth = depth;
    question->kind = kind;
    question->type = type;
    question->SetLocalisedShortCaption(1036, std::string("Libellé de ") + name);
    return question;
}

TEST(QuestionListWindow, ShowsTheOutlineAsATree) {
    int argc = 1;
    char name[] = "test_shell";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    CQuestionnaire questionnaire;
    questionnaire.language = 1036;
    questionnaire.AddQuestion(MakeQuestion(1, "SIGNALETIQUE", 1, 0, 1));
    questionnaire.AddQuestion(MakeQuestion(2, "SEXE", 2, 1, 1));
    questionnaire.AddQuestion(MakeQuestion(3, "AGE", 2, 1, 5));
    questionnaire.AddQuestion(MakeQuestion(4, "AVIS", 1, 1, 4));

    QuestionListWindow window;
    window.ShowQuestionnaire(QStringLiteral("/tmp/enquete.qes"), questionnaire);

    auto* tree = window.findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* chapter = tree->topLevelItem(0);
    EXPECT_EQ(chapter->text(0), QStringLiteral("SIGNALETIQUE"));
    ASSERT_EQ(chapter->childCount(), 2);
    EXPECT_EQ(chapter->child(0)->text(1), QStringLiteral("Libellé de SEXE"));
    EXPECT_EQ(chapter->child(1)->text(3), QStringLiteral("Numérique"));
    EXPECT_EQ(tree->topLevelItem(1)->text(3), QStringLiteral("Ouverte"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Morvane - enquete.qes"));
}

} // namespace
