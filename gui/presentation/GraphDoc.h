#pragma once

#include "framework/CommandMap.h"
#include "framework/Document.h"

#include <functional>
#include <memory>

class CPresentationGraphique;
class CTableau;
class CTableauBase;

// The document of a chart window: the table charted. The table comes in place of a path; a table
// whose delete-with-window flag is 1 belongs to the document once the window is open, any other
// stays its giver's (a portfolio's, an analysis window's), and the window closes when that source
// goes (FermerSiSource).
class CGraphDoc : public CDocument {
public:
    // "Edition/Présentation...", "Edition/Ajouter au Dossier".
    static constexpr unsigned kPresentation = 32788;
    static constexpr unsigned kAjouterAuDossier = 32786;

    // What adds a copy of a table to the portfolio; empty for none (the command stays disabled).
    using AjoutDossier = std::function<void(const CTableauBase& table)>;
    static void SetAjoutDossier(AjoutDossier add);

    CGraphDoc();
    ~CGraphDoc() override;

    bool OnOpenDocument(const DocumentSource& source) override;
    void SetPathName(const std::string& path) override;
    void DeleteContents() override;
    // "Graphique": the window list tells the chart from the window of its table, of the same title.
    QString GetWindowListKind() const override;

    CTableau* GetTableau() const { return m_table; }

    // Closes the window when it shows a table it does not own that comes from `source`.
    void FermerSiSource(const void* source);

    // The chart presentation dialog on a copy of the table's; on OK the table (and its request)
    // takes it and every view draws the chart again.
    void OnPresentation();
    // The table takes the presentation and the views redraw.
    void SetPresentationGraphique(const CPresentationGraphique& presentation);

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void OnUpdatePresentation(CCmdUI& ui);
    void OnAjouterAuDossier();
    void OnUpdateAjouterAuDossier(CCmdUI& ui);

    static const CommandEntry<CGraphDoc> kCommandMap[];

    CTableau* m_table = nullptr;
    std::unique_ptr<CTableau> m_ownedTable;
};
