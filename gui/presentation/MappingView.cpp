#include "gui/presentation/MappingView.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "export/MappingRtf.h"
#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "framework/PageSetup.h"
#include "framework/QtUserInterface.h"
#include "gui/presentation/BrushingDlg.h"
#include "gui/presentation/InfoBulle.h"
#include "gui/presentation/MappingDoc.h"
#include "gui/presentation/MappingPreviewView.h"
#include "gui/presentation/PresentationMappingDlg.h"
#include "gui/presentation/SizingDlg.h"
#include "statistics/MappingSource.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

// The right button's menu: sub-menus by their title, then the items; 0 marks a separator.
struct EntreeMenu {
    const char* sousMenu; // null for an item of the menu itself
    unsigned id;
    const char* texte;
};

constexpr EntreeMenu kMenuContextuel[] = {
    {"&Zoom", CMappingView::kZoom50, "50"},
    {"&Zoom", CMappingView::kZoom75, "75"},
    {"&Zoom", CMappingView::kZoom100, "100"},
    {"&Zoom", CMappingView::kZoom200, "200"},
    {"&Zoom", CMappingView::kZoom400, "400"},
    {"&Brushing", CMappingView::kBrushingLignes, "&Lignes"},
    {"&Brushing", CMappingView::kBrushingColonnes, "&Colonnes"},
    {"&Sizing", CMappingView::kSizingLignes, "&Lignes"},
    {"&Sizing", CMappingView::kSizingColonnes, "&Colonnes"},
    {nullptr, 0, nullptr},
    {nullptr, CMappingView::kPresentation, "Présentation..."},
    {nullptr, CMappingView::kExporterWord, "Exporter vers &Word..."},
    {nullptr, CMappingView::kEnvoyerDossier, "Envoyer vers un &Dossier"},
};

UserInterface& Utilisateur(QWidget* parent, std::unique_ptr<QtUserInterface>& fallback) {
    if (CContexteEtude* context = GetContexte())
        return context->GetUserInterface();
    fallback = std::make_unique<QtUserInterface>(parent);
    return *fallback;
}

void Signaler(QWidget* parent, const Message& message) {
    std::unique_ptr<QtUserInterface> fallback;
    Utilisateur(parent, fallback).ShowMessage(message, UserInterface::Icon::Warning);
}

} // namespace

const CommandEntry<CMappingView> CMappingView::kCommandMap[] = {
    {kZoom50, &CMappingView::OnZoom50, &CMappingView::OnUpdateZoom50},
    {kZoom75, &CMappingView::OnZoom75, &CMappingView::OnUpdateZoom75},
    {kZoom100, &CMappingView::OnZoom100, &CMappingView::OnUpdateZoom100},
    {kZoom200, &CMappingView::OnZoom200, &CMappingView::OnUpdateZoom200},
    {kZoom400, &CMappingView::OnZoom400, &CMappingView::OnUpdateZoom400},
    {kBrushingLignes, &CMappingView::OnBrushingLignes, &CMappingView::OnUpdateAvecMapping},
    {kBrushingColonnes, &CMappingView::OnBrushingColonnes, &CMappingView::OnUpdateAvecMapping},
    {kSizingLignes, &CMappingView::OnSizingLignes, &CMappingView::OnUpdateAvecMapping},
    {kSizingColonnes, &CMappingView::OnSizingColonnes, &CMappingView::OnUpdateAvecMapping},
    {kPresentation, &CMappingView::OnPresentation, &CMappingView::OnUpdateAvecMapping},
    {kExporterWord, &CMappingView::OnExporterVersWord, &CMappingView::OnUpdateAvecMapping},
    {kEnvoyerDossier, &CMappingView::OnEnvoyerDossier, &CMappingView::OnUpdateEnvoyerDossier},
    {FrameworkCommands::kFilePrint, &CMappingView::OnFilePrint, &CMappingView::OnUpdateAvecMapping},
    {FrameworkCommands::kFilePrintPreview, &CMappingView::OnFilePrintPreview,
     &CMappingView::OnUpdateAvecMapping},
};

CMappingView::CMappingView(QWidget* parent)
    : CScrollView(parent), m_bulle(new CInfoBulle(this)), m_hover(new QTimer(this)) {
    QPalette page = viewport()->palette();
    page.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(page);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true);
    m_hover->setSingleShot(true);
    m_hover->setInterval(kDelaiSurvol);
    connect(m_hover, &QTimer::timeout, this, &CMappingView::OnTimer);
    // The popup hears of every key and button pressed anywhere before it is handled.
    qApp->installEventFilter(this);
    CMappingView::OnInitialUpdate();
}

