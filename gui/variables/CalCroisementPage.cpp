#include "gui/variables/CalCroisementPage.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "gui/requests/SelQuestionDlg.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableCalculee.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kNameRole = Qt::UserRole + 1; // the last accepted name of an item

struct Modalities {
    std::vector<std::string> captions;
    std::vector<std::int32_t> codes;
};

Modalities ModalitiesOf(CQuestionEtendue* question) {
    Modalities out;
    if (question == nullptr)
        return out;
    std::vector<std::unique_ptr<CModaliteEtendue>> copies;
    question->DonnerModalites(copies, true);
    for (const auto& copy : copies) {
        out.captions.push_back(copy ? copy->GetShortCaption() : std::string());
        out.codes.push_back(copy ? copy->code : 0);
    }
    return out;
}

bool IsClosed(const CQuestionEtendue* question) {
    return question != nullptr && question->EstFermee();
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

QString NameOf(const CQuestionEtendue* question) {
    return question != nullptr ? QString::fromStdString(question->name) : QString();
}

} // namespace

CCalCroisementPage::CCalCroisementPage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_name1(new QLabel(this)), m_name2(new QLabel(this)),
      m_pick1(new QPushButton(QStringLiteral("..."), this)), m_pick2(new QPushButton(QStringLiteral("..."), this)),
      m_tree(new QTreeWidget(this)), m_up(new QPushButton(QStringLiteral("Monter"), this)),
      m_down(new QPushButton(QStringLiteral("Descendre"), this)),
      m_remove(new QPushButton(QStringLiteral("Supprimer"), this)),
      m_copyLoop(new QPushButton(QStringLiteral("Copier boucle"), this)) {
    m_pick1->setObjectName(QStringLiteral("question1"));
    m_pick2->setObjectName(QStringLiteral("question2"));
    for (QLabel* name : {m_name1, m_name2}) {
        name->setFrameShape(QFrame::StyledPanel);
        name->setMinimumWidth(200);
    }
    auto* questions = new QGridLayout();
    questions->addWidget(new QLabel(QStringLiteral("Questions:"), this), 0, 0);
    questions->addWidget(m_name1, 0, 1);
    questions->addWidget(m_pick1, 0, 2);
    questions->addWidget(m_name2, 1, 1);
    questions->addWidget(m_pick2, 1, 2);
    questions->setColumnStretch(1, 1);

    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_tree->installEventFilter(this);
    auto* side = new QVBoxLayout();
    for (QPushButton* button : {m_up, m_down, m_remove, m_copyLoop})
        side->addWidget(button);
    side->addStretch(1);
    auto* middle = new QHBoxLayout();
    middle->addWidget(m_tree, 1);
    middle->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(questions);
    layout->addLayout(middle, 1);

    connect(m_pick1, &QPushButton::clicked, this, [this] { OnChoisir(0); });
    connect(m_pick2, &QPushButton::clicked, this, [this] { OnChoisir(1); });
    connect(m_up, &QPushButton::clicked, this, &CCalCroisementPage::Monter);
    connect(m_down, &QPushButton::clicked, this, &CCalCroisementPage::Descendre);
    connect(m_remove, &QPushButton::clicked, this, &CCalCroisementPage::Supprimer);
    connect(m_copyLoop, &QPushButton::clicked, this, &CCalCroisementPage::CopierBoucle);
    connect(m_tree, &QTreeWidget::itemChanged, this, &CCalCroisementPage::OnRenamed);
}

void CCalCroisementPage::ShowNames() {
    m_name1->setText(NameOf(m_question1));
    m_name2->setText(NameOf(m_question2));
}

void CCalCroisementPage::OnChoisir(int side) {
    CSelQuestionDlg picker(CSelQuestionDlg::kFermees, side == 0 ? m_question1 : m_question2, this);
    if (picker.exec() != QDialog::Accepted || picker.GetQuestion() == nullptr)
        return;
    ChoisirQuestion(side, picker.GetQuestion());
}

void CCalCroisementPage::ChoisirQuestion(int side, CQuestionEtendue* question) {
    (side == 0 ? m_question1 : m_question2) = question;
    ShowNames();
    if (m_question1 != nullptr && m_question2 != nullptr)
        Remplir();
}

QString CCalCroisementPage::PairName(int first, int second) const {
    const Modalities one = ModalitiesOf(m_question1);
    const Modalities two = ModalitiesOf(m_question2);
    return QString::fromStdString(one.captions.at(static_cast<std::size_t>(first)) + " x " +
                                  two.captions.at(static_cast<std::size_t>(second)));
}

