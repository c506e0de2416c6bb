#pragma once

#include "framework/UtilArbre.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class CMultiTree;
class CQuestionEtendue;
class QShowEvent;
class QTreeWidgetItem;

// "Sélection d'une question": the survey's questions as a tree by outline depth, of which the
// filter lets only some be chosen (the others show the icon of an item that may not be chosen).
// One question is chosen, or several with multiple selection; a first item "Aucune" may stand
// for no question. A question that cannot be used at the current level is refused.
//
// The caller sets the title and the two options after construction, before the dialog is shown.
class CSelQuestionDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 166 };

    // Which questions may be chosen; any other value lets every item be chosen.
    enum Filtre : std::int16_t {
        kFermees = 0,                           // closed questions
        kTout = 1,                              // every item
        kNumeriques = 2,                        // numeric questions
        kFermeesSansClassement = 3,             // closed questions without the ranking flag
        kFermeesSansClassementOuNumeriques = 4, // those, and numeric questions that are not closed
        kHorsChapitres = 5,                     // every item but the chapters
        kOuvertes = 6,                          // open questions
    };

    // The item data of "Aucune".
    static constexpr int kAucune = -1;
    // The icon index an item shows, beside its question index in Qt::UserRole.
    static constexpr int kImageRole = Qt::UserRole + 1;
    // The icons of an item that may not be chosen, and of "Aucune".
    static constexpr int kImageInterdite = 8;
    static constexpr int kImageAucune = 9;

    explicit CSelQuestionDlg(std::int16_t filter, QWidget* parent = nullptr);
    CSelQuestionDlg(std::int16_t filter, CQuestionEtendue* initialQuestion, QWidget* parent = nullptr);
    ~CSelQuestionDlg() override;

    // When not empty, the window's caption in place of "Sélection d'une question".
    void SetTitle(const QString& title) { m_title = title; }
    // Offers a first item "Aucune" (no question).
    void SetWithNone(bool withNone) { m_withNone = withNone; }
    // Lets several questions be chosen.
    void SetMultipleSelection(bool multiple) { m_multipleSelection = multiple; }

    // After OK: the chosen question, null for "Aucune"; with multiple selection, the chosen
    // questions in tree order (none when nothing was selected).
    CQuestionEtendue* GetQuestion() const { return m_chosenQuestion; }
    const std::vector<CQuestionEtendue*>& GetQuestions() const { return m_chosenQuestions; }

    // Whether the filter lets the question be chosen.
    bool EstAutorisee(const CQuestionEtendue& question) const;

    CMultiTree& GetTree() const { return *m_tree; }
    const CUtilArbre& GetIcons() const { return m_icons; }

    // OK: keeps the dialog open with a message when the choice is refused.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void Remplir();
    void AcceptOne();
    void AcceptSeveral();
    // Tells why the choice is refused, after a beep when asked; the dialog stays open.
    void Refuse(int messageId, bool beep) const;
    // The item's question when it may be chosen at the current level; otherwise refuses (and
    // answers null).
    CQuestionEtendue* AcceptableQuestion(const QTreeWidgetItem& item) const;

    CMultiTree* m_tree;
    QString m_title;
    std::int16_t m_filter;
    CQuestionEtendue* m_chosenQuestion = nullptr;
    CQuestionEtendue* m_initialQuestion;
    bool m_withNone = false;
    bool m_multipleSelection = false;
    std::vector<CQuestionEtendue*> m_chosenQuestions; // not owned
    CUtilArbre m_icons;
    bool m_initialised = false;
};
