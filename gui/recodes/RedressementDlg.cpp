#include "gui/recodes/RedressementDlg.h"

#include "app/Bibliotheque.h"
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/WindowSize.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/EditionRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "gui/recodes/SaisiePoidsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSizePolicy>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr std::int32_t kNoWeighting = -1;
constexpr int kNameLength = 50;
constexpr int kDescriptionLength = 255;
constexpr int kTargetRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
// Filters of the question-selection dialog.
constexpr std::int16_t kNumericQuestions = 2;
constexpr std::int16_t kClosedQuestions = 3;
constexpr int kTreeWidthCharacters = 30;

void Warn(CContexteEtude& context, const Message& message) {
    context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

QString Total(double value) {
    return QString::fromStdString(CStaticTools::FormatG(value, 15));
}

// The total as typed; a decimal comma reads as well.
bool ReadTotal(const QString& text, double& value) {
    std::string typed = text.toStdString();
    for (char& c : typed)
        if (c == ',')
            c = '.';
    return CStaticTools::EstDouble(typed, value);
}

bool IsClosedSingleAnswer(const CQuestionEtendue& question) {
    return question.EstFermee() && question.answerCount == 1;
}

int IndexOfChild(const CObjectifRedressement& parent, const CObjectifRedressement& child) {
    for (int i = 0; i < parent.DonnerNombreObjectifs(); ++i)
        if (parent.DonnerObjectif(i) == &child)
            return i;
    return -1;
}

QTreeWidgetItem* FindItem(QTreeWidgetItem* item, const CObjectifRedressement* target) {
    if (CRedressementDlg::Objectif(*item) == target)
        return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem* found = FindItem(item->child(i), target))
            return found;
    return nullptr;
}

} // namespace

