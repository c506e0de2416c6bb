#pragma once

#include "framework/CommandMap.h"
#include "framework/MultiTree.h"
#include "framework/View.h"

#include <QIcon>
#include <array>
#include <memory>
#include <vector>

class CDossierDoc;
class CElementDossier;
class QMenu;

// The portfolio as a tree of chapters and tables, in which several items can be selected. The
// analyst arranges it (moves with Alt and the arrows, rename with F2, delete with the Delete key,
// copy and paste between portfolios), opens a table by a double click, and changes the study
// field, weighting, level or non-response rows of many tables at once, which are then computed
// again. An item holds the index of its element in the document; its text is the element's name.
class CDossierView : public CMultiTree, public CView {
    Q_OBJECT

public:
    // The commands of the view (the pop-up menu "Dossier" and the frame's menus).
    static constexpr unsigned kMonter = 32806;
    static constexpr unsigned kDescendre = 32807;
    static constexpr unsigned kSortir = 32808;
    static constexpr unsigned kEntrer = 32809;
    static constexpr unsigned kSupprimer = 32915;
    static constexpr unsigned kChangerChampEtude = 32896;
    static constexpr unsigned kChangerRedressement = 32897;
    static constexpr unsigned kChangerNiveau = 32919;
    static constexpr unsigned kChangerPresentation = 32898;
    static constexpr unsigned kAfficherNonReponses = 32890;
    static constexpr unsigned kSupprimerNonReponses = 32895;
    // Moving one level in stops at this depth.
    static constexpr int kProfondeurMaximale = 99;
    // The role of an item's data that holds its element's index.
    static constexpr int kRoleElement = Qt::UserRole;

    CDossierView();
    ~CDossierView() override;

    CDossierDoc* GetDocument() const;

    // Fills the tree from the document's elements by their depths.
    void OnInitialUpdate() override;

    // The element's item goes after the caret item under the caret's parent (last at the root
    // without caret), becomes the only selection and the caret; the document is modified.
    void InsererElementArbre(int index);
    // The elements of the tree in pre-order, each given its depth (0 at the root).
    std::vector<const CElementDossier*> CollecterElements();
    // The element of an item; null for none.
    CElementDossier* GetElement(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemDeElement(int index) const;

    // The commands, for the pop-up menu and the frame's menus.
    void OnMonter();
    void OnDescendre();
    void OnSortir();
    void OnEntrer();
    void OnSupprimer();
    void OnEditCopy();
    void OnEditPaste();
    void OnChangerChampEtude();
    void OnChangerRedressement();
    void OnChangerNiveau();
    // "Présentation des tableaux" on the user's defaults; on OK the concerned tables take the
    // chosen presentation (their requests too) and are shown again, without being computed.
    void OnChangerPresentation();
    void OnAfficherNonReponses();
    void OnSupprimerNonReponses();

    std::unique_ptr<QMenu> CreateContextMenu();

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnUpdateSelection(CCmdUI& ui);
    void OnUpdatePaste(CCmdUI& ui);
    void OnUpdateEnabled(CCmdUI& ui);
    void OnUpdateDisabled(CCmdUI& ui);

    QTreeWidgetItem* NouvelItem(int index);
    void MettreAJourItem(QTreeWidgetItem& item);
    void Deplacer(bool moved);
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void OnItemDoubleClicked(QTreeWidgetItem* item, int column);

    // The selected items (every top item when none is selected) with their descendants, each
    // once, in tree order.
    std::vector<QTreeWidgetItem*> ItemsConcernes(bool allWhenNoneSelected) const;
    // The selected items whose ancestors are not selected, in tree order.
    std::vector<QTreeWidgetItem*> SelectionSansDescendants() const;
    // Applies the change to the request of every concerned element that has one, then computes
    // them again; the windows of the portfolio's tables close first.
    template <class Change> void ChangerParLot(Change change, bool allWhenNoneSelected);
    void ChangerNonReponses(bool afficher);
    void InsererColles(int first, const std::vector<std::int32_t>& depths);

    static const CommandEntry<CDossierView> kCommandMap[];

    std::array<QIcon, 3> m_images;
    bool m_editingLabel = false;
    bool m_filling = false;
};