QTreeWidgetItem* CCalCroisementPage::AddModality(const QString& caption) {
    const QSignalBlocker quiet(m_tree);
    auto* item = new QTreeWidgetItem(m_tree, {caption});
    item->setData(0, Qt::UserRole, kModalite);
    item->setData(0, kNameRole, caption);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void CCalCroisementPage::AddPair(QTreeWidgetItem& modality, int first, int second) {
    const QSignalBlocker quiet(m_tree);
    const int count2 = static_cast<int>(ModalitiesOf(m_question2).codes.size());
    const QString name = PairName(first, second);
    auto* pair = new QTreeWidgetItem(&modality, {name});
    pair->setData(0, Qt::UserRole, first * count2 + second);
    pair->setData(0, kNameRole, name);
    pair->setFlags(pair->flags() | Qt::ItemIsEditable);
}

// One modality per pair of modalities; with the non-responses grouped, the pairs holding a
// non-response or a not-asked modality go under "Non réponse" and "Non interrogé".
void CCalCroisementPage::Remplir() {
    const bool grouped = m_context.GetUserInterface().AskYesNo(Message(StringTable::kRegrouperNonReponses));
    m_tree->clear();
    if (!IsClosed(m_question1) || !IsClosed(m_question2))
        return;
    const Modalities one = ModalitiesOf(m_question1);
    const Modalities two = ModalitiesOf(m_question2);
    const auto missing = [](std::int32_t code) { return code == -1 || code == -2; };
    const int count1 = static_cast<int>(one.codes.size());
    const int count2 = static_cast<int>(two.codes.size());
    for (int a = 0; a < count1; ++a)
        for (int b = 0; b < count2; ++b) {
            if (grouped && (missing(one.codes[a]) || missing(two.codes[b])))
                continue;
            AddPair(*AddModality(PairName(a, b)), a, b);
        }
    if (!grouped)
        return;
    const auto group = [&](int captionId, auto belongs) {
        QTreeWidgetItem* item = nullptr;
        for (int a = 0; a < count1; ++a)
            for (int b = 0; b < count2; ++b)
                if (belongs(one.codes[a], two.codes[b])) {
                    if (item == nullptr)
                        item = AddModality(QString::fromStdString(StringTable::Text(captionId)));
                    AddPair(*item, a, b);
                }
    };
    if (m_question1->hasNoAnswer != 0 || m_question2->hasNoAnswer != 0)
        group(StringTable::kNonReponse,
              [](std::int32_t a, std::int32_t b) { return a != -2 && (a == -1 || b == -1); });
    if (m_question1->AModaliteAutre() || m_question2->AModaliteAutre())
        group(StringTable::kNonInterroge, [](std::int32_t a, std::int32_t b) { return a == -2 || b == -2; });
    m_tree->expandAll();
}

void CCalCroisementPage::Charger(const CQuestionCalculee& definition) {
    m_question1 = definition.source1;
    m_question2 = definition.source2;
    ShowNames();
    m_tree->clear();
    if (!IsClosed(m_question1) || !IsClosed(m_question2))
        return;
    const std::vector<std::string> captions = Split(definition.themes, '|');
    const std::vector<std::string> pieces = Split(definition.definition, '|');
    if (captions.size() != pieces.size())
        return;
    const int count1 = static_cast<int>(ModalitiesOf(m_question1).codes.size());
    const int count2 = static_cast<int>(ModalitiesOf(m_question2).codes.size());
    for (std::size_t i = 0; i < captions.size(); ++i) {
        QTreeWidgetItem* modality = AddModality(QString::fromStdString(captions[i]));
        for (const std::string& part : Split(pieces[i], '@')) {
            const std::vector<std::string> numbers = Split(part, ';');
            std::int32_t first = 0;
            std::int32_t second = 0;
            if (numbers.size() == 2 && CStaticTools::EstLong(numbers[0], first) &&
                CStaticTools::EstLong(numbers[1], second) && first >= 0 && first < count1 && second >= 0 &&
                second < count2)
                AddPair(*modality, first, second);
        }
    }
    m_tree->expandAll();
}

bool CCalCroisementPage::Verifier() {
    UserInterface& ui = m_context.GetUserInterface();
    if (!IsClosed(m_question1) || !IsClosed(m_question2)) {
        ui.ShowMessage(Message(StringTable::kDeuxQuestionsAModalites), UserInterface::Icon::Warning);
        return false;
    }
    if (m_question1 == m_question2) {
        ui.ShowMessage(Message(StringTable::kCroisementAvecElleMeme), UserInterface::Icon::Warning);
        return false;
    }
    if (m_tree->topLevelItemCount() == 0) {
        ui.ShowMessage(Message(StringTable::kAucuneModaliteDefinie), UserInterface::Icon::Warning);
        return false;
    }
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* modality = m_tree->topLevelItem(i);
        if (modality->childCount() == 0) {
            m_tree->setCurrentItem(modality);
            ui.ShowMessage(Message(StringTable::kItemSansModaliteLiee), UserInterface::Icon::Warning);
            return false;
        }
    }
    return true;
}

