#include "gui/recodes/RegroupementDlg.h"

#include "app/Bibliotheque.h"
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/WindowSize.h"
#include "recodes/EnregistrerRecodage.h"
#include "recodes/ModaliteGroupe.h"
#include "recodes/RecodageModalite.h"
#include "recodes/RecodeChecks.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <set>

namespace {

constexpr int kLabelLength = 50;
constexpr int kCodeRole = Qt::UserRole;
constexpr int kModelRole = Qt::UserRole + 1;
constexpr int kUsedRole = Qt::UserRole + 2;
constexpr int kGroupImage = 10;
constexpr int kModalityImage = 7;
// Sub-totals may nest as deep as the analyst wants.
constexpr int kNoDepthLimit = 1000;

std::int32_t CodeOf(const QTreeWidgetItem* item) {
    return item->data(0, kCodeRole).toInt();
}

// Every item of the tree in pre-order.
void ForEachItem(QTreeWidget& tree, const std::function<void(QTreeWidgetItem&, int depth)>& visit) {
    std::function<void(QTreeWidgetItem&, int)> walk = [&](QTreeWidgetItem& item, int depth) {
        visit(item, depth);
        for (int i = 0; i < item.childCount(); ++i)
            walk(*item.child(i), depth + 1);
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        walk(*tree.topLevelItem(i), 0);
}

// A caption copied from the questionnaire cannot keep the separator of the stored grouping.
std::string WithoutSeparator(std::string caption) {
    std::replace(caption.begin(), caption.end(), '|', '/');
    return caption;
}

} // namespace

CRegroupementDlg::CRegroupementDlg(CContexteEtude& context, CQuestionEtendue& question, QWidget* parent)
    : QDialog(parent), m_context(context), m_question(question) {
    Init(nullptr);
}

CRegroupementDlg::CRegroupementDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& question,
                                   QWidget* parent)
    : QDialog(parent), m_context(context), m_question(question) {
    Init(&edited);
}

CRegroupementDlg::~CRegroupementDlg() = default;

void CRegroupementDlg::Init(CQuestionEtendue* edited) {
    m_edited = edited;
    const auto* existing = edited != nullptr ? dynamic_cast<const CRecodageModalite*>(edited->GetRecodage()) : nullptr;
    if (existing != nullptr) {
        m_recode = std::make_unique<CRecodageModalite>(*existing);
    } else {
        m_edited = nullptr;
        m_recode = std::make_unique<CRecodageModalite>(&m_context);
        m_recode->sourceQuestionCode = m_question.code;
        m_recode->sourceRecodeCode = m_question.recodeId;
    }
    BuildWidgets();
    m_label->setText(QString::fromStdString(m_recode->label));
    m_cumul->setChecked(m_recode->GetEstCumule());
    FillSource();
    FillGroupsFromRecode();
    RefreshUsedMarks();
    WindowSize::FitContentsToScreen(*this);
}

