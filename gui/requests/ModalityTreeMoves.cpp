#include "gui/requests/ModalityTreeMoves.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "tabulation/Profil.h"

#include <QApplication>
#include <QTreeWidget>
#include <algorithm>

namespace {

constexpr int kLoadedRole = Qt::UserRole + 1;
constexpr int kModalityIcon = 10;
constexpr int kSeparatorIcon = 20;

} // namespace

ModalityTreeMoves::ModalityTreeMoves(CContexteEtude& context, const QTreeWidget& questionnaire, bool questionCaptions,
                                     int blankModalities, std::function<bool(const CQuestionEtendue&)> movable)
    : m_context(context), m_questionnaire(questionnaire), m_questionCaptions(questionCaptions),
      m_blankModalities(blankModalities), m_movable(std::move(movable)) {
    for (int i = 0; i < m_blankModalities; ++i)
        m_modalities.push_back(std::make_unique<CModaliteEtendue>(&m_context));
}

ModalityTreeMoves::~ModalityTreeMoves() = default;

int ModalityTreeMoves::DataOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toInt();
}

bool ModalityTreeMoves::IsModalityItem(const QTreeWidgetItem& item) {
    return item.parent() != nullptr;
}

QTreeWidgetItem* ModalityTreeMoves::RootWithData(const QTreeWidget& tree, int itemData) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (DataOf(*tree.topLevelItem(i)) == itemData)
            return tree.topLevelItem(i);
    return nullptr;
}

// ---- Items ------------------------------------------------------------------------------------

void ModalityTreeMoves::FillQuestionnaire(QTreeWidget& questionnaire,
                                          const std::function<bool(const CQuestionEtendue&)>& offered) {
    for (int i = 0; i < m_context.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue* question = m_context.DonnerQuestion(i);
        if (question == nullptr || !question->EstFermee() || !offered(*question))
            continue;
        QTreeWidgetItem* item = NewQuestionItem(*questionnaire.invisibleRootItem(), -1, i);
        item->setData(0, kLoadedRole, false);
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    QObject::connect(&questionnaire, &QTreeWidget::itemExpanded, &questionnaire, [this](QTreeWidgetItem* item) {
        if (item->parent() == nullptr)
            LoadModalities(*item);
    });
}

QTreeWidgetItem* ModalityTreeMoves::NewQuestionItem(QTreeWidgetItem& holder, int position, int questionIndex) const {
    auto* item = new QTreeWidgetItem();
    item->setData(0, Qt::UserRole, questionIndex);
    item->setData(0, kLoadedRole, true);
    if (const CQuestionEtendue* question = m_context.DonnerQuestion(questionIndex)) {
        item->setText(0, QString::fromStdString(m_questionCaptions ? question->GetCaption() : question->name));
        item->setToolTip(0, QString::fromStdString(question->GetCaption()));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*question)));
    }
    if (position < 0 || position > holder.childCount())
        holder.addChild(item);
    else
        holder.insertChild(position, item);
    return item;
}

QTreeWidgetItem* ModalityTreeMoves::NewModalityItem(QTreeWidgetItem& holder, int position, int modalityIndex) const {
    auto* item = new QTreeWidgetItem();
    item->setData(0, Qt::UserRole, -modalityIndex);
    item->setIcon(0, m_icons.GetImage(kModalityIcon));
    if (position < 0 || position > holder.childCount())
        holder.addChild(item);
    else
        holder.insertChild(position, item);
    StyleModalityItem(*item);
    return item;
}

void ModalityTreeMoves::StyleModalityItem(QTreeWidgetItem& item) const {
    const CModaliteEtendue* modality = ModalityOf(item);
    if (modality == nullptr)
        return;
    item.setText(0, QString::fromStdString(modality->GetShortCaption()));
    QFont font = item.treeWidget() != nullptr ? item.treeWidget()->font() : QFont();
    font.setBold(modality->displayOptions[0]);
    font.setItalic(modality->displayOptions[1]);
    font.setUnderline(modality->displayOptions[2]);
    item.setFont(0, font);
    item.setBackground(0, modality->displayOptions[3] ? QBrush(QColor(192, 192, 192)) : QBrush());
}

CQuestionEtendue* ModalityTreeMoves::QuestionOf(const QTreeWidgetItem& item) const {
    const QTreeWidgetItem& line = item.parent() != nullptr ? *item.parent() : item;
    const int itemData = DataOf(line);
    return itemData >= 0 ? m_context.DonnerQuestion(itemData) : nullptr;
}

CModaliteEtendue* ModalityTreeMoves::ModalityOf(const QTreeWidgetItem& item) const {
    if (!IsModalityItem(item))
        return nullptr;
    const int index = -DataOf(item);
    return index >= m_blankModalities && index < static_cast<int>(m_modalities.size())
               ? m_modalities[static_cast<std::size_t>(index)].get()
               : nullptr;
}

