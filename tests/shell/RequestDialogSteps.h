#pragma once

// The request dialogs and the question picker answered as the analyst answers them, for the
// tests that drive them from the main frame's commands.
#include "MorvaneAppTestSupport.h"
#include "framework/MultiTree.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/SelQuestionDlg.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace shell_test::steps {

inline QTreeWidgetItem* RowLabelled(const QTreeWidget& list, const std::string& label) {
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        if (list.topLevelItem(row)->text(0).toStdString() == label)
            return list.topLevelItem(row);
    return nullptr;
}

inline void Tick(QTreeWidget& list, const std::string& label, bool ticked) {
    QTreeWidgetItem* row = RowLabelled(list, label);
    ASSERT_NE(row, nullptr) << label;
    row->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

inline std::vector<std::string> TickedLabels(const QTreeWidget& list) {
    std::vector<std::string> labels;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        if (list.topLevelItem(row)->checkState(0) == Qt::Checked)
            labels.push_back(list.topLevelItem(row)->text(0).toStdString());
    return labels;
}

// The question picker's step: the question of that name chosen, then OK.
inline ModalAnswers::Step Pick(const std::string& name) {
    return [name](QDialog& shown) {
        auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
        ASSERT_NE(picker, nullptr);
        const QList<QTreeWidgetItem*> found =
            picker->GetTree().findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << name;
        picker->GetTree().SelectItem(found.front());
        picker->accept();
    };
}

// A request dialog's step: the analyst's choices, then OK (or Cancel).
inline ModalAnswers::Step Define(std::function<void(RequestDialog&)> choose, bool ok = true) {
    return [choose = std::move(choose), ok](QDialog& shown) {
        auto* dialog = qobject_cast<RequestDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        choose(*dialog);
        (ok ? dialog->OkButton() : dialog->CancelButton()).click();
    };
}

// What the qesrun command prints for the request text on the questionnaire; the text is written
// to `requestFile` first.
inline std::string QesrunPrints(const std::string& questionnaire, const std::filesystem::path& requestFile,
                                const std::string& text) {
    std::ofstream(requestFile) << text;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(qesrun::Command::Run({questionnaire, requestFile.string()}, out, err),
              qesrun::Command::kTablesPrinted)
        << err.str();
    return out.str();
}

// The table of a window, as qesrun prints a table.
inline std::string Printed(const CTableauDoc& document) {
    std::ostringstream out;
    qesrun::TablePrinter::Print(*document.GetTableau(), out);
    return out.str();
}

} // namespace shell_test::steps

namespace shell_test {

// The program started by each test, whose commands open dialogs answered by steps.
class RequestCommandTest : public MorvaneAppTest {
protected:
    // Runs the command with the selected question, the dialogs it opens answered by the steps;
    // every step used and no dialog left open.
    void RunAnswered(unsigned id, const std::vector<ModalAnswers::Step>& steps) {
        ModalAnswers answers(steps);
        Run(id);
        EXPECT_EQ(answers.Answered(), steps.size());
        EXPECT_EQ(answers.Unexpected(), 0);
    }
};

} // namespace shell_test
