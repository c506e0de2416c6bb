#include "gui/tabulation/TableauPreviewView.h"

#include "framework/CmdUI.h"
#include "framework/PageSetup.h"
#include "gui/tabulation/PreviewPages.h"
#include "gui/tabulation/PrinterPicture.h"
#include "gui/tabulation/TableauView.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSizePolicy>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The number of pages shown at once by the previews of this session.
int g_nombrePagesApercu = 1;

// The part of the screen the preview takes when it opens.
constexpr double kScreenShare = 0.85;

enum class PreviewAction { kSeparator, kPages, kClose, kExport };

struct PreviewCommand {
    unsigned id;
    const char* text;
    PreviewAction action;
    // Shown on the tool bar; the others only have their key.
    bool onToolBar;
};

// clang-format off
constexpr PreviewCommand kCommands[] = {
    {CTableauPreviewView::kUnePage,      "Une page",               PreviewAction::kPages,     true},
    {CTableauPreviewView::kDeuxPages,    "Deux pages",             PreviewAction::kPages,     true},
    {0,                                  nullptr,                  PreviewAction::kSeparator, true},
    {CTableauView::kExporterWord,        "Exporter vers Word...",  PreviewAction::kExport,    true},
    {CTableauView::kExporterExcel,       "Exporter vers Excel...", PreviewAction::kExport,    true},
    {0,                                  nullptr,                  PreviewAction::kSeparator, true},
    {CTableauPreviewView::kFermer,       "Fermer",                 PreviewAction::kClose,     true},
    {CTableauPreviewView::kFermerApercu, "Fermer l'aperçu",        PreviewAction::kClose,     false},
};
// clang-format on

} // namespace

CTableauPreviewView::CTableauPreviewView(CTableauView& view, QWidget* parent)
    : QDialog(parent), m_view(view), m_printer(QPrinter::HighResolution) {
    CPageSetup::Appliquer(m_printer);
    setWindowTitle(QStringLiteral("Aperçu avant l'impression"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolBar);
    m_pages = new PreviewPages(this);
    layout->addWidget(m_pages, 1);
    CreateToolBar();
    StartPrinting();
    connect(this, &QDialog::finished, this, [this] { EndPrinting(); });
    SetPagesShown(g_nombrePagesApercu);
    connect(m_pages, &PreviewPages::PagesShownChanged, this, [this] { UpdatePageLabel(); });
    UpdatePageLabel();
    if (const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * kScreenShare);
}

CTableauPreviewView::~CTableauPreviewView() {
    EndPrinting();
}

void CTableauPreviewView::CreateToolBar() {
    for (const PreviewCommand& command : kCommands) {
        if (command.action == PreviewAction::kSeparator) {
            m_toolBar->addSeparator();
            continue;
        }
        auto* action = new QAction(QString::fromUtf8(command.text), this);
        m_actions[command.id] = action;
        const unsigned id = command.id;
        switch (command.action) {
        case PreviewAction::kSeparator:
            break;
        case PreviewAction::kPages:
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, id] { Executer(id); });
            break;
        case PreviewAction::kClose:
            connect(action, &QAction::triggered, this, &QDialog::reject);
            break;
        case PreviewAction::kExport:
            connect(action, &QAction::triggered, this, [this, id] { Executer(id); });
            break;
        }
        if (command.onToolBar)
            m_toolBar->addAction(action);
        else
            addAction(action);
    }
    m_actions[kFermerApercu]->setShortcut(QKeySequence(Qt::Key_Escape));
    auto* spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_pageLabel = new QLabel(m_toolBar);
    m_pageLabel->setContentsMargins(0, 0, PreviewPages::kSpacing, 0);
    m_toolBar->addWidget(m_pageLabel);
    UpdateActions();
}

// The pages go through the view's three printing steps, drawn on recordings of the printer's
// measures, as the printer itself would draw them; a page is drawn when it is first shown, the
// first at once, so that a preview that cannot draw it does not open.
void CTableauPreviewView::StartPrinting() {
    const int lastPage = m_view.OnBeginPrinting(m_printer);
    m_printing = true;
    const QRectF paper = m_printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = m_printer.pageRect(QPrinter::DevicePixel);
    m_pages->SetPages(
        lastPage, [this](int page) { return RecordPage(page); }, paper.size(),
        printable.topLeft() - paper.topLeft(), m_printer.resolution());
    m_ready = m_pages->GetPage(1) != nullptr;
}

std::unique_ptr<PrinterPicture> CTableauPreviewView::RecordPage(int page) {
    if (!m_printing)
        return nullptr;
    auto picture = std::make_unique<PrinterPicture>(m_printer);
    QPainter painter;
    if (!painter.begin(picture.get()))
        return nullptr;
    m_view.OnPrint(painter, page);
    painter.end();
    return picture;
}

void CTableauPreviewView::EndPrinting() {
    if (!m_printing)
        return;
    m_printing = false;
    m_view.OnEndPrinting();
}

bool CTableauPreviewView::IsReady() const {
    return m_ready;
}

int CTableauPreviewView::GetPageCount() const {
    return m_pages->GetPageCount();
}

QAction* CTableauPreviewView::GetAction(unsigned id) const {
    const auto found = m_actions.find(id);
    return found != m_actions.end() ? found->second : nullptr;
}

int CTableauPreviewView::GetNombrePagesApercu() {
    return g_nombrePagesApercu;
}

bool CTableauPreviewView::Executer(unsigned id) {
    UpdateActions();
    const QAction* action = GetAction(id);
    if (action == nullptr || !action->isEnabled())
        return false;
    switch (id) {
    case kUnePage:
        SetPagesShown(1);
        return true;
    case kDeuxPages:
        SetPagesShown(2);
        return true;
    case kFermer:
    case kFermerApercu:
        reject();
        return true;
    default:
        Exporter(id);
        return true;
    }
}

void CTableauPreviewView::SetPagesShown(int count) {
    m_pages->SetPagesShown(count);
    g_nombrePagesApercu = m_pages->GetPagesShown();
    UpdateActions();
    UpdatePageLabel();
}

void CTableauPreviewView::UpdateActions() {
    const int shown = m_pages->GetPagesShown();
    m_actions[kUnePage]->setChecked(shown == 1);
    m_actions[kDeuxPages]->setChecked(shown == 2);
    for (const unsigned id : {CTableauView::kExporterWord, CTableauView::kExporterExcel}) {
        CCmdUI state(id);
        state.DoUpdate(m_view);
        m_actions[id]->setEnabled(state.IsEnabled());
    }
}

void CTableauPreviewView::UpdatePageLabel() {
    const int first = m_pages->GetFirstPageShown();
    const int last = m_pages->GetLastPageShown();
    m_pageLabel->setText(last > first
                             ? QStringLiteral("Pages %1-%2 sur %3").arg(first).arg(last).arg(GetPageCount())
                             : QStringLiteral("Page %1 sur %2").arg(first).arg(GetPageCount()));
}

// The export runs on the previewed view, as its own command would.
void CTableauPreviewView::Exporter(unsigned id) {
    m_view.OnCmdMsg(id, CmdMsg::kCommand, nullptr);
    UpdateActions();
}