void ModalityTreeMoves::LoadModalities(QTreeWidgetItem& questionItem) {
    if (questionItem.data(0, kLoadedRole).toBool())
        return;
    questionItem.setData(0, kLoadedRole, true);
    questionItem.setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    CQuestionEtendue* question = QuestionOf(questionItem);
    if (question == nullptr)
        return;
    std::vector<std::unique_ptr<CModaliteEtendue>> copies;
    question->DonnerModalites(copies, false);
    for (auto& copy : copies) {
        const int index = static_cast<int>(m_modalities.size());
        m_modalities.push_back(std::move(copy));
        NewModalityItem(questionItem, -1, index);
    }
}

// ---- Moves ------------------------------------------------------------------------------------

QTreeWidgetItem& ModalityTreeMoves::TargetQuestion(QTreeWidget& target, int questionData) {
    if (QTreeWidgetItem* existing = RootWithData(target, questionData))
        return *existing;
    int position = -1;
    if (&target == &m_questionnaire) {
        // Back in its questionnaire place.
        position = 0;
        for (int i = 0; i < target.topLevelItemCount(); ++i)
            if (DataOf(*target.topLevelItem(i)) < questionData)
                position = i + 1;
    }
    QTreeWidgetItem* item = NewQuestionItem(*target.invisibleRootItem(), position, questionData);
    if (&target != &m_questionnaire)
        item->setExpanded(true);
    return *item;
}

QTreeWidgetItem* ModalityTreeMoves::PlaceModality(QTreeWidgetItem& targetQuestion, int modalityIndex, bool back) {
    int position = -1;
    if (back) {
        // Back in the question's order.
        position = 0;
        for (int i = 0; i < targetQuestion.childCount(); ++i)
            if (-DataOf(*targetQuestion.child(i)) <= modalityIndex)
                position = i + 1;
    }
    QTreeWidgetItem* item = NewModalityItem(targetQuestion, position, modalityIndex);
    if (!back)
        targetQuestion.setExpanded(true);
    return item;
}

QTreeWidgetItem* ModalityTreeMoves::MoveQuestion(QTreeWidgetItem* item, QTreeWidget& source, QTreeWidget& target,
                                                 std::vector<int>& moved) {
    const int itemData = DataOf(*item);
    if (itemData == kSeparator) {
        delete item;
        return nullptr;
    }
    const CQuestionEtendue* question = QuestionOf(*item);
    if (question == nullptr)
        return nullptr;
    if (!m_movable(*question)) {
        // The questions that can move, of the same code and recode, move in its place.
        std::vector<int> others;
        for (int i = 0; i < source.topLevelItemCount(); ++i) {
            const QTreeWidgetItem& root = *source.topLevelItem(i);
            const CQuestionEtendue* other = QuestionOf(root);
            if (other != nullptr && other->code == question->code && other->recodeId == question->recodeId &&
                m_movable(*other))
                others.push_back(DataOf(root));
        }
        QTreeWidgetItem* last = nullptr;
        for (int other : others)
            if (std::find(moved.begin(), moved.end(), other) == moved.end())
                if (QTreeWidgetItem* root = RootWithData(source, other))
                    last = MoveQuestion(root, source, target, moved);
        return last;
    }
    if (&source == &m_questionnaire)
        LoadModalities(*item);
    const bool back = &target == &m_questionnaire;
    QTreeWidgetItem& targetQuestion = TargetQuestion(target, itemData);
    for (int i = 0; i < item->childCount(); ++i)
        PlaceModality(targetQuestion, -DataOf(*item->child(i)), back);
    moved.push_back(itemData);
    delete item;
    return &targetQuestion;
}

QTreeWidgetItem* ModalityTreeMoves::MoveModality(QTreeWidgetItem* item, QTreeWidget& target) {
    QTreeWidgetItem* line = item->parent();
    const CQuestionEtendue* question = QuestionOf(*item);
    if (line == nullptr || question == nullptr || !m_movable(*question))
        return nullptr;
    const bool back = &target == &m_questionnaire;
    QTreeWidgetItem& targetQuestion = TargetQuestion(target, DataOf(*line));
    QTreeWidgetItem* placed = PlaceModality(targetQuestion, -DataOf(*item), back);
    delete item;
    if (line->childCount() == 0)
        delete line;
    return placed;
}

QTreeWidgetItem* ModalityTreeMoves::MoveItem(QTreeWidgetItem* item, QTreeWidget& source, QTreeWidget& target) {
    if (IsModalityItem(*item))
        return MoveModality(item, target);
    std::vector<int> moved;
    return MoveQuestion(item, source, target, moved);
}

