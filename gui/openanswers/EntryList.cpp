#include "gui/openanswers/EntryList.h"

#include "openanswers/DictionaryOrder.h"
#include "openanswers/Forme.h"
#include "openanswers/OuvCorpus.h"

#include <QHeaderView>
#include <algorithm>

namespace {
constexpr int kEntryRole = Qt::UserRole;
constexpr int kFrequencyWidth = 50;

int EntryOf(const QTreeWidgetItem* item) {
    return item->data(0, kEntryRole).toInt();
}
} // namespace

EntryList::EntryList(int id, const QString& heading, int textWidth, QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QString::number(id));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHeaderLabels({heading, QStringLiteral("Effectif")});
    headerItem()->setTextAlignment(kColonneEffectif, Qt::AlignRight | Qt::AlignVCenter);
    setColumnWidth(kColonneTexte, textWidth);
    setColumnWidth(kColonneEffectif, kFrequencyWidth);
}

void EntryList::Ajouter(int entry) {
    const CForme* form = m_corpus->DonnerForme(entry);
    auto* item = new QTreeWidgetItem(this, {QString::fromStdString(form->text), QString::number(form->frequency)});
    item->setData(0, kEntryRole, entry);
    item->setTextAlignment(kColonneEffectif, Qt::AlignRight | Qt::AlignVCenter);
}

void EntryList::Trier(int column) {
    m_sortColumn = column;
    std::vector<QTreeWidgetItem*> items;
    items.reserve(static_cast<std::size_t>(topLevelItemCount()));
    while (topLevelItemCount() > 0)
        items.push_back(takeTopLevelItem(0));
    const COuvCorpus* corpus = m_corpus;
    const auto form = [corpus](const QTreeWidgetItem* item) { return corpus->DonnerForme(EntryOf(item)); };
    std::stable_sort(items.begin(), items.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        const CForme* first = form(a);
        const CForme* second = form(b);
        if (column == kColonneEffectif && first->frequency != second->frequency)
            return first->frequency > second->frequency;
        return DictionaryOrder::Avant(first->text, second->text);
    });
    for (QTreeWidgetItem* item : items)
        addTopLevelItem(item);
}

std::vector<int> EntryList::Entrees() const {
    std::vector<int> entries;
    entries.reserve(static_cast<std::size_t>(topLevelItemCount()));
    for (int i = 0; i < topLevelItemCount(); ++i)
        entries.push_back(EntryOf(topLevelItem(i)));
    return entries;
}

void EntryList::Deplacer(EntryList& target, bool all) {
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        if (all || topLevelItem(i)->isSelected())
            target.addTopLevelItem(takeTopLevelItem(i));
    target.Trier(target.m_sortColumn);
}