CRedressementDlg::CRedressementDlg(CContexteEtude& context, std::int32_t initialId, Selecteurs selecteurs,
                                   QWidget* parent)
    : StoredEntryDialog(context, kNoWeighting, parent), m_selecteurs(std::move(selecteurs)),
      m_description(new QLineEdit(this)), m_total(new QLineEdit(this)), m_initialWeightName(new QLabel(this)),
      m_initialWeightButton(new QPushButton(QStringLiteral("..."), this)), m_tree(new QTreeWidget(this)),
      m_observedHeader(new QLabel(QStringLiteral("Observé"), this)),
      m_desiredHeader(new QLabel(QStringLiteral("Désiré"), this)),
      m_scroll(new QScrollBar(Qt::Vertical, this)),
      m_default(new QCheckBox(QStringLiteral("&Définir par défaut"), this)),
      m_addSplit(new QPushButton(QStringLiteral("Question é&clatée..."), this)),
      m_addQuestion(new QPushButton(QStringLiteral("&Question..."), this)),
      m_deleteItem(new QPushButton(QStringLiteral("&Retirer l'item"), this)),
      m_new(new QPushButton(QStringLiteral("No&uveau"), this)),
      m_delete(new QPushButton(QStringLiteral("&Supprimer"), this)),
      m_toLibrary(new QPushButton(QStringLiteral("&Vers la bibliothèque"), this)),
      m_fromLibrary(new QPushButton(QStringLiteral("De la &bibliothèque..."), this)) {
    setWindowTitle(QStringLiteral("Redressement"));
    m_names->setInsertPolicy(QComboBox::NoInsert);
    m_names->setCompleter(nullptr);
    m_names->lineEdit()->setMaxLength(kNameLength);
    m_description->setMaxLength(kDescriptionLength);
    m_addSplit->setToolTip(QStringLiteral("Ajouter une question éclatée par ses modalités"));
    m_addQuestion->setToolTip(QStringLiteral("Ajouter une question"));
    m_deleteItem->setToolTip(QStringLiteral("Supprimer l'item sélectionné"));
    m_toLibrary->setToolTip(QStringLiteral("Copier le redressement dans la bibliothèque"));
    m_fromLibrary->setToolTip(QStringLiteral("Prendre un redressement de la bibliothèque"));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumWidth(m_tree->fontMetrics().horizontalAdvance(QLatin1Char('M')) * kTreeWidthCharacters);

    auto* nameLabel = new QLabel(QStringLiteral("&Nom :"), this);
    nameLabel->setBuddy(m_names);
    auto* descriptionLabel = new QLabel(QStringLiteral("D&escription :"), this);
    descriptionLabel->setBuddy(m_description);
    auto* totalLabel = new QLabel(QStringLiteral("Nombre d'&interviews :"), this);
    totalLabel->setBuddy(m_total);
    auto* weightLabel = new QLabel(QStringLiteral("&Poids initial:"), this);
    weightLabel->setBuddy(m_initialWeightButton);

    auto* top = new QGridLayout();
    top->addWidget(nameLabel, 0, 0);
    top->addWidget(m_names, 0, 1, 1, 2);
    auto* nameButtons = new QHBoxLayout();
    for (QPushButton* button : {m_new, m_delete, m_toLibrary, m_fromLibrary})
        nameButtons->addWidget(button);
    top->addLayout(nameButtons, 0, 3);
    top->addWidget(descriptionLabel, 1, 0);
    top->addWidget(m_description, 1, 1, 1, 3);
    top->addWidget(totalLabel, 2, 0);
    top->addWidget(m_total, 2, 1);
    auto* weight = new QHBoxLayout();
    weight->addWidget(weightLabel);
    weight->addWidget(m_initialWeightName, 1);
    weight->addWidget(m_initialWeightButton);
    top->addLayout(weight, 2, 2, 1, 2);
    top->setColumnStretch(1, 1);
    top->setColumnStretch(2, 1);

    auto* treeButtons = new QVBoxLayout();
    for (QPushButton* button : {m_addSplit, m_addQuestion, m_deleteItem})
        treeButtons->addWidget(button);
    treeButtons->addStretch(1);

    auto* rows = new QVBoxLayout();
    auto* headers = new QHBoxLayout();
    headers->addStretch(1);
    headers->addWidget(m_observedHeader);
    headers->addStretch(1);
    headers->addWidget(m_desiredHeader);
    headers->addStretch(1);
    for (QLabel* header : {m_observedHeader, m_desiredHeader}) {
        QSizePolicy kept = header->sizePolicy();
        kept.setRetainSizeWhenHidden(true);
        header->setSizePolicy(kept);
    }
    rows->addLayout(headers);
    for (std::size_t k = 0; k < m_rows.size(); ++k) {
        m_rows[k] = new CSaisiePoidsDlg(this);
        // The dialog keeps the room of the eight rows whether they are shown or not.
        QSizePolicy kept = m_rows[k]->sizePolicy();
        kept.setRetainSizeWhenHidden(true);
        m_rows[k]->setSizePolicy(kept);
        connect(m_rows[k], &CSaisiePoidsDlg::ValeurModifiee, this, &CRedressementDlg::OnValeurModifiee);
        rows->addWidget(m_rows[k]);
    }
    rows->addStretch(1);
    auto* values = new QHBoxLayout();
    values->addLayout(rows, 1);
    values->addWidget(m_scroll);

    auto* middle = new QHBoxLayout();
    middle->addWidget(m_tree, 1);
    middle->addLayout(treeButtons);
    middle->addLayout(values, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_ok->setText(QStringLiteral("&OK"));
    m_cancel->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CRedressementDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRedressementDlg::reject);
    auto* bottom = new QHBoxLayout();
    bottom->addWidget(m_default);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(m_names, &QComboBox::currentIndexChanged, this, &CRedressementDlg::OnSelection);
    connect(m_names->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_scheme.name = text.toStdString();
        OnModifie();
    });
    connect(m_description, &QLineEdit::textEdited, this, &CRedressementDlg::OnModifie);
    connect(m_total, &QLineEdit::textEdited, this, &CRedressementDlg::OnModifie);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CRedressementDlg::OnItemSelectionne);
    connect(m_scroll, &QScrollBar::actionTriggered, this, &CRedressementDlg::OnDefilement);
    connect(m_scroll, &QScrollBar::valueChanged, this, &CRedressementDlg::RemplirLignes);
    connect(m_initialWeightButton, &QPushButton::clicked, this, &CRedressementDlg::OnPoidsInitial);
    connect(m_addSplit, &QPushButton::clicked, this, [this] { AjouterObjectif(true); });
    connect(m_addQuestion, &QPushButton::clicked, this, [this] { AjouterObjectif(false); });
    connect(m_deleteItem, &QPushButton::clicked, this, &CRedressementDlg::OnRetirer);
    connect(m_new, &QPushButton::clicked, this, &CRedressementDlg::OnNouveau);
    connect(m_delete, &QPushButton::clicked, this, &CRedressementDlg::OnSupprimer);
    connect(m_toLibrary, &QPushButton::clicked, this, &CRedressementDlg::OnVersBibliotheque);
    connect(m_fromLibrary, &QPushButton::clicked, this, &CRedressementDlg::OnDeBibliotheque);

    Remplir(initialId);
    WindowSize::FitContentsToScreen(*this);
}

