#include "gui/requests/PageGeneraleProfilsDlg.h"

#include "app/Bibliotheque.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "presentation/PresentationTableau.h"
#include "gui/requests/FusionDlg.h"
#include "gui/requests/OperationDlg.h"
#include "gui/requests/SelNiveauDlg.h"
#include "gui/requests/SelectionnerDlg.h"
#include "tabulation/Style.h"
#include "tabulation/Traitement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// The list's columns, as the operations show in them.
const std::array<const char*, 5> kColumns{"Calcul", "Nom", "Champ d'étude", "Redressement", "Niveau"};
constexpr int kColumnWidth = 80;

// One mark per type of operation (crossing, total, statistics sub-total, test line), so that the
// kind of each line shows at a glance.
QIcon TypeIcon(int type) {
    static const std::array<QColor, 4> kColours{QColor(40, 90, 170), QColor(40, 140, 60), QColor(200, 120, 20),
                                                QColor(170, 40, 40)};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kColours[static_cast<std::size_t>(type >= 0 && type < 4 ? type : 0)]);
    painter.drawRoundedRect(QRectF(2, 2, 12, 12), 3, 3);
    return QIcon(pixmap);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* Button(const char* text, QWidget* parent, bool enabled = true) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setEnabled(enabled);
    return button;
}

// The small "..." button of a chooser.
QPushButton* ChooserButton(bool enabled, QWidget* parent) {
    QPushButton* button = Button("...", parent, enabled);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return button;
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    return label;
}

std::string LevelNameOf(const CContexteEtude& context, int index) {
    const CQuestionNiveau* level = context.DonnerNiveau(index);
    return level != nullptr ? level->name : std::string();
}

} // namespace

CPageGeneraleProfilsDlg::CPageGeneraleProfilsDlg(CContexteEtude& context, CPresentationTableau& presentation,
                                                 const std::string& title, std::int32_t& level, QWidget* parent)
    : QWidget(parent), m_context(context), m_presentation(presentation), m_level(level),
      m_studyField(context.universeCode, context.universeLabel),
      m_weighting(context.weightingCode, context.weightingLabel),
      m_choosers(CPageGeneraleDlg::ChoosersFor(context)), m_title(new QLineEdit(Text(title), this)),
      m_studyFieldName(new QLabel(this)), m_weightingName(new QLabel(this)), m_levelName(new QLabel(this)) {
    setObjectName(QStringLiteral("CPageGeneraleProfilsDlg"));
    m_level = context.currentLevel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildSettings());
    layout->addLayout(BuildStyleRow());
    layout->addLayout(BuildOperations(), 1);
    FillStyles();
    ShowNames();
    ShowOperations(-1);
}

CPageGeneraleProfilsDlg::~CPageGeneraleProfilsDlg() = default;

QLayout* CPageGeneraleProfilsDlg::BuildSettings() {
    m_presentationButton = Button("&Présentation...", this, static_cast<bool>(m_choosers.presentation));
    m_fusionButton = Button("&Fusion...", this);
    m_studyFieldButton = ChooserButton(static_cast<bool>(m_choosers.studyField), this);
    m_weightingButton = ChooserButton(static_cast<bool>(m_choosers.weighting), this);
    m_levelButton = ChooserButton(true, this);
    auto* grid = new QGridLayout;
    grid->addWidget(Caption("&Titre :", m_title, this), 0, 0);
    grid->addWidget(m_title, 0, 1, 1, 2);
    grid->addWidget(m_presentationButton, 0, 3);
    grid->addWidget(Caption("&Champ d'étude:", m_studyFieldButton, this), 1, 0);
    grid->addWidget(m_studyFieldName, 1, 1);
    grid->addWidget(m_studyFieldButton, 1, 2);
    grid->addWidget(m_fusionButton, 1, 3);
    grid->addWidget(Caption("&Redressement:", m_weightingButton, this), 2, 0);
    grid->addWidget(m_weightingName, 2, 1);
    grid->addWidget(m_weightingButton, 2, 2);
    grid->addWidget(Caption("&Niveau:", m_levelButton, this), 3, 0);
    grid->addWidget(m_levelName, 3, 1);
    grid->addWidget(m_levelButton, 3, 2);
    grid->setColumnStretch(1, 1);
    connect(m_presentationButton, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnPresentation);
    connect(m_fusionButton, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnFusion);
    connect(m_studyFieldButton, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnStudyField);
    connect(m_weightingButton, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnWeighting);
    connect(m_levelButton, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnLevel);
    return grid;
}

