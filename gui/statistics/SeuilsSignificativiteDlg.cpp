#include "gui/statistics/SeuilsSignificativiteDlg.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kTypes[] = {"Comparaison des cellules (khi2)", "Comparaison des colonnes",
                                  "Comparaison des lignes"};

struct Field {
    CSeuilsSignificativiteDlg::Controle id;
    const char* caption;
    double SignificanceThresholds::*value;
};
// In the order of m_edits.
constexpr Field kFields[] = {
    {CSeuilsSignificativiteDlg::kHaut, "Seuil haut (%):", &SignificanceThresholds::haut},
    {CSeuilsSignificativiteDlg::kMoyen, "Seuil moyen (%):", &SignificanceThresholds::moyen},
    {CSeuilsSignificativiteDlg::kBas, "Seuil bas (%):", &SignificanceThresholds::bas},
    {CSeuilsSignificativiteDlg::kIntervalle, "Intervalle (bivarié):", &SignificanceThresholds::intervalle},
};
constexpr std::size_t kIntervalleIndex = 3;

// A risk shown without useless zeros: 5, 2.5, 0.27.
QString RiskText(double risk) {
    return QString::number(risk, 'g', 6);
}

} // namespace

CSeuilsSignificativiteDlg::CSeuilsSignificativiteDlg(CContexteEtude& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_type(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Seuils de significativité"));
    const SignificanceThresholds shown = SignificanceThresholds::DuContexte(context);
    auto* significance = new QGroupBox(QStringLiteral("Significativité"), this);
    auto* marks = new QFormLayout(significance);
    m_type->setObjectName(QString::number(kType));
    for (const char* text : kTypes)
        m_type->addItem(QString::fromUtf8(text));
    m_type->setCurrentIndex(shown.type);
    marks->addRow(QStringLiteral("Type:"), m_type);
    auto* interval = new QGroupBox(QStringLiteral("Intervalle de confiance"), this);
    auto* intervalForm = new QFormLayout(interval);
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        auto* edit = new QLineEdit(RiskText(shown.*kFields[i].value), this);
        edit->setObjectName(QString::number(kFields[i].id));
        (i == kIntervalleIndex ? intervalForm : marks)->addRow(QString::fromUtf8(kFields[i].caption), edit);
        m_edits[i] = edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(significance);
    layout->addWidget(interval);
    layout->addWidget(buttons);
}

QLineEdit& CSeuilsSignificativiteDlg::GetSeuil(Controle id) const {
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        if (kFields[i].id == id)
            return *m_edits[i];
    return *m_edits.front();
}

bool CSeuilsSignificativiteDlg::Lire(SignificanceThresholds& values) const {
    values.type = m_type->currentIndex();
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        // The decimal comma of French typing is taken as the point.
        const QString text = m_edits[i]->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
        bool number = false;
        const double value = text.toDouble(&number);
        if (!number) {
            const Message refused = i == kIntervalleIndex ? Message(StringTable::kEntrerUnNombre)
                                                          : Message(StringTable::kEntrerNombreEntre, {"0", "100"});
            m_context.GetUserInterface().ShowMessage(refused, UserInterface::Icon::Warning);
            m_edits[i]->setFocus();
            return false;
        }
        values.*kFields[i].value = value;
    }
    return true;
}

void CSeuilsSignificativiteDlg::accept() {
    SignificanceThresholds values;
    if (!Lire(values))
        return;
    if (const std::optional<Message> refused = values.Appliquer(m_context)) {
        m_context.GetUserInterface().ShowMessage(*refused, UserInterface::Icon::Warning);
        return;
    }
    QDialog::accept();
}
