#include "gui/recodes/ConditionNumeriqueDlg.h"

#include "app/ChampCondition.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "platform/questionnaire/StaticTools.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr int kBoundPrecision = 15;

// The kinds by number, with the bounds each uses.
struct Kind {
    const char* text;
    int bounds;
};

constexpr std::array<Kind, CConditionNumeriqueDlg::kNombreTypes> kKinds{{
    {"x = {Non réponse}", 0},
    {"x = {Non interrogé}", 0},
    {"x = a", 1},
    {"x <> a", 1},
    {"x < a", 1},
    {"x <= a", 1},
    {"x > a", 1},
    {"x >= a", 1},
    {"a <= x <= b", 2},
    {"x < a ou x > b", 2},
}};

int BoundsOf(int kind) {
    return kind >= 0 && kind < CConditionNumeriqueDlg::kNombreTypes
               ? kKinds[static_cast<std::size_t>(kind)].bounds
               : 0;
}

bool ReadsAsNumber(const QLineEdit& box, double& value) {
    return CStaticTools::EstDouble(box.text().toStdString(), value);
}

} // namespace

CConditionNumeriqueDlg::CConditionNumeriqueDlg(CChampCondition& condition, QWidget* parent)
    : QWidget(parent), m_condition(condition), m_a(new QLineEdit(this)), m_b(new QLineEdit(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(this);
    for (int kind = 0; kind < kNombreTypes; ++kind) {
        auto* button = new QRadioButton(QString::fromUtf8(kKinds[static_cast<std::size_t>(kind)].text), this);
        group->addButton(button, kind);
        layout->addWidget(button, kind, 0);
        m_kinds[static_cast<std::size_t>(kind)] = button;
    }
    auto* labelA = new QLabel(QStringLiteral("&a :"), this);
    labelA->setBuddy(m_a);
    auto* labelB = new QLabel(QStringLiteral("&b :"), this);
    labelB->setBuddy(m_b);
    // Room for a bound of fifteen digits with its sign, point and exponent.
    const int boxWidth = m_a->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000000000000e-000")) + 12;
    m_a->setMinimumWidth(boxWidth);
    m_b->setMinimumWidth(boxWidth);
    layout->addWidget(labelA, 2, 1);
    layout->addWidget(m_a, 2, 2);
    layout->addWidget(labelB, 8, 1);
    layout->addWidget(m_b, 8, 2);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(kNombreTypes, 1);
    connect(group, &QButtonGroup::idClicked, this, &CConditionNumeriqueDlg::OnType);
    connect(m_a, &QLineEdit::textEdited, this, [this] { OnBorne(*m_a, m_condition.a); });
    connect(m_b, &QLineEdit::textEdited, this, [this] { OnBorne(*m_b, m_condition.b); });
    Afficher();
}

void CConditionNumeriqueDlg::Afficher() {
    for (int kind = 0; kind < kNombreTypes; ++kind)
        m_kinds[static_cast<std::size_t>(kind)]->setChecked(kind == m_condition.kind);
    m_a->setText(QString::fromStdString(CStaticTools::FormatG(m_condition.a, kBoundPrecision)));
    m_b->setText(QString::fromStdString(CStaticTools::FormatG(m_condition.b, kBoundPrecision)));
    EnableBounds();
}

void CConditionNumeriqueDlg::OnType(int kind) {
    m_condition.kind = static_cast<std::int16_t>(kind);
    EnableBounds();
}

void CConditionNumeriqueDlg::OnBorne(QLineEdit& box, double& bound) {
    double value = 0.0;
    if (ReadsAsNumber(box, value))
        bound = value;
}

void CConditionNumeriqueDlg::EnableBounds() {
    const int bounds = BoundsOf(m_condition.kind);
    m_a->setEnabled(bounds >= 1);
    m_b->setEnabled(bounds >= 2);
}

bool CConditionNumeriqueDlg::Valider(UserInterface& ui) {
    const int bounds = BoundsOf(m_condition.kind);
    for (QLineEdit* box : {m_a, m_b}) {
        if ((box == m_a ? 1 : 2) > bounds)
            break;
        double value = 0.0;
        if (!ReadsAsNumber(*box, value)) {
            ui.ShowMessage(Message(StringTable::kEntrerUnNombre), UserInterface::Icon::Warning);
            box->setFocus();
            box->selectAll();
            return false;
        }
    }
    return true;
}
