#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/IdName.h"
#include "recodes/RecodeChecks.h"

#include "framework/UtilArbre.h"

class CContexteEtude;
class CModaliteEtendue;
class CModaliteGroupe;
class CQuestionEtendue;
class CRecodageModalite;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Regroupement": the modalities of a closed question gathered into sub-totals, which may hold
// other sub-totals. Left, the question's modalities (marked while a sub-total holds them); right,
// the tree of sub-totals and the modalities under them, edited with the buttons and their keys:
// Insert a new sub-total, Space (or a double click on the left) adds the selected modalities,
// Alt+arrows move the current item with what it holds, Delete removes it. A sub-total's caption is
// edited in place. OK refuses an empty tree, a modality holding other items and a sub-total
// without any modality below it, selecting the faulty item; then the label is checked, the recode
// stored and its question added to the survey, or rebuilt when the dialog edits one.
//
// The two library buttons keep a grouping in the shared library under its label, and bring one
// back onto this question in place of the tree shown.
class CRegroupementDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 188 };

    // Lets the user pick one recode of the library; false when cancelled. The selection dialog
    // belongs to the request dialogs, which sit above this folder: the caller hands it in.
    using RecodePicker = std::function<bool(std::vector<CIdName> recodes, QWidget* parent, std::int32_t& chosen)>;

    // A new grouping of `question`.
    CRegroupementDlg(CContexteEtude& context, CQuestionEtendue& question, QWidget* parent = nullptr);
    // The grouping that made `edited` from `question`.
    CRegroupementDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& question,
                     QWidget* parent = nullptr);
    ~CRegroupementDlg() override;

    QLineEdit& LabelEdit() const { return *m_label; }
    QTreeWidget& SourceTree() const { return *m_source; }
    QTreeWidget& GroupTree() const { return *m_groups; }
    QCheckBox& CumulBox() const { return *m_cumul; }
    QPushButton& NewGroupButton() const { return *m_newGroup; }
    QPushButton& AddButton() const { return *m_add; }
    QPushButton& UpButton() const { return *m_up; }
    QPushButton& DownButton() const { return *m_down; }
    QPushButton& OutButton() const { return *m_out; }
    QPushButton& InButton() const { return *m_in; }
    QPushButton& DeleteButton() const { return *m_delete; }
    QPushButton& LibrarySaveButton() const { return *m_librarySave; }
    QPushButton& LibraryLoadButton() const { return *m_libraryLoad; }
    // Without a picker the library cannot be read from: its button is disabled.
    void SetRecodePicker(RecodePicker picker);
    QPushButton& OkButton() const { return *m_ok; }
    const CRecodageModalite& Recode() const { return *m_recode; }
    // Whether the source item of that row is held by a sub-total.
    bool IsUsed(int sourceRow) const;

    void accept() override;

private:
    void Init(CQuestionEtendue* edited);
    void BuildWidgets();
    void FillSource();
    void FillGroupsFromRecode();
    QTreeWidgetItem* NewNodeItem(std::unique_ptr<CModaliteGroupe> model);
    // The question's modality of that code; null for a group (0) or a code it does not have.
    const CModaliteEtendue* SourceModality(std::int32_t code) const;
    // A node standing for the modality, with its captions in every language.
    std::unique_ptr<CModaliteGroupe> NodeOfModality(const CModaliteEtendue& modality) const;
    void NewGroup();
    void AddSelected();
    void DeleteCurrent();
    void RefreshUsedMarks();
    void OnGroupEdited(QTreeWidgetItem* item, int column);
    // The recode the tree, the label and the options make; a refused tree is shown to the user
    // (its faulty item selected) and answers none.
    std::optional<std::unique_ptr<CRecodageModalite>> RecodeFromTree();
    void SaveToLibrary();
    void LoadFromLibrary();
    bool eventFilter(QObject* watched, QEvent* event) override;

    CContexteEtude& m_context;
    CQuestionEtendue& m_question;
    CQuestionEtendue* m_edited = nullptr;
    std::unique_ptr<CRecodageModalite> m_recode;
    // The node each item of the right tree stands for (its captions in every language), by the
    // index the item carries.
    std::vector<std::unique_ptr<CModaliteGroupe>> m_models;
    int m_groupCounter = 0;
    CUtilArbre m_images;
    QLineEdit* m_label;
    QTreeWidget* m_source;
    QTreeWidget* m_groups;
    QCheckBox* m_cumul;
    QPushButton* m_newGroup;
    QPushButton* m_add;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_out;
    QPushButton* m_in;
    QPushButton* m_delete;
    QPushButton* m_librarySave;
    QPushButton* m_libraryLoad;
    QPushButton* m_ok = nullptr;
    RecodePicker m_picker;
};
