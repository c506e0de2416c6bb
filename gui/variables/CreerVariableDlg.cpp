#include "gui/variables/CreerVariableDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableCalculee.h"
#include "gui/variables/CalCalculMultivariePage.h"
#include "gui/variables/CalCroisementPage.h"
#include "gui/variables/CalDictionnairePage.h"
#include "gui/variables/CalDureesPage.h"
#include "gui/variables/CalInfosGeneralesPage.h"
#include "gui/variables/CalListeChampsPage.h"
#include "gui/variables/CalProfilPage.h"
#include "gui/variables/CalQuestionFiltreePage.h"
#include "gui/variables/CalRedressementPage.h"
#include "gui/variables/CalScriptPanneau.h"
#include "gui/variables/CalSuperpositionPage.h"
#include "gui/variables/CodagePostalPage.h"
#include "gui/variables/PanneauVariable.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

using K = CVariableCalculee::Kind;
using PanelFactory = CPanneauVariable* (*)(CContexteEtude& context, QWidget* parent);

template <class Panel>
CPanneauVariable* Make(CContexteEtude& context, QWidget* parent) {
    return new Panel(context, parent);
}

// Why a kind cannot be chosen.
enum class Availability {
    kAvailable,
    kDisabledInTemplate, // chosen only when a variable of that kind is changed
    kNotYet,             // its page is not in the program yet
};

struct TypeEntry {
    int control;
    const char* caption;
    std::int16_t kind;
    PanelFactory panel;
    Availability availability;
};

// The kinds in the order of the radio group.
// clang-format off
constexpr TypeEntry kTypes[CCreerVariableDlg::kNombreTypes] = {
    {1093, "En croisant deux questions",      K::kCroisement,          &Make<CCalCroisementPage>, Availability::kAvailable},
    {1094, "Par champs d'étude",              K::kChampsEtude,         &Make<CCalListeChampsPage>, Availability::kAvailable},
    {1095, "Par script",                      K::kScript,              &Make<CCalScriptPanneau>,  Availability::kAvailable},
    {1096, "En superposant des questions",    K::kSuperposition,       &Make<CCalSuperpositionPage>, Availability::kAvailable},
    {1101, "Par profil",                      K::kProfil,              &Make<CCalProfilPage>,     Availability::kAvailable},
    {1100, "Par redressement",                K::kRedressement,        &Make<CCalRedressementPage>, Availability::kAvailable},
    {1102, "Par dictionnaire",                K::kDictionnaire,        &Make<CCalDictionnairePage>, Availability::kAvailable},
    {1097, "Par calcul multivarié",           K::kMultivarie,          &Make<CCalCalculMultivariePage>, Availability::kDisabledInTemplate},
    {1098, "Numérique par calcul multivarié", K::kNumeriqueMultivarie, nullptr,                   Availability::kDisabledInTemplate},
    {1103, "Par codage postal",               K::kCodagePostal,        &Make<CCodagePostalPage>,  Availability::kAvailable},
    {1104, "À partir des durées d'entrée",    K::kDureesSaisie,        &Make<CCalDureesPage>,     Availability::kAvailable},
    {1105, "À partir des infos générales",    K::kInfosGenerales,      &Make<CCalInfosGeneralesPage>, Availability::kAvailable},
    {1106, "Question filtrée par champ",      K::kQuestionFiltree,     &Make<CCalQuestionFiltreePage>, Availability::kAvailable},
};
// clang-format on

} // namespace

CCreerVariableDlg::CCreerVariableDlg(CContexteEtude& context, QWidget* parent)
    : CCreerVariableDlg(context, nullptr, parent) {}

CCreerVariableDlg::CCreerVariableDlg(CContexteEtude& context, CQuestionEtendue* question, QWidget* parent)
    : QDialog(parent), m_context(context), m_edited(question), m_label(new QLineEdit(this)),
      m_group(new QButtonGroup(this)), m_frame(new QStackedWidget(this)), m_empty(new QWidget(m_frame)) {
    setWindowTitle(QStringLiteral("Créer une variable"));
    Construire();
    Charger();
}

CCreerVariableDlg::~CCreerVariableDlg() = default;

std::int16_t CCreerVariableDlg::TypeDuBouton(int index) {
    return index >= 0 && index < kNombreTypes ? kTypes[index].kind : std::int16_t{0};
}

int CCreerVariableDlg::IndexDuType(std::int16_t kind) const {
    const auto found = std::find_if(std::begin(kTypes), std::end(kTypes),
                                    [kind](const TypeEntry& entry) { return entry.kind == kind; });
    return found == std::end(kTypes) ? -1 : static_cast<int>(found - std::begin(kTypes));
}

CPanneauVariable* CCreerVariableDlg::Panneau(std::int16_t kind) const {
    const int index = IndexDuType(kind);
    return index < 0 ? nullptr : m_panels[static_cast<std::size_t>(index)];
}

CPanneauVariable* CCreerVariableDlg::PanneauVisible() const {
    return qobject_cast<CPanneauVariable*>(m_frame->currentWidget());
}

