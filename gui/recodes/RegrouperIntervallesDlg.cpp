#include "gui/recodes/RegrouperIntervallesDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/datetime/SerialDate.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/DateText.h"
#include "recodes/RecodageIntervalle.h"
#include "recodes/RecodeValues.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <ctime>
#include <iomanip>
#include <sstream>

namespace {

constexpr const char* kTitle = "Regrouper en intervalles";

// The date texts a user may type, beside the locale's own formats.
const char* const kDateTimeFormats[] = {"dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm", "yyyy-MM-dd HH:mm:ss",
                                        "yyyy-MM-ddTHH:mm:ss"};
const char* const kDateFormats[] = {"dd/MM/yyyy", "dd/MM/yy", "yyyy-MM-dd"};
const char* const kTimeFormats[] = {"HH:mm:ss", "HH:mm", "H:mm"};

bool ToSerial(const QDate& date, const QTime& time, double& serial) {
    SerialDate::Civil civil;
    civil.date = std::chrono::year_month_day{std::chrono::year{date.year()},
                                             std::chrono::month{static_cast<unsigned>(date.month())},
                                             std::chrono::day{static_cast<unsigned>(date.day())}};
    civil.hour = time.hour();
    civil.minute = time.minute();
    civil.second = time.second();
    return SerialDate::FromCivil(civil, serial);
}

QTime ReadTime(const QString& text) {
    const QLocale locale;
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat})
        if (const QTime time = locale.toTime(text, type); time.isValid())
            return time;
    for (const char* format : kTimeFormats)
        if (const QTime time = QTime::fromString(text, QString::fromLatin1(format)); time.isValid())
            return time;
    return {};
}

QDate ReadDay(const QString& text) {
    const QLocale locale;
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat})
        if (const QDate date = locale.toDate(text, type); date.isValid())
            return date;
    for (const char* format : kDateFormats)
        if (const QDate date = QDate::fromString(text, QString::fromLatin1(format)); date.isValid())
            return date;
    return {};
}

QDateTime ReadMoment(const QString& text) {
    const QLocale locale;
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat})
        if (const QDateTime moment = locale.toDateTime(text, type); moment.isValid())
            return moment;
    for (const char* format : kDateTimeFormats)
        if (const QDateTime moment = QDateTime::fromString(text, QString::fromLatin1(format)); moment.isValid())
            return moment;
    return {};
}

// A date text in the form the list shows it (the user's locale for dates); false for another.
bool ReadShownDate(const QString& text, std::int16_t mode, double& serial) {
    const char* pattern = mode == CRecodageIntervalle::kTimeOnly   ? "%X"
                          : mode == CRecodageIntervalle::kDateOnly ? "%x"
                                                                   : "%x %X";
    std::istringstream in(text.toStdString());
    in.imbue(DateText::UserLocale());
    std::tm parts{};
    in >> std::get_time(&parts, pattern);
    if (in.fail())
        return false;
    in >> std::ws;
    if (!in.eof())
        return false;
    if (mode == CRecodageIntervalle::kTimeOnly) {
        serial = (parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec) / 86400.0;
        return true;
    }
    return ToSerial(QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday),
                    QTime(parts.tm_hour, parts.tm_min, parts.tm_sec), serial);
}

// A typed date, date and time or time of day as the serial the answers hold: as the list shows
// dates, or as the interface's locale writes them; false when the text is none.
bool ReadDate(const QString& text, std::int16_t mode, double& serial) {
    if (ReadShownDate(text, mode, serial))
        return true;
    if (mode == CRecodageIntervalle::kTimeOnly) {
        const QTime time = ReadTime(text);
        if (!time.isValid())
            return false;
        serial = time.msecsSinceStartOfDay() / 86400000.0;
        return true;
    }
    if (mode != CRecodageIntervalle::kDateOnly) {
        if (const QDateTime moment = ReadMoment(text); moment.isValid())
            return ToSerial(moment.date(), moment.time(), serial);
    }
    // A date alone is that day at midnight.
    const QDate date = ReadDay(text);
    return date.isValid() && ToSerial(date, QTime(0, 0), serial);
}

} // namespace

