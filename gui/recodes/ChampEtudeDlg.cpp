#include "gui/recodes/ChampEtudeDlg.h"

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/WindowSize.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/EmplacementConditionDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr std::int32_t kAllInterviews = -1;
constexpr int kNameLength = 50;
constexpr int kDescriptionLength = 255;
// The ET radio stands for a connector of 1, the OU radio for 0.
constexpr int kEt = 1;
constexpr int kOu = 0;
// The pairs between two conditions sit further in than the pair between the two pairs.
constexpr int kInnerPairIndent = 48;
constexpr int kOuterPairIndent = 16;
// The lines a formula of 255 characters takes at the dialog's width.
constexpr int kFormulaLines = 5;
// The four slots' "Définir...", each reached by a letter of its own.
constexpr std::array<const char*, 4> kDefinirSlots{"&Définir...", "Dé&finir...", "Déf&inir...",
                                                   "Défini&r..."};

std::string TextOf(const QLineEdit& edit) {
    return edit.text().toStdString();
}

// The formula as it is shown: its lines break at its blanks only, so that no question name,
// number or operator is cut (unless one is longer than a line). The text kept is the formula's.
QString FormulaShown(const std::string& formula) {
    const QString text = QString::fromStdString(formula);
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0 && !text.at(i).isSpace() && !text.at(i - 1).isSpace())
            shown += QChar(0x2060); // word joiner: no break here
        shown += text.at(i);
    }
    return shown;
}

void Warn(CContexteEtude& context, const Message& message) {
    context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

} // namespace

CChampEtudeDlg::CChampEtudeDlg(CContexteEtude& context, std::int32_t initialId, QWidget* parent)
    : StoredEntryDialog(context, kAllInterviews, parent), m_description(new QLineEdit(this)),
      m_formulaLabel(new QLabel(QStringLiteral("Formule :"), this)), m_formula(new QPlainTextEdit(this)),
      m_default(new QCheckBox(QStringLiteral("Définir &par défaut"), this)),
      m_new(new QPushButton(QStringLiteral("No&uveau"), this)),
      m_delete(new QPushButton(QStringLiteral("&Supprimer"), this)),
      m_copyLoop(new QPushButton(QStringLiteral("Copier boucle"), this)) {
    setWindowTitle(QStringLiteral("Champ d'étude"));
    m_names->setInsertPolicy(QComboBox::NoInsert);
    // A name is typed whole: no completion from the names of the other fields.
    m_names->setCompleter(nullptr);
    m_names->lineEdit()->setMaxLength(kNameLength);
    m_names->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_description->setMaxLength(kDescriptionLength);
    // A formula (up to 255 characters) shows whole on its lines, broken between words.
    m_formula->setReadOnly(true);
    m_formula->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_formula->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_formula->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_formula->setFixedHeight(
        m_formula->fontMetrics().lineSpacing() * kFormulaLines +
        2 * (m_formula->frameWidth() + static_cast<int>(m_formula->document()->documentMargin())));

    auto* nameLabel = new QLabel(QStringLiteral("&Nom :"), this);
    nameLabel->setBuddy(m_names);
    auto* descriptionLabel = new QLabel(QStringLiteral("D&escription :"), this);
    descriptionLabel->setBuddy(m_description);
    auto* top = new QGridLayout();
    top->addWidget(nameLabel, 0, 0);
    top->addWidget(m_names, 0, 1);
    top->addWidget(m_new, 0, 2);
    top->addWidget(descriptionLabel, 1, 0);
    top->addWidget(m_description, 1, 1);
    top->addWidget(m_delete, 1, 2);
    top->addWidget(m_copyLoop, 2, 2);
    top->addWidget(m_formulaLabel, 3, 0, Qt::AlignTop);
    top->addWidget(m_formula, 3, 1, 1, 2);
    top->setColumnStretch(1, 1);

    auto* conditions = new QGroupBox(QStringLiteral("Conditions"), this);
    auto* grid = new QVBoxLayout(conditions);
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        m_slots[slot] = new CEmplacementConditionDlg(m_context, m_conditions[slot], conditions);
        m_slots[slot]->DefinirButton().setText(QString::fromUtf8(kDefinirSlots[slot]));
        connect(m_slots[slot], &CEmplacementConditionDlg::Modifie, this, &CChampEtudeDlg::OnModifie);
        grid->addWidget(m_slots[slot]);
        if (slot + 1 == m_slots.size())
            break;
        const std::size_t pair = slot;
        auto* group = new QButtonGroup(this);
        auto* et = new QRadioButton(QStringLiteral("ET"), conditions);
        auto* ou = new QRadioButton(QStringLiteral("OU"), conditions);
        group->addButton(et, kEt);
        group->addButton(ou, kOu);
        connect(group, &QButtonGroup::idClicked, this, &CChampEtudeDlg::OnModifie);
        m_pairs[pair] = group;
        auto* row = new QHBoxLayout();
        row->addSpacing(pair == 1 ? kOuterPairIndent : kInnerPairIndent);
        row->addWidget(et);
        row->addWidget(ou);
        row->addStretch(1);
        grid->addLayout(row);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_ok->setText(QStringLiteral("&OK"));
    m_cancel->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CChampEtudeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CChampEtudeDlg::reject);
    auto* bottom = new QHBoxLayout();
    bottom->addWidget(m_default);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(conditions, 1);
    layout->addLayout(bottom);

    connect(m_names, &QComboBox::currentIndexChanged, this, &CChampEtudeDlg::OnSelection);
    connect(m_names->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_name = text.toStdString();
        OnModifie();
    });
    connect(m_description, &QLineEdit::textEdited, this, &CChampEtudeDlg::OnModifie);
    connect(m_new, &QPushButton::clicked, this, &CChampEtudeDlg::OnNouveau);
    connect(m_delete, &QPushButton::clicked, this, &CChampEtudeDlg::OnSupprimer);
    connect(m_copyLoop, &QPushButton::clicked, this, &CChampEtudeDlg::OnCopierBoucle);

    Remplir(initialId);
    WindowSize::FitContentsToScreen(*this);
}

