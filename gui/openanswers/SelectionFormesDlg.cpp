#include "gui/openanswers/SelectionFormesDlg.h"

#include "gui/openanswers/EntryList.h"
#include "gui/requests/SelectionButtons.h"
#include "openanswers/Forme.h"
#include "openanswers/OuvCorpus.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kTextWidth = 120;
constexpr int kListWidth = kTextWidth + 50 + 30;
constexpr int kListHeight = 300;
// A form of a single answer brings no two interviews together.
constexpr int kFrequenceMinimum = 2;

bool Contains(const std::vector<int>& entries, int entry) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}
} // namespace

// clang-format off
const CSelectionFormesDlg::Move CSelectionFormesDlg::kMoves[] = {
    {kVersActives,                  kFormes,        kActives,       false, ">",  "Rendre actives les formes choisies"},
    {kActivesVersFormes,            kActives,       kFormes,        false, "<",  "Retirer les formes actives choisies"},
    {kToutVersActives,              kFormes,        kActives,       true,  ">>", "Rendre actives toutes les formes"},
    {kToutActivesVersFormes,        kActives,       kFormes,        true,  "<<", "Retirer toutes les formes actives"},
    {kActivesVersIllustratives,     kActives,       kIllustratives, false, ">",  "Rendre illustratives les formes actives choisies"},
    {kIllustrativesVersActives,     kIllustratives, kActives,       false, "<",  "Rendre actives les formes illustratives choisies"},
    {kToutActivesVersIllustratives, kActives,       kIllustratives, true,  ">>", "Rendre illustratives toutes les formes actives"},
    {kToutIllustrativesVersActives, kIllustratives, kActives,       true,  "<<", "Rendre actives toutes les formes illustratives"},
};
// clang-format on

CSelectionFormesDlg::CSelectionFormesDlg(std::vector<int>& actives, std::vector<int>& illustratives,
                                         const COuvCorpus& corpus, QWidget* parent)
    : QDialog(parent), m_actives(actives), m_illustratives(illustratives), m_corpus(corpus) {
    setWindowTitle(QStringLiteral("Sélection des formes"));
    auto* grid = new QGridLayout;
    const std::pair<Liste, const char*> lists[] = {{kFormes, "Formes"}, {kActives, "Actif"}, {kIllustratives, "Inactives"}};
    int column = 0;
    for (const auto& [id, heading] : lists) {
        auto* list = new EntryList(id, QString::fromUtf8(heading), kTextWidth, this);
        list->SetCorpus(&corpus);
        list->setMinimumSize(kListWidth, kListHeight);
        m_lists[id] = list;
        grid->addWidget(list, 0, column);
        column += 2;
    }
    // The buttons between two lists move their items either way.
    const auto addButtons = [this, grid](Liste side, int gridColumn) {
        auto* box = new QVBoxLayout;
        box->addStretch();
        for (const Move& move : kMoves) {
            if (move.from != side && move.to != side)
                continue;
            auto* button = new QPushButton(QString::fromUtf8(move.text), this);
            button->setObjectName(QString::number(move.bouton));
            button->setToolTip(QString::fromUtf8(move.tip));
            connect(button, &QPushButton::clicked, this,
                    [this, &move] { m_lists.at(move.from)->Deplacer(*m_lists.at(move.to), move.all); });
            m_buttons[move.bouton] = button;
            box->addWidget(button);
        }
        box->addStretch();
        grid->addLayout(box, 0, gridColumn);
    };
    addButtons(kFormes, 1);
    addButtons(kIllustratives, 3);
    auto* stopWords = new QPushButton(QStringLiteral("Enlever les mots-outil..."), this);
    stopWords->setObjectName(QString::number(kEnleverMotsOutils));
    connect(stopWords, &QPushButton::clicked, this, [this] { OnEnleverMotsOutils(); });
    m_buttons[kEnleverMotsOutils] = stopWords;
    grid->addWidget(stopWords, 1, 2, Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddOkCancelButtons(*this, *layout);
    Fill();
}

EntryList& CSelectionFormesDlg::GetListe(Liste liste) const {
    return *m_lists.at(liste);
}

QPushButton& CSelectionFormesDlg::GetBouton(Bouton bouton) const {
    return *m_buttons.at(bouton);
}

void CSelectionFormesDlg::Fill() {
    for (int entry = 0; entry < m_corpus.GetNbreFormes(); ++entry) {
        const CForme* form = m_corpus.DonnerForme(entry);
        if (form == nullptr || form->valid == 0 || form->frequency < kFrequenceMinimum)
            continue;
        const Liste target = Contains(m_actives, entry)         ? kActives
                             : Contains(m_illustratives, entry) ? kIllustratives
                                                                : kFormes;
        m_lists.at(target)->Ajouter(entry);
    }
    for (auto& [id, list] : m_lists)
        list->Trier(EntryList::kColonneEffectif);
}

void CSelectionFormesDlg::OnEnleverMotsOutils() {
    EntryList& actives = GetListe(kActives);
    actives.clearSelection();
    const std::vector<int> entries = actives.Entrees();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (const CForme* form = m_corpus.DonnerForme(entries[i]); form != nullptr && form->stopWord != 0)
            actives.topLevelItem(static_cast<int>(i))->setSelected(true);
    actives.Deplacer(GetListe(kFormes), false);
}

void CSelectionFormesDlg::accept() {
    m_actives = GetListe(kActives).Entrees();
    m_illustratives = GetListe(kIllustratives).Entrees();
    QDialog::accept();
}
