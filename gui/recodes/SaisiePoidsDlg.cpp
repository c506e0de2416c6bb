#include "gui/recodes/SaisiePoidsDlg.h"

#include "platform/questionnaire/StaticTools.h"
#include "recodes/ObjectifRedressement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace {

// Wide enough for "100,00" and for the counts of a large survey.
constexpr int kNumberCharacters = 9;
constexpr int kDesiredCharacters = 14;
constexpr int kCaptionCharacters = 18;

QString Count(double value) { return QString::number(static_cast<long long>(std::llround(value))); }

QString Percentage(double value) { return QString::number(value, 'f', 2); }

QLabel* NumberLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QLatin1Char('0')) * kNumberCharacters);
    return label;
}

} // namespace

CSaisiePoidsDlg::CSaisiePoidsDlg(QWidget* parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_observed(NumberLabel(this)),
      m_observedShare(NumberLabel(this)), m_desired(new QLineEdit(this)), m_desiredShare(NumberLabel(this)) {
    m_caption->setMinimumWidth(m_caption->fontMetrics().horizontalAdvance(QLatin1Char('M')) * kCaptionCharacters);
    m_desired->setAlignment(Qt::AlignRight);
    m_desired->setMinimumWidth(m_desired->fontMetrics().horizontalAdvance(QLatin1Char('0')) * kDesiredCharacters);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_observed);
    layout->addWidget(m_observedShare);
    layout->addWidget(m_desired);
    layout->addWidget(m_desiredShare);
    connect(m_desired, &QLineEdit::textEdited, this, &CSaisiePoidsDlg::OnDesireEdite);
}

void CSaisiePoidsDlg::Afficher(CObjectifRedressement& target, int modality) {
    m_target = &target;
    m_modality = modality;
    m_caption->setText(QString::fromStdString(target.DonnerLibelleModalite(modality)));
    m_observed->setText(Count(target.DonnerValeurObservee(modality)));
    m_observedShare->setText(Percentage(target.DonnerPourcentageObserve(modality)));
    m_desired->setText(QString::fromStdString(CStaticTools::FormatG(target.DonnerValeurDesiree(modality), 15)));
    RafraichirPourcentage();
}

void CSaisiePoidsDlg::RafraichirPourcentage() {
    if (m_target != nullptr)
        m_desiredShare->setText(Percentage(m_target->DonnerPourcentageDesire(m_modality)));
}

// A value typed with a decimal comma reads as well; text that is no number, or a negative one,
// leaves the target as it was.
void CSaisiePoidsDlg::OnDesireEdite(const QString& text) {
    if (m_target == nullptr)
        return;
    std::string typed = text.toStdString();
    for (char& c : typed)
        if (c == ',')
            c = '.';
    double value = 0.0;
    if (!CStaticTools::EstDouble(typed, value) || !std::isfinite(value) || value < 0.0)
        return;
    m_target->SetObjectif(m_modality, value);
    emit ValeurModifiee();
}