CRedressementDlg::~CRedressementDlg() = default;

CObjectifRedressement* CRedressementDlg::Objectif(const QTreeWidgetItem& item) {
    return reinterpret_cast<CObjectifRedressement*>(item.data(0, kTargetRole).value<quintptr>());
}

void CRedressementDlg::DonnerRedressementChoisi(std::int32_t& id, std::string& name) const {
    id = m_chosen.id;
    name = m_chosen.name;
}

// ---- The list and the scheme shown -------------------------------------------------------------

void CRedressementDlg::Remplir(std::int32_t initialId) {
    std::vector<std::unique_ptr<CIdName>> schemes;
    if (!m_context.DonnerListeRedressements(schemes))
        Warn(m_context, Message::Text(m_context.GetLastError()));
    const QSignalBlocker quiet(m_names);
    int initial = 0;
    for (const auto& scheme : schemes) {
        if (scheme->id == initialId)
            initial = m_names->count();
        m_names->addItem(QString::fromStdString(scheme->name), scheme->id);
    }
    m_current = m_names->count() > 0 ? initial : -1;
    m_names->setCurrentIndex(m_current);
    Charger();
}

bool CRedressementDlg::Editable() const {
    return m_editing && IdAt(m_current) != kNoWeighting;
}

// The fields of a scheme not yet defined: the survey's interviews, nothing else.
void CRedressementDlg::Reinitialiser() {
    m_scheme = CRedressement();
    m_scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
    m_scheme.NTotal = m_context.DonnerNbreInterviews();
    m_scheme.initialWeightQuestion = nullptr;
}

void CRedressementDlg::EnsureRoot() {
    if (m_scheme.GetRacine() == nullptr)
        m_scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
}

void CRedressementDlg::Charger() {
    const std::int32_t id = IdAt(m_current);
    Reinitialiser();
    CRedressement stored;
    const bool editable = m_current >= 0 && id != kNoWeighting && m_context.DonnerRedressement(id, stored);
    if (editable) {
        // The copy is bound to the survey: its targets and initial-weight question are read.
        if (stored.GetRacine() == nullptr)
            stored.LireValeurs(m_context);
        m_scheme = stored;
        m_scheme.initialWeightQuestion = stored.initialWeightQuestion;
        m_scheme.root = std::move(stored.root);
        EnsureRoot();
        std::string error;
        if (!RecompterObservees(*m_scheme.GetRacine(), m_context, error))
            Warn(m_context, Message::Text(error));
    }
    m_names->lineEdit()->setText(
        m_current >= 0 ? (editable ? QString::fromStdString(m_scheme.name) : m_names->itemText(m_current))
                       : QString());
    m_description->setText(QString::fromStdString(m_scheme.description));
    m_total->setText(Total(m_scheme.NTotal));
    EnableEditing(editable);
    RemplirArbre();
    if (editable && m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    MontrerPoidsInitial();
    m_modified = false;
}

void CRedressementDlg::MontrerPoidsInitial() {
    m_initialWeightName->setText(
        m_scheme.initialWeightQuestion != nullptr
            ? QString::fromStdString(m_scheme.initialWeightQuestion->name)
            : QString::fromStdString(StringTable::Text(StringTable::kAucuneQuestion)));
}

void CRedressementDlg::EnableEditing(bool editable) {
    m_editing = editable;
    m_names->lineEdit()->setReadOnly(!editable);
    m_description->setEnabled(editable);
    m_total->setEnabled(editable);
    m_tree->setEnabled(editable);
    m_initialWeightButton->setEnabled(editable);
    if (!editable) {
        m_tree->clear();
        for (CSaisiePoidsDlg* row : m_rows)
            row->hide();
        m_scroll->hide();
    }
}

// ---- The tree of targets -----------------------------------------------------------------------

void CRedressementDlg::RemplirArbre() {
    const QSignalBlocker quiet(m_tree);
    m_tree->clear();
    if (m_editing && m_scheme.GetRacine() != nullptr)
        for (int i = 0; i < m_scheme.GetRacine()->DonnerNombreObjectifs(); ++i)
            AjouterItems(*m_scheme.GetRacine()->DonnerObjectif(i), nullptr, m_scheme.GetRacine());
    m_tree->expandAll();
    OnItemSelectionne();
}

void CRedressementDlg::AjouterItems(CObjectifRedressement& target, QTreeWidgetItem* parentItem,
                                    CObjectifRedressement* parent) {
    auto* item = parentItem != nullptr ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
    item->setData(0, kTargetRole, QVariant::fromValue(reinterpret_cast<quintptr>(&target)));
    item->setData(0, kImageRole, static_cast<int>(target.GetMode()));
    if (target.GetQuestion() != nullptr) {
        item->setText(0, QString::fromStdString(target.GetQuestion()->name));
        item->setToolTip(0, QString::fromStdString(target.GetQuestion()->GetCaption()));
    } else if (parent != nullptr && parent->GetQuestion() != nullptr) {
        item->setText(0,
                      QString::fromStdString(parent->DonnerLibelleModalite(IndexOfChild(*parent, target))));
    }
    for (int i = 0; i < target.DonnerNombreObjectifs(); ++i)
        AjouterItems(*target.DonnerObjectif(i), item, &target);
}

CObjectifRedressement* CRedressementDlg::ObjectifDesLignes() const {
    const QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr || !m_editing)
        return nullptr;
    CObjectifRedressement* target = Objectif(*item);
    if (target != nullptr && target->GetQuestion() == nullptr && item->parent() != nullptr)
        target = Objectif(*item->parent());
    return target != nullptr && target->GetQuestion() != nullptr ? target : nullptr;
}

