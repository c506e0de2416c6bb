#pragma once

#include "framework/Document.h"

#include <string>

// The document of a kind of window the program does not have yet. Its template exists from
// start-up like every other, so that whoever opens such a window needs no change when it comes;
// until then every opening is refused and the user is told which window is missing.
class UnavailableDocument : public CDocument {
public:
    // `windowName` is the window's name as the user knows it ("Graphique", "Dossier", ...).
    explicit UnavailableDocument(std::string windowName);

    bool OnNewDocument() override;
    bool OnOpenDocument(const DocumentSource& source) override;

private:
    bool Refuse() const;

    std::string m_windowName;
};