void CCreerVariableDlg::Construire() {
    m_label->setMaxLength(kLongueurLibelle);
    auto* labelCaption = new QLabel(QStringLiteral("Libellé:"), this);
    labelCaption->setBuddy(m_label);
    auto* top = new QHBoxLayout();
    top->addWidget(labelCaption);
    top->addWidget(m_label, 1);

    auto* types = new QGroupBox(QStringLiteral("Type :"), this);
    auto* typeColumn = new QVBoxLayout(types);
    m_frame->addWidget(m_empty);
    for (int index = 0; index < kNombreTypes; ++index) {
        const TypeEntry& entry = kTypes[index];
        auto* button = new QRadioButton(QString::fromUtf8(entry.caption), types);
        button->setObjectName(QStringLiteral("type%1").arg(entry.control));
        m_group->addButton(button, index);
        typeColumn->addWidget(button);
        m_buttons[static_cast<std::size_t>(index)] = button;
        button->setEnabled(entry.availability == Availability::kAvailable);
        if (entry.availability == Availability::kNotYet)
            button->setToolTip(QString::fromStdString(StringTable::Text(StringTable::kModeNonDisponible)));
        if (entry.panel != nullptr) {
            CPanneauVariable* panel = entry.panel(m_context, m_frame);
            m_frame->addWidget(panel);
            m_panels[static_cast<std::size_t>(index)] = panel;
        }
    }
    typeColumn->addStretch(1);
    if (auto* crossing = qobject_cast<CCalCroisementPage*>(Panneau(CVariableCalculee::kCroisement)))
        connect(crossing, &CCalCroisementPage::CopierBoucle, this, &CCreerVariableDlg::OnCopierBoucle);
    connect(m_group, &QButtonGroup::idClicked, this, &CCreerVariableDlg::OnType);

    auto* middle = new QHBoxLayout();
    middle->addWidget(types);
    middle->addWidget(m_frame, 1);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QStringLiteral("&Annuler"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCreerVariableDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCreerVariableDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);
    m_frame->setMinimumSize(460, 360);
    MontrerPanneau(nullptr);
}

// A changed variable opens on its kind, its page loaded from the definition; the kinds disabled
// in the list are enabled for the variable that has them.
void CCreerVariableDlg::Charger() {
    if (m_edited == nullptr || m_edited->GetQuestionCalculee() == nullptr)
        return;
    const CQuestionCalculee& definition = *m_edited->GetQuestionCalculee();
    m_label->setText(QString::fromStdString(definition.label));
    const int index = IndexDuType(definition.kind);
    if (index < 0)
        return;
    QRadioButton& button = *m_buttons[static_cast<std::size_t>(index)];
    button.setEnabled(true);
    button.setChecked(true);
    CPanneauVariable* panel = m_panels[static_cast<std::size_t>(index)];
    if (panel != nullptr)
        panel->Charger(definition);
    MontrerPanneau(panel);
}

void CCreerVariableDlg::OnType(int index) {
    MontrerPanneau(m_panels.at(static_cast<std::size_t>(index)));
}

void CCreerVariableDlg::MontrerPanneau(CPanneauVariable* panel) {
    m_frame->setCurrentWidget(panel != nullptr ? static_cast<QWidget*>(panel) : m_empty);
}

// The crossing repeated over a loop: the dialog stays open.
void CCreerVariableDlg::OnCopierBoucle() {
    auto* crossing = qobject_cast<CCalCroisementPage*>(Panneau(CVariableCalculee::kCroisement));
    if (crossing == nullptr || m_group->checkedButton() != &Bouton(IndexDuType(CVariableCalculee::kCroisement)) ||
        !crossing->Verifier())
        return;
    UserInterface& ui = m_context.GetUserInterface();
    PartiesVariable parts;
    parts.label = m_label->text().trimmed().toStdString();
    parts.kind = CVariableCalculee::kCroisement;
    crossing->DonnerParties(parts);
    int built = 0;
    Message error;
    bool copied = false;
    {
        WaitCursor wait(ui);
        copied = CConstructionVariable::CopierSurBoucle(m_context, parts, built, error);
    }
    if (!copied)
        ui.ShowMessage(error, UserInterface::Icon::Warning);
}

void CCreerVariableDlg::accept() {
    UserInterface& ui = m_context.GetUserInterface();
    const std::string label = m_label->text().trimmed().toStdString();
    const Message refused = CConstructionVariable::VerifierLibelle(m_context, label, m_edited);
    if (refused.id != 0) {
        ui.ShowMessage(refused, UserInterface::Icon::Warning);
        m_label->setFocus();
        return;
    }
    const int index = m_group->checkedId();
    CPanneauVariable* panel = index >= 0 ? m_panels[static_cast<std::size_t>(index)] : nullptr;
    // Factor coordinates have no page: only their label changes.
    const bool labelOnly = index >= 0 && kTypes[index].kind == CVariableCalculee::kNumeriqueMultivarie;
    if (panel == nullptr && !labelOnly) {
        ui.ShowMessage(Message(StringTable::kModeNonDisponible), UserInterface::Icon::Warning);
        return;
    }
    if (panel != nullptr && !panel->Verifier())
        return;
    PartiesVariable parts;
    parts.label = label;
    parts.kind = kTypes[index].kind;
    if (panel != nullptr)
        panel->DonnerParties(parts);
    Message error;
    CQuestionEtendue* built = nullptr;
    {
        WaitCursor wait(ui);
        built = CConstructionVariable::Construire(m_context, m_edited, parts, error);
    }
    if (built == nullptr) {
        ui.ShowMessage(error, UserInterface::Icon::Error);
        return;
    }
    m_built = built;
    QDialog::accept();
}
