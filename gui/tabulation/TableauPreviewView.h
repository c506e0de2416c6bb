#pragma once

#include <QDialog>
#include <QPrinter>
#include <map>

class CTableauView;
class PreviewPages;
class QAction;
class QLabel;
class QToolBar;

// The print preview of a table window: the pages the printer would get, one or two at a time,
// under a tool bar of its own: one page, two pages (each checked while in force; the choice
// is kept for the rest of the session), close, and the table's exports to Word and to Excel, run
// by the previewed view and offered when the view offers them.
//
// The pages are those of the view's printing steps (OnBeginPrinting, OnPrint for each page,
// OnEndPrinting), recorded with the default printer's measures, as "Imprimer..." prints them.
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

    // Whether there are pages to show.
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
    void RecordPages();
    void SetPagesShown(int count);
    void UpdateActions();
    void UpdatePageLabel();
    void Exporter(unsigned id);

    CTableauView& m_view;
    QPrinter m_printer;
    PreviewPages* m_pages = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_pageLabel = nullptr;
    std::map<unsigned, QAction*> m_actions;
};
