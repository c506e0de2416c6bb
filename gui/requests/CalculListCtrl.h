#pragma once

#include "gui/requests/LineListWidget.h"

#include <QString>
#include <memory>
#include <vector>

class CCalcul;

// The calculation lines a page offers, one row each under a single column: the tick box is the
// calculation's kept flag, the label is drawn in the calculation's style.
class CCalculListCtrl : public LineListWidget {
    Q_OBJECT

public:
    using Calculs = std::vector<std::unique_ptr<CCalcul>>;

    explicit CCalculListCtrl(QWidget* parent = nullptr);

    // One column titled `title` and one row per calculation of `calculations`, which stay the
    // caller's and must outlive the list.
    void Initialiser(const QString& title, Calculs& calculations);

protected:
    int LineCount() const override;
    bool IsTicked(int line) const override;
    void SetTicked(int line, bool ticked) override;
    Options GetOptions(int line) const override;
    void SetOptions(int line, const Options& options) override;
    std::string GetLabel(int line) const override;
    void SetLabel(int line, const std::string& label) override;

private:
    CCalcul& Line(int line) const;

    Calculs* m_calculations = nullptr; // not owned
};
