#pragma once

#include "framework/Document.h"

class CDendogramme;

// The document of a dendrogram window: the tree shown. The tree comes in place of a path and
// stays the classification window's: the document only points at it, closes when that window's
// results go (FermerSiSource), and has nothing to save.
class CDendogrammeDoc : public CDocument {
public:
    // Keeps the tree and takes its title; false for any other source.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The title stays the tree's.
    void SetPathName(const std::string& path) override;
    void DeleteContents() override { m_dendogramme = nullptr; }

    CDendogramme* GetDendogramme() const { return m_dendogramme; }

    // Closes the document when its tree was drawn from the document `source`; true when it closed.
    bool FermerSiSource(const void* source);

private:
    CDendogramme* m_dendogramme = nullptr;
};
