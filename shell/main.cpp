// The program's entry point. Until the main frame exists it opens the questionnaire named on the
// command line through the study context and lists its questions.
#include <QApplication>
#include <QFileDialog>
#include <memory>

#include "app/ContexteEtude.h"
#include "app/Registre.h"
#include "platform/ui/QtSettingsStore.h"
#include "platform/ui/QtUserInterface.h"
#include "recodes/EnregistrerRecodages.h"
#include "tabulation/EnregistrerClassesTabulation.h"
#include "shell/QuestionListWindow.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    CRegistre::InstallStore(std::make_unique<QtSettingsStore>());
    // The recode kinds, before a questionnaire's recodes are read.
    EnregistrerRecodages();
    EnregistrerClassesTabulation();

    CContexteEtude context;
    CContexteEtude::RegisterContext(&context);
    context.SetUserInterface(std::make_unique<QtUserInterface>());

    QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (path.isEmpty())
        path = QFileDialog::getOpenFileName(nullptr, QObject::tr("Ouvrir"), QString(),
                                            QObject::tr("Fichiers Velto (*.qes)"));
    if (path.isEmpty())
        return 0;

    // A failed opening has already told the user why.
    context.questionnairePath = path.toStdString();
    if (!context.OuvrirEtude())
        return 1;

    QuestionListWindow window;
    window.ShowSurvey(path, context);
    window.showMaximized();
    return QApplication::exec();
}