CChampEtudeDlg::~CChampEtudeDlg() = default;

QRadioButton& CChampEtudeDlg::ConnecteurButton(int pair, bool et) const {
    return *qobject_cast<QRadioButton*>(m_pairs.at(static_cast<std::size_t>(pair))->button(et ? kEt : kOu));
}

// ---- The list and the field shown ----------------------------------------------------------------

void CChampEtudeDlg::Remplir(std::int32_t initialId) {
    std::vector<std::unique_ptr<CIdName>> fields;
    if (!m_context.DonnerListeChampsEtude(fields))
        Warn(m_context, Message::Text(m_context.GetLastError()));
    const QSignalBlocker quiet(m_names);
    int initial = 0;
    for (const auto& field : fields) {
        if (field->id == initialId)
            initial = m_names->count();
        m_names->addItem(QString::fromStdString(field->name), field->id);
    }
    m_current = m_names->count() > 0 ? initial : -1;
    m_names->setCurrentIndex(m_current);
    Charger();
}

// Loads the entry shown from the survey; "Toutes les interviews" (or no entry) cannot be edited.
void CChampEtudeDlg::Charger() {
    const std::int32_t id = IdAt(m_current);
    CChampEtude field;
    const bool editable = m_current >= 0 && id != kAllInterviews && m_context.DonnerChampEtude(id, field);
    if (!editable)
        field.connectors = {kEt, kEt, kEt};
    m_name = m_current >= 0 ? m_names->itemText(m_current).toStdString() : std::string();
    if (editable)
        m_name = field.name;
    m_description->setText(QString::fromStdString(field.description));
    m_complexText = field.complexCondition ? field.complexConditionText : std::string();
    m_connectors = field.connectors;
    m_conditions = field.conditions;
    ShowWorkingCopy();
    EnableEditing(editable);
    m_modified = false;
}

void CChampEtudeDlg::ShowWorkingCopy() {
    m_names->lineEdit()->setText(QString::fromStdString(m_name));
    m_formula->setPlainText(FormulaShown(m_complexText));
    m_formulaLabel->setVisible(!m_complexText.empty());
    m_formula->setVisible(!m_complexText.empty());
    for (std::size_t pair = 0; pair < m_pairs.size(); ++pair) {
        const std::int16_t connector = m_connectors[static_cast<std::size_t>(kConnecteurDePaire[pair])];
        m_pairs[pair]->button(connector != 0 ? kEt : kOu)->setChecked(true);
    }
    for (CEmplacementConditionDlg* slot : m_slots)
        slot->Rafraichir();
}

