// The program's entry point. Until the main frame exists it opens the questionnaire named on the
// command line and lists its questions.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <memory>

#include "app/Registre.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"
#include "platform/ui/QtSettingsStore.h"
#include "shell/QuestionListWindow.h"

namespace {

// Reads the structure of a questionnaire file; false with the database's reason otherwise.
bool ReadQuestionnaire(const QString& path, CQuestionnaire& questionnaire, QString& error) {
    CDBStructure structure(path.toStdString());
    const bool read = structure.Open(true) && structure.LirePropriete(questionnaire) &&
                      (questionnaire.GetFileVersion() < 401 || structure.ReadLanguages(questionnaire)) &&
                      structure.LireQuestions(questionnaire, true) && structure.LireModalites(questionnaire, true);
    if (!read)
        error = QString::fromStdString(structure.GetErrorText());
    return read;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    CRegistre::InstallStore(std::make_unique<QtSettingsStore>());

    QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (path.isEmpty())
        path = QFileDialog::getOpenFileName(nullptr, QObject::tr("Ouvrir"), QString(),
                                            QObject::tr("Fichiers Velto (*.qes)"));
    if (path.isEmpty())
        return 0;

    CQuestionnaire questionnaire;
    QString error;
    if (!ReadQuestionnaire(path, questionnaire, error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Morvane"),
                              QObject::tr("Impossible d'ouvrir %1 :\n%2").arg(path, error));
        return 1;
    }
    QuestionListWindow window;
    window.ShowQuestionnaire(path, questionnaire);
    window.showMaximized();
    return QApplication::exec();
}
