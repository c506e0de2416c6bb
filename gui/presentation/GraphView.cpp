#include "gui/presentation/GraphView.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "export/TableExports.h"
#include "framework/CmdUI.h"
#include "framework/FrameworkCommands.h"
#include "framework/PageSetup.h"
#include "framework/QtUserInterface.h"
#include "gui/presentation/Chart2D.h"
#include "gui/presentation/GraphDoc.h"
#include "gui/presentation/TableauChartSource.h"
#include "gui/tabulation/TableauView.h"
#include "tabulation/Tableau.h"

namespace {

void Signaler(QWidget* parent, const Message& message)
{
    if (CContexteEtude* context = GetContexte()) {
        context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
        return;
    }
    QtUserInterface(parent).ShowMessage(message, UserInterface::Icon::Warning);
}

// The exports of the chart window: its picture to a word processor, the charted table, which
// holds the chart's data, to a workbook and to text.
struct ChartExport {
    unsigned id;
    int filterId;
    CTableauView::ExportFunction exporter;
    bool openWithDesktop;
};

constexpr ChartExport kExports[] = {
    {CTableauView::kExporterWord, StringTable::kFichiersRtf, &ExporterGraphiqueWord, false},
    {CTableauView::kExporterExcel, StringTable::kClasseursExcel, &ExporterTableauClasseur, true},
    {CTableauView::kExporterAscii, StringTable::kFichiersTextes, &ExporterTableauAscii, false},
};

} // namespace

const CommandEntry<CGraphView> CGraphView::kCommandMap[] = {
    {FrameworkCommands::kEditCopy, &CGraphView::OnEditCopy, &CGraphView::OnUpdateAlways},
    {CTableauView::kExporterWord, &CGraphView::OnExporterWord, &CGraphView::OnUpdateAvecTableau},
    {CTableauView::kExporterExcel, &CGraphView::OnExporterExcel, &CGraphView::OnUpdateAvecTableau},
    {CTableauView::kExporterAscii, &CGraphView::OnExporterAscii, &CGraphView::OnUpdateAvecTableau},
    {FrameworkCommands::kFilePrint, &CGraphView::OnFilePrint, &CGraphView::OnUpdateAlways},
    {FrameworkCommands::kFilePrintPreview, &CGraphView::OnFilePrintPreview, &CGraphView::OnUpdateAlways},
};

CGraphView::CGraphView(QWidget* parent) : QWidget(parent), m_chart(new CChart2D(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart);
}

CGraphView::~CGraphView() = default;

CGraphDoc* CGraphView::GetDocument() const
{
    return dynamic_cast<CGraphDoc*>(CView::GetDocument());
}

void CGraphView::OnInitialUpdate()
{
    Redessiner();
}

void CGraphView::OnUpdate(CView* /*sender*/, int /*hint*/)
{
    Redessiner();
}

void CGraphView::Redessiner()
{
    const CGraphDoc* document = GetDocument();
    const CTableau* table = document != nullptr ? document->GetTableau() : nullptr;
    if (table == nullptr)
        return;
    const CPresentationGraphique& presentation = table->GetPresentationGraphique();
    m_chart->Modifier([&](ChartModel& chart) {
        presentation.ConstruireDonnees(chart, TableauChartSource(*table));
        std::vector<std::string> lines;
        table->DonnerLignesTitre(lines);
        presentation.Appliquer(chart, table->title, lines);
    });
}

void CGraphView::OnUpdateAlways(CCmdUI& ui)
{
    ui.Enable(true);
}

void CGraphView::OnEditCopy()
{
    m_chart->CopierDansPressePapiers();
}

void CGraphView::OnUpdateAvecTableau(CCmdUI& ui)
{
    const CGraphDoc* document = GetDocument();
    ui.Enable(document != nullptr && document->GetTableau() != nullptr);
}

void CGraphView::OnExporterWord()
{
    Exporter(CTableauView::kExporterWord);
}

void CGraphView::OnExporterExcel()
{
    Exporter(CTableauView::kExporterExcel);
}

void CGraphView::OnExporterAscii()
{
    Exporter(CTableauView::kExporterAscii);
}

void CGraphView::Exporter(unsigned id)
{
    const CGraphDoc* document = GetDocument();
    const CTableau* table = document != nullptr ? document->GetTableau() : nullptr;
    if (table == nullptr)
        return;
    for (const ChartExport& kind : kExports) {
        if (kind.id != id)
            continue;
        if (const std::optional<std::string> path =
                CTableauView::DemanderFichierExport(this, kind.filterId, document->GetTitle()))
            CTableauView::ExporterTableau(this, *table, *path, kind.exporter, kind.openWithDesktop);
        return;
    }
}

QRectF CGraphView::RectangleImpression(const QSizeF& view, const QRectF& page)
{
    if (view.width() <= 0 || view.height() <= 0 || page.isEmpty())
        return page;
    // Relatively taller than the page: the height fills it; otherwise the width does.
    if (view.width() * page.height() < view.height() * page.width()) {
        const double width = view.width() * page.height() / view.height();
        return QRectF(page.left() + (page.width() - width) / 2, page.top(), width, page.height());
    }
    const double height = view.height() * page.width() / view.width();
    return QRectF(page.left(), page.top() + (page.height() - height) / 2, page.width(), height);
}

void CGraphView::OnPrint(QPainter& painter, const QRectF& page)
{
    m_chart->DessinerCommeVu(painter, RectangleImpression(QSizeF(m_chart->size()), page));
}

bool CGraphView::Imprimer(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        Signaler(this, Message(StringTable::kImpressionImpossible));
        return false;
    }
    OnPrint(painter, QRectF(QPointF(0, 0), QSizeF(printer.width(), printer.height())));
    painter.end();
    return true;
}

void CGraphView::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    CPageSetup::Appliquer(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Imprimer(printer);
}

void CGraphView::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    CPageSetup::Appliquer(printer);
    QPrintPreviewDialog preview(&printer, window());
    preview.setWindowTitle(QStringLiteral("Aperçu avant impression"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { Imprimer(*target); });
    preview.exec();
}

bool CGraphView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui)
{
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}
