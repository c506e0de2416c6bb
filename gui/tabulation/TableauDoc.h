#pragma once

#include "framework/CommandMap.h"
#include "framework/Document.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CPresentationTableau;
class CTableau;
class CTraitement;
class QWidget;
class TableDefinitionEditor;

// The document of a result-table window: the table shown. The table comes in place of a path
// (DocumentSource::FromObject). Once the window is open, a table whose delete-with-window flag is
// 1 belongs to the document, which deletes it with its contents; any other table stays its
// giver's. A window that does not open leaves the table to its giver whatever the flag, so that a
// null answer of OpenDocumentFile always means "the table is still yours":
//
//     if (docTemplate.OpenDocumentFile(DocumentSource::FromObject(table.get())) != nullptr &&
//         table->deleteWithWindow == 1)
//         table.release();
class CTableauDoc : public CDocument {
public:
    // "Edition/Présentation...".
    static constexpr unsigned kPresentation = 32788;
    // "Edition/Retour à la définition...".
    static constexpr unsigned kRetourDefinition = 32787;
    // "Edition/Ajouter au Dossier".
    static constexpr unsigned kAjouterAuDossier = 32786;
    // "Edition/Envoyer vers ACP" and "Edition/Envoyer vers AFC...".
    static constexpr unsigned kEnvoyerVersAcp = 32875;
    static constexpr unsigned kEnvoyerVersAfc = 32876;
    // The kinds of analysis a table is sent to: principal components, correspondence analysis.
    static constexpr std::uint16_t kAnalyseAcp = 4;
    static constexpr std::uint16_t kAnalyseAfc = 6;

    // "Edition/Envoyer vers Graphique".
    static constexpr unsigned kEnvoyerVersGraphique = 32817;
    // The request type that cannot be charted (profiles crossed with profiles).
    static constexpr std::int16_t kTypeNonGraphique = 14;

    // What sending a table to a chart needs of the program above the table window: a table's
    // window opened for it (a chart window for a table flagged so), and one of a request's row
    // calculations chosen by the analyst (its code; none on Cancel). Without them the command
    // stays disabled.
    struct EnvoiGraphique {
        std::function<void(std::unique_ptr<CTableau> table)> ouvrirTableau;
        std::function<std::optional<std::int32_t>(const CTraitement& request)> choisirCalculLigne;
    };
    static void SetEnvoiGraphique(EnvoiGraphique send);

    // What adds a copy of a table to the portfolio, which sits above the table window; empty for
    // none, and then the command stays disabled.
    using AjoutDossier = std::function<void(const CTableau& table)>;
    static void SetAjoutDossier(AjoutDossier add);

    // What opens the factor analysis of a table (the window keeps its own copy); empty for none,
    // and then both commands stay disabled.
    using EnvoiAnalyse = std::function<void(std::uint16_t type, const CTableau& table)>;
    static void SetEnvoiAnalyse(EnvoiAnalyse send);

    // What edits a table presentation (the presentation dialog, which sits above the table
    // window): edits its argument in place and answers true when the analyst confirmed. Empty for
    // none, and then the command stays disabled.
    using EditeurPresentation = std::function<bool(QWidget* parent, CPresentationTableau& presentation)>;
    static void SetEditeurPresentation(EditeurPresentation edit);

    // The request dialogs through which a table's definition is edited; not owned, null for none.
    // The installer removes it before it goes.
    static void SetDefinitionEditor(TableDefinitionEditor* editor);
    static TableDefinitionEditor* GetDefinitionEditor();

    CTableauDoc();
    ~CTableauDoc() override;

    // Keeps the table (taking it when its flag says so) and titles the window with the beginning
    // of the table's title. A table whose request no longer resolves is refused with the reasons
    // shown, and left to its giver: it would only open empty. False too for any source that is
    // not a table.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The title stays the table's.
    void SetPathName(const std::string& path) override;
    // Deletes the table when the document owns it.
    void DeleteContents() override;

    // Null before the opening and once the contents are deleted.
    CTableau* GetTableau() const { return m_table; }
    const CPresentationTableau& GetPresentation() const;
    // The table and its request take the presentation, and every view lays the table out again.
    void SetPresentation(const CPresentationTableau& presentation);

    // Whether the table may go to a principal-component or correspondence analysis: at least 3
    // rows and 3 columns, and no request or one with fewer than 2 row calculations.
    bool EstEnvoiPossible() const;

    // The presentation dialog opens on a copy of the table's presentation; on OK the table and its
    // request take the new one and every view shows it. Cancel changes nothing.
    void OnEditionPresentation();

    // The dialog that made the table's request opens on it; on OK the new request runs (its
    // tables open in new windows), then every window of this document closes. Cancel, a table
    // without a request, a request that no dialog defines, or a new request that gives no table
    // change nothing.
    void OnEditionRetourDefinition();

    // The table in a chart window. A table without a request opens as a chart at once (a copy).
    // A request of type 14 cannot be charted: "Pas disponible". Otherwise a copy of the request
    // is charted on one row calculation (the analyst chooses it when there are several; Cancel
    // stops everything), without Total lines nor column calculations, and runs: its tables open
    // as charts.
    void OnEnvoyerVersGraphique();

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void OnUpdateEditionPresentation(CCmdUI& ui);
    // A copy of the table joins the portfolio.
    void OnAjouterAuDossier();
    void OnUpdateAjouterAuDossier(CCmdUI& ui);
    // The table to a principal component or correspondence analysis, when it may go.
    void OnEnvoyerVersAcp();
    void OnEnvoyerVersAfc();
    void OnUpdateEnvoyerVersAnalyse(CCmdUI& ui);
    // Enabled when a dialog defines the table's request.
    void OnUpdateEditionRetourDefinition(CCmdUI& ui);
    bool EstRedefinissable() const;
    void OnUpdateEnvoyerVersGraphique(CCmdUI& ui);
    void SetTableTitle();

    static const CommandEntry<CTableauDoc> kCommandMap[];

    CTableau* m_table = nullptr;
    std::unique_ptr<CTableau> m_ownedTable;
};