CMappingView::~CMappingView() {
    qApp->removeEventFilter(this);
}

CMapping* CMappingView::GetMapping() const {
    const auto* document = dynamic_cast<const CMappingDoc*>(GetDocument());
    return document != nullptr ? document->GetMapping() : nullptr;
}

void CMappingView::OnInitialUpdate() {
    m_window = BoiteMapping{};
    m_graduation = GraduationMapping{};
    if (const CMapping* mapping = GetMapping())
        MappingPainter::CalculerFenetre(*mapping, m_window, m_graduation);
    CalculerPoints(CMapping::kLignes);
    CalculerPoints(CMapping::kColonnes);
    m_bulle->Hide();
    SetZoom(100);
}

void CMappingView::CalculerPoints(int ensemble) {
    MappingPainter::Points& points = m_points[ensemble == CMapping::kColonnes ? 1 : 0];
    const CMapping* mapping = GetMapping();
    points.couleurs = mapping != nullptr ? mapping->CalculerCouleurs(ensemble) : std::vector<std::uint32_t>();
    points.tailles = mapping != nullptr ? mapping->CalculerTailles(ensemble) : std::vector<std::int32_t>();
}

void CMappingView::SetZoom(double zoom) {
    m_zoom = zoom;
    const double side = MappingPainter::kSide100 * zoom / 100.0;
    const double right = std::trunc(MappingPainter::kLeft + side);
    const double bottom = std::trunc(MappingPainter::kTop + side);
    m_plot = QRectF(QPointF(MappingPainter::kLeft, MappingPainter::kTop), QPointF(right, bottom));
    SetScrollSizes(QSize(static_cast<int>(right) + kMarge, static_cast<int>(bottom) + kMarge));
    viewport()->update();
}

void CMappingView::OnUpdateZoom(CCmdUI& ui, double zoom) {
    ui.Enable(GetMapping() != nullptr);
    ui.SetCheck(m_zoom == zoom ? 1 : 0);
}

void CMappingView::OnUpdateAvecMapping(CCmdUI& ui) {
    ui.Enable(GetMapping() != nullptr);
}

void CMappingView::OnUpdateEnvoyerDossier(CCmdUI& ui) {
    ui.Enable(GetMapping() != nullptr && static_cast<bool>(CMappingDoc::GetAjoutDossier()));
}

MappingPainter CMappingView::Painter(const QRectF& plot) const {
    static const CMapping kAucune;
    const CMapping* mapping = GetMapping();
    MappingPainter painter(mapping != nullptr ? *mapping : kAucune, m_window, m_graduation, plot, m_points);
    painter.SetFontDevice(viewport());
    return painter;
}

void CMappingView::OnDraw(QPainter& painter) {
    if (GetMapping() == nullptr)
        return;
    Painter(m_plot).Dessiner(painter);
}

// ---- Dialogs ----------------------------------------------------------------------------------

