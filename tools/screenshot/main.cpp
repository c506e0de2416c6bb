// morvane_screenshot QUESTIONNAIRE.qes OUT.png [WIDTH HEIGHT]
// morvane_screenshot --cross QUESTIONNAIRE.qes DIALOG.png TABLE.png [WIDTH HEIGHT]
//
// Starts the program as main() does, on built-in settings rather than the user's, and saves
// pictures of it as PNG files, the main window drawn at the given size:
// - by default, the form of the question SATISF and the cross table of SATISF by SEXE beside the
//   questionnaire tree, at 1280 x 800 unless told;
// - with --cross, the command "Tris/Tri Croisé" run on SATISF as the analyst runs it: REGION
//   picked as the second question, the request dialog filled with the counts, the row and column
//   percentages and the significance marks, the empty "Non interrogé" left out (DIALOG.png, the
//   dialog alone), then OK, and the main window with the table the request gave beside the tree
//   (TABLE.png). Its 24 columns want a wide window: 1920 x 1080 by default.
// morvane_screenshot --advanced QUESTIONNAIRE.qes DIALOG.png TABLE.png [WIDTH HEIGHT]
// - with --advanced, the command "Tris/Tableaux évolués" run as the analyst runs it: "Profils
//   croisés" filled with the style and the profiles of an advanced table of satisfaction and age
//   group by region and sex, pictured on its style tab (DIALOG.png), then OK, and the main window
//   with the advanced table beside the tree (TABLE.png), 1920 x 1080 by default.
// morvane_screenshot --table QUESTIONNAIRE.qes REQUEST.req OUT.png [WIDTH HEIGHT]
// morvane_screenshot --table-maximised QUESTIONNAIRE.qes REQUEST.req OUT.png [WIDTH HEIGHT]
// - with --table, the table of a request text (docs/request-format.md) in its own window, drawn
//   alone at WIDTH x HEIGHT (800 x 600 by default); with --table-maximised, the main window at
//   WIDTH x HEIGHT (1600 x 900 by default) with that table window maximised in it.
// morvane_screenshot --preview QUESTIONNAIRE.qes REQUEST.req ONE.png TWO.png ZOOM.png [WIDTH HEIGHT]
// - with --preview, the print preview of that table ("Fichier/Aperçu avant l'impression" run on
//   its window), drawn at WIDTH x HEIGHT (1400 x 900 by default) showing one page (ONE.png),
//   two pages (TWO.png), then the top left of the first page zoomed in twice (ZOOM.png).
// morvane_screenshot --table-options QUESTIONNAIRE.qes OUT.png
// - with --table-options, the dialog "Options tableaux" that "Outils/Tableaux..." opens.
// Exits 1 when the questionnaire does not open or a picture cannot be made, 2 on bad usage.
#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "framework/MultiTree.h"
#include "framework/QtUserInterface.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageGeneraleProfilsDlg.h"
#include "gui/requests/ProfilePage.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/SelQuestionDlg.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "shell/ProgramIcon.h"
#include "shell/QuestionnaireView.h"
#include "gui/tabulation/PreviewPages.h"
#include "gui/tabulation/TableauPreviewView.h"
#include "tools/qesrun/RequestText.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 800;
constexpr int kCrossDefaultWidth = 1920;
constexpr int kCrossDefaultHeight = 1080;
// Long enough for the window to take its size and for the splash to go.
constexpr int kSettleMilliseconds = 1500;
constexpr const char* kQuestion = "SATISF";
constexpr const char* kCrossTable = "type tri-croise\nlignes SATISF\ncolonnes SEXE\ncalculs 0 2\n";
constexpr unsigned kTriCroiseCommand = 32789;
constexpr const char* kSecondQuestion = "REGION";
constexpr const char* kCrossCalculations[] = {"Profil colonne", "Significativité"};
// Nobody of the demo is "not asked": its line and column, all zeros, are left out.
constexpr const char* kLeftOutLine = "Non interrogé";

