#include "gui/variables/CalDictionnairePage.h"

#include "app/ContexteEtude.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "gui/requests/SelQuestionDlg.h"
#include "platform/questionnaire/StaticTools.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableCalculee.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

constexpr int kNameRole = Qt::UserRole + 1; // the last accepted label of an item

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, '|', items);
    return items;
}

bool IsOpen(const CQuestionEtendue* question) {
    return question != nullptr && question->EstOuverte();
}

} // namespace

CCalDictionnairePage::CCalDictionnairePage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_caption(new QLabel(this)),
      m_pick(new QPushButton(QStringLiteral("..."), this)), m_tree(new QTreeWidget(this)),
      m_add(new QPushButton(QStringLiteral("Ajouter"), this)),
      m_remove(new QPushButton(QStringLiteral("Supprimer"), this)),
      m_down(new QPushButton(QStringLiteral("Descendre"), this)), m_up(new QPushButton(QStringLiteral("Monter"), this)),
      m_words(new QPlainTextEdit(this)) {
    m_caption->setFrameShape(QFrame::StyledPanel);
    m_caption->setMinimumWidth(200);
    auto* question = new QHBoxLayout();
    question->addWidget(new QLabel(QStringLiteral("Question:"), this));
    question->addWidget(m_caption, 1);
    question->addWidget(m_pick);

    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_tree->installEventFilter(this);
    auto* side = new QVBoxLayout();
    for (QPushButton* button : {m_add, m_remove, m_up, m_down})
        side->addWidget(button);
    side->addStretch(1);
    auto* middle = new QHBoxLayout();
    middle->addWidget(m_tree, 1);
    middle->addLayout(side);

    auto* wordsCaption =
        new QLabel(QStringLiteral("Liste des mots (séparés par des espaces) et des segments entre guillemets:"), this);
    wordsCaption->setWordWrap(true);
    wordsCaption->setBuddy(m_words);
    m_words->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(question);
    layout->addLayout(middle, 2);
    layout->addWidget(wordsCaption);
    layout->addWidget(m_words, 1);

    connect(m_pick, &QPushButton::clicked, this, &CCalDictionnairePage::OnChoisir);
    connect(m_add, &QPushButton::clicked, this, &CCalDictionnairePage::Ajouter);
    connect(m_remove, &QPushButton::clicked, this, &CCalDictionnairePage::Supprimer);
    connect(m_up, &QPushButton::clicked, this, [this] { Deplacer(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { Deplacer(1); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CCalDictionnairePage::OnSelection);
    connect(m_tree, &QTreeWidget::itemChanged, this, &CCalDictionnairePage::OnRenamed);
    connect(m_words, &QPlainTextEdit::textChanged, this, &CCalDictionnairePage::OnWordsEdited);
}

void CCalDictionnairePage::OnChoisir() {
    CSelQuestionDlg picker(CSelQuestionDlg::kOuvertes, m_question, this);
    if (picker.exec() == QDialog::Accepted)
        ChoisirQuestion(picker.GetQuestion());
}

void CCalDictionnairePage::ChoisirQuestion(CQuestionEtendue* question) {
    if (!IsOpen(question))
        return;
    m_question = question;
    m_caption->setText(QString::fromStdString(question->GetCaption()));
}

QTreeWidgetItem* CCalDictionnairePage::AddItem(const QString& caption, int list) {
    const QSignalBlocker quiet(m_tree);
    auto* item = new QTreeWidgetItem(m_tree, {caption});
    item->setData(0, Qt::UserRole, list);
    item->setData(0, kNameRole, caption);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

QString& CCalDictionnairePage::ListOf(const QTreeWidgetItem& item) {
    return m_lists[item.data(0, Qt::UserRole).toInt()];
}

void CCalDictionnairePage::Ajouter() {
    ++m_created;
    m_lists.append(QString());
    const QString caption = QString::fromStdString(StringTable::Format(Message(StringTable::kSousTotal, {std::to_string(m_created)})));
    m_tree->setCurrentItem(AddItem(caption, static_cast<int>(m_lists.size()) - 1));
}

void CCalDictionnairePage::Supprimer() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    delete item;
    OnSelection();
}

void CCalDictionnairePage::Deplacer(int step) {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr)
        return;
    const int index = m_tree->indexOfTopLevelItem(item);
    const int target = index + step;
    if (target < 0 || target >= m_tree->topLevelItemCount())
        return;
    const QSignalBlocker quiet(m_tree);
    m_tree->takeTopLevelItem(index);
    m_tree->insertTopLevelItem(target, item);
    m_tree->setCurrentItem(item);
}

void CCalDictionnairePage::OnSelection() {
    const QTreeWidgetItem* item = m_tree->currentItem();
    const QSignalBlocker quiet(m_words);
    m_words->setEnabled(item != nullptr);
    m_words->setPlainText(item != nullptr ? ListOf(*item) : QString());
}

void CCalDictionnairePage::OnWordsEdited() {
    if (const QTreeWidgetItem* item = m_tree->currentItem())
        ListOf(*item) = m_words->toPlainText();
}

// An empty label, or one holding the separator of the stored captions, is refused: the item
// keeps its label.
void CCalDictionnairePage::OnRenamed(QTreeWidgetItem* item, int /*column*/) {
    const QString name = item->text(0).trimmed();
    const QSignalBlocker quiet(m_tree);
    const Message refused = name.isEmpty() ? Message()
                                           : CVariableCalculee::VerifierLibelle(CVariableCalculee::kDictionnaire,
                                                                                name.toStdString());
    if (name.isEmpty() || refused.id != 0) {
        item->setText(0, item->data(0, kNameRole).toString());
        if (refused.id != 0)
            m_context.GetUserInterface().ShowMessage(refused, UserInterface::Icon::Warning);
        else
            QApplication::beep();
        return;
    }
    item->setText(0, name);
    item->setData(0, kNameRole, name);
}

void CCalDictionnairePage::Charger(const CQuestionCalculee& definition) {
    m_question = nullptr;
    m_caption->clear();
    ChoisirQuestion(definition.source1);
    m_tree->clear();
    m_lists.clear();
    const std::vector<std::string> captions = Split(definition.themes);
    const std::vector<std::string> lists = Split(definition.definition);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        m_lists.append(i < lists.size() ? QString::fromStdString(lists[i]) : QString());
        AddItem(QString::fromStdString(captions[i]), static_cast<int>(i));
    }
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    OnSelection();
}

bool CCalDictionnairePage::Verifier() {
    UserInterface& ui = m_context.GetUserInterface();
    if (!IsOpen(m_question)) {
        ui.ShowMessage(Message(StringTable::kSelectionnerQuestionAutorisee), UserInterface::Icon::Warning);
        return false;
    }
    if (m_tree->topLevelItemCount() == 0) {
        ui.ShowMessage(Message(StringTable::kCreerAuMoinsUnItem), UserInterface::Icon::Warning);
        return false;
    }
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_tree->topLevelItem(i);
        if (ListOf(*item).trimmed().isEmpty()) {
            m_tree->setCurrentItem(item);
            ui.ShowMessage(Message(StringTable::kEntrerListeMots), UserInterface::Icon::Warning);
            return false;
        }
    }
    return true;
}

void CCalDictionnairePage::DonnerParties(PartiesVariable& parts) const {
    parts.source1 = m_question;
    parts.themes.clear();
    parts.definition.clear();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_tree->topLevelItem(i);
        parts.themes += item->text(0).toStdString() + "|";
        // A "|" typed in a list would split it in two when stored: it separates no word anyway.
        QString words = m_lists[item->data(0, Qt::UserRole).toInt()];
        parts.definition += words.replace(QLatin1Char('|'), QLatin1Char(' ')).toStdString() + "|";
    }
}

bool CCalDictionnairePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = (key->modifiers() & Qt::AltModifier) != 0;
        if (key->key() == Qt::Key_Insert) {
            Ajouter();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            Supprimer();
            return true;
        }
        if (alt && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            Deplacer(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return CPanneauVariable::eventFilter(watched, event);
}
