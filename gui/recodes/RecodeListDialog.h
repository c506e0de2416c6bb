#pragma once

#include "app/Message.h"

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class CContexteEtude;
class CQuestionEtendue;
class CRecodage;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// What the interval and discrete-value dialogs share: the label of the recoded question, its
// unit, the editable list of entries (bounds or values, kept ascending: Insert adds an entry at 0
// and opens it for editing, Delete removes the selected ones, F2 edits one) and the preview of
// the modalities the recode would make with the number of interviews each would receive,
// refreshed after every change. The answers of the question are read once, when the dialog opens.
//
// The dialog owns its working recode: a new one, or a copy of the recode of the question being
// edited. OK checks the list, then the label, fills the recode and stores it; the dialog stays
// open after a refusal or a failed save, and nothing is written.
class RecodeListDialog : public QDialog {
    Q_OBJECT

public:
    ~RecodeListDialog() override;

    QLineEdit& LabelEdit() const { return *m_label; }
    QLineEdit& UnitEdit() const { return *m_unit; }
    QTreeWidget& EntryList() const { return *m_entries; }
    QTreeWidget& PreviewList() const { return *m_preview; }
    QPushButton& OkButton() const { return *m_ok; }
    // The entries, ascending.
    const std::vector<double>& Entries() const { return m_values; }
    // The recode being edited (stored and with its key once OK succeeded).
    const CRecodage& Recode() const { return *m_recode; }

    void accept() override;

protected:
    // `question` is the question recoded; `edited`, when the dialog edits an existing recode, is
    // the recoded question (its recode is copied).
    RecodeListDialog(CContexteEtude& context, CQuestionEtendue& question, CQuestionEtendue* edited,
                     std::unique_ptr<CRecodage> fresh, const QString& title, QWidget* parent);

    // The working recode of a new recode of the kind `Recode`; none when an existing one is edited.
    template <class Recode>
    static std::unique_ptr<CRecodage> FreshRecode(CContexteEtude& context, const CQuestionEtendue* edited) {
        return edited == nullptr ? std::make_unique<Recode>(&context) : nullptr;
    }

    // Builds the shared widgets around the kind's own `options` (a layout of check boxes and
    // buttons); reads the answers and shows the recode. Called by the kinds' constructors.
    void Build(QLayout* options);

    CContexteEtude& Context() const { return m_context; }
    CRecodage& WorkingRecode() const { return *m_recode; }
    // The question's answers without the missing ones, ascending, as the kind compares them.
    const std::vector<double>& SortedAnswers() const { return m_answers; }
    void SetSortedAnswers(std::vector<double> answers) { m_answers = std::move(answers); }
    // The answers as read, missing ones left out, ascending.
    const std::vector<double>& PreparedAnswers() const { return m_prepared; }

    // Replaces every entry (sorted here) and refreshes both lists.
    void SetEntries(std::vector<double> values);
    void RefreshPreview();
    // Refreshes the preview when something the preview depends on changed.
    void OptionChanged() { RefreshPreview(); }
    // Tells the user why a typed entry is refused.
    void Warn(const Message& message) const;

    // ---- What each kind says ----
    // The text of an entry in the list.
    virtual QString EntryText(double value) const = 0;
    // Reads a typed entry; false refuses it (the user has been told why).
    virtual bool ReadEntry(const QString& text, double& value) const = 0;
    // Puts the entries and the options shown into the recode (label and unit are set already).
    virtual void FillRecode(CRecodage& recode) const = 0;
    // The captions and counts of the modalities the recode filled from the dialog would make.
    virtual void Preview(const CRecodage& recode, std::vector<std::string>& captions,
                         std::vector<long>& counts) const = 0;

private:
    void ReadAnswers();
    void ShowEntries();
    void OnEntryEdited(QTreeWidgetItem* item);
    void InsertEntry();
    void DeleteSelectedEntries();
    bool eventFilter(QObject* watched, QEvent* event) override;

    CContexteEtude& m_context;
    CQuestionEtendue& m_question;
    CQuestionEtendue* m_edited;
    std::unique_ptr<CRecodage> m_recode;
    std::vector<double> m_prepared;
    std::vector<double> m_answers;
    std::vector<double> m_values;
    QLineEdit* m_label;
    QLineEdit* m_unit;
    QTreeWidget* m_entries;
    QTreeWidget* m_preview;
    QPushButton* m_ok = nullptr;
    bool m_unitChanged = false;
};
