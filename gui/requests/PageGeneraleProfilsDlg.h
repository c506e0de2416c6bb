#pragma once

#include "app/IdName.h"
#include "app/UserInterface.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/TypeFusion.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CContexteEtude;
class CPresentationTableau;
class CStyle;
class CTraitement;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The general page of an advanced table: the settings every request has (title, study field,
// weighting, level, presentation, merge options) and the table's style, the list of operations
// (CCalculEvolue) that fill it. Operations are added, edited, deleted and moved here; the list
// can be kept as a named style of the questionnaire ("MFW Style": new, save, delete) and carried
// to and from the shared library.
//
// Style states: none chosen (id 0), a new style not stored yet (id -1), a stored style (its key).
// Any edit of the operations, or of the name of a style chosen, marks the style changed; before
// a changed new or stored style is left (another style, a new one, one from the library, OK) the
// analyst is asked whether to save it: Yes saves, No forgets that it was a style (id 0, the
// operations stay in the list), Cancel stays. Style names are unique in the questionnaire.
// Nothing is written to the questionnaire or the library but by the save buttons and by Yes.
class CPageGeneraleProfilsDlg : public QWidget {
    Q_OBJECT

public:
    enum { IDD = 261 };
    using Operations = std::vector<std::unique_ptr<CCalculEvolue>>;

    // `presentation` and `level` are the request dialog's, which outlive the page; the level is
    // set to the context's current level at once.
    CPageGeneraleProfilsDlg(CContexteEtude& context, CPresentationTableau& presentation, const std::string& title,
                            std::int32_t& level, QWidget* parent = nullptr);
    ~CPageGeneraleProfilsDlg() override;

    // Fills the page from a request: its settings, and its style (the stored style of its key
    // when the questionnaire has it, else the request's own operations).
    void LireTraitement(const CTraitement& request);
    // Writes the settings and a copy of the listed operations, in list order, as the style.
    void EcrireTraitement(CTraitement& request) const;
    // False, with "Vous devez sélectionner au moins un traitement...", without any operation.
    bool Valider() const;
    // The question asked before a changed style is left; false when the analyst stays (Cancel,
    // or a save that failed).
    bool QuitterStyle();

    const Operations& GetOperations() const { return m_operations; }
    std::int32_t GetStyleId() const { return m_styleId; }
    bool EstModifie() const { return m_modified; }

    QLineEdit& TitleEdit() const { return *m_title; }
    QComboBox& StyleCombo() const { return *m_styles; }
    QTreeWidget& OperationList() const { return *m_list; }
    QPushButton& NewStyleButton() const { return *m_newStyle; }
    QPushButton& SaveStyleButton() const { return *m_saveStyle; }
    QPushButton& DeleteStyleButton() const { return *m_deleteStyle; }
    QPushButton& SaveToLibraryButton() const { return *m_toLibrary; }
    QPushButton& LoadFromLibraryButton() const { return *m_fromLibrary; }
    QPushButton& AddButton() const { return *m_add; }
    QPushButton& EditButton() const { return *m_edit; }
    QPushButton& DeleteButton() const { return *m_delete; }
    QPushButton& UpButton() const { return *m_up; }
    QPushButton& DownButton() const { return *m_down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* BuildSettings();
    QLayout* BuildStyleRow();
    QLayout* BuildOperations();
    void FillStyles();

    // Operations.
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void Move(int step);
    void ShowOperations(int selected);
    void FitColumns();
    int SelectedOperation() const;
    void SetModified();

    // Styles.
    void OnStyleChosen(int index);
    void OnNewStyle();
    bool SauverStyle();
    void OnSaveStyle();
    void OnDeleteStyle();
    void OnSaveToLibrary();
    void OnLoadFromLibrary();
    bool ChargerStyle(std::int32_t key);
    void ReplaceOperations(const CStyle& style);
    std::unique_ptr<CStyle> StyleOfList() const;
    bool CheckSomeOperation() const;
    bool NameTakenByAnother(const std::string& name);
    void ForgetStyle();
    void ShowStyle(int index, const std::string& name);
    std::string EntryName(int index) const;

    void OnStudyField();
    void OnWeighting();
    void OnLevel();
    void OnPresentation();
    void OnFusion();
    void ShowNames();
    void Tell(int messageId, UserInterface::Icon icon, const std::string& argument = {}) const;

    CContexteEtude& m_context;
    CPresentationTableau& m_presentation; // the request dialog's
    std::int32_t& m_level;                // the request dialog's
    CTypeFusion m_mergeOptions;
    CIdName m_studyField;
    CIdName m_weighting;
    CPageGeneraleDlg::Choosers m_choosers;
    std::int32_t m_styleId = 0;
    int m_styleIndex = -1; // the combo entry of the current style
    std::string m_styleName; // its name, as the analyst may have retyped it
    Operations m_operations;
    bool m_modified = false;

    QLineEdit* m_title;
    QLabel* m_studyFieldName;
    QLabel* m_weightingName;
    QLabel* m_levelName;
    QPushButton* m_presentationButton = nullptr;
    QPushButton* m_fusionButton = nullptr;
    QPushButton* m_studyFieldButton = nullptr;
    QPushButton* m_weightingButton = nullptr;
    QPushButton* m_levelButton = nullptr;
    QComboBox* m_styles = nullptr;
    QPushButton* m_newStyle = nullptr;
    QPushButton* m_saveStyle = nullptr;
    QPushButton* m_deleteStyle = nullptr;
    QPushButton* m_toLibrary = nullptr;
    QPushButton* m_fromLibrary = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};
