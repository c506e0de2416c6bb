#pragma once

#include "RequestDialogTestSupport.h"
#include "framework/MultiTree.h"
#include "gui/requests/NamedProfiles.h"
#include "gui/requests/ProfilDlg.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "gui/requests/ProfilePage.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>

namespace requests_test {

// ---- Driving the profile trees as the analyst does ----------------------------------------

// The root item of that text; null when none.
inline QTreeWidgetItem* RootItem(const QTreeWidget& tree, const std::string& text) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (tree.topLevelItem(i)->text(0).toStdString() == text)
            return tree.topLevelItem(i);
    return nullptr;
}

inline QTreeWidgetItem* ChildItem(const QTreeWidgetItem& parent, const std::string& text) {
    for (int i = 0; i < parent.childCount(); ++i)
        if (parent.child(i)->text(0).toStdString() == text)
            return parent.child(i);
    return nullptr;
}

// A point on the item's label (its icon), where the trees take a click as one on the item.
inline QPoint LabelPoint(const QTreeWidget& tree, const QTreeWidgetItem* item) {
    const QRect rect = tree.visualItemRect(item);
    return {rect.left() + 8, rect.center().y()};
}

// A click on the item's label, Ctrl held to add to the selection.
inline void ClickItem(QTreeWidget& tree, QTreeWidgetItem* item, bool add = false) {
    ASSERT_NE(item, nullptr);
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, add ? Qt::ControlModifier : Qt::NoModifier,
                      LabelPoint(tree, item));
}

// Unfolds the question item with a double click on it, as the analyst does to see its
// modalities.
inline void Unfold(QTreeWidget& tree, QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    if (item->isExpanded())
        return;
    tree.scrollToItem(item);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, LabelPoint(tree, item));
    EXPECT_TRUE(item->isExpanded());
}

inline void Click(QAbstractButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
}

// The trees as text: "SATISF(Très satisfait,Plutôt satisfait) - REGION(Nord-Ouest)".
inline std::string TreeText(const QTreeWidget& tree) {
    std::string text;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem& line = *tree.topLevelItem(i);
        if (!text.empty())
            text += ' ';
        text += line.text(0).toStdString();
        if (line.childCount() == 0)
            continue;
        text += '(';
        for (int m = 0; m < line.childCount(); ++m)
            text += (m > 0 ? "," : "") + line.child(m)->text(0).toStdString();
        text += ')';
    }
    return text;
}

// Types a name in the combo's field, key by key.
inline void TypeName(QComboBox& names, const QString& name) {
    QLineEdit& field = *names.lineEdit();
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Backspace);
    // Key by key, accented letters included.
    for (const QChar c : name) {
        QTest::sendKeyEvent(QTest::Press, &field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, &field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Opens the page's profile dialog and answers it with the step; the dialog must close. Only the
// dialog the page opens is answered: the request dialog around the page, itself modal when a
// command opened it, is left alone.
inline void EditProfileOf(ProfilePage& page, const ModalAnswers::Step& step) {
    QWidget* around = QApplication::activeModalWidget();
    QPointer<QDialog> answered;
    int answers = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == around || answers > 0)
            return;
        answered = dialog;
        ++answers;
        step(*dialog);
        if (answered != nullptr && answered->isVisible()) {
            ADD_FAILURE() << "the profile dialog stayed open";
            answered->reject();
        }
    });
    timer.start(0);
    Click(page.SelectionButton());
    EXPECT_EQ(answers, 1);
}

// The profile dialog's step: the questions named move whole (a "QUESTION:modality|..." moves
// those modalities only), in order; then OK.
inline ModalAnswers::Step Profile(std::vector<std::string> lines) {
    return [lines = std::move(lines)](QDialog& shown) {
        if (auto* dialog = qobject_cast<CProfilModalitesDlg*>(&shown)) {
            for (const std::string& line : lines) {
                const std::size_t colon = line.find(':');
                CMultiTree& tree = dialog->QuestionnaireTree();
                QTreeWidgetItem* question = RootItem(tree, line.substr(0, colon));
                ASSERT_NE(question, nullptr) << line;
                if (colon == std::string::npos) {
                    ClickItem(tree, question);
                } else {
                    Unfold(tree, question);
                    std::size_t start = colon + 1;
                    bool first = true;
                    while (start <= line.size()) {
                        const std::size_t comma = std::min(line.find('|', start), line.size());
                        ClickItem(tree, ChildItem(*question, line.substr(start, comma - start)), !first);
                        first = false;
                        start = comma + 1;
                    }
                }
                Click(dialog->Bouton(CProfilModalitesDlg::kVersProfil));
            }
            Click(dialog->OkButton());
            return;
        }
        auto* dialog = qobject_cast<CProfilDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        for (const std::string& line : lines) {
            ClickItem(dialog->QuestionnaireTree(), RootItem(dialog->QuestionnaireTree(), line));
            Click(dialog->Bouton(CProfilDlg::kVersProfil));
        }
        Click(dialog->OkButton());
    };
}

// The bytes of a file, summed up.
inline QByteArray FileHash(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The demo questionnaire copied for one test, which may write in it, opened in the test's context.
class DemoCopyTest : public DemoRequestTest {
protected:
    std::string QuestionnaireToOpen() override {
        const std::filesystem::path folder = DemoSurveyFolder::Get(kInterviews);
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_copy = (folder / ("copy-" + name + ".qes")).string();
        std::filesystem::copy_file(folder / "demo.qes", m_copy, std::filesystem::copy_options::overwrite_existing);
        return m_copy;
    }

    std::string m_copy;
};

} // namespace requests_test
