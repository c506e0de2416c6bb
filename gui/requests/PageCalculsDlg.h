#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class CCalcul;
class CCalculListCtrl;
class CContexteEtude;
class CTraitement;
class LineStyleButtons;

// The calculations page: the calculation lines of one side of a request (side 0 the rows, 1 the
// columns), chosen, ordered, renamed and styled among the copies of one of the context's lists
// (mode 1 closed questions, 2 cross tables, 3 numeric questions, 6 mean tables; any other mode
// offers none). The page owns the copies; the request receives copies of the kept ones.
class CPageCalculsDlg : public QWidget {
    Q_OBJECT

public:
    using Calculs = std::vector<std::unique_ptr<CCalcul>>;

    CPageCalculsDlg(CContexteEtude& context, int side, std::int16_t mode, QWidget* parent = nullptr);
    ~CPageCalculsDlg() override;

    // Shows the request's calculations of the page's side first, in their order, kept with their
    // options and labels; every other calculation not kept. A calculation of a code the list does
    // not offer is skipped.
    void LireTraitement(const CTraitement& request);
    // The kept calculations, in the order of the list, become the request's calculations of the
    // page's side.
    void EcrireTraitement(CTraitement& request) const;
    // At least one calculation kept; otherwise the analyst is told so and the answer is false.
    bool Valider() const;

    int GetSide() const { return m_side; }
    CCalculListCtrl& GetList() const { return *m_list; }
    LineStyleButtons& GetButtons() const { return *m_buttons; }

signals:
    // The analyst changed a calculation.
    void changed();

private:
    const Calculs& RequestCalculations(const CTraitement& request) const;

    CContexteEtude& m_context;
    int m_side;
    Calculs m_calculations;
    CCalculListCtrl* m_list;
    LineStyleButtons* m_buttons;
};
