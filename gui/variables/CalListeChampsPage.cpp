#include "gui/variables/CalListeChampsPage.h"

#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "framework/MultiTree.h"
#include "platform/questionnaire/StaticTools.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableCalculee.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kNameRole = Qt::UserRole + 1; // the last accepted name of an item
constexpr int kUsedRole = Qt::UserRole + 2; // an available field the new question uses
constexpr int kGroupImage = 10;
constexpr int kDepthLimit = 2;

std::int32_t DataOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, Qt::UserRole).toInt() : CCalListeChampsPage::kGroupe;
}

bool IsField(const QTreeWidgetItem* item) {
    return DataOf(item) != CCalListeChampsPage::kGroupe;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

// The item and every item below it, in tree order.
void ForEach(QTreeWidgetItem& item, const std::function<void(QTreeWidgetItem&)>& visit) {
    visit(item);
    for (int i = 0; i < item.childCount(); ++i)
        ForEach(*item.child(i), visit);
}

QTreeWidgetItem* FirstFieldWithSubItems(QTreeWidgetItem& top) {
    QTreeWidgetItem* found = nullptr;
    ForEach(top, [&found](QTreeWidgetItem& item) {
        if (found == nullptr && IsField(&item) && item.childCount() > 0)
            found = &item;
    });
    return found;
}

bool HoldsAField(QTreeWidgetItem& top) {
    bool holds = false;
    ForEach(top, [&holds](QTreeWidgetItem& item) { holds = holds || IsField(&item); });
    return holds;
}

std::string StoredCaption(const QString& text) {
    std::string caption = text.toStdString();
    std::replace(caption.begin(), caption.end(), '|', '/');
    return caption;
}

} // namespace

CCalListeChampsPage::CCalListeChampsPage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_available(new CMultiTree(this)),
      m_tree(new QTreeWidget(this)), m_add(new QPushButton(QStringLiteral("A&jouter >>"), this)),
      m_group(new QPushButton(QStringLiteral("&Nouveau sous-total"), this)),
      m_out(new QPushButton(QStringLiteral("&Sortir"), this)),
      m_in(new QPushButton(QStringLiteral("&Entrer"), this)),
      m_up(new QPushButton(QStringLiteral("&Monter"), this)),
      m_down(new QPushButton(QStringLiteral("&Descendre"), this)),
      m_remove(new QPushButton(QStringLiteral("Su&pprimer"), this)),
      m_fields(new QPushButton(QStringLiteral("..."), this)) {
    m_available->SetMultiSelect(true);
    m_available->setHeaderLabel(QStringLiteral("Champs d'étude"));
    m_available->setRootIsDecorated(false);
    m_available->installEventFilter(this);
    m_fields->setObjectName(QStringLiteral("champs"));
    m_fields->setToolTip(QStringLiteral("Créer ou modifier les champs d'étude"));
    m_tree->setHeaderLabel(QStringLiteral("Modalités de la nouvelle question"));
    m_tree->setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_tree->installEventFilter(this);

    auto* left = new QVBoxLayout();
    auto* fieldsRow = new QHBoxLayout();
    fieldsRow->addWidget(new QLabel(QStringLiteral("Champs disponibles :"), this), 1);
    fieldsRow->addWidget(m_fields);
    left->addLayout(fieldsRow);
    left->addWidget(m_available, 1);

    auto* middle = new QVBoxLayout();
    middle->addStretch(1);
    for (QPushButton* button : {m_add, m_group, m_up, m_down, m_out, m_in, m_remove}) {
        button->setAutoDefault(false); // Enter stays the dialog's OK
        middle->addWidget(button);
    }
    middle->addStretch(1);
    m_fields->setAutoDefault(false);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    layout->addLayout(middle);
    layout->addWidget(m_tree, 1);

    connect(m_add, &QPushButton::clicked, this, &CCalListeChampsPage::AjouterChamps);
    connect(m_group, &QPushButton::clicked, this, &CCalListeChampsPage::AjouterGroupe);
    connect(m_remove, &QPushButton::clicked, this, &CCalListeChampsPage::Supprimer);
    connect(m_up, &QPushButton::clicked, this, [this] { CUtilArbre::MonterItem(*m_tree, true); });
    connect(m_down, &QPushButton::clicked, this, [this] { CUtilArbre::DescendreItem(*m_tree, true); });
    connect(m_out, &QPushButton::clicked, this, [this] { CUtilArbre::SortirItem(*m_tree); });
    connect(m_in, &QPushButton::clicked, this, [this] {
        if (IsField(m_tree->currentItem()))
            CUtilArbre::EntrerItem(*m_tree, kDepthLimit);
    });
    connect(m_fields, &QPushButton::clicked, this, &CCalListeChampsPage::OnChamps);
    connect(m_available, &QTreeWidget::itemDoubleClicked, this, [this] { AjouterChamps(); });
    connect(m_tree, &QTreeWidget::itemChanged, this, &CCalListeChampsPage::OnRenamed);
    RemplirDisponibles();
}

