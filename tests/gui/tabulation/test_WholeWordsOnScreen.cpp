// The tables of the demo questionnaire as the table window shows them, with the real fonts: in
// windows 400, 800 and 1600 pixels wide, every line of every cell is broken again as the painter
// breaks it (word wrapping in the cell's text area) and no word of a cell may be split across two
// lines, no number may leave its per-cent sign, and no line may run out of its area.
//
// The tables are those of every qesrun golden request (tests/golden/qesrun-*.req, found when the
// test starts, so that a new one is checked too) and the cross table that shows the most columns:
// satisfaction by region with counts, both profiles, significance marks and test values.
#include "app/ContexteEtude.h"
#include "support/DemoSurveyFolder.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/QtFonts.h"
#include "gui/tabulation/TableCellTexts.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TableauView.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/RequestText.h"

#include <QApplication>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct DemoRequest {
    std::string name;
    std::string text;
};

// Test names and failures name the request by its file.
[[maybe_unused]] void PrintTo(const DemoRequest& request, std::ostream* out) {
    *out << request.name;
}

const std::filesystem::path kGoldenFolder = std::filesystem::path(MORVANE_SOURCE_DIR) / "tests" / "golden";

const DemoRequest kWidestCross{"satisf_by_region_all_calculations",
                               "type tri-croise\nlignes SATISF\ncolonnes REGION\ncalculs 0 1 2 4 6\n"};

std::vector<DemoRequest> DemoRequests() {
    std::vector<DemoRequest> requests;
    for (const auto& entry : std::filesystem::directory_iterator(kGoldenFolder)) {
        const std::string file = entry.path().filename().string();
        if (!file.starts_with("qesrun-") || entry.path().extension() != ".req")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string name = entry.path().stem().string();
        std::replace(name.begin(), name.end(), '-', '_');
        requests.push_back({name, std::string(std::istreambuf_iterator<char>(in), {})});
    }
    std::sort(requests.begin(), requests.end(),
              [](const DemoRequest& a, const DemoRequest& b) { return a.name < b.name; });
    requests.push_back(kWidestCross);
    return requests;
}

// The lines the painter makes of a text drawn in a box `width` wide with word wrapping, as
// QPainter::drawText lays a text out: line breaks of the text become line separators, and every
// line of the text layout is given the box's width.
struct DrawnLine {
    QString text;
    qreal width = 0;
};

std::vector<DrawnLine> DrawnLines(const QString& text, const QFont& font, int width, QPaintDevice* device) {
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    std::vector<DrawnLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 0));
        lines.push_back({shown.mid(line.textStart(), line.textLength()), line.naturalTextWidth()});
    }
    layout.endLayout();
    return lines;
}

std::vector<std::string> Words(const QString& text) {
    static const QRegularExpression kBlanks(QStringLiteral("[\\s\\x{2028}]+"));
    std::vector<std::string> words;
    for (const QString& word : text.split(kBlanks, Qt::SkipEmptyParts))
        words.push_back(word.toStdString());
    return words;
}

// A number as the window writes it, with its per-cent sign when it has one.
bool IsFormattedNumber(const QString& text) {
    static const QRegularExpression kNumber(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?( ?%)?$"));
    return kNumber.match(text).hasMatch();
}

std::string Describe(const std::vector<DrawnLine>& lines) {
    std::string described;
    for (const DrawnLine& line : lines)
        described += "[" + line.text.toStdString() + "]";
    return described;
}

class WholeWordsOnScreen : public SettingsFixture, public ::testing::WithParamInterface<DemoRequest> {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
        // The golden tables' demo: same seed, same number of interviews.
        m_context.questionnairePath = DemoSurveyFolder::QuestionnairePath(qesbuild::DemoSurvey::kInterviews);
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    }

    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    std::vector<std::unique_ptr<CTableau>> Tables(const std::string& text) {
        qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(text, m_context);
        EXPECT_NE(parsed.request, nullptr) << parsed.line << ": " << parsed.error;
        if (!parsed.request)
            return {};
        CExecuteurTraitement executor(m_context);
        executor.Executer(std::move(parsed.request));
        return executor.TakeTableaux();
    }

    // Every cell of the table shown in a window `windowWidth` wide, checked line by line.
    static void CheckCellsAtWidth(const CTableau& table, int windowWidth) {
        CTableauView view;
        view.SetTableau(table);
        view.resize(windowWidth, 600);
        view.show();
        // The scroll bars that come with the table's extent narrow the viewport, which lays the
        // table out again: let the window settle before reading its layout.
        for (int pass = 0; pass < 5; ++pass) {
            view.ScreenLayout();
            QApplication::processEvents();
            if (!view.IsLayoutDirty())
                break;
        }
        const TableLayout& layout = view.ScreenLayout();
        // A table too wide for its window scrolls across rather than squeezing its words.
        const int hidden = std::max(layout.ScrollWidth() - view.viewport()->width(), 0);
        EXPECT_EQ(view.horizontalScrollBar()->maximum(), hidden) << "window " << windowWidth;

        QPaintDevice* device = view.viewport();
        for (const CCellule& cell : layout.Cells()) {
            if (!cell.firstOfBlock)
                continue;
            const CellRect rect = layout.RectOf(cell);
            const int width = rect.right - rect.left;
            const QString drawn = QtFonts::ToDisplayText(cell.text);
            const std::vector<DrawnLine> lines =
                DrawnLines(drawn, QtFonts::CreerFont(layout.FontOf(cell), device), width, device);
            const QString original =
                QtFonts::ToDisplayText(TableCellTexts::CellText(table, cell.row, cell.column));
            SCOPED_TRACE(testing::Message() << "window " << windowWidth << ", cell (" << cell.row << ", "
                                            << cell.column << ") \"" << original.toStdString() << "\" in "
                                            << width << " pixels, drawn as " << Describe(lines));

            // The words of the lines, in order, are the words of the text: a word split across
            // two lines would show as two.
            std::vector<std::string> drawnWords;
            for (const DrawnLine& line : lines) {
                const std::vector<std::string> words = Words(line.text);
                drawnWords.insert(drawnWords.end(), words.begin(), words.end());
            }
            EXPECT_EQ(drawnWords, Words(original));

            if (IsFormattedNumber(original.trimmed())) {
                EXPECT_EQ(lines.size(), 1u) << "a number and its sign are read together";
            }
            for (const DrawnLine& line : lines) {
                EXPECT_LE(line.width, width)
                    << "line \"" << line.text.toStdString() << "\" runs out of its cell";
            }
        }
    }

    CContexteEtude m_context;
};

TEST_P(WholeWordsOnScreen, NoWordOrNumberIsBrokenInAnyWindowWidth) {
    const std::vector<std::unique_ptr<CTableau>> tables = Tables(GetParam().text);
    ASSERT_FALSE(tables.empty());
    for (const auto& table : tables) {
        ASSERT_NE(table, nullptr);
        for (const int windowWidth : {400, 800, 1600}) {
            CheckCellsAtWidth(*table, windowWidth);
            if (HasFailure())
                return; // one window's faults say enough
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DemoTables, WholeWordsOnScreen, ::testing::ValuesIn(DemoRequests()),
                         [](const ::testing::TestParamInfo<DemoRequest>& param) { return param.param.name; });

} // namespace
