// The dictionary of the demo's opinions of the service (SERVICE) and the concordance of one of its
// forms, whose answers are long enough to fill the windows' columns: the concordance shows every
// context whole, and both export to Word as their windows export them ("Fichier/Exporter vers
// Word..."), every row the window lists in the document. With MORVANE_OPENANSWERS_RTF naming a
// folder, the documents stay there beside the texts of their rows (NAME.rtf, NAME.rows: one text
// a line), for an office suite to read back (make office-check).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "export/RtfText.h"
#include "framework/DocumentSource.h"
#include "framework/FileDialog.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/WinApp.h"
#include "gui/openanswers/OuvConcordanceDoc.h"
#include "gui/openanswers/OuvConcordanceView.h"
#include "gui/openanswers/OuvDictionnaireDoc.h"
#include "gui/openanswers/OuvDictionnaireView.h"
#include "gui/openanswers/OuvFenetres.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "support/DemoSurveyFolder.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tools/screenshot/ModalAnswers.h"

namespace {

using Texts = std::vector<std::string>;

class TestApp : public CWinApp {};

class DemoOpenAnswerWindowsTest : public SettingsFixture {
protected:
    static constexpr int kInterviews = 300;

    void SetUp() override {
        SettingsFixture::SetUp();
        EnregistrerOuvertes();
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        context.questionnairePath = DemoSurveyFolder::QuestionnairePath(kInterviews);
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        CContexteEtude::RegisterContext(&context);
        app = std::make_unique<TestApp>();
        app->SetMainFrame(std::make_unique<CMDIFrameWnd>(app.get()));
        auto makeFrame = [] { return std::make_unique<CMDIChildWnd>(); };
        dictionaries = &app->AddDocTemplate(
            CMultiDocTemplate::Create<COuvDictionnaireDoc, COuvDictionnaireView>(129, makeFrame));
        concordances = &app->AddDocTemplate(
            CMultiDocTemplate::Create<COuvConcordanceDoc, COuvConcordanceView>(129, makeFrame));
        OuvFenetres::SetOuvertureConcordance([this](CQuestionEtendue& question, std::int32_t entry, std::int16_t kind) {
            const COuvConcordanceDoc::Demande request{&question, entry, kind};
            concordances->OpenDocumentFile(DocumentSource::FromObject(&request));
        });
        // A folder of the test's own: ctest runs the tests of this suite at the same time.
        const char* kept = std::getenv("MORVANE_OPENANSWERS_RTF");
        folder = kept != nullptr ? std::filesystem::path(kept)
                                 : std::filesystem::path(::testing::TempDir()) /
                                       ("openanswer-exports-" + std::string(::testing::UnitTest::GetInstance()
                                                                                ->current_test_info()
                                                                                ->name()));
        std::filesystem::create_directories(folder);
    }

    void TearDown() override {
        OuvFenetres::SetOuvertureConcordance(nullptr);
        app.reset();
        CContexteEtude::RegisterContext(nullptr);
        if (std::getenv("MORVANE_OPENANSWERS_RTF") == nullptr)
            std::filesystem::remove_all(folder);
        SettingsFixture::TearDown();
    }

    // The window's "Fichier/Exporter vers Word...", its file dialog answered with NAME.rtf.
    template <class View> std::string Export(View& view, const std::string& name) {
        const std::string path = (folder / (name + ".rtf")).string();
        std::filesystem::remove(path);
        ModalAnswers answers({[&path](QDialog& shown) {
            auto* dialog = qobject_cast<CFileDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(QString::fromStdString(path));
            shown.accept();
        }});
        EXPECT_TRUE(view.HandleOwnCommand(View::kExporterWord, CmdMsg::kCommand, nullptr));
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_TRUE(ui->shown.empty()) << ui->ShownTexts().front();
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The rows' texts beside the document, for the office suite's reading; each must be in the
    // document as RTF writes it.
    void ExpectRows(const std::string& document, const std::string& name, const Texts& rows) {
        std::ofstream out(folder / (name + ".rows"), std::ios::trunc);
        int missing = 0;
        for (const std::string& text : rows) {
            if (text.empty())
                continue;
            out << text << '\n';
            if (document.find(RtfText::Escape(text)) == std::string::npos && ++missing <= 5)
                ADD_FAILURE() << name << " lacks «" << text << "»";
        }
        EXPECT_EQ(missing, 0) << name;
    }

    // The texts of a column of the list, the blank that ends a context left out.
    static Texts Column(const QTreeWidget& list, int column) {
        Texts texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            std::string text = list.topLevelItem(i)->text(column).toStdString();
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            texts.push_back(text);
        }
        return texts;
    }