QLayout* CPageGeneraleProfilsDlg::BuildStyleRow() {
    m_styles = new QComboBox(this);
    m_styles->setEditable(true);
    m_styles->setInsertPolicy(QComboBox::NoInsert);
    m_styles->setMinimumContentsLength(18);
    m_newStyle = Button("Nou&veau", this);
    m_saveStyle = Button("&Enregistrer", this);
    m_deleteStyle = Button("Supprimer le st&yle", this);
    m_toLibrary = Button("Vers la &bibliothèque", this);
    m_fromLibrary = Button("De la b&ibliothèque...", this);
    auto* row = new QHBoxLayout;
    row->addWidget(Caption("&Style :", m_styles, this));
    row->addWidget(m_styles, 1);
    for (QPushButton* button : {m_newStyle, m_saveStyle, m_deleteStyle, m_toLibrary, m_fromLibrary})
        row->addWidget(button);
    connect(m_styles, &QComboBox::activated, this, &CPageGeneraleProfilsDlg::OnStyleChosen);
    connect(m_styles->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_styleName = text.toStdString();
        if (m_styleId != 0)
            m_modified = true;
    });
    connect(m_newStyle, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnNewStyle);
    connect(m_saveStyle, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnSaveStyle);
    connect(m_deleteStyle, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnDeleteStyle);
    connect(m_toLibrary, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnSaveToLibrary);
    connect(m_fromLibrary, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnLoadFromLibrary);
    return row;
}

QLayout* CPageGeneraleProfilsDlg::BuildOperations() {
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(static_cast<int>(kColumns.size()));
    QStringList headers;
    for (const char* column : kColumns)
        headers << QString::fromUtf8(column);
    m_list->setHeaderLabels(headers);
    m_list->installEventFilter(this);
    m_add = Button("A&jouter...", this);
    m_edit = Button("&Modifier...", this);
    m_delete = Button("Supprimer", this);
    m_up = Button("Monter", this);
    m_down = Button("Descendre", this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_add, m_edit, m_delete, m_up, m_down})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CPageGeneraleProfilsDlg::OnDelete);
    connect(m_up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { Move(1); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnEdit(); });
    return row;
}

void CPageGeneraleProfilsDlg::FillStyles() {
    const QSignalBlocker blocker(m_styles);
    m_styles->clear();
    CDBQuestionnaire database(m_context, &m_context.GetUserInterface());
    std::vector<std::unique_ptr<CIdName>> styles;
    if (database.GetStyleList(styles))
        for (const auto& style : styles)
            m_styles->addItem(Text(style->name), style->id);
    ShowStyle(-1, {});
}

// The keys of the list: Insert adds, Delete deletes, Alt+Enter edits, Alt+Up and Alt+Down move.
bool CPageGeneraleProfilsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_list || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers() & Qt::AltModifier;
    if (key->key() == Qt::Key_Insert)
        OnAdd();
    else if (key->key() == Qt::Key_Delete)
        OnDelete();
    else if (alt && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
        OnEdit();
    else if (alt && key->key() == Qt::Key_Up)
        Move(-1);
    else if (alt && key->key() == Qt::Key_Down)
        Move(1);
    else
        return QWidget::eventFilter(watched, event);
    return true;
}

// ---- Settings ---------------------------------------------------------------------------------

void CPageGeneraleProfilsDlg::LireTraitement(const CTraitement& request) {
    m_title->setText(Text(request.title));
    m_presentation = request.presentation;
    m_mergeOptions = request.mergeOptions;
    m_level = request.level;
    m_studyField = CIdName(request.studyFieldId, request.studyFieldName);
    m_weighting = CIdName(request.weightingId, request.weightingName);
    ShowNames();
    const CStyle* style = request.GetStyle();
    if (style == nullptr)
        return;
    const int index = style->id > 0 ? m_styles->findData(style->id) : -1;
    if (index >= 0 && ChargerStyle(style->id)) {
        ShowStyle(index, EntryName(index));
        return;
    }
    ReplaceOperations(*style);
}

void CPageGeneraleProfilsDlg::EcrireTraitement(CTraitement& request) const {
    request.title = m_title->text().toStdString();
    request.presentation = m_presentation;
    request.mergeOptions = m_mergeOptions;
    request.studyFieldId = m_studyField.id;
    request.weightingId = m_weighting.id;
    request.studyFieldName = m_studyField.name;
    request.weightingName = m_weighting.name;
    request.level = m_level;
    request.SetStyle(StyleOfList());
}