void CMappingView::OnPresentation() {
    CMapping* mapping = GetMapping();
    if (mapping == nullptr)
        return;
    CPresentationMappingDlg dialog(mapping->presentation, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    mapping->presentation = dialog.GetPresentation();
    // A set coloured or sized by nothing takes its own colour or size again.
    for (int ensemble : {CMapping::kLignes, CMapping::kColonnes}) {
        MappingPainter::Points& points = m_points[ensemble];
        if (mapping->brushing[static_cast<std::size_t>(ensemble)].mode == CParamBrushing::kAucun)
            points.couleurs = mapping->CalculerCouleurs(ensemble);
        if (mapping->sizing[static_cast<std::size_t>(ensemble)].mode == CParamBrushing::kAucun)
            points.tailles = mapping->CalculerTailles(ensemble);
    }
    viewport()->update();
}

namespace {

// What the brushing and sizing dialogs may offer for a set of points: a question only for row
// points that are interviews; qualities and contributions for the row points, and for the column
// points of a map whose window is not symmetric.
struct ModesOfferts {
    bool question;
    bool mesures;
};

ModesOfferts Offerts(const CMapping& mapping, int ensemble) {
    const bool lignes = ensemble == CMapping::kLignes;
    return {lignes && mapping.source != nullptr && mapping.source->DonnerQuestion() != 0,
            lignes || mapping.fenetreSymetrique == 0};
}

} // namespace

void CMappingView::Brushing(int ensemble) {
    CMapping* mapping = GetMapping();
    if (mapping == nullptr)
        return;
    const ModesOfferts offerts = Offerts(*mapping, ensemble);
    CBrushingDlg dialog(mapping->brushing[static_cast<std::size_t>(ensemble)], offerts.question, offerts.mesures,
                        offerts.mesures, mapping->nombreAxes, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    mapping->brushing[static_cast<std::size_t>(ensemble)] = dialog.GetParam();
    m_points[ensemble].couleurs = mapping->CalculerCouleurs(ensemble);
    viewport()->update();
}

void CMappingView::Sizing(int ensemble) {
    CMapping* mapping = GetMapping();
    if (mapping == nullptr)
        return;
    const ModesOfferts offerts = Offerts(*mapping, ensemble);
    CSizingDlg dialog(mapping->sizing[static_cast<std::size_t>(ensemble)], offerts.question, offerts.mesures,
                      offerts.mesures, mapping->nombreAxes, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    mapping->sizing[static_cast<std::size_t>(ensemble)] = dialog.GetParam();
    m_points[ensemble].tailles = mapping->CalculerTailles(ensemble);
    viewport()->update();
}

void CMappingView::OnBrushingLignes() {
    Brushing(CMapping::kLignes);
}

void CMappingView::OnBrushingColonnes() {
    Brushing(CMapping::kColonnes);
}

void CMappingView::OnSizingLignes() {
    Sizing(CMapping::kLignes);
}

void CMappingView::OnSizingColonnes() {
    Sizing(CMapping::kColonnes);
}

void CMappingView::OnEnvoyerDossier() {
    const CMapping* mapping = GetMapping();
    const CMappingDoc::AjoutDossier& add = CMappingDoc::GetAjoutDossier();
    if (mapping != nullptr && add)
        add(*mapping);
}

// ---- The popup --------------------------------------------------------------------------------

void CMappingView::mouseMoveEvent(QMouseEvent* event) {
    m_lastMouse = event->position().toPoint();
    m_hover->start();
    CScrollView::mouseMoveEvent(event);
}

QString CMappingView::LibellesSous(const QPoint& logical) const {
    const CMapping* mapping = GetMapping();
    if (mapping == nullptr)
        return {};
    const MappingPainter painter = Painter(m_plot);
    if (!painter.ACoordonnees(CMapping::kLignes))
        return {};
    QStringList labels;
    for (int i = 0; i < mapping->DonnerNombrePoints(CMapping::kLignes); ++i) {
        const QPoint position = painter.PositionPoint(CMapping::kLignes, i);
        const long long dx = position.x() - logical.x();
        const long long dy = position.y() - logical.y();
        if (dx * dx + dy * dy < kDistanceSurvol2)
            labels << QString::fromStdString(mapping->DonnerLibelle(CMapping::kLignes, i));
    }
    // The popup wraps its lines between labels, never inside one ("Intvw 935" stays whole).
    for (QString& label : labels)
        label.replace(QLatin1Char(' '), QChar(0x00A0));
    return labels.join(QStringLiteral(" + "));
}

void CMappingView::OnTimer() {
    m_hover->stop();
    const QPoint global = QCursor::pos();
    const QPoint cursor = viewport()->mapFromGlobal(global);
    if (cursor != m_lastMouse) {
        m_bulle->Hide();
        return;
    }
    const QString text = LibellesSous(cursor + GetScrollPosition());
    if (text.isEmpty())
        m_bulle->Hide();
    else
        m_bulle->Show(global, text);
}

bool CMappingView::eventFilter(QObject* watched, QEvent* event) {
    if (m_bulle->isVisible())
        m_bulle->Relayer(*event);
    return CScrollView::eventFilter(watched, event);
}

void CMappingView::mousePressEvent(QMouseEvent* event) {
    if (GetDocument() != nullptr) {
        CMDIChildWnd* frame = GetParentFrame();
        if (frame != nullptr && frame->mdiArea() != nullptr)
            frame->mdiArea()->setActiveSubWindow(frame);
    }
    if (event->button() != Qt::RightButton) {
        CScrollView::mousePressEvent(event);
        return;
    }
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    menu->exec(event->globalPosition().toPoint());
}

std::unique_ptr<QMenu> CMappingView::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>();
    std::map<std::string, QMenu*> subMenus;
    for (const EntreeMenu& entry : kMenuContextuel) {
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        QMenu* target = menu.get();
        if (entry.sousMenu != nullptr) {
            QMenu*& sub = subMenus[entry.sousMenu];
            if (sub == nullptr)
                sub = menu->addMenu(QString::fromUtf8(entry.sousMenu));
            target = sub;
        }
        QAction* action = target->addAction(QString::fromUtf8(entry.texte));
        CCmdUI state(entry.id);
        state.DoUpdate(*this);
        action->setEnabled(state.IsEnabled());
        if (const std::optional<int> check = state.GetCheck()) {
            action->setCheckable(true);
            action->setChecked(*check != 0);
        }
        const unsigned id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id, CmdMsg::kCommand, nullptr); });
    }
    return menu;
}