void ModalityTreeMoves::MoveEverything(QTreeWidget& source, QTreeWidget& target) {
    std::vector<int> moved;
    if (&target == &m_questionnaire) {
        while (source.topLevelItemCount() > 0) {
            QTreeWidgetItem* line = source.topLevelItem(0);
            const CQuestionEtendue* question = QuestionOf(*line);
            if (DataOf(*line) == kSeparator || question == nullptr || !m_movable(*question)) {
                // A line that can no longer move goes back as it is.
                if (DataOf(*line) != kSeparator) {
                    QTreeWidgetItem& back = TargetQuestion(target, DataOf(*line));
                    for (int i = 0; i < line->childCount(); ++i)
                        PlaceModality(back, -DataOf(*line->child(i)), true);
                }
                delete line;
                continue;
            }
            MoveQuestion(line, source, target, moved);
        }
        return;
    }
    std::vector<int> lines;
    for (int i = 0; i < source.topLevelItemCount(); ++i)
        lines.push_back(DataOf(*source.topLevelItem(i)));
    for (int itemData : lines) {
        QTreeWidgetItem* line = RootWithData(source, itemData);
        const CQuestionEtendue* question = line != nullptr ? QuestionOf(*line) : nullptr;
        if (question != nullptr && m_movable(*question))
            MoveQuestion(line, source, target, moved);
    }
}

QTreeWidgetItem* ModalityTreeMoves::MoveLine(QTreeWidget& tree, bool up) {
    QTreeWidgetItem* item = tree.currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return nullptr;
    }
    QTreeWidgetItem& holder = item->parent() != nullptr ? *item->parent() : *tree.invisibleRootItem();
    const int index = holder.indexOfChild(item);
    const int to = up ? index - 1 : index + 1;
    if (to < 0 || to >= holder.childCount()) {
        QApplication::beep();
        return nullptr;
    }
    if (IsModalityItem(*item)) {
        const int itemData = DataOf(*item);
        delete item;
        return NewModalityItem(holder, to, -itemData);
    }
    std::vector<int> itemData;
    std::vector<int> depths;
    CUtilArbre::CollecterSousArbreSansTexte(*item, itemData, depths);
    delete item;
    QTreeWidgetItem* after = to > 0 ? holder.child(to - 1) : nullptr;
    return CUtilArbre::InsererSousArbreSansTexte(tree, nullptr, after, itemData, depths, 1,
                                                 [this](QTreeWidgetItem& created) {
                                                     if (created.parent() == nullptr && DataOf(created) == kSeparator) {
                                                         created.setText(0, QStringLiteral("-"));
                                                         created.setIcon(0, m_icons.GetImage(kSeparatorIcon));
                                                     } else if (created.parent() == nullptr) {
                                                         if (const CQuestionEtendue* q = QuestionOf(created)) {
                                                             created.setText(0, QString::fromStdString(
                                                                                    m_questionCaptions ? q->GetCaption() : q->name));
                                                             created.setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*q)));
                                                         }
                                                     } else {
                                                         created.setIcon(0, m_icons.GetImage(kModalityIcon));
                                                         StyleModalityItem(created);
                                                     }
                                                 });
}

// ---- The profile and the trees ------------------------------------------------------------

bool ModalityTreeMoves::Build(const QTreeWidget& tree, CProfil& profile, bool withSeparators) const {
    bool anyQuestion = false;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem& line = *tree.topLevelItem(i);
        CQuestionEtendue* question = QuestionOf(line);
        if (DataOf(line) == kSeparator || question == nullptr) {
            if (withSeparators)
                profile.AddSeparator();
            continue;
        }
        std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
        for (int m = 0; m < line.childCount(); ++m)
            if (const CModaliteEtendue* modality = ModalityOf(*line.child(m)))
                modalities.push_back(std::make_unique<CModaliteEtendue>(*modality));
        profile.Add(question, modalities);
        anyQuestion = true;
    }
    return anyQuestion;
}

void ModalityTreeMoves::Show(const CProfil& profile, QTreeWidget& tree, bool assign,
                             const std::function<void()>& separator) {
    for (int i = 0; i < profile.GetCount(); ++i) {
        const CSousProfil* line = profile.GetSousProfil(i);
        if (line == nullptr || line->IsSeparator()) {
            if (separator)
                separator();
            continue;
        }
        int index = -1;
        if (!m_context.TrouverIndexQuestion(line->GetQuestion(), index) || !m_movable(*line->GetQuestion()))
            continue;
        QTreeWidgetItem* questionItem = RootWithData(m_questionnaire, index);
        if (questionItem == nullptr)
            continue;
        LoadModalities(*questionItem);
        for (const auto& wanted : line->Modalites()) {
            for (int m = 0; m < questionItem->childCount(); ++m) {
                CModaliteEtendue* modality = ModalityOf(*questionItem->child(m));
                if (modality != nullptr && modality->code == wanted->code) {
                    if (assign)
                        *modality = *wanted;
                    else
                        modality->CopierExtension(*wanted);
                    const bool last = questionItem->childCount() == 1;
                    MoveModality(questionItem->child(m), tree);
                    if (last)
                        questionItem = nullptr;
                    break;
                }
            }
            if (questionItem == nullptr)
                break;
        }
    }
}
