// The program speaks French whatever the machine's language: Qt's own buttons and dialogs after
// the start-up, the dates Qt writes for the user, the questions the program asks.
#include "MorvaneAppTestSupport.h"
#include "app/StringTable.h"
#include "framework/FileDialog.h"
#include "framework/QtUserInterface.h"
#include "shell/FrenchInterface.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTranslator>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using shell_test::MorvaneAppTest;

QString WithoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

// As on a machine in English: no translation, the default locale English.
void SpeakEnglish() {
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void ExpectStandardButtonsInFrench() {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                         QDialogButtonBox::No | QDialogButtonBox::Close);
    EXPECT_EQ(WithoutMnemonic(box.button(QDialogButtonBox::Cancel)->text()), QStringLiteral("Annuler"));
    EXPECT_EQ(WithoutMnemonic(box.button(QDialogButtonBox::Yes)->text()), QStringLiteral("Oui"));
    EXPECT_EQ(WithoutMnemonic(box.button(QDialogButtonBox::No)->text()), QStringLiteral("Non"));
    EXPECT_EQ(WithoutMnemonic(box.button(QDialogButtonBox::Close)->text()), QStringLiteral("Fermer"));
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QLocale::LongFormat), QStringLiteral("jeudi 10 décembre 2026"));
}

TEST(FrenchInterfaceTest, QtsTextsAndDatesAreFrenchOnceInstalled) {
    SpeakEnglish();
    ASSERT_EQ(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
              QStringLiteral("Cancel"));
    ASSERT_TRUE(FrenchInterface::Install());
    ExpectStandardButtonsInFrench();
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    // Once only.
    ASSERT_TRUE(FrenchInterface::Install());
    EXPECT_EQ(QCoreApplication::instance()->findChildren<QTranslator*>().size(), 1);
}

// The labels and buttons of the file dialog, as "Fichier/Ouvrir..." shows it.
TEST(FrenchInterfaceTest, TheFileDialogIsFrench) {
    // The dialog keeps its state in Qt's settings when it goes: not in the user's.
    QStandardPaths::setTestModeEnabled(true);
    ASSERT_TRUE(FrenchInterface::Install());
    const CFileDialog dialog(CFileDialog::Mode::kOpen, QStringLiteral("qes"),
                             QString::fromStdString(StringTable::Text(StringTable::kFichiersQes)));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << WithoutMnemonic(label->text());
    EXPECT_TRUE(labels.contains(QStringLiteral("Voir dans :"))) << labels.join(u'|').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("Nom de fichier :"))) << labels.join(u'|').toStdString();
    QStringList buttons;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        buttons << WithoutMnemonic(button->text());
    EXPECT_TRUE(buttons.contains(QStringLiteral("Annuler"))) << buttons.join(u'|').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Ouvrir"))) << buttons.join(u'|').toStdString();
}

// The program's start-up installs it, on a machine in English.
TEST_F(MorvaneAppTest, TheStartUpMakesQtSpeakFrench) {
    SpeakEnglish();
    ASSERT_TRUE(Start());
    ExpectStandardButtonsInFrench();
}

// "Voulez-vous changer de niveau ?" with "Oui" and "Non", "Voulez-vous" kept on one line.
TEST_F(MorvaneAppTest, TheProgramsQuestionsAreAskedInFrench) {
    SpeakEnglish();
    ASSERT_TRUE(Start());
    QtUserInterface ui(&Frame());
    QString text;
    QStringList buttons;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* box = qobject_cast<QMessageBox*>(&shown);
        ASSERT_NE(box, nullptr);
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttons << WithoutMnemonic(button->text());
        box->button(QMessageBox::No)->click();
    }});
    EXPECT_FALSE(ui.AskYesNo(Message(StringTable::kChangerNiveau)));
    EXPECT_EQ(answers.Answered(), 1u);
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Non"), QStringLiteral("Oui")}));
    // A word joiner holds the hyphen to the next word; nothing else changes.
    EXPECT_TRUE(text.contains(QStringLiteral("Voulez-\u2060vous"))) << text.toStdString();
    EXPECT_EQ(QString(text).remove(QChar(0x2060)).toStdString(), StringTable::Text(StringTable::kChangerNiveau));
}

// A long job (a classification) shows its progress with "Annuler"; once it is pressed, the job
// is told to stop at its next step, and the dialog goes with the job.
TEST_F(MorvaneAppTest, ALongJobsProgressOffersAnnuler) {
    SpeakEnglish();
    ASSERT_TRUE(Start());
    QtUserInterface ui(&Frame());
    ui.BeginProgress(Message(StringTable::kClassificationHierarchique), 10);
    auto* progress = Frame().findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->labelText(), QStringLiteral("Classification hiérarchique"));
    const QList<QPushButton*> buttons = progress->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(WithoutMnemonic(buttons.front()->text()), QStringLiteral("Annuler"));
    EXPECT_TRUE(ui.ReportProgress(1));
    buttons.front()->click();
    EXPECT_FALSE(ui.ReportProgress(2));
    ui.EndProgress();
    EXPECT_EQ(Frame().findChild<QProgressDialog*>(), nullptr);
    EXPECT_TRUE(ui.ReportProgress(3)) << "no job, nothing to stop";
}

} // namespace