// ---- Printing ---------------------------------------------------------------------------------

QRectF CMappingView::CarreImpression(const QRect& printable) {
    const double side = std::min(printable.width(), printable.height());
    return QRectF(printable.left() + (printable.width() - side) / 2.0,
                  printable.top() + (printable.height() - side) / 2.0, side, side);
}

// The drawing keeps the window's units: the painter is scaled so that the 500-pixel square of
// 100 % becomes the page's square, text and lines growing with it.
void CMappingView::DessinerPage(QPainter& painter, const QRect& printable) const {
    if (GetMapping() == nullptr)
        return;
    const QRectF square = CarreImpression(printable);
    const double scale = square.width() / MappingPainter::kSide100;
    painter.save();
    painter.translate(square.topLeft());
    painter.scale(scale, scale);
    Painter(QRectF(0, 0, MappingPainter::kSide100, MappingPainter::kSide100)).Dessiner(painter);
    painter.restore();
}

QRect CMappingView::ZoneImprimable(QPrinter& printer) {
    // The coordinates stand left of and below the square: the sheet keeps margins for them.
    constexpr double kMargeMinimale = 20.0;
    const QMarginsF current = printer.pageLayout().margins(QPageLayout::Millimeter);
    printer.setPageMargins(
        QMarginsF(std::max(current.left(), kMargeMinimale), std::max(current.top(), kMargeMinimale),
                  std::max(current.right(), kMargeMinimale), std::max(current.bottom(), kMargeMinimale)),
        QPageLayout::Millimeter);
    const QPageLayout layout = printer.pageLayout();
    return layout.fullRectPixels(printer.resolution())
        .marginsRemoved(layout.marginsPixels(printer.resolution()));
}

bool CMappingView::Imprimer(QPrinter& printer) {
    const QRect printable = ZoneImprimable(printer);
    // The painter covers the whole sheet, so that the coordinates may stand in the margins.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        Signaler(this, Message(StringTable::kImpressionImpossible));
        return false;
    }
    DessinerPage(painter, printable);
    painter.end();
    return true;
}

void CMappingView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    CPageSetup::Appliquer(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    Imprimer(printer);
}

void CMappingView::OnFilePrintPreview() {
    CMappingPreviewView preview(*this, window());
    preview.exec();
}

// ---- RTF --------------------------------------------------------------------------------------

std::vector<std::uint8_t> CMappingView::ImagePng() const {
    const CMapping* mapping = GetMapping();
    return mapping != nullptr ? MappingPainter::ImagePng(*mapping, kMarge, kEchelleImage)
                              : std::vector<std::uint8_t>();
}

std::optional<std::string> CMappingView::DemanderFichierRtf() {
    CFileDialog dialog(CFileDialog::Mode::kSave, QStringLiteral("rtf"),
                       QString::fromStdString(StringTable::Text(StringTable::kFichiersRtf)), this);
    if (const CDocument* document = GetDocument())
        dialog.ProposerNom(document->GetTitle());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.GetPathName().isEmpty())
        return std::nullopt;
    QString path = QDir::toNativeSeparators(dialog.GetPathName());
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rtf");
    if (QFileInfo::exists(path)) {
        std::unique_ptr<QtUserInterface> fallback;
        if (!Utilisateur(this, fallback)
                 .AskYesNo(Message(StringTable::kRemplacerFichier, {path.toStdString()})))
            return std::nullopt;
    }
    return path.toStdString();
}

void CMappingView::OnExporterVersWord() {
    if (const std::optional<std::string> path = DemanderFichierRtf())
        ExporterVersWord(*path);
}

bool CMappingView::ExporterVersWord(const std::string& path) {
    const CMapping* mapping = GetMapping();
    if (mapping == nullptr)
        return false;
    const CContexteEtude* context = GetContexte();
    const std::string questionnaire = context != nullptr ? context->questionnairePath : std::string();
    Message error;
    if (MappingRtf::ExporterMappingWord(mapping->nom, ImagePng(), path, questionnaire, error))
        return true;
    Signaler(this, error);
    return false;
}

bool CMappingView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) ||
           CScrollView::HandleOwnCommand(id, kind, ui);
}