void CRegroupementDlg::BuildWidgets() {
    setWindowTitle(QStringLiteral("Regroupement"));
    m_label = new QLineEdit(this);
    m_label->setMaxLength(kLabelLength);
    m_source = new QTreeWidget(this);
    m_groups = new QTreeWidget(this);
    m_cumul = new QCheckBox(QStringLiteral("Compter plusieurs fois une même interview dans un sous-total"), this);
    m_newGroup = new QPushButton(QStringLiteral("&Nouveau sous-total"), this);
    m_add = new QPushButton(QStringLiteral("&Ajouter >>"), this);
    m_up = new QPushButton(QStringLiteral("&Monter"), this);
    m_down = new QPushButton(QStringLiteral("&Descendre"), this);
    m_out = new QPushButton(QStringLiteral("&Sortir"), this);
    m_in = new QPushButton(QStringLiteral("&Entrer"), this);
    m_delete = new QPushButton(QStringLiteral("Su&pprimer"), this);
    m_librarySave = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QString(), this);
    m_librarySave->setToolTip(QStringLiteral("Enregistrer le regroupement dans la bibliothèque"));
    m_libraryLoad = new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton), QString(), this);
    m_libraryLoad->setToolTip(QStringLiteral("Charger un regroupement de la bibliothèque"));
    m_libraryLoad->setEnabled(false);

    m_source->setHeaderLabel(QStringLiteral("Modalités"));
    m_source->setRootIsDecorated(false);
    m_source->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_groups->setHeaderLabel(QStringLiteral("Sous-totaux"));
    m_groups->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    m_groups->setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    m_source->installEventFilter(this);
    m_groups->installEventFilter(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Libellé :"), this));
    top->addWidget(m_label, 1);
    for (QPushButton* button : {m_librarySave, m_libraryLoad}) {
        button->setAutoDefault(false);
        top->addWidget(button);
    }

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* button : {m_add, m_newGroup, m_up, m_down, m_out, m_in, m_delete}) {
        // Enter is OK's, whichever button was clicked last.
        button->setAutoDefault(false);
        middle->addWidget(button);
    }
    middle->addStretch(1);

    auto* trees = new QHBoxLayout;
    trees->addWidget(m_source, 1);
    trees->addLayout(middle);
    trees->addWidget(m_groups, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRegroupementDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRegroupementDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(trees, 1);
    layout->addWidget(m_cumul);
    layout->addWidget(buttons);
    resize(720, 480);

    connect(m_newGroup, &QPushButton::clicked, this, &CRegroupementDlg::NewGroup);
    connect(m_add, &QPushButton::clicked, this, &CRegroupementDlg::AddSelected);
    connect(m_delete, &QPushButton::clicked, this, &CRegroupementDlg::DeleteCurrent);
    connect(m_up, &QPushButton::clicked, this, [this] { CUtilArbre::MonterItem(*m_groups, true); });
    connect(m_down, &QPushButton::clicked, this, [this] { CUtilArbre::DescendreItem(*m_groups, true); });
    connect(m_out, &QPushButton::clicked, this, [this] { CUtilArbre::SortirItem(*m_groups); });
    connect(m_in, &QPushButton::clicked, this, [this] { CUtilArbre::EntrerItem(*m_groups, kNoDepthLimit); });
    connect(m_source, &QTreeWidget::itemDoubleClicked, this, [this] { AddSelected(); });
    connect(m_groups, &QTreeWidget::itemChanged, this, &CRegroupementDlg::OnGroupEdited);
    connect(m_librarySave, &QPushButton::clicked, this, &CRegroupementDlg::SaveToLibrary);
    connect(m_libraryLoad, &QPushButton::clicked, this, &CRegroupementDlg::LoadFromLibrary);
}

void CRegroupementDlg::SetRecodePicker(RecodePicker picker) {
    m_picker = std::move(picker);
    m_libraryLoad->setEnabled(static_cast<bool>(m_picker));
}

void CRegroupementDlg::FillSource() {
    for (int i = 0; i < m_question.GetNbreModalite(); ++i) {
        const CModaliteEtendue* modality = m_question.GetModaliteEtendue(i);
        if (modality == nullptr)
            continue;
        auto* item = new QTreeWidgetItem(m_source);
        item->setText(0, QString::fromStdString(CModaliteEtendue::ShortCaptionFor(*modality, &m_context)));
        item->setData(0, kCodeRole, modality->code);
    }
}

QTreeWidgetItem* CRegroupementDlg::NewNodeItem(std::unique_ptr<CModaliteGroupe> model) {
    auto* item = new QTreeWidgetItem;
    const std::int32_t code = model->code;
    item->setText(0, QString::fromStdString(CModaliteEtendue::ShortCaptionFor(*model, &m_context)));
    item->setData(0, kCodeRole, code);
    item->setData(0, kModelRole, static_cast<int>(m_models.size()));
    item->setIcon(0, m_images.GetImage(code == 0 ? kGroupImage : kModalityImage));
    if (code == 0)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_models.push_back(std::move(model));
    return item;
}

