#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class CContexteEtude;
class CModaliteEtendue;
class CModaliteListCtrl;
class CQuestionEtendue;
class CTraitement;
class LineStyleButtons;

// The question-rows page: one question of a request shown as its future table lines, which the
// analyst ticks, orders, renames and styles. The lines are the question's modalities (with the
// selection and display options the last request left on them), then a copy of the context's
// Total of the page's side, then, by mode, calculation lines from one of the context's lists
// (1 closed questions, 2 cross tables, 3 numeric questions, 6 mean tables; 0 none).
//
// The page reads and writes one axis of a request. It owns its lines; the question is the
// survey's.
class CPageQuestionsCalculsDlg : public QWidget {
    Q_OBJECT

public:
    using Lines = std::vector<std::unique_ptr<CModaliteEtendue>>;

    // Total side: 0 the rows' Total, any other the columns'. Mode 0: no calculation line.
    CPageQuestionsCalculsDlg(CContexteEtude& context, CQuestionEtendue* question, int totalSide,
                             bool withTotal, QWidget* parent = nullptr);
    CPageQuestionsCalculsDlg(CContexteEtude& context, CQuestionEtendue* question, int totalSide,
                             bool withTotal, std::int16_t mode, QWidget* parent = nullptr);
    ~CPageQuestionsCalculsDlg() override;

    // The ticked lines, in the order of the list, become the lines of the axis.
    void EcrireTraitement(CTraitement& request, int axis) const;
    // Shows the lines of the request's axis first, in their order, ticked with their options and
    // labels; every other line unticked. A calculation line matches only a calculation line of
    // the same code, any other line only a line of the same code that is not a calculation.
    void LireTraitement(const CTraitement& request, int axis);
    // At least one line ticked; otherwise the analyst is told so and the answer is false.
    bool Valider() const;
    // A copy of every line, ticked or not, in the order they were built.
    void GetLignes(Lines& out) const;

    CQuestionEtendue* GetQuestion() const { return m_question; }
    CModaliteListCtrl& GetList() const { return *m_list; }
    LineStyleButtons& GetButtons() const { return *m_buttons; }

signals:
    // The analyst changed a line.
    void changed();

private:
    void BuildLines(int totalSide, bool withTotal, std::int16_t mode);

    CContexteEtude& m_context;
    CQuestionEtendue* m_question; // not owned
    Lines m_lines;
    CModaliteListCtrl* m_list;
    LineStyleButtons* m_buttons;
};
