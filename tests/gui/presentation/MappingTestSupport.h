#pragma once

#include "app/ContexteEtude.h"
#include "framework/DocumentSource.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/WinApp.h"
#include "gui/presentation/MappingDoc.h"
#include "gui/presentation/MappingView.h"
#include "statistics/Mapping.h"
#include "statistics/MappingSource.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mapping_test {

// A map's data source over plain vectors: labels, and per set and axis the values that colour
// and size the points.
class SourceEssai : public CMappingSource {
public:
    std::vector<std::string> lignes;
    std::vector<std::string> colonnes;
    // [set][axis] -> one value per point.
    std::vector<std::vector<double>> coordonnees[2];
    std::vector<std::vector<double>> qualites[2];
    bool question = false;

    std::string DonnerLibelleLigne(std::int32_t i) const override { return At(lignes, i); }
    std::string DonnerLibelleColonne(std::int32_t i) const override { return At(colonnes, i); }
    bool DonnerQuestion() const override { return question; }
    std::vector<double> DonnerCoordonnees(int set, int axe) const override {
        return Axe(coordonnees, set, axe);
    }
    std::vector<double> DonnerQualites(int set, int axe) const override { return Axe(qualites, set, axe); }

private:
    static std::string At(const std::vector<std::string>& labels, std::int32_t i) {
        return i >= 0 && static_cast<std::size_t>(i) < labels.size() ? labels[static_cast<std::size_t>(i)]
                                                                     : "";
    }
    static std::vector<double> Axe(const std::vector<std::vector<double>> (&values)[2], int set, int axe) {
        if (set < 0 || set > 1 || axe < 0 || static_cast<std::size_t>(axe) >= values[set].size())
            return {};
        return values[set][static_cast<std::size_t>(axe)];
    }
};

// A map of two axes over row points (x, y) and column points, each point named.
struct MappingEssai {
    struct Point {
        std::string nom;
        double x;
        double y;
    };

    MappingEssai(const std::vector<Point>& rows, const std::vector<Point>& columns = {}) {
        for (const Point& p : rows) {
            source.lignes.push_back(p.nom);
            lignes.insert(lignes.end(), {p.x, p.y});
        }
        for (const Point& p : columns) {
            source.colonnes.push_back(p.nom);
            colonnes.insert(colonnes.end(), {p.x, p.y});
        }
        for (int set = 0; set < 2; ++set) {
            const std::vector<double>& xy = set == 0 ? lignes : colonnes;
            for (int axe = 0; axe < 2; ++axe) {
                std::vector<double> values;
                for (std::size_t i = static_cast<std::size_t>(axe); i < xy.size(); i += 2)
                    values.push_back(xy[i]);
                source.coordonnees[set].push_back(values);
                source.qualites[set].push_back(values);
            }
        }
        mapping = CMapping(2, 0, 1, &source);
        mapping.nom = "Mapping Axe 1 x 2";
        mapping.coordonneesLignes = lignes.empty() ? nullptr : lignes.data();
        mapping.coordonneesColonnes = colonnes.empty() ? nullptr : colonnes.data();
        mapping.nombreLignes = static_cast<std::int32_t>(rows.size());
        mapping.nombreColonnes = static_cast<std::int32_t>(columns.size());
    }
    MappingEssai(const MappingEssai&) = delete;

    SourceEssai source;
    std::vector<double> lignes;
    std::vector<double> colonnes;
    CMapping mapping;
};

class MappingApp : public CWinApp {};

// Map windows in a main frame of their own, over a study context that records what it shows.
class MappingWindowTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        CContexteEtude::RegisterContext(&context);
        app = std::make_unique<MappingApp>();
        auto frame = std::make_unique<CMDIFrameWnd>(app.get());
        mainFrame = frame.get();
        app->SetMainFrame(std::move(frame));
        docTemplate = &app->AddDocTemplate(CMultiDocTemplate::Create<CMappingDoc, CMappingView>(
            129, [] { return std::make_unique<CMDIChildWnd>(); }));
        mainFrame->resize(900, 700);
        mainFrame->show();
    }

    void TearDown() override {
        app.reset();
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    CMappingView& Open(CMapping& mapping) {
        CDocument* document = docTemplate->OpenDocumentFile(DocumentSource::FromObject(&mapping));
        QApplication::processEvents();
        EXPECT_NE(document, nullptr);
        return *dynamic_cast<CMappingView*>(document->GetViews().front());
    }

    // The action of the right button's menu reached through its sub-menu ("&Zoom") and its text.
    static void Choisir(QMenu& menu, const QString& subMenu, const QString& text) {
        QMenu* target = &menu;
        if (!subMenu.isEmpty()) {
            target = nullptr;
            for (QAction* action : menu.actions())
                if (action->menu() != nullptr && action->text() == subMenu)
                    target = action->menu();
        }
        ASSERT_NE(target, nullptr) << subMenu.toStdString();
        for (QAction* action : target->actions())
            if (action->text() == text) {
                ASSERT_TRUE(action->isEnabled()) << text.toStdString();
                action->trigger();
                return;
            }
        FAIL() << "no item " << text.toStdString();
    }

    // Runs `answer` on the dialog of type D once it is up and modal.
    template <class D> static void QuandModal(std::function<void(D&)> answer) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }

    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
    std::unique_ptr<MappingApp> app;
    CMDIFrameWnd* mainFrame = nullptr;
    CMultiDocTemplate* docTemplate = nullptr;
};

} // namespace mapping_test
