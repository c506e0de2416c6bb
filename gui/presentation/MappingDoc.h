#pragma once

#include "framework/CommandMap.h"
#include "framework/Document.h"

#include <functional>

class CMapping;

// The document of a map window: the map shown. The map comes in place of a path
// (DocumentSource::FromObject) and stays its giver's (an analysis window, or a portfolio element):
// the document only points at it, and closes when its giver goes (FermerSiSource).
class CMappingDoc : public CDocument {
public:
    // What adds a copy of a map to the portfolio, which sits above the map window; empty for
    // none, and then "Envoyer vers un Dossier" stays disabled.
    using AjoutDossier = std::function<void(const CMapping& mapping)>;
    static void SetAjoutDossier(AjoutDossier add);
    static const AjoutDossier& GetAjoutDossier();

    CMappingDoc();
    ~CMappingDoc() override;

    // Keeps the map and takes its name as the title; false for any other source.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The title stays the map's name.
    void SetPathName(const std::string& path) override;
    void DeleteContents() override;

    // Null before the opening and once the contents are deleted.
    CMapping* GetMapping() const { return m_mapping; }

    // Closes the document when its map belongs to `source`; true when it closed.
    bool FermerSiSource(const void* source);

private:
    CMapping* m_mapping = nullptr;
};
