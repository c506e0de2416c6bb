#include "gui/statistics/ActiveIllustrativeDialog.h"
#include "gui/requests/SelectionButtons.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace {

constexpr int kColumnWidth = 120;
constexpr int kListHeight = 300;

std::uint32_t NumberOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toUInt();
}

} // namespace

// clang-format off
const ActiveIllustrativeDialog::Move ActiveIllustrativeDialog::kMoves[] = {
    {kVersActif,                 kNonSelectionne, kActif,          Move::kSelected,   ">",       "Rendre actifs les éléments choisis"},
    {kToutVersActif,             kNonSelectionne, kActif,          Move::kAll,        ">>",      "Rendre actifs tous les éléments"},
    {kChampVersActif,            kNonSelectionne, kActif,          Move::kStudyField, "Champ >", "Rendre actifs les éléments d'un champ d'étude"},
    {kActifVersNon,              kActif,          kNonSelectionne, Move::kSelected,   "<",       "Retirer les éléments actifs choisis"},
    {kToutActifVersNon,          kActif,          kNonSelectionne, Move::kAll,        "<<",      "Retirer tous les éléments actifs"},
    {kChampActifVersNon,         kActif,          kNonSelectionne, Move::kStudyField, "< Champ", "Retirer les éléments actifs d'un champ d'étude"},
    {kActifVersIllustratif,      kActif,          kIllustratif,    Move::kSelected,   ">",       "Rendre illustratifs les éléments actifs choisis"},
    {kToutActifVersIllustratif,  kActif,          kIllustratif,    Move::kAll,        ">>",      "Rendre illustratifs tous les éléments actifs"},
    {kChampActifVersIllustratif, kActif,          kIllustratif,    Move::kStudyField, "Champ >", "Rendre illustratifs les éléments actifs d'un champ d'étude"},
    {kIllustratifVersActif,      kIllustratif,    kActif,          Move::kSelected,   "<",       "Rendre actifs les éléments illustratifs choisis"},
    {kToutIllustratifVersActif,  kIllustratif,    kActif,          Move::kAll,        "<<",      "Rendre actifs tous les éléments illustratifs"},
    {kChampIllustratifVersActif, kIllustratif,    kActif,          Move::kStudyField, "< Champ", "Rendre actifs les éléments illustratifs d'un champ d'étude"},
};
// clang-format on

