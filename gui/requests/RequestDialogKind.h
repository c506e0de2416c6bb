#pragma once

#include <cstdint>
#include <vector>

// One member of the family of request dialogs: what it is called, the request it builds and the
// pages it stacks. Every request dialog is the same dialog (RequestDialog) run on one of these.

// One page of a request dialog; the pages are stacked from top to bottom in the order of the
// member's list, they are checked in that order on OK, and they write into the request in that
// order.
struct RequestPage {
    enum Kind : std::uint8_t {
        kGenerale, // the general page (CPageGeneraleDlg) of `templateId`: 153 with "&Fusion...", 168 without
        kLignes,   // a question-rows page (CPageQuestionsCalculsDlg) on the dialog's question
                   // `question`, writing the axis of the same index
        kCalculs,  // a calculations page (CPageCalculsDlg) on `side` (0 rows, 1 columns)
        kRegroupement, // the grouping page (CPageRegroupementDlg) on the dialog's question `question`,
                       // writing the axis of the same index
        kProfil,   // the profile page of closed questions (CPageArbreTotalDlg), writing the axis `side`
        kProfilQuestions, // the profile page of numeric questions (CPageArbreDlg), writing the axis `side`
        kProfilOuvertes,  // the profile page of open questions (CPageArbreOuvDlg), writing the rows
        kStyle,    // the general page of advanced tables with their style (CPageGeneraleProfilsDlg)
    };

    Kind kind;
    int templateId = 0;
    int question = 0;
    std::int16_t mode = 0; // the calculation list offered: 1 closed, 2 cross, 3 numeric, 6 mean tables
    int side = 0;
    // Profile pages of closed questions: the box "Total" shown (and ticked), and every question
    // required to have as many modalities as the first.
    bool totalShown = false;
    bool sameNumber = false;
    // Whether OK checks the page; a calculations page left unchecked may have nothing ticked.
    bool checked = true;
    // The caption of the tab the page is put on; null on a dialog that stacks its pages.
    const char* tab = nullptr;
};

// The calculation list that a request's row calculations become the defaults of.
enum class CalculationDefaults : std::uint8_t { kAucune, kQualitatifs, kCroises, kNumeriques, kMoyennes };

struct RequestDialogKind {
    int templateId;
    const char* caption;
    const char* className;
    // The type codes the dialog builds: the command's, or the edited request's (2 and 16 share
    // the cross-table dialog).
    std::vector<std::int16_t> typeCodes;
    std::int16_t rowKind;
    std::int16_t columnKind;
    // The questions the new dialog takes: the row question, then the column or numeric question.
    int questionCount;
    std::vector<RequestPage> pages;
    // The dialog's question of this index is set without lines on the axis of the same index
    // (SetQuestionAxe, before the pages write); -1 none.
    int plainQuestion = -1;
    // What the frame writes back onto the context after OK: the row lines onto the row question,
    // the column lines onto the column question, the row calculations as the defaults of a list.
    bool rowsAsDefaults = false;
    bool columnsAsDefaults = false;
    CalculationDefaults calculationDefaults = CalculationDefaults::kAucune;
    // The title the general page starts with (a string id), in place of the questions' captions;
    // 0 for the questions' captions.
    int fixedTitle = 0;
    // The statistics asked on the columns' calculations page are refused unless every question
    // of the rows' profile is numeric.
    bool statisticsOnNumericProfile = false;

    // Whether the dialog has the general page without "&Fusion...": its tables always open in a
    // window.
    bool AlwaysInWindow() const;
    // Whether the pages are put on tabs rather than stacked.
    bool OnTabs() const;
};

// The member that builds requests of a type code; null when no dialog builds them.
const RequestDialogKind* FindRequestDialogKind(std::int16_t type);
// Every member, in the order of the "&Tris" menu's templates.
const std::vector<RequestDialogKind>& RequestDialogKinds();