void CCalListeChampsPage::RemplirDisponibles() {
    m_available->clear();
    std::vector<std::unique_ptr<CIdName>> fields;
    m_context.DonnerListeChampsEtude(fields);
    for (const auto& field : fields) {
        auto* item = new QTreeWidgetItem(m_available, {QString::fromStdString(field->name)});
        item->setData(0, Qt::UserRole, field->id);
    }
    MarquerUtilises();
}

QTreeWidgetItem* CCalListeChampsPage::Disponible(std::int32_t id) const {
    for (int i = 0; i < m_available->topLevelItemCount(); ++i)
        if (DataOf(m_available->topLevelItem(i)) == id)
            return m_available->topLevelItem(i);
    return nullptr;
}

bool CCalListeChampsPage::EstUtilise(std::int32_t id) const {
    const QTreeWidgetItem* item = Disponible(id);
    return item != nullptr && item->data(0, kUsedRole).toBool();
}

// A field shows as used while the new question holds it anywhere.
void CCalListeChampsPage::MarquerUtilises() {
    std::set<std::int32_t> held;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        ForEach(*m_tree->topLevelItem(i), [&held](QTreeWidgetItem& item) {
            if (IsField(&item))
                held.insert(DataOf(&item));
        });
    const QIcon used = style()->standardIcon(QStyle::SP_DialogApplyButton);
    const QIcon free = style()->standardIcon(QStyle::SP_FileIcon);
    for (int i = 0; i < m_available->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_available->topLevelItem(i);
        const bool isUsed = held.contains(DataOf(item));
        item->setData(0, kUsedRole, isUsed);
        item->setIcon(0, isUsed ? used : free);
    }
}

QTreeWidgetItem* CCalListeChampsPage::NewItem(const QString& name, std::int32_t itemData) {
    auto* item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, Qt::UserRole, itemData);
    item->setData(0, kNameRole, name);
    item->setIcon(0, itemData == kGroupe ? m_images.GetImage(kGroupImage)
                                         : style()->standardIcon(QStyle::SP_FileIcon));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void CCalListeChampsPage::AjouterGroupe() {
    const QSignalBlocker quiet(m_tree);
    const std::string name =
        StringTable::Format(Message(StringTable::kSousTotal, {std::to_string(++m_groupCounter)}));
    QTreeWidgetItem* item = NewItem(QString::fromStdString(name), kGroupe);
    m_tree->addTopLevelItem(item);
    m_tree->setCurrentItem(item);
}

// Each selected field in turn: under the current group, or after the current item.
void CCalListeChampsPage::AjouterChamps() {
    std::vector<QTreeWidgetItem*> chosen;
    for (QTreeWidgetItem* item = m_available->GetFirstSelectedItem(); item != nullptr;
         item = m_available->GetNextSelectedItem(item))
        chosen.push_back(item);
    if (chosen.empty() && m_available->currentItem() != nullptr)
        chosen.push_back(m_available->currentItem());
    const QSignalBlocker quiet(m_tree);
    UserInterface& ui = m_context.GetUserInterface();
    for (QTreeWidgetItem* field : chosen) {
        if (field->data(0, kUsedRole).toBool() && !ui.AskYesNo(Message(StringTable::kChampDejaSelectionne)))
            continue;
        QTreeWidgetItem* item = NewItem(field->text(0), DataOf(field));
        QTreeWidgetItem* current = m_tree->currentItem();
        if (current == nullptr) {
            m_tree->addTopLevelItem(item);
        } else if (!IsField(current)) {
            current->addChild(item);
            current->setExpanded(true);
        } else if (QTreeWidgetItem* parent = current->parent()) {
            parent->insertChild(parent->indexOfChild(current) + 1, item);
        } else {
            m_tree->insertTopLevelItem(m_tree->indexOfTopLevelItem(current) + 1, item);
        }
        // Further fields go under the same group, or after this one.
        m_tree->setCurrentItem(current != nullptr && !IsField(current) ? current : item);
        field->setData(0, kUsedRole, true);
    }
    MarquerUtilises();
}

void CCalListeChampsPage::Supprimer() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    delete item;
    MarquerUtilises();
}

// The study fields created or changed there are offered at once; the new question keeps its
// items.
void CCalListeChampsPage::OnChamps() {
    CChampEtudeDlg dialog(m_context, -1, this);
    dialog.exec();
    RemplirDisponibles();
}