void CCalCroisementPage::DonnerParties(PartiesVariable& parts) const {
    parts.source1 = m_question1;
    parts.source2 = m_question2;
    const int count2 = static_cast<int>(ModalitiesOf(m_question2).codes.size());
    parts.themes.clear();
    parts.definition.clear();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* modality = m_tree->topLevelItem(i);
        std::string caption = modality->text(0).toStdString();
        std::replace(caption.begin(), caption.end(), '|', '/');
        parts.themes += caption + "|";
        for (int c = 0; c < modality->childCount(); ++c) {
            const int pair = modality->child(c)->data(0, Qt::UserRole).toInt();
            const int first = count2 > 0 ? pair / count2 : 0;
            const int second = pair - count2 * first;
            parts.definition += std::to_string(first) + ";" + std::to_string(second) + "@";
        }
        parts.definition += "|";
    }
}

// A modality moves among the modalities; a pair among the pairs of its modality, and from its
// first or last place to the end of the previous modality or the start of the next one.
void CCalCroisementPage::Monter() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr)
        return;
    QTreeWidgetItem* parent = item->parent();
    if (parent == nullptr) {
        const int index = m_tree->indexOfTopLevelItem(item);
        if (index <= 0)
            return;
        const bool expanded = item->isExpanded();
        m_tree->takeTopLevelItem(index);
        m_tree->insertTopLevelItem(index - 1, item);
        item->setExpanded(expanded);
    } else {
        const int index = parent->indexOfChild(item);
        if (index > 0) {
            parent->takeChild(index);
            parent->insertChild(index - 1, item);
        } else {
            const int modality = m_tree->indexOfTopLevelItem(parent);
            if (modality <= 0)
                return;
            parent->takeChild(index);
            QTreeWidgetItem* previous = m_tree->topLevelItem(modality - 1);
            previous->addChild(item);
            previous->setExpanded(true);
        }
    }
    m_tree->setCurrentItem(item);
}

void CCalCroisementPage::Descendre() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr)
        return;
    QTreeWidgetItem* parent = item->parent();
    if (parent == nullptr) {
        const int index = m_tree->indexOfTopLevelItem(item);
        if (index + 1 >= m_tree->topLevelItemCount())
            return;
        const bool expanded = item->isExpanded();
        m_tree->takeTopLevelItem(index);
        m_tree->insertTopLevelItem(index + 1, item);
        item->setExpanded(expanded);
    } else {
        const int index = parent->indexOfChild(item);
        if (index + 1 < parent->childCount()) {
            parent->takeChild(index);
            parent->insertChild(index + 1, item);
        } else {
            const int modality = m_tree->indexOfTopLevelItem(parent);
            if (modality + 1 >= m_tree->topLevelItemCount())
                return;
            parent->takeChild(index);
            QTreeWidgetItem* next = m_tree->topLevelItem(modality + 1);
            next->insertChild(0, item);
            next->setExpanded(true);
        }
    }
    m_tree->setCurrentItem(item);
}

void CCalCroisementPage::Supprimer() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    delete item;
}

// An empty name, or one holding the separator of the stored captions, is refused: the item
// keeps its name.
void CCalCroisementPage::OnRenamed(QTreeWidgetItem* item, int /*column*/) {
    const QString name = item->text(0).trimmed();
    const QSignalBlocker quiet(m_tree);
    if (name.isEmpty()) {
        QApplication::beep();
        item->setText(0, item->data(0, kNameRole).toString());
        return;
    }
    const Message refused = CVariableCalculee::VerifierLibelle(CVariableCalculee::kCroisement, name.toStdString());
    if (refused.id != 0) {
        item->setText(0, item->data(0, kNameRole).toString());
        m_context.GetUserInterface().ShowMessage(refused, UserInterface::Icon::Warning);
        return;
    }
    item->setData(0, kNameRole, name);
}

bool CCalCroisementPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            Supprimer();
            return true;
        }
        if (key->modifiers() & Qt::AltModifier) {
            if (key->key() == Qt::Key_Up) {
                Monter();
                return true;
            }
            if (key->key() == Qt::Key_Down) {
                Descendre();
                return true;
            }
        }
    }
    return CPanneauVariable::eventFilter(watched, event);
}