bool CPageGeneraleProfilsDlg::Valider() const {
    if (!m_operations.empty())
        return true;
    Tell(StringTable::kSelectionnerUnTraitement, UserInterface::Icon::Warning);
    return false;
}

void CPageGeneraleProfilsDlg::OnPresentation() {
    CPresentationTableau copy = m_presentation;
    if (m_choosers.presentation && m_choosers.presentation(this, copy))
        m_presentation = copy;
}

void CPageGeneraleProfilsDlg::OnFusion() {
    CFusionDlg dialog(m_mergeOptions, this);
    if (dialog.exec() == QDialog::Accepted)
        m_mergeOptions = dialog.GetTypeFusion();
}

void CPageGeneraleProfilsDlg::OnStudyField() {
    CIdName copy = m_studyField;
    if (m_choosers.studyField && m_choosers.studyField(this, copy))
        m_studyField = copy;
    ShowNames();
}

void CPageGeneraleProfilsDlg::OnWeighting() {
    CIdName copy = m_weighting;
    if (m_choosers.weighting && m_choosers.weighting(this, copy))
        m_weighting = copy;
    ShowNames();
}

void CPageGeneraleProfilsDlg::OnLevel() {
    CSelNiveauDlg dialog(m_level, this);
    if (dialog.exec() == QDialog::Accepted)
        m_level = dialog.GetChosenLevel();
    ShowNames();
}

void CPageGeneraleProfilsDlg::ShowNames() {
    m_studyFieldName->setText(Text(m_studyField.name));
    m_weightingName->setText(Text(m_weighting.name));
    m_levelName->setText(Text(LevelNameOf(m_context, m_level)));
}

void CPageGeneraleProfilsDlg::Tell(int messageId, UserInterface::Icon icon, const std::string& argument) const {
    m_context.GetUserInterface().ShowMessage(argument.empty() ? Message(messageId) : Message(messageId, {argument}),
                                             icon);
}

// ---- Operations -------------------------------------------------------------------------------

void CPageGeneraleProfilsDlg::ShowOperations(int selected) {
    m_list->clear();
    for (const auto& operation : m_operations) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, Text(operation->DonnerLibelleOperation()));
        item->setText(1, Text(operation->label));
        item->setText(2, Text(operation->studyFieldName));
        item->setText(3, Text(operation->weightingName));
        item->setText(4, Text(operation->levelName));
        item->setIcon(0, TypeIcon(operation->type));
    }
    FitColumns();
    if (selected >= 0 && selected < m_list->topLevelItemCount()) {
        m_list->setCurrentItem(m_list->topLevelItem(selected));
        m_list->topLevelItem(selected)->setSelected(true);
    }
}

// Every name whole: the columns as wide as their longest text, and the list as wide as they are.
// The widths come from the texts alone, never from the widths shown: the last column stretches
// over the room left, and a width read back from it would widen the list at every call.
void CPageGeneraleProfilsDlg::FitColumns() {
    QHeaderView& header = *m_list->header();
    const bool stretched = header.stretchLastSection();
    header.setStretchLastSection(false);
    int total = 0;
    for (int column = 0; column < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
        const int width = std::max(m_list->columnWidth(column) + 8, kColumnWidth);
        m_list->setColumnWidth(column, width);
        total += width;
    }
    header.setStretchLastSection(stretched);
    m_list->setMinimumWidth(total + 2 * m_list->frameWidth() + 2);
}

int CPageGeneraleProfilsDlg::SelectedOperation() const {
    QTreeWidgetItem* item = m_list->currentItem();
    return item != nullptr && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
}

void CPageGeneraleProfilsDlg::SetModified() {
    m_modified = true;
}