void CRegroupementDlg::FillGroupsFromRecode() {
    const QSignalBlocker quiet(m_groups);
    // Each node goes under the last node of the level above it.
    std::vector<QTreeWidgetItem*> lastOfLevel;
    for (int i = 0; i < m_recode->NodeCount(); ++i) {
        const CModaliteGroupe& node = *m_recode->Node(i);
        const auto level = static_cast<std::size_t>(std::max<int>(node.level, 0));
        QTreeWidgetItem* item = NewNodeItem(std::make_unique<CModaliteGroupe>(node));
        if (level == 0 || level > lastOfLevel.size())
            m_groups->addTopLevelItem(item);
        else
            lastOfLevel[level - 1]->addChild(item);
        lastOfLevel.resize(std::min(lastOfLevel.size(), level));
        lastOfLevel.push_back(item);
    }
    CUtilArbre::DeplierTout(*m_groups, nullptr);
}

bool CRegroupementDlg::IsUsed(int sourceRow) const {
    const QTreeWidgetItem* item = m_source->topLevelItem(sourceRow);
    return item != nullptr && item->data(0, kUsedRole).toBool();
}

void CRegroupementDlg::RefreshUsedMarks() {
    std::set<std::int32_t> held;
    ForEachItem(*m_groups, [&held](QTreeWidgetItem& item, int) {
        if (CodeOf(&item) != 0)
            held.insert(CodeOf(&item));
    });
    const QIcon used = style()->standardIcon(QStyle::SP_DialogApplyButton);
    for (int i = 0; i < m_source->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_source->topLevelItem(i);
        const bool isUsed = held.count(CodeOf(item)) != 0;
        item->setData(0, kUsedRole, isUsed);
        item->setIcon(0, isUsed ? used : QIcon());
    }
}

const CModaliteEtendue* CRegroupementDlg::SourceModality(std::int32_t code) const {
    if (code == 0)
        return nullptr;
    for (int i = 0; i < m_question.GetNbreModalite(); ++i)
        if (const CModaliteEtendue* modality = m_question.GetModaliteEtendue(i); modality != nullptr && modality->code == code)
            return modality;
    return nullptr;
}

std::unique_ptr<CModaliteGroupe> CRegroupementDlg::NodeOfModality(const CModaliteEtendue& modality) const {
    auto node = std::make_unique<CModaliteGroupe>(&m_context, modality);
    for (const CLanguage& language : m_context.languages)
        node->SetLocalisedShortCaption(language.id, WithoutSeparator(modality.GetLocalisedShortCaption(language.id)));
    return node;
}

void CRegroupementDlg::NewGroup() {
    const std::string caption = StringTable::Format(Message(StringTable::kSousTotal, {std::to_string(++m_groupCounter)}));
    auto model = std::make_unique<CModaliteGroupe>(&m_context, 0, caption, 0);
    model->SetLocalisedShortCaption(m_context.currentLanguage, caption);
    QTreeWidgetItem* item = NewNodeItem(std::move(model));
    m_groups->addTopLevelItem(item);
    m_groups->setCurrentItem(item);
}

void CRegroupementDlg::AddSelected() {
    std::vector<QTreeWidgetItem*> chosen;
    for (int i = 0; i < m_source->topLevelItemCount(); ++i)
        if (m_source->topLevelItem(i)->isSelected())
            chosen.push_back(m_source->topLevelItem(i));
    if (chosen.empty())
        return;
    for (QTreeWidgetItem* sourceItem : chosen) {
        if (sourceItem->data(0, kUsedRole).toBool() &&
            !m_context.GetUserInterface().AskYesNo(Message(StringTable::kModaliteDejaSelectionnee)))
            break;
        const CModaliteEtendue* modality = SourceModality(CodeOf(sourceItem));
        if (modality == nullptr)
            continue;
        QTreeWidgetItem* node = NewNodeItem(NodeOfModality(*modality));
        QTreeWidgetItem* current = m_groups->currentItem();
        if (current == nullptr) {
            m_groups->addTopLevelItem(node);
        } else if (CodeOf(current) == 0) {
            current->addChild(node);
            current->setExpanded(true);
        } else if (QTreeWidgetItem* parent = current->parent()) {
            parent->insertChild(parent->indexOfChild(current) + 1, node);
        } else {
            m_groups->insertTopLevelItem(m_groups->indexOfTopLevelItem(current) + 1, node);
        }
        m_groups->setCurrentItem(node);
        sourceItem->setData(0, kUsedRole, true);
    }
    RefreshUsedMarks();
    // The selection moves on to the item after the last one chosen, or back to the first.
    const int last = m_source->indexOfTopLevelItem(chosen.back());
    const int next = last + 1 < m_source->topLevelItemCount() ? last + 1 : 0;
    m_source->clearSelection();
    m_source->setCurrentItem(m_source->topLevelItem(next));
}

