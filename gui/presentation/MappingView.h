#pragma once

#include "framework/CommandMap.h"
#include "framework/ScrollView.h"
#include "gui/presentation/MappingPainter.h"
#include "statistics/Mapping.h"

#include <QRectF>
#include <memory>
#include <optional>
#include <string>

class CInfoBulle;
class CMappingDoc;
class QMenu;
class QPrinter;
class QTimer;

// The scrolling window of a perceptual map: the map in a square plot area of 500 pixels at 100 %,
// zoomed from 50 to 400 %; the labels of the row points under the mouse in a popup after a short
// rest; the presentation, brushing and sizing dialogs; printing with a preview, the map scaled to
// the page; the RTF export of the map as a picture; the map sent to the portfolio.
class CMappingView : public CScrollView {
    Q_OBJECT

public:
    // The map's own commands ("Mapping" menu and the right button's menu).
    static constexpr unsigned kZoom50 = 32960;
    static constexpr unsigned kZoom75 = 32961;
    static constexpr unsigned kZoom100 = 32962;
    static constexpr unsigned kZoom200 = 32963;
    static constexpr unsigned kZoom400 = 32964;
    static constexpr unsigned kBrushingLignes = 32965;
    static constexpr unsigned kBrushingColonnes = 32966;
    static constexpr unsigned kSizingLignes = 32967;
    static constexpr unsigned kSizingColonnes = 32968;
    static constexpr unsigned kEnvoyerDossier = 32969;
    // "Edition/Présentation..." and "Fichier/Exporter vers Word...".
    static constexpr unsigned kPresentation = 32788;
    static constexpr unsigned kExporterWord = 32800;

    // The hover rest before the popup, and the squared distance (pixels²) under which a point is
    // under the cursor.
    static constexpr int kDelaiSurvol = 200;
    static constexpr int kDistanceSurvol2 = 15;
    // The margin kept around the plot square in the scroll area and in the exported picture.
    static constexpr int kMarge = 50;
    // The exported picture is drawn at twice the screen's size.
    static constexpr int kEchelleImage = 2;

    explicit CMappingView(QWidget* parent = nullptr);
    ~CMappingView() override;

    // Zoom 100, plot rectangle (50, 5)-(550, 505), the window and steps of the map, the colours
    // and sizes of both point sets, the popup hidden.
    void OnInitialUpdate() override;

    // The map shown: the document's; null without one.
    CMapping* GetMapping() const;

    double GetZoom() const { return m_zoom; }
    const QRectF& GetRectangle() const { return m_plot; }
    const BoiteMapping& GetFenetre() const { return m_window; }
    const GraduationMapping& GetGraduation() const { return m_graduation; }
    const MappingPainter::Points& GetPoints(int ensemble) const { return m_points[ensemble == 1 ? 1 : 0]; }
    CInfoBulle& GetInfoBulle() const { return *m_bulle; }
    const QTimer& GetTimerSurvol() const { return *m_hover; }

    // Sets the zoom (percent) and the plot square that goes with it.
    void SetZoom(double zoom);
    void OnZoom50() { SetZoom(50); }
    void OnZoom75() { SetZoom(75); }
    void OnZoom100() { SetZoom(100); }
    void OnZoom200() { SetZoom(200); }
    void OnZoom400() { SetZoom(400); }

    void OnPresentation();
    void OnBrushingLignes();
    void OnBrushingColonnes();
    void OnSizingLignes();
    void OnSizingColonnes();
    void OnEnvoyerDossier();

    // What the hover timer does: the popup names the row points under the cursor, or hides.
    void OnTimer();
    // The labels of the row points drawn within reach of a point of the drawing, joined by " + ".
    QString LibellesSous(const QPoint& logical) const;

    // The painter of the map for a plot rectangle (the window's, or another for a page or a
    // picture).
    MappingPainter Painter(const QRectF& plot) const;

    // ---- Printing ----
    // Draws the map on the printer's page: the plot square the largest square the printable area
    // holds, centred, the coordinates in the page's margins.
    void DessinerPage(QPainter& painter, const QRect& printable) const;
    // The plot square on a page of that printable area.
    static QRectF CarreImpression(const QRect& printable);
    // The sheet less its margins, in the printer's pixels from the sheet's corner; margins under
    // 20 mm are widened to 20 mm first.
    static QRect ZoneImprimable(QPrinter& printer);
    // False, with a message, when the printer cannot start.
    bool Imprimer(QPrinter& printer);
    void OnFilePrint();
    void OnFilePrintPreview();

    // ---- RTF ----
    // The map as a square PNG picture, twice the screen's size.
    std::vector<std::uint8_t> ImagePng() const;
    void OnExporterVersWord();
    bool ExporterVersWord(const std::string& path);

    // The right button's menu.
    std::unique_ptr<QMenu> CreateContextMenu();

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;
    void OnDraw(QPainter& painter) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnUpdateAvecMapping(CCmdUI& ui);
    void OnUpdateZoom(CCmdUI& ui, double zoom);
    void OnUpdateZoom50(CCmdUI& ui) { OnUpdateZoom(ui, 50); }
    void OnUpdateZoom75(CCmdUI& ui) { OnUpdateZoom(ui, 75); }
    void OnUpdateZoom100(CCmdUI& ui) { OnUpdateZoom(ui, 100); }
    void OnUpdateZoom200(CCmdUI& ui) { OnUpdateZoom(ui, 200); }
    void OnUpdateZoom400(CCmdUI& ui) { OnUpdateZoom(ui, 400); }
    void OnUpdateEnvoyerDossier(CCmdUI& ui);
    void CalculerPoints(int ensemble);
    void Brushing(int ensemble);
    void Sizing(int ensemble);
    std::optional<std::string> DemanderFichierRtf();

    static const CommandEntry<CMappingView> kCommandMap[];

    BoiteMapping m_window;
    GraduationMapping m_graduation;
    QRectF m_plot;
    double m_zoom = 100.0;
    MappingPainter::Points m_points[2];
    CInfoBulle* m_bulle = nullptr;
    QTimer* m_hover = nullptr;
    QPoint m_lastMouse;
};
