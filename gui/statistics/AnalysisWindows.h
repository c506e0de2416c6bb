#pragma once

#include <memory>

class CDendogramme;
class CDocument;
class CMapping;
class CTableau;

// The windows an analysis window opens from its results, which belong to the application above
// it: a result table in a table window, a perceptual map in a map window, and the closing of
// every window built from an analysis when its results are replaced or go. The application
// installs its own at start-up; without one nothing opens.
class AnalysisWindows {
public:
    virtual ~AnalysisWindows() = default;

    // Shows the table in a table window that leaves it to the analysis: the table is marked as
    // built from `owner` and must stay alive until FermerFenetresLiees(owner) has run.
    virtual CDocument* OuvrirTableau(CTableau& table, const CDocument* owner) = 0;
    // Shows the map, which stays the analysis's, in a map window.
    virtual CDocument* OuvrirMapping(CMapping& mapping) = 0;
    // Shows a classification's tree, which stays the analysis's, in a dendrogram window; that
    // window closes with FermerFenetresLiees of the tree's source document. None by default.
    virtual CDocument* OuvrirDendogramme(CDendogramme& /*dendogramme*/) { return nullptr; }
    // Closes at once every table and map window built from the source.
    virtual void FermerFenetresLiees(const void* source) = 0;

    // The installed windows (null: none); not owned. The installer removes them before they go.
    static void Installer(AnalysisWindows* windows);
    static AnalysisWindows* Get();

protected:
    AnalysisWindows() = default;
    AnalysisWindows(const AnalysisWindows&) = default;
    AnalysisWindows& operator=(const AnalysisWindows&) = default;
};
