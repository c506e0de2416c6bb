// The program's file dialog: Qt's own, its filters from the framework's form, its columns in the
// program's locale.
#include "framework/FileDialog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

TEST(FileDialogTest, TheFiltersComeFromTheFrameworksForm) {
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"Fichiers Velto (*.qes)|*.qes|", {QStringLiteral("Fichiers Velto (*.qes)")}},
        {"Dossiers Velto|*.dos|Tous les fichiers|*.*|",
         {QStringLiteral("Dossiers Velto (*.dos)"), QStringLiteral("Tous les fichiers (*.*)")}},
        {"Textes|*.txt;*.csv|", {QStringLiteral("Textes (*.txt *.csv)")}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileDialog::NameFilters(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

TEST(FileDialogTest, TheDialogIsQtsOwnAsTheCommandAsks) {
    // The dialog keeps its state in Qt's settings when it goes: not in the user's.
    QStandardPaths::setTestModeEnabled(true);
    const CFileDialog open(CFileDialog::Mode::kOpen, QStringLiteral("qes"), QStringLiteral("Fichiers Velto (*.qes)|*.qes|"));
    EXPECT_TRUE(open.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open.defaultSuffix(), QStringLiteral("qes"));
    EXPECT_EQ(open.nameFilters(), QStringList{QStringLiteral("Fichiers Velto (*.qes)")});
    EXPECT_TRUE(open.GetPathName().isEmpty());

    const CFileDialog save(CFileDialog::Mode::kSave, QStringLiteral("dos"), QStringLiteral("Dossiers Velto (*.dos)|*.dos|"));
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
}

// Sizes, kinds of folders and dates as the program's locale writes them (French here), whatever
// the system's locale, in which Qt would write them.
// A save proposes the table's or portfolio's title as the name, made a name a file can bear; the
// next dialog of the same kind opens in the folder of the file chosen, another kind does not.
TEST(FileDialogTest, ItProposesTheTitleAndOpensWhereTheLastFileOfItsKindWas) {
    QStandardPaths::setTestModeEnabled(true);
    struct Case {
        const char* title;
        const char* name;
    };
    const Case cases[] = {
        {"Âge par sexe", "Âge par sexe"},
        {"Revenu / âge : 2024?", "Revenu _ âge _ 2024_"},
        {"  Dossier1 ", "Dossier1"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileDialog::FileNameOf(QString::fromUtf8(c.title)), QString::fromUtf8(c.name)) << c.title;

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    CFileDialog save(CFileDialog::Mode::kSave, QStringLiteral("rtf"), QStringLiteral("Fichiers RTF (*.rtf)|*.rtf|"));
    save.setDirectory(folder.path());
    save.ProposerNom(QStringLiteral("Âge par sexe"));
    ASSERT_FALSE(save.selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(save.selectedFiles().front()).fileName(), QStringLiteral("Âge par sexe.rtf"));
    save.done(QDialog::Accepted);

    const QString expected = QFileInfo(folder.path()).absoluteFilePath();
    EXPECT_EQ(CFileDialog::LastFolder(QStringLiteral("rtf")), expected);
    const CFileDialog next(CFileDialog::Mode::kSave, QStringLiteral("rtf"), QStringLiteral("Fichiers RTF (*.rtf)|*.rtf|"));
    EXPECT_EQ(next.directory().absolutePath(), expected);
    EXPECT_TRUE(CFileDialog::LastFolder(QStringLiteral("xls")).isEmpty());
}

TEST(FileDialogTest, TheColumnsFollowTheProgramsLocale) {
    const QLocale kept;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = QDir(folder.path()).filePath(QStringLiteral("enquete.qes"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1536, 'x'));
    }
    const QDateTime written(QDate(2026, 12, 10), QTime(15, 43));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    const QFileInfo file(path);
    const QFileInfo directory(folder.path());

    EXPECT_EQ(CFileDialog::ColumnText(file, CFileDialog::kSizeColumn), QStringLiteral("1,50 Kio"));
    EXPECT_EQ(CFileDialog::ColumnText(directory, CFileDialog::kSizeColumn), QString());
    EXPECT_EQ(CFileDialog::ColumnText(directory, CFileDialog::kKindColumn), QStringLiteral("Dossier"));
    EXPECT_EQ(CFileDialog::ColumnText(file, CFileDialog::kKindColumn), QString());
    EXPECT_EQ(CFileDialog::ColumnText(file, CFileDialog::kDateColumn), QStringLiteral("10/12/2026 15:43"));
    EXPECT_EQ(CFileDialog::ColumnText(file, CFileDialog::kNameColumn), QString());
    QLocale::setDefault(kept);
}

} // namespace
