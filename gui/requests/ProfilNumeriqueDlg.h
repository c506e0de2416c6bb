#pragma once

#include "gui/requests/PairProfileDialog.h"
#include "gui/requests/QuestionTreeMoves.h"

#include <memory>

// "Profils numériques": the active and the illustrative numeric questions of an analysis, a pair
// of profiles kept under a name in the questionnaire. The numeric questions of the interviews
// are moved from the questionnaire tree into the active tree, from there to the illustrative
// tree, and back.
class CProfilNumeriqueDlg : public PairProfileDialog {
    Q_OBJECT

public:
    enum { IDD = 229 };

    CProfilNumeriqueDlg(CContexteEtude& context, const CProfil& active, const CProfil& illustrative,
                        QWidget* parent = nullptr);
    ~CProfilNumeriqueDlg() override;

private:
    void MoveCurrent(QTreeWidget& source, QTreeWidget& target) override;
    void MoveAll(QTreeWidget& source, QTreeWidget& target) override;
    void MoveLine(QTreeWidget& tree, bool up) override;
    bool BuildProfiles(CProfil& active) override;
    void ShowProfiles(const CProfil& active) override;

    std::unique_ptr<QuestionTreeMoves> m_moves;
};
