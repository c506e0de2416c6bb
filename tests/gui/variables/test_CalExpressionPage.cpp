// The editor page of a "Par script" variable driven as the analyst drives it: typing, the delayed
// colouring, "Compiler" on faulty and correct scripts, and the insertion of a question reference.
#include "app/StringTable.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "variables/ScriptTestSupport.h"
#include "gui/variables/CalExpressionPage.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CalExpressionPageTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        m_survey = std::make_unique<script_test::ScriptSurvey>();
        auto recorder = std::make_unique<RecordingUserInterface>();
        m_ui = recorder.get();
        Context().SetUserInterface(std::move(recorder));
        CContexteEtude::RegisterContext(&Context());
        m_page = std::make_unique<CCalExpressionPage>(Context());
        m_page->resize(640, 200);
        m_page->show();
    }
    void TearDown() override {
        m_page.reset();
        CContexteEtude::RegisterContext(nullptr);
        m_survey.reset();
        SettingsFixture::TearDown();
    }
    CContexteEtude& Context() { return m_survey->Get(); }

    // The colour shown at a position of the first line (black when nothing colours it).
    QColor ColourAt(int position) const {
        const QTextBlock block = m_page->document()->firstBlock();
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (position >= range.start && position < range.start + range.length)
                return range.format.foreground().color();
        }
        return QColor(Qt::black);
    }
    std::pair<int, int> Selection() const {
        const QTextCursor cursor = m_page->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }

    std::unique_ptr<script_test::ScriptSurvey> m_survey;
    RecordingUserInterface* m_ui = nullptr;
    std::unique_ptr<CCalExpressionPage> m_page;
};

TEST_F(CalExpressionPageTest, KeystrokesInQuickSuccessionGiveOneColouringAfterThePause) {
    QSignalSpy coloured(m_page.get(), &CCalExpressionPage::Recoloree);
    m_page->setFocus();
    QTest::keyClicks(m_page.get(), QStringLiteral("SI 1 "));
    EXPECT_EQ(coloured.count(), 0);
    EXPECT_TRUE(m_page->ColorationEnAttente());
    ASSERT_TRUE(coloured.wait(5000));
    EXPECT_EQ(coloured.count(), 1);
    EXPECT_FALSE(m_page->ColorationEnAttente());
    EXPECT_EQ(ColourAt(0), QColor(0, 0, 255));
    EXPECT_EQ(ColourAt(3), QColor(120, 0, 200));
}

TEST_F(CalExpressionPageTest, AStoredScriptIsColouredAtOnceWithoutWaiting) {
    QSignalSpy coloured(m_page.get(), &CCalExpressionPage::Recoloree);
    m_page->SetText(QStringLiteral("SI ??AGE?? >= 18 ALORS 1 @ FINSI"));
    EXPECT_EQ(coloured.count(), 1);
    EXPECT_FALSE(m_page->ColorationEnAttente());
    EXPECT_EQ(ColourAt(0), QColor(0, 0, 255));
    EXPECT_EQ(ColourAt(4), QColor(0, 0, 127));
    EXPECT_EQ(ColourAt(11), QColor(Qt::black));
    EXPECT_EQ(ColourAt(14), QColor(120, 0, 200));
    EXPECT_EQ(ColourAt(25), QColor(255, 0, 0));
    EXPECT_EQ(m_page->GetText(), QStringLiteral("SI ??AGE?? >= 18 ALORS 1 @ FINSI"));
}

TEST_F(CalExpressionPageTest, CompilerSelectsTheFaultAndShowsItsMessageWithItsPosition) {
    struct Case {
        const char* script;
        Message message;
        std::pair<int, int> selection;
    };
    const Case cases[] = {
        {"1 + 2 * 3", Message(StringTable::kScriptAmbigu), {6, 7}},
        {"2 + ??INCONNU??", Message(StringTable::kScriptQuestionInexistante, {"INCONNU"}), {4, 15}},
        {"Âge + ?", Message(StringTable::kScriptCaractereInattendu), {0, 1}},
        {"??Âge?? + ?", Message(StringTable::kScriptCaractereInattendu), {10, 11}},
        {"SI 1 ALORS 2 SINON 3 SINON 4 FINSI", Message(StringTable::kScriptUnSeulSinon), {21, 26}},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.script);
        m_page->SetText(QString::fromUtf8(item.script));
        m_ui->shown.clear();
        EXPECT_FALSE(m_page->CompilerTexte());
        EXPECT_EQ(Selection(), item.selection);
        ASSERT_EQ(m_ui->shown.size(), 1U);
        // The message's text, then the 1-based place of the selected fault.
        EXPECT_EQ(StringTable::Format(m_ui->shown[0].message),
                  StringTable::Format(item.message) + " (position " + std::to_string(item.selection.first + 1) + ")");
    }
}

TEST_F(CalExpressionPageTest, CompilerOnACorrectScriptKeepsTheCaretAndSaysSo) {
    m_page->SetText(QStringLiteral("SI ??AGE?? >= 18 ALORS 1 SINON 0 FINSI"));
    QTextCursor cursor = m_page->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    m_page->setTextCursor(cursor);
    m_ui->shown.clear();
    m_page->OnCompiler();
    EXPECT_EQ(Selection(), std::make_pair(5, 8));
    ASSERT_EQ(m_ui->shown.size(), 1U);
    EXPECT_EQ(m_ui->shown[0].message, Message(StringTable::kScriptPasErreur));
    EXPECT_EQ(m_ui->ShownTexts()[0], "Pas d'erreur");
}

TEST_F(CalExpressionPageTest, AnInsertedReferenceReplacesTheSelectionAndCanBeUndone) {
    m_page->SetText(QStringLiteral("1 + 2"));
    QTextCursor cursor = m_page->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    m_page->setTextCursor(cursor);
    m_page->InsererReference(*Context().TrouverQuestionParNom("AGE"));
    EXPECT_EQ(m_page->GetText(), QStringLiteral("1 + ??AGE??"));
    EXPECT_TRUE(m_page->ColorationEnAttente());
    m_page->undo();
    EXPECT_EQ(m_page->GetText(), QStringLiteral("1 + 2"));
}

// With MORVANE_SCRIPT_PAGE_PICTURE naming a file, the page with a coloured script is saved there
// to be looked at.
TEST_F(CalExpressionPageTest, PictureOfAColouredScript) {
    const char* path = std::getenv("MORVANE_SCRIPT_PAGE_PICTURE");
    if (path == nullptr)
        GTEST_SKIP() << "MORVANE_SCRIPT_PAGE_PICTURE names no file";
    m_page->SetText(QStringLiteral("SI ??AGE?? >= 18 ET ??SEXE?? = 2 ALORS\n"
                                   "    LOG(CVNRNI(??A??)) * 2,5\n"
                                   "SINONSI 3 <= ??M?? ALORS TAILLE(??M??)\n"
                                   "SINON NR @ FINSI"));
    EXPECT_TRUE(m_page->grab().save(QString::fromLocal8Bit(path)));
}

} // namespace