void CCalListeChampsPage::OnRenamed(QTreeWidgetItem* item, int /*column*/) {
    const QString name = item->text(0).trimmed();
    const QSignalBlocker quiet(m_tree);
    if (name.isEmpty()) {
        QApplication::beep();
        item->setText(0, item->data(0, kNameRole).toString());
        return;
    }
    const Message refused =
        CVariableCalculee::VerifierLibelle(CVariableCalculee::kChampsEtude, name.toStdString());
    if (refused.id != 0) {
        item->setText(0, item->data(0, kNameRole).toString());
        m_context.GetUserInterface().ShowMessage(refused, UserInterface::Icon::Warning);
        return;
    }
    item->setData(0, kNameRole, name);
}

// A stored field that no longer exists leaves its caption as an empty group, which the check
// then takes for the modality of the interviews no field keeps.
void CCalListeChampsPage::Charger(const CQuestionCalculee& definition) {
    const QSignalBlocker quiet(m_tree);
    m_tree->clear();
    const std::vector<std::string> captions = Split(definition.themes, '|');
    const std::vector<std::string> pieces = Split(definition.DonnerDefinition(), '|');
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const QString caption = QString::fromStdString(captions[i]);
        std::vector<std::int32_t> ids;
        if (captions.size() == pieces.size())
            CStaticTools::LireChaineSeparateurLong(pieces[i], '@', ids);
        if (!ids.empty() && ids.front() != kGroupe && Disponible(ids.front()) != nullptr) {
            m_tree->addTopLevelItem(NewItem(caption, ids.front()));
            continue;
        }
        QTreeWidgetItem* group = NewItem(caption, kGroupe);
        m_tree->addTopLevelItem(group);
        if (ids.empty() || ids.front() != kGroupe)
            continue;
        for (std::size_t k = 1; k < ids.size(); ++k)
            if (const QTreeWidgetItem* field = Disponible(ids[k]))
                group->addChild(NewItem(field->text(0), ids[k]));
        group->setExpanded(true);
    }
    MarquerUtilises();
}

bool CCalListeChampsPage::Verifier() {
    UserInterface& ui = m_context.GetUserInterface();
    const auto refuse = [&](QTreeWidgetItem* item, int message) {
        if (item != nullptr)
            m_tree->setCurrentItem(item);
        ui.ShowMessage(Message(message), UserInterface::Icon::Warning);
        return false;
    };
    if (m_tree->topLevelItemCount() == 0)
        return refuse(nullptr, StringTable::kAucuneModaliteDefinie);
    bool catchAll = false;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        if (QTreeWidgetItem* field = FirstFieldWithSubItems(*top))
            return refuse(field, StringTable::kChampSansSousItems);
        if (HoldsAField(*top))
            continue;
        if (catchAll)
            return refuse(top, StringTable::kUneSeuleModaliteAutre);
        catchAll = true;
    }
    if (!catchAll && ui.AskYesNo(Message(StringTable::kCreerModaliteAutre))) {
        const QSignalBlocker quiet(m_tree);
        m_tree->addTopLevelItem(
            NewItem(QString::fromStdString(StringTable::Text(StringTable::kAutre)), kGroupe));
    }
    return true;
}

void CCalListeChampsPage::DonnerParties(PartiesVariable& parts) const {
    parts.themes.clear();
    parts.definition.clear();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* top = m_tree->topLevelItem(i);
        parts.themes += StoredCaption(top->text(0)) + "|";
        if (IsField(top)) {
            parts.definition += std::to_string(DataOf(top)) + "|";
            continue;
        }
        parts.definition += "0@";
        for (int c = 0; c < top->childCount(); ++c)
            if (IsField(top->child(c)))
                parts.definition += std::to_string(DataOf(top->child(c))) + "@";
        parts.definition += "|";
    }
}

bool CCalListeChampsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != m_available && watched != m_tree))
        return CPanneauVariable::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space) {
        AjouterChamps();
        return true;
    }
    if (watched != m_tree)
        return CPanneauVariable::eventFilter(watched, event);
    if (key->key() == Qt::Key_Insert) {
        AjouterGroupe();
        return true;
    }
    if (key->key() == Qt::Key_Delete) {
        Supprimer();
        return true;
    }
    if (key->modifiers().testFlag(Qt::AltModifier)) {
        switch (key->key()) {
        case Qt::Key_Up:
            CUtilArbre::MonterItem(*m_tree, true);
            return true;
        case Qt::Key_Down:
            CUtilArbre::DescendreItem(*m_tree, true);
            return true;
        case Qt::Key_Left:
            CUtilArbre::SortirItem(*m_tree);
            return true;
        case Qt::Key_Right:
            if (IsField(m_tree->currentItem()))
                CUtilArbre::EntrerItem(*m_tree, kDepthLimit);
            return true;
        default:
            break;
        }
    }
    return CPanneauVariable::eventFilter(watched, event);
}
