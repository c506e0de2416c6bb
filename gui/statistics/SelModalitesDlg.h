#pragma once

#include <QDialog>
#include <memory>
#include <vector>

class CContexteEtude;
class CModaliteEtendue;
class CPageQuestionsCalculsDlg;
class CQuestionEtendue;

// "Sélection des modalités": the modalities of one question that an analysis keeps, ticked on
// the question's modality page. The page starts from the caller's selection; OK needs at least
// one modality ticked and then replaces the selection by copies of the ticked modalities, in
// the page's order.
class CSelModalitesDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 252 };
    using Selection = std::vector<std::unique_ptr<CModaliteEtendue>>;

    CSelModalitesDlg(CContexteEtude& context, CQuestionEtendue& question, Selection& selection,
                     QWidget* parent = nullptr);
    ~CSelModalitesDlg() override;

    CPageQuestionsCalculsDlg& GetPage() const { return *m_page; }

    void accept() override;

private:
    Selection& m_selection;
    CPageQuestionsCalculsDlg* m_page;
};
