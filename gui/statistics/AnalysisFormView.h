#pragma once

#include "app/Message.h"
#include "app/OneStateScope.h"
#include "framework/View.h"
#include "statistics/MappingSource.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataAccess;
class CDendogramme;
class CElementDossier;
class CEnquete;
class CMapping;
class CTableau;
class QGridLayout;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The form every analysis window is: its own controls above a tree of results, each tree item
// standing for one element of the window's element array (a result table, or a perceptual map),
// and a double click opening the element in a window linked to the analysis. The form is also
// the data source (CMappingSource) of its tables' labels and its maps' points; the analysis
// says what its label kinds mean.
//
// The results are the analysis's: the tables keep copies of its numbers, the maps borrow its
// coordinate arrays. So the windows opened from them are closed whenever the results are
// cleared (a new run, the form closing), before the arrays go.
class AnalysisFormView : public QWidget, public CView, public CMappingSource {
    Q_OBJECT

public:
    // The result tree.
    enum { kArbre = 1036 };

    ~AnalysisFormView() override;

    QTreeWidget& GetArbre() const { return *m_tree; }
    int GetNombreElements() const;
    const CElementDossier& GetElement(int index) const;
    // The map of a map element; null for a table.
    CMapping* GetMapping(int index) const;
    // Opens element `index` in its window, as a double click on its item does.
    void OuvrirElement(int index);

protected:
    explicit AnalysisFormView(QWidget* parent = nullptr);

    // The controls of the analysis, placed above the tree.
    void SetControles(QWidget* controls);
    // One count of the controls: its caption at (row, column) of the grid and the count, named
    // by its control id, beside it. The count's label is returned, showing "0".
    static QLabel* AjouterCompteur(QGridLayout& grid, int id, const char* caption, int row, int column);

    // Closes every window opened from the results, then empties the tree and the elements.
    void ViderResultats();
    // The number of axes to keep, among the eigenvalues the engine offers, from "Sélection du
    // nombre d'axes"; false on cancel, or, told to the analyst, when no axis carries inertia.
    bool ChoisirNombreAxes(const std::vector<double>& valeursPropres, int& axes);
    // Tells the analyst.
    void Signaler(const Message& message) const;
    // Whether a data table was built with active rows; if not, the analyst is told why (the
    // reading's error, or too many missing answers).
    bool TableauUtilisable(bool built, const CDataAccess& access, int activeRows) const;
    // Runs `read` (the building of an analysis's data table from several questions) on one
    // committed state of the questionnaire, so that another program writing the file meanwhile
    // cannot give it rows of two states; false, told to the analyst, when the file is in use or
    // was changed since it was opened. The number-of-axes dialog and the engines run after, with
    // no lock held.
    template <class Read> bool LireEnUnEtat(CEnquete& survey, Read&& read) {
        const OneStateScope oneState(survey);
        if (oneState.Refusal().id != 0) {
            Signaler(oneState.Refusal());
            return false;
        }
        return read();
    }
    // The active and illustrative interviews chosen again in "Sélection des interviews"; false
    // on cancel, the lists unchanged.
    bool ChoisirInterviews(std::vector<std::uint32_t>& actives, std::vector<std::uint32_t>& illustratives);

    // A result table of `rows` × `columns` values (row-major) labelled by this source under the
    // two label kinds, every column shown with the marker, titled and based as given.
    void AjouterTableau(const std::string& title, const double* values, int rows, int columns, std::int32_t rowKind,
                        std::int32_t columnKind, std::uint16_t marker, double base);
    // A result table the analysis labelled itself; the element keeps it.
    void AjouterTableau(std::unique_ptr<CTableau> table);
    // The same with a marker of its own for each column.
    void AjouterTableau(const std::string& title, const double* values, int rows, std::int32_t rowKind,
                        std::int32_t columnKind, const std::vector<std::uint16_t>& markers, double base);
    // A classification's tree, kept by the window until its results are cleared.
    void AjouterDendogramme(std::unique_ptr<CDendogramme> dendogramme);
    // One map per pair of axes (i, j), i < j, in ascending order of i then j, named "Mapping Axe
    // i x j": row points and column points from the tables given (a values per point), which
    // must stay alive as long as the results.
    void AjouterMappings(int axes, const double* rows, int rowCount, const double* columns, int columnCount,
                         bool symmetric);

private:
    struct Element;

    void Append(Element element);
    void OnDoubleClick(QTreeWidgetItem* item);

    QTreeWidget* m_tree;
    std::vector<Element> m_elements;
};