constexpr unsigned kTableauxEvoluesCommand = 32890;
// The style and profiles "Profils croisés" is given, as a request text (docs/request-format.md).
constexpr const char* kAdvancedTable = "type tableau-evolue\n"
                                       "lignes SATISF:1,2,3,4,5 TRANCHE:1,2,3,4,5\n"
                                       "colonnes REGION:1,2,3,4,5 SEXE:1,2\n"
                                       "style marge 0 colonne\n"
                                       "style cellule 0\n"
                                       "style cellule 2\n"
                                       "style marge 1 ligne\n"
                                       "style test khi2=??K?? ddl=??D?? p=??P??\n"
                                       "titre Satisfaction et âge par région et sexe\n";

constexpr int kTableDefaultWidth = 800;
constexpr int kTableDefaultHeight = 600;
constexpr int kMaximisedDefaultWidth = 1600;
constexpr int kMaximisedDefaultHeight = 900;
// Room around a table window drawn alone, so that the main window never squeezes it.
constexpr int kRoomAroundTableWindow = 200;

constexpr int kPreviewDefaultWidth = 1400;
constexpr int kPreviewDefaultHeight = 900;
constexpr unsigned kPrintPreviewCommand = 57609;
constexpr unsigned kTableOptionsCommand = 32916;

enum class Scene { kMainWindow, kCross, kAdvanced, kTable, kTableMaximised, kPreview, kTableOptions };

struct SceneOption {
    const char* option;
    Scene scene;
    int files; // the questionnaire included
    int width;
    int height;
};

constexpr SceneOption kSceneOptions[] = {
    {"--cross", Scene::kCross, 3, kCrossDefaultWidth, kCrossDefaultHeight},
    {"--advanced", Scene::kAdvanced, 3, kCrossDefaultWidth, kCrossDefaultHeight},
    {"--table", Scene::kTable, 3, kTableDefaultWidth, kTableDefaultHeight},
    {"--table-maximised", Scene::kTableMaximised, 3, kMaximisedDefaultWidth, kMaximisedDefaultHeight},
    {"--preview", Scene::kPreview, 5, kPreviewDefaultWidth, kPreviewDefaultHeight},
    {"--table-options", Scene::kTableOptions, 2, kDefaultWidth, kDefaultHeight},
};

struct Usage {
    Scene scene = Scene::kMainWindow;
    QString questionnaire;
    QString dialogOutput; // --cross and --advanced only
    QString request;      // --table, --table-maximised and --preview only
    QString secondOutput; // --preview only: the two pages
    QString thirdOutput;  // --preview only: zoomed in
    QString output;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
};

// Null on bad usage, which is told.
std::unique_ptr<Usage> ReadUsage(const QStringList& arguments) {
    auto usage = std::make_unique<Usage>();
    QStringList rest = arguments.mid(1);
    int files = 2;
    for (const SceneOption& option : kSceneOptions) {
        if (rest.isEmpty() || rest.front() != QString::fromLatin1(option.option))
            continue;
        rest.removeFirst();
        usage->scene = option.scene;
        files = option.files;
        usage->width = option.width;
        usage->height = option.height;
        break;
    }
    if (rest.size() != files && rest.size() != files + 2) {
        std::fprintf(
            stderr,
            "usage: morvane_screenshot QUESTIONNAIRE.qes OUT.png [WIDTH HEIGHT]\n"
            "       morvane_screenshot --cross QUESTIONNAIRE.qes DIALOG.png TABLE.png [WIDTH HEIGHT]\n"
            "       morvane_screenshot --advanced QUESTIONNAIRE.qes DIALOG.png TABLE.png [WIDTH HEIGHT]\n"
            "       morvane_screenshot --table QUESTIONNAIRE.qes REQUEST.req OUT.png [WIDTH HEIGHT]\n"
            "       morvane_screenshot --table-maximised QUESTIONNAIRE.qes REQUEST.req OUT.png\n"
            "                          [WIDTH HEIGHT]\n"
            "       morvane_screenshot --preview QUESTIONNAIRE.qes REQUEST.req ONE.png TWO.png\n"
            "                          ZOOM.png [WIDTH HEIGHT]\n"
            "       morvane_screenshot --table-options QUESTIONNAIRE.qes OUT.png\n");
        return nullptr;
    }
    usage->questionnaire = rest.at(0);
    const bool dialogScene = usage->scene == Scene::kCross || usage->scene == Scene::kAdvanced;
    usage->dialogOutput = dialogScene ? rest.at(1) : QString();
    const bool tableScene = usage->scene == Scene::kTable || usage->scene == Scene::kTableMaximised ||
                            usage->scene == Scene::kPreview;
    usage->request = tableScene ? rest.at(1) : QString();
    if (usage->scene == Scene::kPreview) {
        usage->output = rest.at(files - 3);
        usage->secondOutput = rest.at(files - 2);
        usage->thirdOutput = rest.at(files - 1);
    } else {
        usage->output = rest.at(files - 1);
    }
    if (rest.size() == files + 2) {
        usage->width = rest.at(files).toInt();
        usage->height = rest.at(files + 1).toInt();
    }
    if (usage->width <= 0 || usage->height <= 0) {
        std::fprintf(stderr, "morvane_screenshot: the size must be two positive whole numbers\n");
        return nullptr;
    }
    return usage;
}

