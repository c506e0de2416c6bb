#include "gui/recodes/RegrouperValeursDlg.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/RecodageDiscrete.h"
#include "recodes/RecodeValues.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>

CRegrouperValeursDlg::CRegrouperValeursDlg(CContexteEtude& context, CQuestionEtendue& question,
                                           CQuestionEtendue* edited, QWidget* parent)
    : RecodeListDialog(context, question, edited, FreshRecode<CRecodageDiscrete>(context, edited),
                       QStringLiteral("Regrouper en valeurs discrètes"), parent) {
    Init();
}

void CRegrouperValeursDlg::Init() {
    m_nearest = new QCheckBox(QStringLiteral("Regrouper à la valeur la plus proche"), this);
    m_find = new QPushButton(QStringLiteral("&Trouver les valeurs..."), this);
    m_find->setAutoDefault(false);
    auto* options = new QHBoxLayout;
    options->addWidget(m_nearest);
    options->addStretch(1);
    options->addWidget(m_find);
    Build(options);

    const auto& recode = static_cast<const CRecodageDiscrete&>(WorkingRecode());
    m_nearest->setChecked(recode.GetEstEntier());
    std::vector<double> values;
    for (int i = 0; i < recode.DonnerNombreValeurs(); ++i)
        values.push_back(recode.DonnerValeur(i));
    connect(m_nearest, &QCheckBox::toggled, this, [this] { OptionChanged(); });
    connect(m_find, &QPushButton::clicked, this, &CRegrouperValeursDlg::FindValues);
    SetEntries(std::move(values));
}

void CRegrouperValeursDlg::FindValues() {
    {
        const QSignalBlocker quiet(m_nearest);
        m_nearest->setChecked(false);
    }
    SetEntries(RecodeValues::Distinct(SortedAnswers()));
}

QString CRegrouperValeursDlg::EntryText(double value) const {
    return QString::fromStdString(CStaticTools::FormatG(value, 9));
}

bool CRegrouperValeursDlg::ReadEntry(const QString& text, double& value) const {
    QString typed = text;
    typed.replace(QLatin1Char(','), QLatin1Char('.'));
    if (CStaticTools::EstDouble(typed.toStdString(), value))
        return true;
    Warn(Message(StringTable::kEntrerUnNombre));
    return false;
}

void CRegrouperValeursDlg::FillRecode(CRecodage& recode) const {
    auto& discrete = static_cast<CRecodageDiscrete&>(recode);
    discrete.SetEstEntier(m_nearest->isChecked());
    discrete.ViderValeurs();
    for (const double value : Entries())
        discrete.AjouterValeur(value);
}

void CRegrouperValeursDlg::Preview(const CRecodage& recode, std::vector<std::string>& captions,
                                   std::vector<long>& counts) const {
    std::vector<double> values;
    for (int i = 0; i < recode.DonnerNombreValeurs(); ++i)
        values.push_back(static_cast<const CRecodageDiscrete&>(recode).DonnerValeur(i));
    captions = RecodeValues::DiscreteCaptions(values, recode.GetUnite());
    counts = RecodeValues::DiscreteCounts(SortedAnswers(), values, recode.GetEstEntier());
}