void CRedressementDlg::OnItemSelectionne() {
    const CObjectifRedressement* target = ObjectifDesLignes();
    const int count = target != nullptr ? target->DonnerNombreModalites() : 0;
    {
        const QSignalBlocker quiet(m_scroll);
        // Positions up to the one that shows the last seven modalities and an empty eighth row.
        m_scroll->setRange(0, std::max(0, count - kPageValeurs));
        m_scroll->setPageStep(kPageValeurs);
        m_scroll->setSingleStep(1);
        m_scroll->setValue(0);
    }
    m_scroll->setVisible(count > kLignesValeurs);
    RemplirLignes();
}

void CRedressementDlg::RemplirLignes() {
    CObjectifRedressement* target = ObjectifDesLignes();
    const int count = target != nullptr ? target->DonnerNombreModalites() : 0;
    const int first = m_scroll->value();
    for (int k = 0; k < kLignesValeurs; ++k) {
        CSaisiePoidsDlg& row = *m_rows[static_cast<std::size_t>(k)];
        if (first + k < count) {
            row.Afficher(*target, first + k);
            row.show();
        } else {
            row.hide();
        }
    }
    m_observedHeader->setVisible(count > 0);
    m_desiredHeader->setVisible(count > 0);
}

// The bottom shows the last eight modalities; every other move is the scroll bar's own.
void CRedressementDlg::OnDefilement(int action) {
    if (action != QAbstractSlider::SliderToMaximum)
        return;
    const CObjectifRedressement* target = ObjectifDesLignes();
    const int count = target != nullptr ? target->DonnerNombreModalites() : 0;
    m_scroll->setSliderPosition(std::max(0, count - kLignesValeurs));
}

void CRedressementDlg::OnValeurModifiee() {
    OnModifie();
    for (CSaisiePoidsDlg* row : m_rows)
        if (!row->isHidden())
            row->RafraichirPourcentage();
}

CQuestionEtendue* CRedressementDlg::ChoisirQuestion(std::int16_t filter, const QString& title, bool withNone,
                                                    CQuestionEtendue* initial, bool& confirmed) {
    CQuestionEtendue* chosen = nullptr;
    confirmed =
        m_selecteurs.question && m_selecteurs.question(this, filter, title, withNone, initial, chosen);
    return confirmed ? chosen : nullptr;
}