void CChampEtudeDlg::EnableEditing(bool editable) {
    m_names->lineEdit()->setReadOnly(!editable);
    m_description->setEnabled(editable);
    for (CEmplacementConditionDlg* slot : m_slots)
        slot->setEnabled(editable);
    for (QButtonGroup* pair : m_pairs)
        for (QAbstractButton* button : pair->buttons())
            button->setEnabled(editable);
}

// ---- Saving -------------------------------------------------------------------------------------

// The field as the dialog shows it, not yet stored (id 0). The formula is kept as it was read.
CChampEtude CChampEtudeDlg::WorkingField() const {
    CChampEtude field;
    field.name = m_name;
    field.description = TextOf(*m_description);
    field.complexConditionText = m_complexText;
    field.complexCondition = !m_complexText.empty();
    for (std::size_t pair = 0; pair < m_pairs.size(); ++pair)
        field.connectors[static_cast<std::size_t>(kConnecteurDePaire[pair])] =
            static_cast<std::int16_t>(m_pairs[pair]->checkedId() == kEt ? 1 : 0);
    field.conditions = m_conditions;
    return field;
}

bool CChampEtudeDlg::Enregistrer() {
    if (m_current < 0)
        return false;
    const QString name = QString::fromStdString(m_name);
    for (int i = 0; i < m_names->count(); ++i) {
        if (i != m_current && m_names->itemText(i) == name) {
            Warn(m_context, Message(StringTable::kNomDejaUtilise));
            return false;
        }
    }
    CChampEtude field = WorkingField();
    field.id = IdAt(m_current);
    std::string error;
    if (!EnregistrerChampEtude(field, m_context, error)) {
        Warn(m_context, Message::Text(error));
        return false;
    }
    {
        const QSignalBlocker quiet(m_names);
        m_names->setItemText(m_current, name);
        m_names->setItemData(m_current, field.id);
    }
    m_names->lineEdit()->setText(name);
    m_modified = false;
    return true;
}

// ---- Buttons ------------------------------------------------------------------------------------

void CChampEtudeDlg::OnNouveau() {
    if (!SettleChanges())
        return;
    const QString caption = QString::fromStdString(StringTable::Text(StringTable::kNouveauChampEtude));
    {
        const QSignalBlocker quiet(m_names);
        m_names->addItem(caption, kNotStored);
    }
    SelectQuietly(m_names->count() - 1);
    m_name = caption.toStdString();
    m_description->clear();
    m_complexText.clear();
    m_connectors = {kEt, kEt, kEt};
    m_conditions = {};
    ShowWorkingCopy();
    EnableEditing(true);
    m_names->setFocus();
    m_names->lineEdit()->selectAll();
    m_modified = true;
}

void CChampEtudeDlg::OnCopierBoucle() {
    std::vector<CChampEtude> created;
    CopierChampEtudeBoucle(WorkingField(), m_context, created);
    const QSignalBlocker quiet(m_names);
    for (const CChampEtude& field : created)
        m_names->addItem(QString::fromStdString(field.name), field.id);
}

void CChampEtudeDlg::accept() {
    if (m_modified) {
        const bool wasNew = IdAt(m_current) == kNotStored;
        if (!SettleChanges())
            return;
        // A new field whose saving was declined is no field to choose: the dialog stays open on
        // the first entry.
        if (wasNew && m_current < 0) {
            SelectQuietly(m_names->count() > 0 ? 0 : -1);
            Charger();
            return;
        }
    }
    m_chosen = m_current >= 0 ? CIdName(IdAt(m_current), m_names->itemText(m_current).toStdString())
                              : CIdName(kAllInterviews, StringTable::Text(StringTable::kToutesLesInterviews));
    if (m_default->isChecked()) {
        m_context.universeCode = m_chosen.id;
        m_context.universeLabel = m_chosen.name;
    }
    QDialog::accept();
}

bool CChampEtudeDlg::Effacer(std::int32_t id, std::string& error) {
    return EffacerChampEtude(id, m_context, error);
}
