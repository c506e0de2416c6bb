#pragma once

#include "framework/UtilArbre.h"
#include "gui/requests/PairProfileDialog.h"

#include <memory>

class ModalityTreeMoves;

// "Profils": the active and the illustrative modalities of an analysis, a pair of profiles kept
// under a name in the questionnaire. The closed questions of the interviews, and their
// modalities, are moved from the questionnaire tree into the active tree, from there to the
// illustrative tree, and back.
class CProfilsActifsIllustratifsDlg : public PairProfileDialog {
    Q_OBJECT

public:
    enum { IDD = 217 };
    // Beside the buttons of the pair: the missing answers taken out of the active lines.
    static constexpr Button kSansManquantes = static_cast<Button>(1138);

    CProfilsActifsIllustratifsDlg(CContexteEtude& context, const CProfil& active, const CProfil& illustrative,
                                  QWidget* parent = nullptr);
    ~CProfilsActifsIllustratifsDlg() override;

private:
    void MoveCurrent(QTreeWidget& source, QTreeWidget& target) override;
    void MoveAll(QTreeWidget& source, QTreeWidget& target) override;
    void MoveLine(QTreeWidget& tree, bool up) override;
    void SansManquantes();
    bool BuildProfiles(CProfil& active) override;
    void ShowProfiles(const CProfil& active) override;

    std::unique_ptr<ModalityTreeMoves> m_trees;
};