ActiveIllustrativeDialog::ActiveIllustrativeDialog(const QString& caption, std::uint32_t count, Labeller label,
                                                   const std::vector<std::uint32_t>& actifs,
                                                   const std::vector<std::uint32_t>& illustratifs,
                                                   StudyFieldFilter byStudyField, QWidget* parent)
    : QDialog(parent), m_label(std::move(label)), m_byStudyField(std::move(byStudyField)) {
    setWindowTitle(caption);
    auto* grid = new QGridLayout;
    const std::pair<Liste, const char*> lists[] = {
        {kNonSelectionne, "Non sélectionné"}, {kActif, "Actif"}, {kIllustratif, "Illustratif"}};
    int column = 0;
    for (const auto& [id, title] : lists) {
        auto* list = new QTreeWidget(this);
        list->setObjectName(QString::number(id));
        list->setColumnCount(1);
        list->setHeaderLabels({QString::fromUtf8(title)});
        list->setRootIsDecorated(false);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setMinimumSize(kColumnWidth + 40, kListHeight);
        list->header()->setStretchLastSection(true);
        m_lists[id] = list;
        grid->addWidget(list, 0, column);
        column += 2;
    }
    auto addButtons = [this, grid](Liste left, int gridColumn) {
        auto* box = new QVBoxLayout;
        box->addStretch();
        for (const Move& move : kMoves) {
            const bool between = (move.from == left || move.to == left) && (move.from == kActif || move.to == kActif);
            if (!between || (move.kind == Move::kStudyField && !m_byStudyField))
                continue;
            auto* button = new QPushButton(QString::fromUtf8(move.text), this);
            button->setObjectName(QString::number(move.bouton));
            button->setToolTip(QString::fromUtf8(move.tip));
            connect(button, &QPushButton::clicked, this, [this, &move] { Run(move); });
            m_buttons[move.bouton] = button;
            box->addWidget(button);
        }
        box->addStretch();
        grid->addLayout(box, 0, gridColumn);
    };
    addButtons(kNonSelectionne, 1);
    addButtons(kIllustratif, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddOkCancelButtons(*this, *layout);
    Fill(count, actifs, illustratifs);
}

QTreeWidget& ActiveIllustrativeDialog::GetListe(Liste liste) const {
    return *m_lists.at(liste);
}

QPushButton& ActiveIllustrativeDialog::GetBouton(Bouton bouton) const {
    return *m_buttons.at(bouton);
}

std::vector<std::uint32_t> ActiveIllustrativeDialog::Numeros(Liste liste) const {
    const QTreeWidget& list = GetListe(liste);
    std::vector<std::uint32_t> numbers;
    numbers.reserve(static_cast<std::size_t>(list.topLevelItemCount()));
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        numbers.push_back(NumberOf(*list.topLevelItem(i)));
    return numbers;
}

std::vector<std::uint32_t> ActiveIllustrativeDialog::NumerosChoisis(Liste liste) const {
    const QTreeWidget& list = GetListe(liste);
    std::vector<std::uint32_t> numbers;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        if (list.topLevelItem(i)->isSelected())
            numbers.push_back(NumberOf(*list.topLevelItem(i)));
    return numbers;
}

// Both lists are walked in step with the candidates, which is why they are kept sorted.
void ActiveIllustrativeDialog::Fill(std::uint32_t count, const std::vector<std::uint32_t>& actifs,
                                    const std::vector<std::uint32_t>& illustratifs) {
    std::vector<std::uint32_t> lists[3];
    auto active = actifs.begin();
    auto illustrative = illustratifs.begin();
    for (std::uint32_t candidate = 0; candidate < count; ++candidate) {
        while (active != actifs.end() && *active < candidate)
            ++active;
        while (illustrative != illustratifs.end() && *illustrative < candidate)
            ++illustrative;
        if (active != actifs.end() && *active == candidate)
            lists[1].push_back(candidate);
        else if (illustrative != illustratifs.end() && *illustrative == candidate)
            lists[2].push_back(candidate);
        else
            lists[0].push_back(candidate);
    }
    SetNumbers(kNonSelectionne, lists[0]);
    SetNumbers(kActif, lists[1]);
    SetNumbers(kIllustratif, lists[2]);
}

void ActiveIllustrativeDialog::Run(const Move& move) {
    std::vector<std::uint32_t> numbers;
    switch (move.kind) {
    case Move::kSelected: numbers = NumerosChoisis(move.from); break;
    case Move::kAll: numbers = Numeros(move.from); break;
    case Move::kStudyField: numbers = m_byStudyField(Numeros(move.from)); break;
    }
    if (!numbers.empty())
        Transfer(move.from, move.to, numbers);
}

void ActiveIllustrativeDialog::Transfer(Liste from, Liste to, const std::vector<std::uint32_t>& numbers) {
    const std::set<std::uint32_t> moved(numbers.begin(), numbers.end());
    std::vector<std::uint32_t> kept;
    std::vector<std::uint32_t> target = Numeros(to);
    for (std::uint32_t number : Numeros(from)) {
        if (moved.count(number) != 0)
            target.push_back(number);
        else
            kept.push_back(number);
    }
    std::sort(target.begin(), target.end());
    SetNumbers(from, kept);
    SetNumbers(to, target);
}

void ActiveIllustrativeDialog::SetNumbers(Liste liste, const std::vector<std::uint32_t>& numbers) {
    QTreeWidget& list = GetListe(liste);
    list.setUpdatesEnabled(false);
    list.clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(numbers.size()));
    for (std::uint32_t number : numbers) {
        auto* item = new QTreeWidgetItem(QStringList{m_label(number)});
        item->setData(0, Qt::UserRole, number);
        items.append(item);
    }
    list.addTopLevelItems(items);
    list.setUpdatesEnabled(true);
}
