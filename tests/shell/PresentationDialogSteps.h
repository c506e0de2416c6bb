#pragma once

// "Présentation des tableaux" answered as the analyst answers it, for the tests that open it
// from the program's windows.
#include "gui/presentation/PagePoliceDlg.h"
#include "gui/presentation/PresentationTableauDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace shell_test::steps {

// On the cells' font page the style box `flagId` ticked, the digits of counts chosen, then OK or
// Annuler; `check` first looks at the dialog as it opened.
inline ModalAnswers::Step CellsStyledWithDigits(int flagId, const char* digits, bool ok,
                                                std::function<void(CPresentationTableauDlg&)> check = {}) {
    return [flagId, digits, ok, check = std::move(check)](QDialog& shown) {
        auto* dialog = qobject_cast<CPresentationTableauDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        if (check)
            check(*dialog);
        constexpr int kCellules = 3;
        QCheckBox* box = dialog->PagePolice(kCellules).GetCheckBox(flagId);
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
        QComboBox& counts = *dialog->GetComboBox(CPresentationTableauDlg::kEffectifs);
        counts.setCurrentIndex(counts.findText(QString::fromLatin1(digits)));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel), Qt::LeftButton);
    };
}

} // namespace shell_test::steps