// The windows side by side in creation order, each taking its share of the width.
void ArrangeWindows(QMdiArea& area, const std::vector<int>& sharesInTenths) {
    const QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::CreationOrder);
    const int width = area.viewport()->width();
    const int height = area.viewport()->height();
    int left = 0;
    for (int i = 0; i < windows.size() && i < static_cast<int>(sharesInTenths.size()); ++i) {
        const bool last = i + 1 == static_cast<int>(sharesInTenths.size());
        const int share = last ? width - left : width * sharesInTenths[static_cast<std::size_t>(i)] / 10;
        windows[i]->setGeometry(QRect(left, 0, share, height));
        left += share;
    }
}

bool Save(QWidget& widget, const QString& path) {
    // A table lays itself out at its first paint after a change, then takes its new scroll
    // extent and paints again.
    for (int pass = 0; pass < 2; ++pass) {
        widget.repaint();
        QApplication::processEvents();
    }
    if (widget.grab().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "morvane_screenshot: cannot write %s\n", path.toLocal8Bit().constData());
    return false;
}

// The tree, the question's form and a cross table computed from its text.
bool MainWindowScene(CMorvaneApp& morvane, const Usage& usage) {
    CMainFrame& frame = *morvane.GetMainWindow();
    morvane.ActiverFenetreQuestion(morvane.TrouverQuestionParNom(kQuestion));
    qesrun::RequestText::Result request = qesrun::RequestText::Parse(kCrossTable, morvane);
    if (request.request == nullptr) {
        std::fprintf(stderr, "morvane_screenshot: %s\n", request.error.c_str());
        return false;
    }
    CMainFrame::LancerTraitement(std::move(request.request));
    ArrangeWindows(frame.GetMdiArea(), {2, 3, 5});
    frame.GetCommandRouter().UpdateActions();
    return Save(frame, usage.output);
}

// The picker's answer: the second question chosen, then OK.
void PickSecondQuestion(QDialog& shown) {
    auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
    if (picker == nullptr)
        return;
    const QList<QTreeWidgetItem*> found = picker->GetTree().findItems(QString::fromUtf8(kSecondQuestion),
                                                                      Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1)
        return;
    picker->GetTree().SelectItem(found.front());
    picker->accept();
}

