// The program's entry point: the Qt application, the user's settings, then the application object,
// which starts the program and whose windows the event loop runs.
#include <QApplication>
#include <memory>

#include "app/Registre.h"
#include "framework/QtSettingsStore.h"
#include "framework/QtUserInterface.h"
#include "shell/MorvaneApp.h"
#include "shell/ProgramIcon.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The settings live under the program's own name ($XDG_CONFIG_HOME/Morvane/Morvane.ini).
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    QApplication::setWindowIcon(ProgramIcon());
    CRegistre::InstallStore(std::make_unique<QtSettingsStore>());

    // Gone before the Qt application: its windows are Qt widgets.
    CMorvaneApp morvane;
    morvane.SetUserInterface(std::make_unique<QtUserInterface>());
    if (!morvane.InitInstance(QApplication::arguments()))
        return 1;
    return QApplication::exec();
}