    // The dictionary of SERVICE, every form listed.
    COuvDictionnaireView* OpenDictionary() {
        CQuestionEtendue* service = context.TrouverQuestionParNom("SERVICE");
        EXPECT_NE(service, nullptr);
        CDocument* document =
            service != nullptr ? dictionaries->OpenDocumentFile(DocumentSource::FromObject(service)) : nullptr;
        return document != nullptr ? dynamic_cast<COuvDictionnaireView*>(document->GetViews().front()) : nullptr;
    }

    // The concordance of the form, opened from the dictionary's button.
    COuvConcordanceView* OpenConcordance(COuvDictionnaireView& dictionary, const char* form) {
        dictionary.Recherche().setText(QString::fromUtf8(form));
        dictionary.OnRechercher();
        EXPECT_EQ(dictionary.Liste().selectedItems().size(), 1);
        dictionary.OnConcordance();
        const std::vector<CDocument*> opened = concordances->GetDocuments();
        return opened.empty() ? nullptr : dynamic_cast<COuvConcordanceView*>(opened.back()->GetViews().front());
    }

    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
    std::unique_ptr<TestApp> app;
    CMultiDocTemplate* dictionaries = nullptr;
    CMultiDocTemplate* concordances = nullptr;
    std::filesystem::path folder;
};

TEST_F(DemoOpenAnswerWindowsTest, TheDictionaryAndAConcordanceGoToWordRowByRow) {
    COuvDictionnaireView* dictionary = OpenDictionary();
    ASSERT_NE(dictionary, nullptr);
    // Every form, the most frequent first.
    dictionary->TrierPar(COuvDictionnaireView::kFrequence);
    const Texts forms = Column(dictionary->Liste(), 0);
    ASSERT_GT(forms.size(), 50u);
    const std::string words = Export(*dictionary, "dictionnaire");
    EXPECT_EQ(words.rfind("{\\rtf", 0), 0u);
    ExpectRows(words, "dictionnaire", forms);

    COuvConcordanceView* concordance = OpenConcordance(*dictionary, "livraison");
    ASSERT_NE(concordance, nullptr);
    const int places = concordance->topLevelItemCount();
    ASSERT_GT(places, 5);
    EXPECT_EQ(dictionary->Liste().selectedItems().front()->text(1).toInt(), places);
    Texts contexts;
    for (const int column : {COuvConcordanceView::kGauche, COuvConcordanceView::kEntree, COuvConcordanceView::kDroite})
        for (const std::string& text : Column(*concordance, column))
            contexts.push_back(text);
    const std::string lines = Export(*concordance, "concordance");
    EXPECT_EQ(lines.rfind("{\\rtf", 0), 0u);
    ExpectRows(lines, "concordance", contexts);
}

// Ten words of context on each side are wider than the columns' first widths (200 pixels): the
// columns grow to them, so that no context is cut in the middle of a word, and the numbers of
// interviews up to 300 stand whole too.
TEST_F(DemoOpenAnswerWindowsTest, TheConcordanceShowsEveryContextWhole) {
    COuvDictionnaireView* dictionary = OpenDictionary();
    ASSERT_NE(dictionary, nullptr);
    COuvConcordanceView* concordance = OpenConcordance(*dictionary, "livraison");
    ASSERT_NE(concordance, nullptr);
    concordance->resize(1200, 600);
    const QFontMetrics metrics(concordance->font());
    // What an item's text keeps of its column: the column less the style's margins on each side.
    const int margins = 2 * (concordance->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, concordance) + 1);
    int widest = 0;
    for (const int column : {COuvConcordanceView::kInterview, COuvConcordanceView::kGauche,
                             COuvConcordanceView::kEntree, COuvConcordanceView::kDroite}) {
        SCOPED_TRACE(column);
        int cut = 0;
        for (int i = 0; i < concordance->topLevelItemCount(); ++i) {
            const QString text = concordance->topLevelItem(i)->text(column);
            const int width = metrics.horizontalAdvance(text);
            if (column == COuvConcordanceView::kGauche)
                widest = std::max(widest, width);
            if (width + margins > concordance->columnWidth(column) && ++cut <= 3)
                ADD_FAILURE() << "cut: «" << text.toStdString() << "» in " << concordance->columnWidth(column);
        }
        EXPECT_EQ(cut, 0);
    }
    EXPECT_GT(widest, 200) << "contexts wider than the first width";
    // The dictionary's caption of its study field shows its mnemonic, not an "&".
    for (const QLabel* label : dictionary->findChildren<QLabel*>()) {
        if (label->text().contains(u'&')) {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
    }
}

} // namespace