void Tick(QTreeWidget& list, const char* label, bool ticked) {
    const QList<QTreeWidgetItem*> found = list.findItems(QString::fromUtf8(label), Qt::MatchExactly);
    if (!found.isEmpty())
        found.front()->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

// The request dialog's answer: the analyst's choices, the picture, then OK. False when no
// picture was saved.
bool FillAndPicture(QDialog& shown, const QString& output) {
    auto* dialog = qobject_cast<RequestDialog*>(&shown);
    CPageCalculsDlg* calculations = dialog != nullptr ? dialog->GetPageCalculs(0) : nullptr;
    if (calculations == nullptr)
        return false;
    for (const char* label : kCrossCalculations)
        Tick(calculations->GetList(), label, true);
    for (int side = 0; side < 2; ++side)
        if (CPageQuestionsCalculsDlg* lines = dialog->GetPageLignes(side))
            Tick(lines->GetList(), kLeftOutLine, false);
    const bool pictured = Save(*dialog, output);
    dialog->OkButton().click();
    return pictured;
}

// "Tris/Tri Croisé" on SATISF through the dialogs, then the table it gave beside the tree.
bool CrossScene(CMorvaneApp& morvane, const Usage& usage) {
    CMainFrame& frame = *morvane.GetMainWindow();
    CQuestionnaireView* tree = frame.GetQuestionnaireView();
    const QList<QTreeWidgetItem*> found =
        tree != nullptr ? tree->findItems(QString::fromUtf8(kQuestion), Qt::MatchExactly | Qt::MatchRecursive)
                        : QList<QTreeWidgetItem*>();
    if (found.size() != 1) {
        std::fprintf(stderr, "morvane_screenshot: no question %s in the tree\n", kQuestion);
        return false;
    }
    tree->setCurrentItem(found.front());
    bool pictured = false;
    ModalAnswers answers({PickSecondQuestion,
                          [&](QDialog& dialog) { pictured = FillAndPicture(dialog, usage.dialogOutput); }});
    frame.GetCommandRouter().Execute(kTriCroiseCommand);
    if (!pictured || frame.GetMdiArea().subWindowList().size() != 2) {
        std::fprintf(stderr, "morvane_screenshot: the cross table did not come out\n");
        return false;
    }
    ArrangeWindows(frame.GetMdiArea(), {1, 9});
    frame.GetCommandRouter().UpdateActions();
    return Save(frame, usage.output);
}

// "Tris/Tableaux évolués": "Profils croisés" given the style and the profiles of the request text,
// pictured on its style tab, then the advanced table it gave beside the tree.
bool AdvancedScene(CMorvaneApp& morvane, const Usage& usage) {
    qesrun::RequestText::Result request = qesrun::RequestText::Parse(kAdvancedTable, morvane);
    if (request.request == nullptr) {
        std::fprintf(stderr, "morvane_screenshot: %s\n", request.error.c_str());
        return false;
    }
    // The population and weighting of the study, named as a new dialog names them.
    request.request->studyFieldName = morvane.universeLabel;
    request.request->weightingName = morvane.weightingLabel;
    CMainFrame& frame = *morvane.GetMainWindow();
    bool pictured = false;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<RequestDialog*>(&shown);
        if (dialog == nullptr || dialog->GetPageStyle() == nullptr || dialog->GetTabs() == nullptr)
            return;
        dialog->GetPageStyle()->LireTraitement(*request.request);
        for (int axis = 0; axis < 2; ++axis)
            if (ProfilePage* profile = dialog->GetPageProfil(axis))
                profile->LireTraitement(*request.request, axis);
        dialog->GetTabs()->setCurrentIndex(0);
        pictured = Save(*dialog, usage.dialogOutput);
        dialog->OkButton().click();
    }});
    frame.GetCommandRouter().Execute(kTableauxEvoluesCommand);
    if (!pictured || frame.GetMdiArea().subWindowList().size() != 2) {
        std::fprintf(stderr, "morvane_screenshot: the advanced table did not come out\n");
        return false;
    }
    ArrangeWindows(frame.GetMdiArea(), {1, 9});
    frame.GetCommandRouter().UpdateActions();
    return Save(frame, usage.output);
}

// The tables of the request text, each in its window; the first one's window, active, or null
// when none came out (which is told).
QMdiSubWindow* OpenRequestTable(CMorvaneApp& morvane, const Usage& usage) {
    QFile file(usage.request);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "morvane_screenshot: cannot read %s\n", usage.request.toLocal8Bit().constData());
        return nullptr;
    }
    const std::string text = file.readAll().toStdString();
    qesrun::RequestText::Result request = qesrun::RequestText::Parse(text, morvane);
    if (request.request == nullptr) {
        std::fprintf(stderr, "morvane_screenshot: %s:%d: %s\n", usage.request.toLocal8Bit().constData(),
                     request.line, request.error.c_str());
        return nullptr;
    }
    CMainFrame& frame = *morvane.GetMainWindow();
    const qsizetype before = frame.GetMdiArea().subWindowList().size();
    CMainFrame::LancerTraitement(std::move(request.request));
    const QList<QMdiSubWindow*> windows = frame.GetMdiArea().subWindowList(QMdiArea::CreationOrder);
    if (windows.size() <= before) {
        std::fprintf(stderr, "morvane_screenshot: the request gave no table\n");
        return nullptr;
    }
    QMdiSubWindow* table = windows.at(before);
    frame.GetMdiArea().setActiveSubWindow(table);
    frame.GetCommandRouter().UpdateActions();
    return table;
}

