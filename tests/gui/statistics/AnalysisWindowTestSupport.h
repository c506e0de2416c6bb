#pragma once

#include "app/ContexteEtude.h"
#include "framework/DocumentSource.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/WinApp.h"
#include "statistics/Mapping.h"
#include "gui/statistics/AnalysisWindows.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "gui/statistics/SelNbAxesDlg.h"

namespace statistics_ui_test {

// The table and map windows an analysis opens, recorded rather than shown.
class RecordedWindows : public AnalysisWindows {
public:
    struct OpenedTable {
        std::string title;
        const CDocument* owner;
        int rows;
        int columns;
    };

    CDocument* OuvrirTableau(CTableau& table, const CDocument* owner) override {
        tables.push_back({table.title, owner, table.RowCount(), table.ColumnCount()});
        return nullptr;
    }
    CDocument* OuvrirMapping(CMapping& mapping) override {
        maps.push_back(&mapping);
        return nullptr;
    }
    void FermerFenetresLiees(const void* source) override { closed.push_back(source); }

    std::vector<OpenedTable> tables;
    std::vector<CMapping*> maps;
    std::vector<const void*> closed;
};

class TestApp : public CWinApp {};

// A main frame holding the windows of one template, over a context that records what it tells
// the user, with fresh settings.
class AnalysisWindowTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
        m_app = std::make_unique<TestApp>();
        auto frame = std::make_unique<CMDIFrameWnd>(m_app.get());
        m_frame = frame.get();
        m_app->SetMainFrame(std::move(frame));
        m_frame->resize(1100, 750);
        m_frame->show();
        AnalysisWindows::Installer(&m_windows);
    }

    void TearDown() override {
        AnalysisWindows::Installer(nullptr);
        m_app.reset();
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    template <class Document, class View> CMultiDocTemplate& AddTemplate() {
        auto makeFrame = [] { return std::make_unique<CMDIChildWnd>(); };
        return m_app->AddDocTemplate(CMultiDocTemplate::Create<Document, View>(129, makeFrame));
    }

    std::vector<std::string> ShownTexts() const { return m_ui->ShownTexts(); }

    CContexteEtude m_context;
    RecordingUserInterface* m_ui = nullptr;
    std::unique_ptr<TestApp> m_app;
    CMDIFrameWnd* m_frame = nullptr;
    RecordedWindows m_windows;
};

// A double click on the tree's item, as the mouse gives it.
inline void DoubleClick(QTreeWidget& tree, int row) {
    QTreeWidgetItem* item = tree.topLevelItem(row);
    ASSERT_NE(item, nullptr) << row;
    tree.scrollToItem(item);
    const QRect rect = tree.visualItemRect(item);
    QWidget* viewport = tree.viewport();
    const QPoint point(rect.left() + 24, rect.center().y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, point, viewport->mapToGlobal(point), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

// "Sélection du nombre d'axes" answered with that number of axes.
inline ModalAnswers::Step Axes(int axes) {
    return [axes](QDialog& shown) {
        auto* dialog = qobject_cast<CSelNbAxesDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        dialog->GetSpin().setValue(axes);
        dialog->accept();
    };
}

} // namespace statistics_ui_test
