#pragma once

#include "RequestDialogTestSupport.h"
#include "gui/requests/OperationDlg.h"
#include "gui/requests/PageGeneraleProfilsDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QComboBox>
#include <QPointer>
#include <QTimer>
#include <string>
#include <vector>

namespace requests_test {

// What the analyst gives in "Opération": the type (its index in "&Type:"), the operation of the
// list by its label, the label, the position (its index; -1 leaves it as it is) and the test text.
struct OperationChoice {
    int type;
    const char* operation;
    const char* label;
    int position = -1;
    const char* test = "";
};

inline void Fill(COperationDlg& dialog, const OperationChoice& choice) {
    dialog.TypeCombo().setCurrentIndex(choice.type);
    if (choice.operation[0] != '\0')
        dialog.OperationCombo().setCurrentIndex(dialog.OperationCombo().findText(QString::fromUtf8(choice.operation)));
    if (choice.position >= 0)
        dialog.PositionCombo().setCurrentIndex(choice.position);
    dialog.LabelEdit().setText(QString::fromUtf8(choice.label));
    dialog.TestLineEdit().setText(QString::fromUtf8(choice.test));
}

// The step that answers "Opération" with the choice, then OK.
inline ModalAnswers::Step Answer(OperationChoice choice) {
    return [choice](QDialog& shown) {
        auto* dialog = qobject_cast<COperationDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Opération"));
        Fill(*dialog, choice);
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
    };
}

// Clicks a button whose click opens the dialogs the steps answer, each step in turn. The dialog
// around the button, itself modal when a command opened it, is left alone.
inline void ClickAnswered(QPushButton& button, const std::vector<ModalAnswers::Step>& steps) {
    QWidget* around = QApplication::activeModalWidget();
    QPointer<QDialog> current;
    std::size_t next = 0;
    int unexpected = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == around || dialog == current)
            return;
        current = dialog;
        if (next < steps.size())
            steps[next++](*dialog);
        if (current != nullptr && current->isVisible()) {
            ++unexpected;
            current->reject();
        }
    });
    timer.start(0);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(unexpected, 0);
}

// Adds the operations to the style page through "Opération", one "A&jouter..." each.
inline void AddOperations(CPageGeneraleProfilsDlg& page, const std::vector<OperationChoice>& choices) {
    for (const OperationChoice& choice : choices)
        ClickAnswered(page.AddButton(), {Answer(choice)});
}

} // namespace requests_test
