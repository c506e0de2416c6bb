#pragma once

#include <QWidget>

#include "framework/CommandMap.h"
#include "framework/View.h"

class CChart2D;
class CGraphDoc;
class QPainter;
class QPrinter;

// The window of a chart: the chart widget filling the view, drawn from its document's table with
// the table's chart presentation. It copies the chart to the clipboard as an image, prints it on
// one page, as large as the page holds with the window's proportions, centred, and exports it as
// the table window does: to RTF as a picture, to a workbook and to text as the charted table.
class CGraphView : public QWidget, public CView {
    Q_OBJECT

public:
    explicit CGraphView(QWidget* parent = nullptr);
    ~CGraphView() override;

    CGraphDoc* GetDocument() const;
    CChart2D& GetChart() const { return *m_chart; }

    // The chart built again from the table and its presentation.
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint) override;
    void Redessiner();

    // "Edition/Copier": the chart, at the window's size, on the clipboard.
    void OnEditCopy();
    // "Fichier/Exporter vers Word...", "Exporter vers Excel...", "Exporter en Ascii...": each asks
    // for its file as the table window does, then writes it.
    void OnExporterWord();
    void OnExporterExcel();
    void OnExporterAscii();

    // Draws the chart on the printer's one page.
    bool Imprimer(QPrinter& printer);
    void OnPrint(QPainter& painter, const QRectF& page);

    // Where a window of `view` size goes on a page: the largest rectangle of the window's
    // proportions the page holds, centred across the other way.
    static QRectF RectangleImpression(const QSizeF& view, const QRectF& page);

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnUpdateAlways(CCmdUI& ui);
    void OnUpdateAvecTableau(CCmdUI& ui);
    void Exporter(unsigned id);

    static const CommandEntry<CGraphView> kCommandMap[];

    CChart2D* m_chart;
};