CRegrouperIntervallesDlg::CRegrouperIntervallesDlg(CContexteEtude& context, CQuestionEtendue& question,
                                                   CQuestionEtendue* edited, QWidget* parent)
    : RecodeListDialog(context, question, edited, FreshRecode<CRecodageIntervalle>(context, edited),
                       QString::fromUtf8(kTitle), parent) {
    Init(edited == nullptr, question);
}

void CRegrouperIntervallesDlg::Init(bool fresh, const CQuestionEtendue& question) {
    auto& recode = static_cast<CRecodageIntervalle&>(WorkingRecode());
    // A new recode of a date question compares dates as the question holds them.
    if (fresh)
        recode.SetDateType(question.EstDate() ? question.dateKind : CRecodageIntervalle::kPlainNumbers);

    m_closedLeft = new QRadioButton(QStringLiteral("[ a, b ["), this);
    m_closedRight = new QRadioButton(QStringLiteral("] a, b ]"), this);
    m_below = new QCheckBox(QStringLiteral("Moins de"), this);
    m_above = new QCheckBox(QStringLiteral("Plus de"), this);
    m_integers = new QCheckBox(QStringLiteral("Nombres entiers"), this);
    m_dateModes = {new QRadioButton(QStringLiteral("Date/heure"), this),
                   new QRadioButton(QStringLiteral("Date seulement"), this),
                   new QRadioButton(QStringLiteral("Heure seulement"), this)};
    m_percentiles = new QPushButton(QStringLiteral("&Pourcentiles..."), this);
    m_percentiles->setAutoDefault(false);

    auto* sides = new QButtonGroup(this);
    sides->addButton(m_closedLeft);
    sides->addButton(m_closedRight);
    auto* modes = new QButtonGroup(this);
    for (QRadioButton* button : m_dateModes)
        modes->addButton(button);

    auto* options = new QGridLayout;
    options->addWidget(m_closedLeft, 0, 0);
    options->addWidget(m_closedRight, 1, 0);
    options->addWidget(m_below, 0, 1);
    options->addWidget(m_above, 1, 1);
    options->addWidget(m_integers, 0, 2);
    for (int i = 0; i < 3; ++i)
        options->addWidget(m_dateModes[static_cast<std::size_t>(i)], i, 3);
    options->addWidget(m_percentiles, 0, 4);
    options->setColumnStretch(5, 1);
    Build(options);

    m_dateQuestion = recode.GetDateType() != CRecodageIntervalle::kPlainNumbers;
    const bool dateQuestion = m_dateQuestion;
    (recode.GetSousType() != 0 ? m_closedRight : m_closedLeft)->setChecked(true);
    m_below->setChecked(recode.GetEstMoins());
    m_above->setChecked(recode.GetEstPlus());
    m_integers->setChecked(recode.GetEstEntier());
    m_integers->setVisible(!dateQuestion);
    for (std::size_t i = 0; i < m_dateModes.size(); ++i) {
        m_dateModes[i]->setVisible(dateQuestion);
        m_dateModes[i]->setChecked(static_cast<int>(i) == recode.GetDateType());
    }
    SetSortedAnswers(RecodeValues::ForDateMode(PreparedAnswers(), DateMode()));
    m_percentiles->setEnabled(RecodeValues::PercentilesPossible(SortedAnswers().size()));

    for (QAbstractButton* button : {static_cast<QAbstractButton*>(m_closedLeft), static_cast<QAbstractButton*>(m_closedRight),
                                    static_cast<QAbstractButton*>(m_below), static_cast<QAbstractButton*>(m_above),
                                    static_cast<QAbstractButton*>(m_integers)})
        connect(button, &QAbstractButton::toggled, this, [this] { OptionChanged(); });
    for (QRadioButton* button : m_dateModes)
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                OnDateMode();
        });
    connect(m_percentiles, &QPushButton::clicked, this, &CRegrouperIntervallesDlg::AskPercentiles);

    std::vector<double> bounds;
    for (int i = 0; i < recode.DonnerNombreBornes(); ++i)
        bounds.push_back(recode.DonnerValeur(i));
    SetEntries(std::move(bounds));
}

