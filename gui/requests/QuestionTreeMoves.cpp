#include "gui/requests/QuestionTreeMoves.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "tabulation/Profil.h"

#include <QApplication>
#include <QTreeWidget>

namespace {

constexpr int kSeparatorIcon = 20;

} // namespace

QuestionTreeMoves::QuestionTreeMoves(CContexteEtude& context, const QTreeWidget& questionnaire,
                                     bool orderedEverywhere)
    : m_context(context), m_questionnaire(questionnaire), m_orderedEverywhere(orderedEverywhere) {}

int QuestionTreeMoves::DataOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toInt();
}

QTreeWidgetItem* QuestionTreeMoves::NewItem(QTreeWidget& tree, int position, int itemData) const {
    auto* item = new QTreeWidgetItem();
    item->setData(0, Qt::UserRole, itemData);
    if (itemData == kSeparator) {
        item->setText(0, QStringLiteral("-"));
        item->setIcon(0, m_icons.GetImage(kSeparatorIcon));
    } else if (const CQuestionEtendue* question = m_context.DonnerQuestion(itemData)) {
        item->setText(0, QString::fromStdString(question->GetCaption()));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*question)));
    }
    if (position < 0 || position > tree.topLevelItemCount())
        tree.addTopLevelItem(item);
    else
        tree.insertTopLevelItem(position, item);
    return item;
}

CQuestionEtendue* QuestionTreeMoves::QuestionOf(const QTreeWidgetItem& item) const {
    const int itemData = DataOf(item);
    return itemData >= 0 ? m_context.DonnerQuestion(itemData) : nullptr;
}

int QuestionTreeMoves::OrderedPosition(const QTreeWidget& tree, int itemData) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (DataOf(*tree.topLevelItem(i)) >= itemData)
            return i;
    return tree.topLevelItemCount();
}

QTreeWidgetItem* QuestionTreeMoves::ItemOf(const QTreeWidget& tree, const CQuestionEtendue* question) const {
    int index = -1;
    if (question == nullptr || !m_context.TrouverIndexQuestion(question, index))
        return nullptr;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (DataOf(*tree.topLevelItem(i)) == index)
            return tree.topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* QuestionTreeMoves::Move(QTreeWidgetItem* item, QTreeWidget& target, bool show) const {
    const int itemData = DataOf(*item);
    const bool ordered = m_orderedEverywhere || &target == &m_questionnaire;
    delete item;
    QTreeWidgetItem* created = NewItem(target, ordered ? OrderedPosition(target, itemData) : -1, itemData);
    if (show)
        target.setCurrentItem(created);
    return created;
}

bool QuestionTreeMoves::MoveCurrent(QTreeWidget& source, QTreeWidget& target) const {
    QTreeWidgetItem* item = source.currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return false;
    }
    Move(item, target, true);
    return true;
}

void QuestionTreeMoves::MoveAll(QTreeWidget& source, QTreeWidget& target) const {
    while (source.topLevelItemCount() > 0)
        Move(source.topLevelItem(0), target, false);
}

QTreeWidgetItem* QuestionTreeMoves::MoveLine(QTreeWidget& tree, bool up) const {
    QTreeWidgetItem* item = tree.currentItem();
    const int index = item != nullptr ? tree.indexOfTopLevelItem(item) : -1;
    const int to = up ? index - 1 : index + 1;
    if (index < 0 || to < 0 || to >= tree.topLevelItemCount()) {
        QApplication::beep();
        return nullptr;
    }
    const int itemData = DataOf(*item);
    delete item;
    QTreeWidgetItem* created = NewItem(tree, to, itemData);
    tree.setCurrentItem(created);
    return created;
}

bool QuestionTreeMoves::Build(const QTreeWidget& tree, CProfil& profile, bool withSeparators) const {
    bool anyQuestion = false;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        CQuestionEtendue* question = QuestionOf(*tree.topLevelItem(i));
        if (question == nullptr) {
            if (withSeparators)
                profile.AddSeparator();
            continue;
        }
        profile.Add(question);
        anyQuestion = true;
    }
    return anyQuestion;
}