// A new target goes under the modality item selected, beside the question item selected, or at
// the top: never under a question, whose children would either break the pairing of a split
// question's items with its modalities or take no part in the raking.
void CRedressementDlg::AjouterObjectif(bool split) {
    if (!Editable())
        return;
    bool confirmed = false;
    CQuestionEtendue* question = ChoisirQuestion(kClosedQuestions, QString(), false, nullptr, confirmed);
    if (!confirmed || question == nullptr)
        return;
    if (!IsClosedSingleAnswer(*question)) {
        Warn(m_context, Message(StringTable::kSelectionnerQuestionAutorisee));
        return;
    }
    EnsureRoot();
    CObjectifRedressement* parent = m_scheme.GetRacine();
    if (const QTreeWidgetItem* item = m_tree->currentItem()) {
        CObjectifRedressement* selected = Objectif(*item);
        if (selected != nullptr && selected->GetQuestion() == nullptr)
            parent = selected;
        else if (item->parent() != nullptr)
            parent = Objectif(*item->parent());
    }
    std::string error;
    CObjectifRedressement* added =
        AjouterObjectifArbre(*m_scheme.GetRacine(), *parent, *question, split, m_context, error);
    if (added == nullptr) {
        Warn(m_context, Message::Text(error));
        added = parent->DonnerObjectif(parent->DonnerNombreObjectifs() - 1);
    }
    RemplirArbre();
    if (QTreeWidgetItem* item = [&]() -> QTreeWidgetItem* {
            for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
                if (QTreeWidgetItem* found = FindItem(m_tree->topLevelItem(i), added))
                    return found;
            return nullptr;
        }())
        m_tree->setCurrentItem(item);
    OnModifie();
}

void CRedressementDlg::OnRetirer() {
    if (!Editable())
        return;
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    CObjectifRedressement* target = Objectif(*item);
    CObjectifRedressement* parent =
        item->parent() != nullptr ? Objectif(*item->parent()) : m_scheme.GetRacine();
    if (target == nullptr || parent == nullptr)
        return;
    if (EstNoeudModalite(*target, parent)) {
        Warn(m_context, Message(StringTable::kImpossibleSupprimerItem));
        return;
    }
    if (!m_context.GetUserInterface().AskYesNo(Message(StringTable::kSupprimerEnregistrement)))
        return;
    parent->RetirerObjectif(IndexOfChild(*parent, *target));
    RemplirArbre();
    OnModifie();
}

void CRedressementDlg::OnPoidsInitial() {
    if (!Editable())
        return;
    bool confirmed = false;
    CQuestionEtendue* question =
        ChoisirQuestion(kNumericQuestions, QString(), true, m_scheme.initialWeightQuestion, confirmed);
    if (!confirmed)
        return;
    m_scheme.initialWeightQuestion = question;
    MontrerPoidsInitial();
    OnModifie();
}

// ---- Saving ------------------------------------------------------------------------------------

bool CRedressementDlg::Enregistrer() {
    if (m_current < 0 || IdAt(m_current) == kNoWeighting)
        return false;
    double total = 0.0;
    if (!ReadTotal(m_total->text(), total) || !(total > 0.0)) {
        Warn(m_context, Message(StringTable::kEntrerNombrePositif));
        m_total->setFocus();
        return false;
    }
    EnsureRoot();
    m_scheme.id = IdAt(m_current);
    m_scheme.name = m_names->lineEdit()->text().toStdString();
    m_scheme.description = m_description->text().toStdString();
    m_scheme.NTotal = total;
    if (auto refused = VerifierRedressement(m_scheme, m_context)) {
        Warn(m_context, *refused);
        RemplirLignes();
        return false;
    }
    std::string error;
    if (!EnregistrerRedressement(m_scheme, m_context, error)) {
        Warn(m_context, Message::Text(error));
        return false;
    }
    const QString name = QString::fromStdString(m_scheme.name);
    {
        const QSignalBlocker quiet(m_names);
        m_names->setItemText(m_current, name);
        m_names->setItemData(m_current, m_scheme.id);
    }
    m_names->lineEdit()->setText(name);
    m_modified = false;
    return true;
}

// ---- Buttons by the name -----------------------------------------------------------------------