std::int16_t CRegrouperIntervallesDlg::DateMode() const {
    for (std::size_t i = 0; i < m_dateModes.size(); ++i)
        if (m_dateQuestion && m_dateModes[i]->isChecked())
            return static_cast<std::int16_t>(i);
    return CRecodageIntervalle::kPlainNumbers;
}

void CRegrouperIntervallesDlg::OnDateMode() {
    SetSortedAnswers(RecodeValues::ForDateMode(PreparedAnswers(), DateMode()));
    SetEntries(Entries());
}

void CRegrouperIntervallesDlg::AskPercentiles() {
    const int n = static_cast<int>(SortedAnswers().size());
    if (!RecodeValues::PercentilesPossible(static_cast<std::size_t>(n)))
        return;
    QInputDialog prompt(this);
    prompt.setWindowTitle(QStringLiteral("Pourcentiles"));
    prompt.setInputMode(QInputDialog::IntInput);
    prompt.setLabelText(QString::fromStdString(StringTable::Text(StringTable::kNombreIntervallesDesire)));
    prompt.setIntRange(2, n - 1);
    prompt.setIntValue(2);
    if (prompt.exec() != QDialog::Accepted)
        return;
    {
        const QSignalBlocker quietBelow(m_below);
        const QSignalBlocker quietAbove(m_above);
        const QSignalBlocker quietLeft(m_closedLeft);
        const QSignalBlocker quietRight(m_closedRight);
        m_below->setChecked(true);
        m_above->setChecked(true);
        m_closedLeft->setChecked(true);
        m_closedRight->setChecked(false);
    }
    SetEntries(RecodeValues::PercentileBounds(SortedAnswers(), prompt.intValue()));
}

QString CRegrouperIntervallesDlg::EntryText(double value) const {
    const std::int16_t mode = DateMode();
    if (mode != CRecodageIntervalle::kPlainNumbers)
        return QString::fromStdString(DateText::Format(value, mode));
    return QString::fromStdString(CStaticTools::FormatG(value));
}

bool CRegrouperIntervallesDlg::ReadEntry(const QString& text, double& value) const {
    const std::int16_t mode = DateMode();
    if (mode != CRecodageIntervalle::kPlainNumbers) {
        if (ReadDate(text, mode, value))
            return true;
        Warn(Message(StringTable::kDateNonValide));
        return false;
    }
    QString typed = text;
    typed.replace(QLatin1Char(','), QLatin1Char('.'));
    if (CStaticTools::EstDouble(typed.toStdString(), value))
        return true;
    Warn(Message(StringTable::kEntrerUnNombre));
    return false;
}

void CRegrouperIntervallesDlg::FillRecode(CRecodage& recode) const {
    auto& intervals = static_cast<CRecodageIntervalle&>(recode);
    intervals.SetSousType(m_closedRight->isChecked() ? 1 : 0);
    intervals.SetEstEntier(!m_dateQuestion && m_integers->isChecked());
    intervals.SetEstPlus(m_above->isChecked());
    intervals.SetEstMoins(m_below->isChecked());
    intervals.SetDateType(DateMode());
    intervals.ViderValeurs();
    for (const double bound : Entries())
        intervals.AjouterValeur(bound);
}

void CRegrouperIntervallesDlg::Preview(const CRecodage& recode, std::vector<std::string>& captions,
                                       std::vector<long>& counts) const {
    const auto& intervals = static_cast<const CRecodageIntervalle&>(recode);
    captions = RecodeValues::IntervalCaptions(intervals);
    counts = RecodeValues::IntervalCounts(SortedAnswers(), intervals);
}