// The first table of the request text drawn alone at the usage's size, or maximised in the main
// window.
bool TableScene(CMorvaneApp& morvane, const Usage& usage) {
    QMdiSubWindow* table = OpenRequestTable(morvane, usage);
    if (table == nullptr)
        return false;
    if (usage.scene == Scene::kTableMaximised) {
        table->showMaximized();
        return Save(*morvane.GetMainWindow(), usage.output);
    }
    table->showNormal();
    table->setGeometry(QRect(0, 0, usage.width, usage.height));
    return Save(*table, usage.output);
}

// The print preview of the request's table, as its window's command opens it: one page, then two.
bool PreviewScene(CMorvaneApp& morvane, const Usage& usage) {
    QMdiSubWindow* table = OpenRequestTable(morvane, usage);
    if (table == nullptr)
        return false;
    table->showMaximized();
    bool pictured = false;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* preview = qobject_cast<CTableauPreviewView*>(&shown);
        if (preview == nullptr)
            return;
        preview->resize(usage.width, usage.height);
        preview->Executer(CTableauPreviewView::kUnePage);
        const bool one = Save(*preview, usage.output);
        preview->Executer(CTableauPreviewView::kDeuxPages);
        const bool two = Save(*preview, usage.secondOutput);
        // Two clicks near the top left of the first sheet, where the table starts.
        preview->Executer(CTableauPreviewView::kUnePage);
        PreviewPages& pages = preview->GetPages();
        const QRectF sheet = pages.SheetRect(0);
        const QPoint corner =
            QPointF(sheet.left() + sheet.width() * 0.25, sheet.top() + sheet.height() * 0.03).toPoint();
        pages.ZoomAt(corner);
        pages.ZoomAt(corner);
        const bool zoomed = Save(*preview, usage.thirdOutput);
        pictured = one && two && zoomed;
        preview->Executer(CTableauPreviewView::kFermer);
    }});
    morvane.GetMainWindow()->GetCommandRouter().Execute(kPrintPreviewCommand);
    if (!pictured)
        std::fprintf(stderr, "morvane_screenshot: the print preview did not open\n");
    return pictured;
}

// "Outils/Tableaux...": the table options dialog as it opens.
bool TableOptionsScene(CMorvaneApp& morvane, const Usage& usage) {
    bool pictured = false;
    ModalAnswers answers({[&](QDialog& shown) {
        pictured = shown.windowTitle() == QStringLiteral("Options tableaux") && Save(shown, usage.output);
        shown.reject();
    }});
    morvane.GetMainWindow()->GetCommandRouter().Execute(kTableOptionsCommand);
    if (!pictured)
        std::fprintf(stderr, "morvane_screenshot: the table options did not open\n");
    return pictured;
}

bool RunScene(CMorvaneApp& morvane, const Usage& usage) {
    switch (usage.scene) {
    case Scene::kCross:
        return CrossScene(morvane, usage);
    case Scene::kAdvanced:
        return AdvancedScene(morvane, usage);
    case Scene::kTable:
    case Scene::kTableMaximised:
        return TableScene(morvane, usage);
    case Scene::kPreview:
        return PreviewScene(morvane, usage);
    case Scene::kTableOptions:
        return TableOptionsScene(morvane, usage);
    case Scene::kMainWindow:
        break;
    }
    return MainWindowScene(morvane, usage);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const std::unique_ptr<Usage> usage = ReadUsage(QApplication::arguments());
    if (usage == nullptr)
        return 2;
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    QApplication::setWindowIcon(ProgramIcon());
    // The same picture whatever the user chose in the program.
    CRegistre::InstallStore(std::make_unique<MemorySettingsStore>());

    CMorvaneApp morvane;
    morvane.SetUserInterface(std::make_unique<QtUserInterface>());
    if (!morvane.InitInstance({QStringLiteral("morvane"), usage->questionnaire}) ||
        morvane.DonnerNbreQuestions() == 0)
        return 1;
    CMainFrame& frame = *morvane.GetMainWindow();
    frame.showNormal();
    if (usage->scene == Scene::kTable)
        frame.resize(usage->width + kRoomAroundTableWindow, usage->height + kRoomAroundTableWindow);
    else
        frame.resize(usage->width, usage->height);

    int status = 0;
    QTimer::singleShot(kSettleMilliseconds, [&] {
        const bool saved = RunScene(morvane, *usage);
        status = saved ? 0 : 1;
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
