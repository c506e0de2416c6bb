#pragma once

#include <QDialog>
#include <QPrinter>
#include <map>
#include <memory>

class CTableauView;
class PreviewPages;
class PrinterPicture;
class QAction;
class QLabel;
class QToolBar;

// The print preview of a table window: the pages the printer would get, one or two at a time,
// under a tool bar of its own: one page, two pages (each checked while in force; the choice
// is kept for the rest of the session), close, and the table's exports to Word and to Excel, run
// by the previewed view and offered when the view offers them.
//
// The pages are those of the view's printing steps, as "Imprimer..." prints them: OnBeginPrinting
// when the preview opens, OnPrint for each page when it is first shown, recorded with the default
// printer's measures, and OnEndPrinting when the preview closes.
class CTableauPreviewView : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kUnePage = 32853;
    static constexpr unsigned kDeuxPages = 32849;
    static constexpr unsigned kFermer = 32852;
    // The framework's own close command of a preview (the Escape key).
    static constexpr unsigned kFermerApercu = 58112;

    // Lays the view's table out for the printer and records its pages.
    explicit CTableauPreviewView(CTableauView& view, QWidget* parent = nullptr);
    ~CTableauPreviewView() override;

    // Whether there are pages to show: the first could be drawn.
    bool IsReady() const;
    int GetPageCount() const;
    PreviewPages& GetPages() const { return *m_pages; }
    QToolBar& GetToolBar() const { return *m_toolBar; }
    // The action of a command of the preview; null for an id it does not have.
    QAction* GetAction(unsigned id) const;

    // The number of pages shown at once, as last chosen in a preview of this session.
    static int GetNombrePagesApercu();

    // Runs a command of the preview as its button does; false when it is not offered now.
    bool Executer(unsigned id);

private:
    void CreateToolBar();
    void StartPrinting();
    std::unique_ptr<PrinterPicture> RecordPage(int page);
    // The view's printer layout is freed; no page is drawn after.
    void EndPrinting();
    void SetPagesShown(int count);
    void UpdateActions();
    void UpdatePageLabel();
    void Exporter(unsigned id);

    CTableauView& m_view;
    QPrinter m_printer;
    PreviewPages* m_pages = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_pageLabel = nullptr;
    // Between the view's OnBeginPrinting and OnEndPrinting.
    bool m_printing = false;
    bool m_ready = false;
    std::map<unsigned, QAction*> m_actions;
};
