// morvane_screenshot QUESTIONNAIRE.qes OUT.png [WIDTH HEIGHT]
//
// Starts the program as main() does, on built-in settings rather than the user's, opens the form
// of the question SATISF and the cross table of SATISF by SEXE beside the questionnaire tree,
// and saves the main window, drawn at the given size (1280 x 800 by default), as a PNG picture.
// Exits 1 when the questionnaire does not open or the picture cannot be written, 2 on bad usage.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "platform/ui/QtUserInterface.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "tools/qesrun/RequestText.h"

namespace {

constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 800;
constexpr const char* kQuestion = "SATISF";
constexpr const char* kCrossTable = "type tri-croise\nlignes SATISF\ncolonnes SEXE\ncalculs 0 2\n";

// The three windows side by side: the tree, then the form, then the table.
void ArrangeWindows(QMdiArea& area) {
    const QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::CreationOrder);
    const int width = area.viewport()->width();
    const int height = area.viewport()->height();
    const int treeWidth = width / 5;
    const int formWidth = width * 3 / 10;
    const QRect places[] = {QRect(0, 0, treeWidth, height), QRect(treeWidth, 0, formWidth, height),
                            QRect(treeWidth + formWidth, 0, width - treeWidth - formWidth, height)};
    for (int i = 0; i < windows.size() && i < 3; ++i)
        windows[i]->setGeometry(places[i]);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: morvane_screenshot QUESTIONNAIRE.qes OUT.png [WIDTH HEIGHT]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    const int width = argc == 5 ? QString::fromLocal8Bit(argv[3]).toInt() : kDefaultWidth;
    const int height = argc == 5 ? QString::fromLocal8Bit(argv[4]).toInt() : kDefaultHeight;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "morvane_screenshot: the size must be two positive whole numbers\n");
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    // The same picture whatever the user chose in the program.
    CRegistre::InstallStore(std::make_unique<MemorySettingsStore>());

    CMorvaneApp morvane;
    morvane.SetUserInterface(std::make_unique<QtUserInterface>());
    if (!morvane.InitInstance({QStringLiteral("morvane"), QString::fromLocal8Bit(argv[1])}) ||
        morvane.DonnerNbreQuestions() == 0)
        return 1;
    CMainFrame& frame = *morvane.GetMainWindow();
    frame.showNormal();
    frame.resize(width, height);

    morvane.ActiverFenetreQuestion(morvane.TrouverQuestionParNom(kQuestion));
    qesrun::RequestText::Result request = qesrun::RequestText::Parse(kCrossTable, morvane);
    if (request.request == nullptr) {
        std::fprintf(stderr, "morvane_screenshot: %s\n", request.error.c_str());
        return 1;
    }
    CMainFrame::LancerTraitement(std::move(request.request));

    int status = 0;
    // Once the window has its size and the splash has gone.
    QTimer::singleShot(1500, [&] {
        ArrangeWindows(frame.GetMdiArea());
        frame.GetCommandRouter().UpdateActions();
        // A table lays itself out at its first paint after a change, then takes its new scroll
        // extent and paints again.
        for (int pass = 0; pass < 2; ++pass) {
            frame.repaint();
            QApplication::processEvents();
        }
        if (!frame.grab().save(output, "PNG")) {
            std::fprintf(stderr, "morvane_screenshot: cannot write %s\n", argv[2]);
            status = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