void CRedressementDlg::OnNouveau() {
    if (!SettleChanges())
        return;
    const QString caption = QString::fromStdString(StringTable::Text(StringTable::kNouveauRedressement));
    {
        const QSignalBlocker quiet(m_names);
        m_names->addItem(caption, kNotStored);
    }
    SelectQuietly(m_names->count() - 1);
    Reinitialiser();
    m_scheme.name = caption.toStdString();
    m_names->lineEdit()->setText(caption);
    m_description->clear();
    m_total->setText(Total(m_scheme.NTotal));
    EnableEditing(true);
    RemplirArbre();
    MontrerPoidsInitial();
    m_names->setFocus();
    m_names->lineEdit()->selectAll();
    m_modified = true;
}

void CRedressementDlg::OnVersBibliotheque() {
    if (!Editable())
        return;
    // The copy's targets are those of the tree as it stands, saved or not.
    CRedressement copy(m_scheme);
    copy.name = m_names->lineEdit()->text().toStdString();
    copy.description = m_description->text().toStdString();
    copy.initialWeightQuestion = m_scheme.initialWeightQuestion;
    copy.definition = m_scheme.EcrireValeurs(m_context, false);
    copy.LireValeurs(m_context);
    std::string error;
    switch (CopierVersBibliotheque(copy, m_context, error)) {
    case CopieBibliotheque::Copiee:
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kAjoutBibliotheque),
                                                 UserInterface::Icon::Information);
        break;
    case CopieBibliotheque::BibliothequeInaccessible:
        Warn(m_context, Message(StringTable::kOuvrirBibliotheque));
        break;
    case CopieBibliotheque::Echec:
        Warn(m_context, Message::Text(error));
        break;
    case CopieBibliotheque::Refusee:
        break;
    }
}

void CRedressementDlg::OnDeBibliotheque() {
    if (!Editable())
        return;
    CBibliotheque library(m_context);
    if (!library.Open()) {
        Warn(m_context, Message(StringTable::kOuvrirBibliotheque));
        return;
    }
    std::vector<std::unique_ptr<CIdName>> list;
    if (!library.GetWeightingList(list))
        return;
    std::vector<CIdName> items;
    for (const auto& entry : list)
        items.push_back(*entry);
    std::int32_t chosen = 0;
    if (!m_selecteurs.liste || !m_selecteurs.liste(this, std::move(items), chosen))
        return;
    for (CSaisiePoidsDlg* row : m_rows)
        row->hide();
    m_scroll->hide();
    const auto choose = [this](const std::string& name) -> CQuestionEtendue* {
        bool confirmed = false;
        const QString title = QString::fromStdString(
            StringTable::Format(Message(StringTable::kQuestionCorrespondante, {name})));
        return ChoisirQuestion(kClosedQuestions, title, false, nullptr, confirmed);
    };
    m_scheme.name = m_names->lineEdit()->text().toStdString();
    m_scheme.description = m_description->text().toStdString();
    if (!LireDeBibliotheque(library, chosen, m_scheme, m_context, choose)) {
        RemplirLignes();
        return;
    }
    m_names->lineEdit()->setText(QString::fromStdString(m_scheme.name));
    m_description->setText(QString::fromStdString(m_scheme.description));
    RemplirArbre();
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    OnModifie();
}

// ---- OK ----------------------------------------------------------------------------------------

void CRedressementDlg::accept() {
    if (m_modified) {
        const bool wasNew = IdAt(m_current) == kNotStored;
        if (!SettleChanges())
            return;
        // A new scheme whose saving was declined is no scheme to choose: the dialog stays open on
        // the first entry.
        if (wasNew && m_current < 0) {
            SelectQuietly(m_names->count() > 0 ? 0 : -1);
            Charger();
            return;
        }
    }
    m_chosen = m_current >= 0 && IdAt(m_current) != kNoWeighting
                   ? CIdName(IdAt(m_current), m_names->itemText(m_current).toStdString())
                   : CIdName(kNoWeighting, StringTable::Text(StringTable::kAucunRedressement));
    if (m_default->isChecked()) {
        m_context.weightingCode = m_chosen.id;
        m_context.weightingLabel = m_chosen.name;
    }
    QDialog::accept();
}

bool CRedressementDlg::Effacer(std::int32_t id, std::string& error) {
    return EffacerRedressement(id, m_context, error);
}
