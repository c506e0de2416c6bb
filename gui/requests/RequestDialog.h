#pragma once

#include "presentation/PresentationTableau.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CContexteEtude;
class CPageArbreTotalDlg;
class CPageCalculsDlg;
class CPageGeneraleDlg;
class CPageGeneraleProfilsDlg;
class CPageQuestionsCalculsDlg;
class CPageRegroupementDlg;
class CQuestionEtendue;
class CTraitement;
class ProfilePage;
class QPushButton;
class QTabWidget;
struct RequestDialogKind;
struct RequestPage;

// A request dialog of the "&Tris" menu: the pages its member of the family stacks (see
// RequestDialogKind.cpp), or the tabs it puts them on, between "&OK" and "&Annuler". On OK every page checks itself, in order,
// and the first refusal keeps the dialog open with everything as it was; otherwise the dialog
// builds a new request (the type code, the axis kinds, then each page's part) and ends. The
// request is the caller's (TakeTraitement); after Cancel there is none.
//
// A dialog opened on an existing request fills its pages from it and leaves it untouched: the
// caller puts the new request in the old one's place.
class RequestDialog : public QDialog {
    Q_OBJECT

public:
    // A new request of a type code with the questions the frame chose: the row question, then
    // the column question (cross tables) or the numeric question (mean tables). Null when no
    // dialog builds that type, or when a question is missing.
    static std::unique_ptr<RequestDialog> PourNouvelleDemande(CContexteEtude& context, std::int16_t type,
                                                              const std::vector<CQuestionEtendue*>& questions,
                                                              QWidget* parent = nullptr);
    // The dialog of an existing request, on its type code and its questions. Null when no dialog
    // builds that type, or when the request no longer resolves (one of its questions is missing).
    static std::unique_ptr<RequestDialog>
    PourDemandeExistante(CContexteEtude& context, const CTraitement& existing, QWidget* parent = nullptr);

    ~RequestDialog() override;

    // The request built by OK; null before and after Cancel. TakeTraitement hands it over.
    CTraitement* GetTraitement() const { return m_request.get(); }
    std::unique_ptr<CTraitement> TakeTraitement();

    const RequestDialogKind& GetKind() const { return m_kind; }
    std::int16_t GetType() const { return m_type; }

    // The pages: the general page, the rows page on the dialog's question of an index, the
    // calculations page of a side; null when the dialog has none.
    CPageGeneraleDlg* GetPageGenerale() const { return m_general; }
    CPageQuestionsCalculsDlg* GetPageLignes(int question) const;
    CPageCalculsDlg* GetPageCalculs(int side) const;
    CPageRegroupementDlg* GetPageRegroupement() const { return m_grouping; }
    // The profile page of an axis (0 rows, 1 columns); null when the dialog has none.
    ProfilePage* GetPageProfil(int axis) const;
    CPageGeneraleProfilsDlg* GetPageStyle() const { return m_style; }
    // The tabs of a dialog whose pages are tabs; null for a dialog that stacks them.
    QTabWidget* GetTabs() const { return m_tabs; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& CancelButton() const { return *m_cancel; }

    // OK: the pages' checks, then the request.
    void accept() override;

private:
    // What one page does with a request.
    struct PagePart {
        std::function<bool()> check; // empty: nothing to check
        std::function<void(const CTraitement&)> read;
        std::function<void(CTraitement&)> write;
    };

    RequestDialog(CContexteEtude& context, const RequestDialogKind& kind, std::int16_t type,
                  std::vector<CQuestionEtendue*> questions, QWidget* parent);

    void CreatePages();
    void AddGeneralPage(int templateId);
    void AddRowsPage(int question, std::int16_t mode);
    void AddCalculationsPage(int side, std::int16_t mode);
    void AddGroupingPage(int question);
    void AddCalculationsPage(const RequestPage& page);
    void AddProfilePage(const RequestPage& page);
    void AddStylePage();
    // Puts the page below the previous one, or on the next tab.
    void Place(QWidget* page);
    // The statistics of the columns refused on a profile that is not all numeric.
    bool StatisticsAllowed() const;
    void AddButtons();
    void ReadRequest(const CTraitement& existing);
    std::unique_ptr<CTraitement> BuildRequest() const;
    std::string TitleFromQuestions() const;

    CContexteEtude& m_context;
    const RequestDialogKind& m_kind;
    std::int16_t m_type;
    std::vector<CQuestionEtendue*> m_questions; // not owned
    CPresentationTableau m_presentation;        // edited in place by the general page
    std::int32_t m_level = 0;                   // set by the general page
    std::vector<PagePart> m_parts;
    CPageGeneraleDlg* m_general = nullptr;
    std::vector<std::pair<int, CPageQuestionsCalculsDlg*>> m_rowsPages; // by the index of their question
    std::vector<CPageCalculsDlg*> m_calculationPages;
    CPageRegroupementDlg* m_grouping = nullptr;
    std::vector<std::pair<int, ProfilePage*>> m_profilePages; // by the axis they write
    CPageGeneraleProfilsDlg* m_style = nullptr;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::unique_ptr<CTraitement> m_request;
};
