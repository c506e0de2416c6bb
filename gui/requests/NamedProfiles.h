#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CContexteEtude;
class CIdName;
class CProfil;
class QComboBox;
class QPushButton;
class QWidget;

// The named profiles of a profile dialog: the combo box "Libellé:" of the profiles stored in the
// questionnaire ("{Aucun}" first, standing for no name), with "&Nouveau" and "&Supprimer". The
// dialog edits the profile in its trees; this class keeps what is shown in step with the stored
// profiles: it loads the one chosen into the trees, asks whether to save changes before leaving
// it, saves under a name no other entry has, deletes, and builds the dialog's result.
//
// While "{Aucun}" is chosen the trees can be edited freely and nothing is to be saved; its name
// cannot be typed. An entry "Nouveau profil" (id 0) is not stored until it is saved.
class NamedProfiles : public QObject {
    Q_OBJECT

public:
    // The stored profiles of one kind. Each operation answers false with the database's text in
    // `error`.
    struct Store {
        std::function<bool(std::vector<std::unique_ptr<CIdName>>& out, std::string& error)> list;
        std::function<bool(std::int32_t id, CProfil& profile, std::string& error)> read;
        std::function<bool(std::int32_t& id, CProfil& profile, std::string& error)> save;
        std::function<bool(std::int32_t id, std::string& error)> remove;
    };
    // The profile lists of closed questions with their modalities, and of numeric or open
    // questions, in the questionnaire of the context.
    static Store ProfilsModalites(CContexteEtude& context);
    static Store ProfilsQuestions(CContexteEtude& context);
    // The pairs of the analysis windows, active and illustrative: the active profile goes through
    // the store's operations, the illustrative one through `illustrative`, which a read fills and
    // a save writes from (the dialog keeps it beside its trees).
    static Store PairesModalites(CContexteEtude& context, CProfil& illustrative);
    static Store PairesQuestions(CContexteEtude& context, CProfil& illustrative);

    // What the dialog does with its trees: build a profile from them (false, after telling the
    // analyst, when it holds no question), and show a profile in them.
    struct Trees {
        std::function<bool(CProfil& profile)> build;
        std::function<void(const CProfil& profile)> show;
    };

    static constexpr std::int32_t kAucun = -1;
    static constexpr std::int32_t kNouveau = 0;
    static constexpr int kMaxName = 50;

    NamedProfiles(CContexteEtude& context, Store store, Trees trees, QComboBox& names, QPushButton& nouveau,
                  QPushButton& supprimer, QWidget& dialog);

    // Lists the stored profiles and chooses the given profile's entry; a profile that is not a
    // named one, or whose name is no longer stored, is shown as it is under "{Aucun}". False when
    // the listing failed (the analyst has been told).
    bool Ouvrir(const CProfil& given);
    // The trees changed: something to save, unless "{Aucun}" is chosen.
    void Modifier();
    bool EstModifie() const { return m_modified; }
    std::int32_t GetCurrentId() const { return m_currentId; }
    const std::string& GetCurrentName() const { return m_currentName; }

    // Saves the trees under the current name; false, after telling the analyst, for a name
    // another entry has, an empty profile or a record that cannot be written.
    bool Sauvegarder();
    void Nouveau();
    void Supprimer();
    // OK: settles unsaved changes, then builds the result with the current name and id; false
    // when the dialog is to stay open.
    bool Terminer(CProfil& result);

private:
    void OnSelection(int index);
    void OnNameEdited();
    // Before leaving the entry shown: false when the analyst stays on it. `forOk`: on No, the
    // trees stay as a profile without name.
    bool SettleChanges(bool forOk);
    void DropNewEntry();
    void Charger();
    void RestoreName();
    void SelectQuietly(int index);
    std::int32_t IdAt(int index) const;
    void Warn(const std::string& text) const;

    CContexteEtude& m_context;
    Store m_store;
    Trees m_trees;
    QComboBox& m_names;
    QWidget& m_dialog;
    std::string m_currentName;
    bool m_modified = false;
    int m_currentIndex = -1;
    std::int32_t m_currentId = kAucun;
};
