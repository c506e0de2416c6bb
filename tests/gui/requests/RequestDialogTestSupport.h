#pragma once

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/LineListWidget.h"
#include "gui/requests/LineStyleButtons.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/RequestDialog.h"
#include "support/DemoSurveyFolder.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Traitement.h"
#include "tools/qesrun/RequestText.h"
#include "tools/qesrun/TablePrinter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace requests_test {

// The demo questionnaire, written once for the whole run, opened in a study context of each test
// that records what it tells the user; the context is the program's for the test.
class DemoRequestTest : public SettingsFixture {
protected:
    static constexpr int kInterviews = 300;

    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
        m_context.questionnairePath = QuestionnaireToOpen();
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
        m_ui->shown.clear();
    }

    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    // The questionnaire the test opens: the demo, shared by the tests, which only read it.
    virtual std::string QuestionnaireToOpen() { return DemoSurveyFolder::QuestionnairePath(kInterviews); }

    CQuestionEtendue* Question(const std::string& name) const {
        CQuestionEtendue* question = m_context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return question;
    }

    // The dialog of a new request on questions named, shown as the frame shows it.
    std::unique_ptr<RequestDialog> NewDialog(std::int16_t type, const std::vector<std::string>& names) {
        std::vector<CQuestionEtendue*> questions;
        for (const std::string& name : names)
            questions.push_back(Question(name));
        auto dialog = RequestDialog::PourNouvelleDemande(m_context, type, questions);
        if (dialog)
            dialog->show();
        return dialog;
    }

    std::unique_ptr<RequestDialog> EditDialog(const CTraitement& existing) {
        auto dialog = RequestDialog::PourDemandeExistante(m_context, existing);
        if (dialog)
            dialog->show();
        return dialog;
    }

    // Clicks "&OK"; answers the request built, or null when the dialog stayed open.
    static std::unique_ptr<CTraitement> ClickOk(RequestDialog& dialog) {
        QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
        return dialog.TakeTraitement();
    }

    // The request a qesrun text gives on the same context.
    std::unique_ptr<CTraitement> FromText(const std::string& text) {
        qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(text, m_context);
        EXPECT_NE(parsed.request, nullptr) << parsed.line << ": " << parsed.error;
        return std::move(parsed.request);
    }

    // Every table of a request, printed as the table window shows it.
    std::string Computed(const CTraitement& request) {
        CExecuteurTraitement executor(m_context);
        executor.Executer(std::make_unique<CTraitement>(request));
        std::ostringstream out;
        qesrun::TablePrinter::PrintAll(executor.TakeTableaux(), out);
        return out.str();
    }

    std::vector<int> ShownIds() const {
        std::vector<int> ids;
        for (const auto& shown : m_ui->shown)
            ids.push_back(shown.message.id);
        return ids;
    }

    CContexteEtude m_context;
    RecordingUserInterface* m_ui = nullptr;
};

// ---- Driving the lists as the analyst does --------------------------------------------------

// The row whose label is `label`; -1 when none.
inline int RowLabelled(const QTreeWidget& list, const QString& label) {
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        if (list.topLevelItem(row)->text(0) == label)
            return row;
    return -1;
}

// Ticks or unticks a row through its tick box, as a click on it does.
inline void Tick(QTreeWidget& list, int row, bool ticked) {
    ASSERT_GE(row, 0);
    list.topLevelItem(row)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

inline void TickLabelled(QTreeWidget& list, const QString& label, bool ticked) {
    Tick(list, RowLabelled(list, label), ticked);
}

inline void TickAll(QTreeWidget& list, bool ticked) {
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        Tick(list, row, ticked);
}

// The labels of the rows, in list order, and those of the ticked rows.
inline std::vector<std::string> Labels(const QTreeWidget& list, bool tickedOnly = false) {
    std::vector<std::string> labels;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        if (!tickedOnly || item->checkState(0) == Qt::Checked)
            labels.push_back(item->text(0).toStdString());
    }
    return labels;
}

// Types a new label into the label editor of the list's row being edited and presses Return.
inline void TypeLabel(QTreeWidget& list, const QString& text) {
    QLineEdit* editor = nullptr;
    for (QLineEdit* candidate : list.findChildren<QLineEdit*>())
        if (candidate->isVisible())
            editor = candidate;
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the list takes the edit once the key is handled
}

// Selects the rows (the first one also focused).
inline void SelectRows(QTreeWidget& list, const std::vector<int>& rows) {
    list.clearSelection();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem* item = list.topLevelItem(rows[i]);
        if (i == 0)
            list.setCurrentItem(item);
        item->setSelected(true);
    }
}

inline std::vector<std::int32_t> Codes(const CTraitement::Lignes& lines) {
    std::vector<std::int32_t> codes;
    for (const auto& line : lines)
        codes.push_back(line->code);
    return codes;
}

inline std::vector<std::int32_t> Codes(const CTraitement::Calculs& calculations) {
    std::vector<std::int32_t> codes;
    for (const auto& calculation : calculations)
        codes.push_back(calculation->code);
    return codes;
}

} // namespace requests_test
