#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QPushButton;
class QTreeWidget;

// What the interview and line selection dialogs share: three lists of numbered items ("Non
// sélectionné", "Actif", "Illustratif"), each kept in ascending order of the items' numbers, and
// the buttons that move the selected items, all items, or (when the dialog offers it) the items
// of a study field between the left and middle lists and between the middle and right lists.
//
// Every item is in exactly one list. The dialog edits its own copies of the active and
// illustrative lists; the caller takes them back after OK.
class ActiveIllustrativeDialog : public QDialog {
    Q_OBJECT

public:
    enum Liste { kNonSelectionne = 1119, kActif = 1120, kIllustratif = 1121 };
    enum Bouton {
        kVersActif = 1007,
        kToutVersActif = 1009,
        kChampVersActif = 1008,
        kActifVersNon = 1010,
        kToutActifVersNon = 1012,
        kChampActifVersNon = 1011,
        kActifVersIllustratif = 1013,
        kToutActifVersIllustratif = 1014,
        kChampActifVersIllustratif = 1015,
        kIllustratifVersActif = 1016,
        kToutIllustratifVersActif = 1017,
        kChampIllustratifVersActif = 1018,
    };

    QTreeWidget& GetListe(Liste liste) const;
    QPushButton& GetBouton(Bouton bouton) const;
    // The numbers of a list's items, in list order (ascending).
    std::vector<std::uint32_t> Numeros(Liste liste) const;
    // The numbers of the selected items of a list, in ascending order.
    std::vector<std::uint32_t> NumerosChoisis(Liste liste) const;

protected:
    // `count` candidates numbered 0 .. count - 1, each labelled by `label`; the study-field
    // buttons only when `byStudyField` is given (it answers the numbers of the source that pass
    // the field the analyst chooses, or nothing on cancel).
    using Labeller = std::function<QString(std::uint32_t)>;
    using StudyFieldFilter = std::function<std::vector<std::uint32_t>(const std::vector<std::uint32_t>&)>;
    ActiveIllustrativeDialog(const QString& caption, std::uint32_t count, Labeller label,
                             const std::vector<std::uint32_t>& actifs, const std::vector<std::uint32_t>& illustratifs,
                             StudyFieldFilter byStudyField, QWidget* parent);

private:
    struct Move {
        Bouton bouton;
        Liste from;
        Liste to;
        enum Kind { kSelected, kAll, kStudyField } kind;
        const char* text;
        const char* tip;
    };
    static const Move kMoves[];

    void Fill(std::uint32_t count, const std::vector<std::uint32_t>& actifs,
              const std::vector<std::uint32_t>& illustratifs);
    void Run(const Move& move);
    // Takes the numbers out of `from` and puts them into `to`, which is sorted again.
    void Transfer(Liste from, Liste to, const std::vector<std::uint32_t>& numbers);
    void SetNumbers(Liste liste, const std::vector<std::uint32_t>& numbers);

    Labeller m_label;
    StudyFieldFilter m_byStudyField;
    std::map<Liste, QTreeWidget*> m_lists;
    std::map<Bouton, QPushButton*> m_buttons;
};