void CRegroupementDlg::DeleteCurrent() {
    QTreeWidgetItem* current = m_groups->currentItem();
    if (current == nullptr)
        return;
    delete current;
    RefreshUsedMarks();
}

void CRegroupementDlg::OnGroupEdited(QTreeWidgetItem* item, int /*column*/) {
    const int index = item->data(0, kModelRole).toInt();
    if (index < 0 || static_cast<std::size_t>(index) >= m_models.size())
        return;
    CModaliteGroupe& model = *m_models[static_cast<std::size_t>(index)];
    const std::string typed = item->text(0).toStdString();
    const std::string kept = CModaliteEtendue::ShortCaptionFor(model, &m_context);
    const QSignalBlocker quiet(m_groups);
    if (typed.empty()) {
        QApplication::beep();
        item->setText(0, QString::fromStdString(kept));
        return;
    }
    if (typed.find('|') != std::string::npos) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kLibelleSansBarre), UserInterface::Icon::Warning);
        item->setText(0, QString::fromStdString(kept));
        return;
    }
    model.SetLocalisedShortCaption(m_context.currentLanguage, typed);
}

bool CRegroupementDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != m_source && watched != m_groups))
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers().testFlag(Qt::AltModifier);
    if (key->key() == Qt::Key_Space) {
        AddSelected();
        return true;
    }
    if (watched != m_groups)
        return QDialog::eventFilter(watched, event);
    if (key->key() == Qt::Key_Insert) {
        NewGroup();
        return true;
    }
    if (key->key() == Qt::Key_Delete) {
        DeleteCurrent();
        return true;
    }
    if (alt) {
        switch (key->key()) {
        case Qt::Key_Up: CUtilArbre::MonterItem(*m_groups, true); return true;
        case Qt::Key_Down: CUtilArbre::DescendreItem(*m_groups, true); return true;
        case Qt::Key_Left: CUtilArbre::SortirItem(*m_groups); return true;
        case Qt::Key_Right: CUtilArbre::EntrerItem(*m_groups, kNoDepthLimit); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<std::unique_ptr<CRecodageModalite>> CRegroupementDlg::RecodeFromTree() {
    std::vector<RecodeChecks::Node> nodes;
    std::vector<QTreeWidgetItem*> items;
    ForEachItem(*m_groups, [&](QTreeWidgetItem& item, int depth) {
        nodes.push_back({CodeOf(&item), depth});
        items.push_back(&item);
    });
    if (const auto fault = RecodeChecks::CheckSubTotals(nodes)) {
        m_context.GetUserInterface().ShowMessage(fault->message, UserInterface::Icon::Warning);
        if (fault->index >= 0)
            m_groups->setCurrentItem(items[static_cast<std::size_t>(fault->index)]);
        m_groups->setFocus();
        return std::nullopt;
    }
    auto recode = std::make_unique<CRecodageModalite>(*m_recode);
    recode->label = m_label->text().trimmed().toStdString();
    recode->SetEstCumule(m_cumul->isChecked());
    recode->ViderNoeuds();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = items[i]->data(0, kModelRole).toInt();
        auto node = std::make_unique<CModaliteGroupe>(*m_models[static_cast<std::size_t>(index)]);
        node->level = static_cast<std::int16_t>(nodes[i].level);
        recode->AjouterNoeud(std::move(node));
    }
    recode->Reinitialiser();
    return recode;
}

void CRegroupementDlg::accept() {
    UserInterface& ui = m_context.GetUserInterface();
    auto built = RecodeFromTree();
    if (!built)
        return;
    std::unique_ptr<CRecodageModalite> filled = std::move(*built);
    if (const auto refused = RecodeChecks::CheckLabel(m_context, filled->label, *filled)) {
        ui.ShowMessage(*refused, UserInterface::Icon::Warning);
        m_label->setFocus();
        return;
    }
    std::string error;
    if (!EnregistrerRecodage(*filled, m_context, m_edited != nullptr ? &m_question : nullptr, error)) {
        ui.ShowMessage(Message::Text(error), UserInterface::Icon::Error);
        return;
    }
    m_recode = std::move(filled);
    QDialog::accept();
}

void CRegroupementDlg::SaveToLibrary() {
    UserInterface& ui = m_context.GetUserInterface();
    auto built = RecodeFromTree();
    if (!built)
        return;
    const std::unique_ptr<CRecodageModalite> recode = std::move(*built);
    if (recode->label.empty()) {
        ui.ShowMessage(Message(StringTable::kEntrerUnLibelle), UserInterface::Icon::Warning);
        m_label->setFocus();
        return;
    }
    CBibliotheque library(m_context);
    if (!library.Open()) {
        ui.ShowMessage(Message(StringTable::kOuvrirBibliotheque), UserInterface::Icon::Error);
        return;
    }
    if (library.SaveRecode(*recode, m_question)) {
        ui.ShowMessage(Message(StringTable::kAjoutBibliotheque), UserInterface::Icon::Information);
        return;
    }
    // Declining to overwrite leaves no error behind: nothing to say.
    if (!library.GetLastError().empty())
        ui.ShowMessage(Message::Text(library.GetLastError()), UserInterface::Icon::Error);
}

void CRegroupementDlg::LoadFromLibrary() {
    UserInterface& ui = m_context.GetUserInterface();
    if (!m_picker)
        return;
    CBibliotheque library(m_context);
    if (!library.Open()) {
        ui.ShowMessage(Message(StringTable::kOuvrirBibliotheque), UserInterface::Icon::Error);
        return;
    }
    std::vector<std::unique_ptr<CIdName>> list;
    if (!library.GetRecodeList(list)) {
        ui.ShowMessage(Message::Text(library.GetLastError()), UserInterface::Icon::Error);
        return;
    }
    std::vector<CIdName> recodes;
    for (const auto& entry : list)
        recodes.push_back(*entry);
    std::int32_t chosen = 0;
    if (!m_picker(std::move(recodes), this, chosen))
        return;
    const std::unique_ptr<CRecodage> read = library.ReadRecode(chosen, &m_question);
    const auto* grouping = dynamic_cast<const CRecodageModalite*>(read.get());
    if (grouping == nullptr) {
        if (!library.GetLastError().empty())
            ui.ShowMessage(Message::Text(library.GetLastError()), UserInterface::Icon::Error);
        return;
    }
    // The loaded grouping takes the place of the tree; this recode keeps its own key and source.
    auto loaded = std::make_unique<CRecodageModalite>(*m_recode);
    loaded->ViderNoeuds();
    // A modality node stands for this question's modality at the same position: it shows that
    // modality's captions, not those of the question the grouping was made on.
    for (int i = 0; i < grouping->NodeCount(); ++i) {
        const CModaliteGroupe& stored = *grouping->Node(i);
        const CModaliteEtendue* own = SourceModality(stored.code);
        auto node = own != nullptr ? NodeOfModality(*own) : std::make_unique<CModaliteGroupe>(stored);
        node->level = stored.level;
        loaded->AjouterNoeud(std::move(node));
    }
    m_recode = std::move(loaded);
    m_groups->clear();
    FillGroupsFromRecode();
    RefreshUsedMarks();
}
