#include "shell/FrenchInterface.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace FrenchInterface {
namespace {

// The translator's name, by which a second installation finds the first.
constexpr const char* kTranslatorName = "MorvaneQtFrench";

QTranslator* InstalledTranslator() {
    QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr
               ? application->findChild<QTranslator*>(QString::fromLatin1(kTranslatorName), Qt::FindDirectChildrenOnly)
               : nullptr;
}

} // namespace

bool Install() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // A desktop's file dialog speaks the desktop's language, not the program's.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    if (InstalledTranslator() != nullptr)
        return true;
    auto* translator = new QTranslator(application);
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    if (!translator->load(QString::fromLatin1(kQtTranslation), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace FrenchInterface
