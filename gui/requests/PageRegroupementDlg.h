#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class CContexteEtude;
class CListCtrlBarres;
class CModaliteEtendue;
class CQuestionEtendue;
class CRecodageModalite;
class CTraitement;
class LineStyleButtons;

// The grouping page: the row side of the grouped tables, the nodes of a question's grouping
// (groups and their members) as the lines of the table, which the analyst orders by blocks,
// sorts within their groups, renames and styles. Each line shows its count: the weight of the
// interviews in the node's group, on the population the request is computed on.
//
// A new page shows the question's grouping as it is; a page that reads a request shows the
// request's own grouping (its order, captions, levels and styles), so that a grouped table edited
// again gives back its request unless the analyst changes it. The page owns its lines; the
// question is the survey's.
class CPageRegroupementDlg : public QWidget {
    Q_OBJECT

public:
    // Each line is a CModaliteGroupe.
    using Lines = std::vector<std::unique_ptr<CModaliteEtendue>>;

    CPageRegroupementDlg(CContexteEtude& context, CQuestionEtendue* question, QWidget* parent = nullptr);
    ~CPageRegroupementDlg() override;

    // Every line, in the order of the list, becomes both the lines and the grouping of the axis.
    void EcrireTraitement(CTraitement& request, int axis) const;
    // Shows the grouping of the request's axis, counted on the request's level, study field and
    // weighting; a request without grouping on that axis changes nothing.
    void LireTraitement(const CTraitement& request, int axis);
    // At least one line kept; otherwise the analyst is told so and the answer is false.
    bool Valider() const;

    CQuestionEtendue* GetQuestion() const { return m_question; }
    CListCtrlBarres& GetList() const { return *m_list; }
    LineStyleButtons& GetButtons() const { return *m_buttons; }
    // The count of each line, in the order the lines were built; empty when they could not be
    // counted.
    const std::vector<double>& GetEffectifs() const { return m_counts; }

signals:
    // The analyst changed a line.
    void changed();

private:
    void ShowGrouping(const CRecodageModalite* grouping, int level, std::int32_t studyField,
                      std::int32_t weighting);

    CContexteEtude& m_context;
    CQuestionEtendue* m_question; // not owned
    Lines m_lines;
    std::vector<double> m_counts;
    CListCtrlBarres* m_list;
    LineStyleButtons* m_buttons;
};
