#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

// "Bibliothèque des mots outils": the stop words of the library, shared by every survey. Words
// are added (folded, at most 50 characters) and removed while the dialog is open; "&OK" writes
// the changes to the library, "&Annuler" writes nothing.
class CBibliothequeMotsOutilsDlg : public QDialog {
    Q_OBJECT

public:
    // Asks the word to add ("Mot outil:"); false when cancelled.
    using SaisieMot = std::function<bool(std::string&)>;
    // Whether the user confirms the removal of the selected words.
    using Confirmation = std::function<bool()>;

    CBibliothequeMotsOutilsDlg(SaisieMot askWord, Confirmation confirm, QWidget* parent = nullptr);
    ~CBibliothequeMotsOutilsDlg() override;

    void OnAjouter();
    void OnEnlever();
    void accept() override;

    QListWidget& Liste() const { return *m_list; }
    const std::vector<std::string>& Ajoutes() const { return m_added; }
    const std::vector<std::string>& Enleves() const { return m_removed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SaisieMot m_askWord;
    Confirmation m_confirm;
    std::vector<std::string> m_words;
    std::vector<std::string> m_added;
    std::vector<std::string> m_removed;
    QListWidget* m_list;
};
