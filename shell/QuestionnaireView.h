#pragma once

#include "framework/CommandMap.h"
#include "framework/UtilArbre.h"
#include "framework/View.h"

#include <QPointer>
#include <QTreeWidget>
#include <memory>

class CMDIFrameWnd;
class CQuestionEtendue;
class QMenu;
class QuestionnaireViewHost;

// The tree of every question of the open survey, the analyst's main way through it: the current
// item is the question the main frame's commands act on; a double click opens the question's
// form; the right button offers the editing commands; Delete removes a derived question.
//
// Each item keeps the index of its question in the survey's list; its text (the question's name)
// and its icon are read from the survey each time the item is drawn, so that a change of the
// current level shows at the next repaint.
class CQuestionnaireView : public QTreeWidget, public CView {
    Q_OBJECT

public:
    // "Edition/Supprimer".
    static constexpr unsigned kEditionSupprimer = 32811;

    explicit CQuestionnaireView(QWidget* parent = nullptr);
    ~CQuestionnaireView() override;

    // Fills the tree and registers it with the main frame.
    void OnInitialUpdate() override;
    // Rebuilds the items from the survey's questions.
    void Remplir();
    // Repaints the items: their icons depend on the current level.
    void Rafraichir();

    // The question of the current item; null when there is none.
    CQuestionEtendue* GetQuestionSelectionnee() const;
    // The question of the current item and that of its parent item; false (the parent null) when
    // there is no current item or it stands at the root.
    bool GetQuestionEtParent(CQuestionEtendue*& question, CQuestionEtendue*& parent) const;

    // The question index an item stands for; -1 for none.
    static int IndexOf(const QTreeWidgetItem* item);

    // A new item for question `index`, last at the root, made current.
    void InsererQuestion(int index);
    // Under every root item of question `parentIndex`, a new last item for question `index`,
    // made current.
    void InsererQuestionSous(int index, int parentIndex);
    // Question `index + 1` was inserted in the list right after question `index`: below `start`
    // (the whole tree when null), the items of later questions are renumbered and the item of
    // question `index` gets a new first child for the new question, made current.
    void InsererQuestionRenumeroter(int index, QTreeWidgetItem* start = nullptr);
    // Question `index` left the list: below `start` its item goes and the later ones are
    // renumbered.
    void SupprimerQuestionRenumeroter(int index, QTreeWidgetItem* start = nullptr);
    // Expands the item and all its descendants (every item when null).
    void DeplierTout(QTreeWidgetItem* item = nullptr);

    const CUtilArbre& GetIcons() const { return m_icons; }

    // The pop-up editing menu, whose commands go through the main frame; null without a main
    // frame.
    std::unique_ptr<QMenu> CreateEditMenu();

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnEditionSupprimer();
    void OnUpdateEditionSupprimer(CCmdUI& ui);
    // The question of the current item when it may be deleted (a derived question under another).
    CQuestionEtendue* DeletableQuestion() const;

    QTreeWidgetItem* NewItem(int index) const;
    CMDIFrameWnd* MainFrame() const;
    QuestionnaireViewHost* Host() const;
    void RunOwnCommand(unsigned id);

    static const CommandEntry<CQuestionnaireView> kCommandMap[];

    CUtilArbre m_icons;
    // The frame this tree registered with, to unregister from when it goes.
    QPointer<CMDIFrameWnd> m_registeredWith;
};
