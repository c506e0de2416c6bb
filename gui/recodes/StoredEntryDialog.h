#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class CContexteEtude;
class QComboBox;

// A dialog that picks one of the survey's stored definitions from an editable combo (its entries
// carry their ids, 0 for a new one not yet stored) and edits the entry shown in a working copy.
// Changes are saved on demand: leaving a changed entry asks whether to save it; on No an unsaved
// new entry leaves the list. The study-field and weighting dialogs are made this way.
class StoredEntryDialog : public QDialog {
public:
    bool EstModifie() const { return m_modified; }
    // Saves the entry shown; false (after telling the user) when it is refused or cannot be
    // written.
    virtual bool Enregistrer() = 0;

protected:
    static constexpr std::int32_t kNotStored = 0;

    // `idWithoutEntry` is the id read where the combo shows no entry (the survey's whole, or no
    // weighting).
    StoredEntryDialog(CContexteEtude& context, std::int32_t idWithoutEntry, QWidget* parent);

    // Shows the entry of m_current from the survey.
    virtual void Charger() = 0;
    // The name of the entry shown, as the working copy holds it.
    virtual std::string NomAffiche() const = 0;
    // Deletes the stored entry of the id; false with the database's text.
    virtual bool Effacer(std::int32_t id, std::string& error) = 0;

    // Settles unsaved changes before leaving the entry shown: false when the user stays (Cancel,
    // or a save that failed).
    bool SettleChanges();
    void DropNewEntry();
    void SelectQuietly(int index);
    std::int32_t IdAt(int index) const;
    void OnSelection(int index);
    // "&Supprimer": the entry shown, once the analyst agrees, from the survey and the list; the
    // first entry is shown next.
    void OnSupprimer();
    void OnModifie() { m_modified = true; }

    CContexteEtude& m_context;
    QComboBox* const m_names;
    int m_current = -1; // the entry shown
    bool m_modified = false;

private:
    const std::int32_t m_idWithoutEntry;
};
