#include "ShellTestSupport.h"
#include "app/ModaliteEtendue.h"
#include "gui/requests/LineListWidget.h"
#include "gui/requests/LineStyleButtons.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "shell/SplashWnd.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using shell_test::DemoWindowsTest;

class QuestionViewTest : public DemoWindowsTest {
protected:
    void SetUp() override {
        DemoWindowsTest::SetUp();
        ASSERT_NE(OpenDemo(), nullptr);
    }

    CQuestionDoc* OpenForm(CQuestionEtendue& question) {
        auto* document = dynamic_cast<CQuestionDoc*>(
            m_questionTemplate->OpenDocumentFile(DocumentSource::FromObject(&question)));
        QApplication::processEvents();
        return document;
    }

    static CQuestionView& FormOf(const CQuestionDoc& document) {
        return *dynamic_cast<CQuestionView*>(document.GetViews().front());
    }

    static QStringList LabelTexts(const CQuestionView& form) {
        QStringList texts;
        for (const QLabel* label : form.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }
};

// The form names the question, gives its caption, its kind in words, its number of answers and
// its level; an open or a free numeric question takes one answer whatever it says, and lists no
// modalities.
TEST_F(QuestionViewTest, TheFormDescribesTheQuestion) {
    struct Case {
        const char* name;
        const char* type;
        const char* answers;
        const char* level;
        bool modalities;
    };
    const Case cases[] = {
        {"SEXE", "Question à modalité", "1", "Interviews", true},
        {"MARQUES", "Question à modalité", "4", "Interviews", true},
        {"SERVICE", "Question ouverte", "1", "Interviews", false},
        {"AGE", "Question numérique libre", "1", "Interviews", false},
        {"PRENOM", "Question ouverte", "1", "MEMBRES", false},
        {"SIGNALETIQUE", "Chapitre", "", "Interviews", false},
        {"ACHAT", "", "", "Interviews", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQuestionEtendue& question = QuestionNamed(c.name);
        CQuestionDoc* document = OpenForm(question);
        ASSERT_NE(document, nullptr);
        const CQuestionView::Texts& texts = FormOf(*document).GetTexts();
        EXPECT_EQ(texts.name, QString::fromUtf8(c.name));
        EXPECT_EQ(texts.caption, QString::fromStdString(question.GetCaption()));
        EXPECT_EQ(texts.type, QString::fromUtf8(c.type));
        EXPECT_EQ(texts.answerCount, QString::fromUtf8(c.answers));
        EXPECT_EQ(texts.level, QString::fromUtf8(c.level));
        EXPECT_EQ(texts.hasModalityPage, c.modalities);
        EXPECT_EQ(document->GetTitle(), texts.caption);
    }
}

// What the form shows for a closed question, as the user reads it.
TEST_F(QuestionViewTest, AClosedQuestionsFormShowsItsTexts) {
    CQuestionDoc* document = OpenForm(QuestionNamed("SATISF"));
    ASSERT_NE(document, nullptr);
    const QStringList texts = LabelTexts(FormOf(*document));
    for (const char* expected : {"Libellé court:", "Libellé long:", "Type:", "Nbre de réponses:", "Niveau:",
                                 "SATISF", "Question à modalité", "1", "Interviews"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(texts.contains(QString::fromStdString(QuestionNamed("SATISF").GetCaption())));
}

// The form opens in the program's child frame, titled with the first 255 characters of the
// question's caption; closing the frame ends the document.
TEST_F(QuestionViewTest, TheFormOpensInAChildFrameTitledWithTheCaption) {
    CQuestionEtendue& question = QuestionNamed("SEXE");
    question.name = std::string(300, 'n');
    m_context.CaptionType = 0;
    CQuestionDoc* document = OpenForm(question);
    ASSERT_NE(document, nullptr);
    auto* frame = dynamic_cast<CChildFrame*>(FormOf(*document).GetParentFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QString(255, QLatin1Char('n')));
    EXPECT_EQ(m_mainFrame->MDIGetActive(), frame);

    frame->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_questionTemplate->GetDocuments().empty());
    EXPECT_EQ(WindowCount(), 1);
}

// Anything but a question is refused.
TEST_F(QuestionViewTest, AFormOpensOnlyOnAQuestion) {
    int notAQuestion = 3;
    EXPECT_EQ(m_questionTemplate->OpenDocumentFile(DocumentSource::FromObject(&notAQuestion)), nullptr);
    EXPECT_EQ(m_questionTemplate->OpenDocumentFile(DemoPath()), nullptr);
    EXPECT_EQ(WindowCount(), 1);
}

// The splash shows only when start-up allows it, never twice, and is gone once closed.
TEST(SplashWnd, ShowsOnceWhenEnabled) {
    QWidget mainWindow;
    CSplashWnd::EnableSplash(false);
    CSplashWnd::ShowSplash(&mainWindow);
    EXPECT_EQ(CSplashWnd::GetSplash(), nullptr);

    CSplashWnd::EnableSplash(true);
    CSplashWnd::ShowSplash(&mainWindow);
    CSplashWnd* splash = CSplashWnd::GetSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    CSplashWnd::ShowSplash(&mainWindow);
    EXPECT_EQ(CSplashWnd::GetSplash(), splash);
    EXPECT_EQ(QApplication::topLevelWidgets().count(splash), 1);

    splash->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CSplashWnd::GetSplash(), nullptr);
    CSplashWnd::EnableSplash(false);
}

// ---- The page of the modalities ----------------------------------------------------------------

void SelectRow(QTreeWidget& list, int row) {
    list.clearSelection();
    list.setCurrentItem(list.topLevelItem(row));
    list.topLevelItem(row)->setSelected(true);
}

// What the analyst changes on the form's page goes onto the question's modality of the same
// index, whatever the order of the rows on screen: shown or not, the display options, and a
// caption renamed in the language in force (the others keep theirs, in every language).
TEST_F(QuestionViewTest, TheModalityPageWritesItsChangesBackOntoTheQuestion) {
    CQuestionEtendue& question = QuestionNamed("SATISF");
    m_context.currentLanguage = 1033;
    ASSERT_EQ(m_context.ActiverFenetreQuestion(&question), 1);
    CQuestionDoc* document = dynamic_cast<CQuestionDoc*>(m_questionTemplate->GetDocuments().back());
    ASSERT_NE(document, nullptr);
    CPageQuestionsCalculsDlg* page = FormOf(*document).GetPageModalites();
    ASSERT_NE(page, nullptr);
    CModaliteListCtrl& list = page->GetList();
    // The demo's five modalities, its non-response and its "not asked", then the Total.
    ASSERT_EQ(question.GetNbreModalite(), 7);
    ASSERT_EQ(list.topLevelItemCount(), 8);

    // The fourth row goes up one place first: the page still knows each line's modality.
    SelectRow(list, 3);
    QTest::mouseClick(&page->GetButtons().UpButton(), Qt::LeftButton);
    ASSERT_EQ(list.topLevelItem(2)->text(0), "Rather dissatisfied");
    // Unticks "Rather satisfied", as a click on its box does.
    list.topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    // "Rather dissatisfied" (now third on screen) in bold.
    SelectRow(list, 2);
    QTest::keyClick(&list, Qt::Key_B, Qt::AltModifier);
    // "Very satisfied" renamed.
    SelectRow(list, 0);
    QTest::keyClick(&list, Qt::Key_F2);
    QLineEdit* editor = nullptr;
    for (QLineEdit* candidate : list.findChildren<QLineEdit*>())
        if (candidate->isVisible())
            editor = candidate;
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Really happy"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    // The Total, unticked, belongs to no modality.
    list.topLevelItem(7)->setCheckState(0, Qt::Unchecked);

    struct Expected {
        bool selected;
        bool bold;
        const char* english;
        const char* french;
    };
    const Expected expected[] = {
        {true, false, "Really happy", "Très satisfait"},
        {false, false, "Rather satisfied", "Plutôt satisfait"},
        {true, false, "Neither", "Ni satisfait ni insatisfait"},
        {true, true, "Rather dissatisfied", "Plutôt insatisfait"},
        {true, false, "Not at all satisfied", "Pas du tout satisfait"},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const CModaliteEtendue& modality = *question.GetModaliteEtendue(i);
        const Expected& e = expected[i];
        EXPECT_EQ(modality.selected, e.selected);
        EXPECT_EQ(modality.displayOptions[LineListWidget::kBold], e.bold);
        EXPECT_FALSE(modality.displayOptions[LineListWidget::kItalic]);
        EXPECT_EQ(modality.GetLocalisedShortCaption(1033), e.english);
        EXPECT_EQ(modality.GetLocalisedShortCaption(1036), e.french);
    }
}

// A question without modalities has no page.
TEST_F(QuestionViewTest, AnOpenQuestionsFormHasNoModalityPage) {
    CQuestionDoc* document = OpenForm(QuestionNamed("SERVICE"));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(FormOf(*document).GetPageModalites(), nullptr);
    EXPECT_TRUE(FormOf(*document).findChildren<CPageQuestionsCalculsDlg*>().isEmpty());
}

} // namespace
