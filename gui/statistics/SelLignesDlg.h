#pragma once

#include "gui/statistics/ActiveIllustrativeDialog.h"

#include <cstdint>
#include <string>
#include <vector>

// "Sélection des lignes": labelled items (the rows or the columns of a table) split into active,
// illustrative and unused ones. On OK the caller's two lists (indexes into the labels,
// ascending) are replaced; no minimum is asked here, the analysis checks its own.
class CSelLignesDlg : public ActiveIllustrativeDialog {
    Q_OBJECT

public:
    enum { IDD = 245 };

    CSelLignesDlg(const std::vector<std::string>& libelles, std::vector<std::uint32_t>& actifs,
                  std::vector<std::uint32_t>& illustratifs, QWidget* parent = nullptr);

    void accept() override;

private:
    std::vector<std::uint32_t>& m_actifs;
    std::vector<std::uint32_t>& m_illustratifs;
};
