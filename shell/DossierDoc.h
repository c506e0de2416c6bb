#pragma once

#include "app/Message.h"
#include "framework/CommandMap.h"
#include "framework/Document.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDossierView;
class CElementDossier;
class CMapping;
class CTableauBase;
class RecalculDossier;

// The document of a portfolio (".dos"): its elements, which it owns, in the order they came in.
// A tree item of the view holds the index of its element here; deleting an item leaves its element
// in the array, unseen and no longer saved (saving and the exports walk the tree).
//
// A portfolio keeps requests, not numbers: opening a file or pasting elements computes every
// table again on the open survey; a table that can no longer be computed becomes a chapter under
// its name, and the user is told once which ones did and why.
class CDossierDoc : public CDocument {
public:
    static constexpr unsigned kInserer = 32810;
    static constexpr unsigned kExporterWord = 32800;
    static constexpr unsigned kExporterExcel = 32801;
    static constexpr unsigned kExporterAscii = 32885;

    CDossierDoc();
    ~CDossierDoc() override;

    bool OnNewDocument() override;
    // A path: the file is read whole or not at all (a damaged file is refused with a message and
    // no window opens), then every table is computed again.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The windows of its tables close first, then the elements go.
    void DeleteContents() override;
    // A modified portfolio asks whether to save it: Yes saves (false when the save fails or is
    // cancelled), No goes on, Cancel stays.
    bool SaveModified() override;

    // Writes the tree's elements in pre-order to the file, through a temporary file that replaces
    // the old one once whole. False, with the reason shown, when it cannot be written: the old
    // file and the modified flag stay.
    bool OnSaveDocument(const std::string& path);

    // A copy of the table joins the portfolio after the view's caret item.
    void AjouterElement(const CTableauBase& table);
    // A copy of the map joins the portfolio the same way.
    void AjouterElement(const CMapping& mapping);
    // "Insérer": a new chapter "Chapitre n", n counting the chapters made in this document.
    void OnInserer();

    CElementDossier* GetElement(int index) const;
    int GetNbreElements() const { return static_cast<int>(m_elements.size()); }
    // Computes each element again and appends it, in order; answers the index of the first one.
    // The elements that became chapters are told to `report`.
    int InsererElements(std::vector<std::unique_ptr<CElementDossier>> elements, RecalculDossier& report);
    // Computes one element again after a change of its request.
    void RecalculerElement(int index, RecalculDossier& report);

    CDossierView* GetPremiereVue() const;

    // The exports of the tree's elements to a file; false with the reason shown.
    bool ExporterWord(const std::string& path);
    bool ExporterExcel(const std::string& path);
    bool ExporterAscii(const std::string& path);

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void OnFileSave();
    void OnFileSaveAs();
    void OnExporterWord();
    void OnExporterExcel();
    void OnExporterAscii();
    void OnUpdateAlways(CCmdUI& ui);

    int Ajouter(std::unique_ptr<CElementDossier> element);
    // The elements of the tree in pre-order with their depths; every element without a view.
    std::vector<const CElementDossier*> ElementsDeLArbre() const;
    std::optional<std::string> DemanderFichier(int filterId) const;
    using ExportFunction = bool (*)(const std::vector<const CElementDossier*>&, const std::string&,
                                    const std::string&, Message&);
    bool Exporter(const std::string& path, ExportFunction exporter);
    void Signaler(const Message& message) const;

    static const CommandEntry<CDossierDoc> kCommandMap[];

    std::vector<std::unique_ptr<CElementDossier>> m_elements;
    std::uint32_t m_chapterCounter = 0;
};
