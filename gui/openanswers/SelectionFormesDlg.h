#pragma once

#include <QDialog>
#include <map>
#include <vector>

class COuvCorpus;
class EntryList;
class QPushButton;

// "Sélection des formes": the entries of a corpus parted into the active forms of an open-answer
// typology, its illustrative forms and the remaining ones. Only valid entries met at least twice
// are offered: a form of one answer cannot bring two interviews together. "&OK" hands back the
// active and illustrative entries in list order (every list is sorted by frequency, the highest
// first, then by text); "&Annuler" leaves both arrays as they were.
class CSelectionFormesDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 206 };
    enum Liste { kFormes = 1, kActives = 2, kIllustratives = 3 };
    enum Bouton {
        kEnleverMotsOutils = 1006,
        kVersActives = 1007,
        kActivesVersIllustratives = 1008,
        kToutVersActives = 1009,
        kActivesVersFormes = 1010,
        kToutActivesVersIllustratives = 1011,
        kToutActivesVersFormes = 1012,
        kIllustrativesVersActives = 1013,
        kToutIllustrativesVersActives = 1014,
    };

    // The arrays are the caller's, replaced on OK; the corpus is borrowed.
    CSelectionFormesDlg(std::vector<int>& actives, std::vector<int>& illustratives, const COuvCorpus& corpus,
                        QWidget* parent = nullptr);

    EntryList& GetListe(Liste liste) const;
    QPushButton& GetBouton(Bouton bouton) const;

    // Selects exactly the active forms that are stop words and moves them to the remaining ones.
    void OnEnleverMotsOutils();
    void accept() override;

private:
    struct Move {
        Bouton bouton;
        Liste from;
        Liste to;
        bool all;
        const char* text;
        const char* tip;
    };
    static const Move kMoves[];

    void Fill();

    std::vector<int>& m_actives;
    std::vector<int>& m_illustratives;
    const COuvCorpus& m_corpus;
    std::map<Liste, EntryList*> m_lists;
    std::map<Bouton, QPushButton*> m_buttons;
};
