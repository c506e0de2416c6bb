// morvane_mapdriver [MAP.png [PRESENTATION.png BRUSHING.png]]
// morvane_mapdriver --rtf MAP.rtf
//
// Starts the program on built-in settings, without a questionnaire, and opens a map window on a
// small built-in map of twelve towns and four answers, the towns coloured by their coordinate on
// the first axis and labelled, the answers sized by their coordinate on the second axis. Without
// arguments the program stays open (to look at it on a display, e.g. under Xvfb); with file names
// it saves the main window, then the "Mappings" dialog and the brushing dialog, and exits. With
// --rtf it exports the map as "Fichier/Exporter vers Word..." does, and exits.
#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/QtUserInterface.h"
#include "framework/View.h"
#include "gui/presentation/BrushingDlg.h"
#include "gui/presentation/MappingView.h"
#include "gui/presentation/PresentationMappingDlg.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "statistics/Mapping.h"
#include "statistics/MappingSource.h"

#include <QApplication>
#include <QMdiArea>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Point {
    const char* nom;
    double x;
    double y;
};

constexpr Point kVilles[] = {
    {"Paris", 0.42, 0.18},     {"Lyon", 0.21, -0.12},      {"Marseille", -0.33, -0.27},
    {"Lille", 0.35, 0.31},     {"Nantes", -0.08, 0.22},    {"Rennes", -0.15, 0.27},
    {"Bordeaux", -0.29, 0.05}, {"Toulouse", -0.41, -0.09}, {"Strasbourg", 0.27, -0.33},
    {"Nice", -0.19, -0.38},    {"Dijon", 0.05, -0.02},     {"Brest", -0.02, 0.40},
};
constexpr Point kReponses[] = {
    {"Très satisfait", 0.38, -0.05},
    {"Satisfait", 0.12, 0.16},
    {"Peu satisfait", -0.21, 0.09},
    {"Pas satisfait", -0.36, -0.22},
};

class SourceDemo : public CMappingSource {
public:
    std::string DonnerLibelleLigne(std::int32_t i) const override { return kVilles[i].nom; }
    std::string DonnerLibelleColonne(std::int32_t i) const override { return kReponses[i].nom; }
    std::vector<double> DonnerCoordonnees(int set, int axe) const override {
        std::vector<double> values;
        if (set == 0)
            for (const Point& p : kVilles)
                values.push_back(axe == 0 ? p.x : p.y);
        else
            for (const Point& p : kReponses)
                values.push_back(axe == 0 ? p.x : p.y);
        return values;
    }
};

bool Save(QWidget& widget, const QString& path) {
    widget.repaint();
    QApplication::processEvents();
    if (widget.grab().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "morvane_mapdriver: cannot write %s\n", path.toLocal8Bit().constData());
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    CRegistre::InstallStore(std::make_unique<MemorySettingsStore>());
    CMorvaneApp morvane;
    morvane.SetUserInterface(std::make_unique<QtUserInterface>());
    if (!morvane.InitInstance({QStringLiteral("morvane")}))
        return 1;
    CMainFrame& frame = *morvane.GetMainWindow();
    frame.showNormal();
    frame.resize(1000, 760);

    SourceDemo source;
    std::vector<double> villes;
    std::vector<double> reponses;
    for (const Point& p : kVilles)
        villes.insert(villes.end(), {p.x, p.y});
    for (const Point& p : kReponses)
        reponses.insert(reponses.end(), {p.x, p.y});
    CMapping map(2, 0, 1, &source);
    map.nom = "Mapping Axe 1 x 2";
    map.coordonneesLignes = villes.data();
    map.coordonneesColonnes = reponses.data();
    map.nombreLignes = static_cast<std::int32_t>(std::size(kVilles));
    map.nombreColonnes = static_cast<std::int32_t>(std::size(kReponses));
    CPresentationMappingLigne rows = map.presentation.GetPointSet(CPresentationMapping::kRowPoints);
    rows.SetEstLibelleVisible(true);
    map.presentation.SetPointSet(CPresentationMapping::kRowPoints, rows);
    map.presentation.SetEstGrille(true);
    map.brushing[0].mode = CParamBrushing::kCoordonnees;
    map.sizing[1].mode = CParamBrushing::kCoordonnees;
    map.sizing[1].axe = 2;
    map.sizing[1].tailleMin = 6;
    map.sizing[1].tailleMax = 18;

    CDocument* document = morvane.OuvrirMapping(map);
    if (document == nullptr)
        return 1;
    if (CMDIChildWnd* child = document->GetViews().front()->GetParentFrame())
        child->showMaximized();
    if (arguments.size() < 2)
        return QApplication::exec();
    if (arguments.at(1) == QStringLiteral("--rtf")) {
        auto* view = dynamic_cast<CMappingView*>(document->GetViews().front());
        return arguments.size() == 3 && view != nullptr &&
                       view->ExporterVersWord(arguments.at(2).toStdString())
                   ? 0
                   : 1;
    }

    int status = 0;
    QTimer::singleShot(300, [&] {
        if (!Save(frame, arguments.at(1)))
            status = 1;
        if (arguments.size() >= 4) {
            CPresentationMappingDlg presentation(map.presentation, &frame);
            presentation.GetOnglets().setCurrentIndex(1);
            presentation.show();
            if (!Save(presentation, arguments.at(2)))
                status = 1;
            CBrushingDlg brushing(map.brushing[0], false, true, true, 2, &frame);
            brushing.show();
            if (!Save(brushing, arguments.at(3)))
                status = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