void CPageGeneraleProfilsDlg::OnAdd() {
    COperationDlg dialog(m_context, CCalculEvolue(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_operations.push_back(std::make_unique<CCalculEvolue>(dialog.GetCalcul()));
    SetModified();
    ShowOperations(static_cast<int>(m_operations.size()) - 1);
}

void CPageGeneraleProfilsDlg::OnEdit() {
    const int selected = SelectedOperation();
    if (selected < 0)
        return;
    COperationDlg dialog(m_context, *m_operations[static_cast<std::size_t>(selected)], this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_operations[static_cast<std::size_t>(selected)] = std::make_unique<CCalculEvolue>(dialog.GetCalcul());
    SetModified();
    ShowOperations(selected);
}

void CPageGeneraleProfilsDlg::OnDelete() {
    const int selected = SelectedOperation();
    if (selected < 0 || !m_context.GetUserInterface().AskYesNo(Message(StringTable::kSupprimerOperation)))
        return;
    m_operations.erase(m_operations.begin() + selected);
    SetModified();
    ShowOperations(std::min(selected, static_cast<int>(m_operations.size()) - 1));
}

void CPageGeneraleProfilsDlg::Move(int step) {
    const int selected = SelectedOperation();
    const int target = selected + step;
    if (selected < 0 || target < 0 || target >= static_cast<int>(m_operations.size()))
        return;
    std::swap(m_operations[static_cast<std::size_t>(selected)], m_operations[static_cast<std::size_t>(target)]);
    SetModified();
    ShowOperations(target);
}

// ---- Styles -----------------------------------------------------------------------------------

// The combo on an entry (-1 none) with the name of the current style in its edit field; the
// combo's own text may already show the entry the analyst is leaving for.
void CPageGeneraleProfilsDlg::ShowStyle(int index, const std::string& name) {
    const QSignalBlocker blocker(m_styles);
    m_styles->setCurrentIndex(index);
    m_styles->setEditText(Text(name));
    m_styleIndex = index;
    m_styleName = name;
}

std::string CPageGeneraleProfilsDlg::EntryName(int index) const {
    return m_styles->itemText(index).toStdString();
}

bool CPageGeneraleProfilsDlg::QuitterStyle() {
    if (m_styleId == 0 || !m_modified)
        return true;
    switch (m_context.GetUserInterface().AskYesNoCancel(Message(StringTable::kStyleModifie))) {
    case UserInterface::Reply::Yes:
        return SauverStyle();
    case UserInterface::Reply::No:
        ForgetStyle();
        return true;
    case UserInterface::Reply::Cancel:
        break;
    }
    return false;
}

// The operations stay; the list is no style any more, and a new entry not stored leaves the combo.
void CPageGeneraleProfilsDlg::ForgetStyle() {
    if (m_styleId == -1 && m_styleIndex >= 0) {
        const QSignalBlocker blocker(m_styles);
        m_styles->removeItem(m_styleIndex);
    }
    m_styleId = 0;
    m_modified = false;
    ShowStyle(-1, m_styleName);
}

void CPageGeneraleProfilsDlg::OnStyleChosen(int index) {
    if (index == m_styleIndex && m_styleId != 0)
        return;
    const std::int32_t key = m_styles->itemData(index).toInt();
    if (!QuitterStyle()) {
        ShowStyle(m_styleIndex, m_styleName);
        return;
    }
    // Forgetting a new style may have taken its entry out of the combo.
    const int found = m_styles->findData(key);
    if (found < 0 || !ChargerStyle(key)) {
        ShowStyle(-1, {});
        return;
    }
    ShowStyle(found, EntryName(found));
}

bool CPageGeneraleProfilsDlg::ChargerStyle(std::int32_t key) {
    CDBQuestionnaire database(m_context, &m_context.GetUserInterface());
    CStyle style;
    if (!database.ReadStyle(key, style))
        return false;
    ReplaceOperations(style);
    m_styleId = key;
    m_modified = false;
    return true;
}

void CPageGeneraleProfilsDlg::ReplaceOperations(const CStyle& style) {
    m_operations.clear();
    for (int i = 0; i < style.GetCount(); ++i)
        m_operations.push_back(std::make_unique<CCalculEvolue>(*style.GetAt(i)));
    ShowOperations(m_operations.empty() ? -1 : 0);
}

void CPageGeneraleProfilsDlg::OnNewStyle() {
    if (!QuitterStyle())
        return;
    const QSignalBlocker blocker(m_styles);
    m_styles->addItem(Text(StringTable::Text(StringTable::kNouveauStyle)), -1);
    ShowStyle(m_styles->count() - 1, StringTable::Text(StringTable::kNouveauStyle));
    m_styleId = -1;
    m_modified = true;
}

std::unique_ptr<CStyle> CPageGeneraleProfilsDlg::StyleOfList() const {
    auto style = std::make_unique<CStyle>();
    style->id = m_styleId > 0 ? m_styleId : 0;
    style->name = m_styleName;
    for (const auto& operation : m_operations)
        style->Add(std::make_unique<CCalculEvolue>(*operation));
    return style;
}

bool CPageGeneraleProfilsDlg::CheckSomeOperation() const {
    if (!m_operations.empty())
        return true;
    Tell(StringTable::kDefinirUneOperation, UserInterface::Icon::Warning);
    return false;
}

// Requests and tables find their style by name: two styles of one name would be one too many.
bool CPageGeneraleProfilsDlg::NameTakenByAnother(const std::string& name) {
    CDBQuestionnaire database(m_context, &m_context.GetUserInterface());
    std::vector<std::unique_ptr<CIdName>> styles;
    if (!database.GetStyleList(styles))
        return false;
    for (const auto& style : styles)
        if (style->name == name && style->id != m_styleId)
            return true;
    return false;
}

bool CPageGeneraleProfilsDlg::SauverStyle() {
    if (!CheckSomeOperation())
        return false;
    std::unique_ptr<CStyle> style = StyleOfList();
    if (style->name.empty()) {
        Tell(StringTable::kEntrerUnNom, UserInterface::Icon::Warning);
        return false;
    }
    if (NameTakenByAnother(style->name)) {
        Tell(StringTable::kNomDejaUtilise, UserInterface::Icon::Warning);
        return false;
    }
    style->id = m_styleId > 0 ? m_styleId : 0;
    CDBQuestionnaire database(m_context, &m_context.GetUserInterface());
    if (!database.SaveStyle(*style))
        return false;
    const QSignalBlocker blocker(m_styles);
    if (m_styleId > 0 || m_styleId == -1) {
        m_styles->setItemText(m_styleIndex, Text(style->name));
        m_styles->setItemData(m_styleIndex, style->id);
    } else {
        m_styles->addItem(Text(style->name), style->id);
        m_styleIndex = m_styles->count() - 1;
    }
    ShowStyle(m_styleIndex, style->name);
    m_styleId = style->id;
    m_modified = false;
    return true;
}

void CPageGeneraleProfilsDlg::OnSaveStyle() {
    SauverStyle();
}

void CPageGeneraleProfilsDlg::OnDeleteStyle() {
    if (m_styleId == 0 || !m_context.GetUserInterface().AskYesNo(Message(StringTable::kSupprimerStyle)))
        return;
    if (m_styleId > 0) {
        CDBQuestionnaire database(m_context, &m_context.GetUserInterface());
        if (!database.DeleteStyle(m_styleId))
            return;
    }
    {
        const QSignalBlocker blocker(m_styles);
        m_styles->removeItem(m_styleIndex);
    }
    m_styleId = 0;
    m_modified = false;
    ShowStyle(-1, {});
}

void CPageGeneraleProfilsDlg::OnSaveToLibrary() {
    if (!CheckSomeOperation())
        return;
    std::unique_ptr<CStyle> style = StyleOfList();
    if (style->name.empty()) {
        Tell(StringTable::kEntrerUnNom, UserInterface::Icon::Warning);
        return;
    }
    CBibliotheque library(m_context);
    if (!library.Open()) {
        Tell(StringTable::kOuvrirBibliotheque, UserInterface::Icon::Error);
        return;
    }
    if (!library.SaveStyle(*style)) {
        Tell(StringTable::kEcritureBibliotheque, UserInterface::Icon::Error, library.GetLastError());
        return;
    }
    Tell(StringTable::kAjoutBibliotheque, UserInterface::Icon::Information);
}

void CPageGeneraleProfilsDlg::OnLoadFromLibrary() {
    if (!QuitterStyle())
        return;
    CBibliotheque library(m_context);
    std::vector<std::unique_ptr<CIdName>> styles;
    if (!library.Open()) {
        Tell(StringTable::kOuvrirBibliotheque, UserInterface::Icon::Error);
        return;
    }
    if (!library.GetStyleList(styles)) {
        Tell(StringTable::kOuvrirBibliotheque, UserInterface::Icon::Error);
        return;
    }
    std::vector<CIdName> items;
    for (const auto& style : styles)
        items.push_back(*style);
    CSelectionnerDlg dialog(std::move(items), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CStyle style;
    if (!library.ReadStyle(dialog.GetChosenId(), style)) {
        Tell(StringTable::kOuvrirBibliotheque, UserInterface::Icon::Error);
        return;
    }
    ReplaceOperations(style);
    // The list is not a style of this questionnaire yet: saving it stores it under the library's name.
    m_styleId = 0;
    m_modified = false;
    ShowStyle(-1, style.name);
}
