#pragma once

#include "framework/CommandMap.h"
#include "framework/View.h"

#include <QTreeWidget>
#include <memory>

class COuvConcordanceDoc;
class CTableau;

// The concordance list: one line per place, the interview number, the left context
// (right-aligned), the entry (centred) and the right context, without captions. A click on the
// first, second or fourth heading sorts by interview, by the left context from the word nearest
// the entry outwards, or by the right context.
class COuvConcordanceView : public QTreeWidget, public CView {
    Q_OBJECT

public:
    static constexpr unsigned kExporterWord = 32800;
    static constexpr unsigned kAjouterAuDossier = 32786;
    enum Colonne { kInterview = 0, kGauche = 1, kEntree = 2, kDroite = 3 };

    explicit COuvConcordanceView(QWidget* parent = nullptr);
    ~COuvConcordanceView() override;

    void OnInitialUpdate() override;
    // The lines in list order: left context, entry and right context as three row levels.
    std::unique_ptr<CTableau> TableauDeLaListe() const;
    void Trier(int column);

    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    COuvConcordanceDoc* GetDoc() const;
    void OnExporterWord();
    void OnAjouterAuDossier();
    void OnUpdateAjouterAuDossier(CCmdUI& ui);

    static const CommandEntry<COuvConcordanceView> kCommandMap[];
};
