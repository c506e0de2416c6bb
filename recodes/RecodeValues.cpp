#include "recodes/RecodeValues.h"

#include <algorithm>
#include <cmath>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/DateText.h"
#include "recodes/RecodageDiscrete.h"
#include "recodes/RecodageIntervalle.h"

namespace RecodeValues {
namespace {

bool IsMissing(double value) {
    return value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked;
}

// A caption without the blanks an empty unit leaves ("25  ou plus", "3 ").
std::string Tidy(std::string caption) {
    std::string tidy;
    for (const char c : caption)
        if (c != ' ' || (!tidy.empty() && tidy.back() != ' '))
            tidy += c;
    while (!tidy.empty() && tidy.back() == ' ')
        tidy.pop_back();
    return tidy;
}

std::string Number(double value) {
    return CStaticTools::FormatG(value);
}

// Counts per index of a lookup answering an index or -5.
template <class Lookup>
std::vector<long> CountsOf(std::span<const double> sorted, std::size_t size, Lookup lookup) {
    std::vector<long> counts(size, 0);
    for (const double value : sorted) {
        const int index = lookup(value);
        if (index >= 0 && static_cast<std::size_t>(index) < size)
            ++counts[static_cast<std::size_t>(index)];
    }
    return counts;
}

} // namespace

bool Read(CContexteEtude& context, CQuestionEtendue& question, std::vector<double>& answers, std::string& error) {
    CDataAccess access(context, true);
    CVecteurDouble* values = nullptr;
    if (!access.LireValeursNumeriques(question, values)) {
        error = access.GetErrorText();
        return false;
    }
    const std::span<const double> read = values->Valeurs();
    answers.assign(read.begin(), read.end());
    access.MemoriserValeursNumeriques(question, values);
    return true;
}

std::vector<double> Prepare(std::span<const double> answers) {
    std::vector<double> kept;
    kept.reserve(answers.size());
    std::copy_if(answers.begin(), answers.end(), std::back_inserter(kept), [](double v) { return !IsMissing(v); });
    std::sort(kept.begin(), kept.end());
    return kept;
}

std::vector<double> ForDateMode(std::span<const double> sorted, std::int16_t dateMode) {
    std::vector<double> mapped(sorted.begin(), sorted.end());
    if (dateMode == CRecodageIntervalle::kDateOnly) {
        for (double& v : mapped)
            v = std::floor(v);
    } else if (dateMode == CRecodageIntervalle::kTimeOnly) {
        for (double& v : mapped)
            v -= std::floor(v);
        // Times of day do not follow the order of the days they belong to.
        std::sort(mapped.begin(), mapped.end());
    }
    return mapped;
}

std::vector<double> Distinct(std::span<const double> sorted) {
    std::vector<double> distinct;
    for (const double value : sorted)
        if (distinct.empty() || distinct.back() != value)
            distinct.push_back(value);
    return distinct;
}

bool PercentilesPossible(std::size_t valueCount) {
    return valueCount >= 3;
}

std::vector<double> PercentileBounds(std::span<const double> sorted, int intervals) {
    std::vector<double> bounds;
    const auto n = static_cast<long long>(sorted.size());
    const long long k = intervals;
    if (k < 2 || k > n - 1)
        return bounds;
    long long i = 0;
    for (long long j = 0; j + 1 < k; ++j) {
        // The first index at or above (j + 1) N / k, in whole numbers: i k >= (j + 1) N.
        while (i * k < (j + 1) * n)
            ++i;
        const double bound = sorted[static_cast<std::size_t>(i)];
        if (bounds.empty() || bounds.back() != bound)
            bounds.push_back(bound);
    }
    return bounds;
}

std::vector<long> DiscreteCounts(std::span<const double> sorted, std::span<const double> values, bool nearest) {
    CRecodageDiscrete recode(nullptr);
    recode.SetEstEntier(nearest);
    for (const double value : values)
        recode.AjouterValeur(value);
    return CountsOf(sorted, values.size(), [&recode](double v) { return recode.DonnerIndexValeur(v); });
}

std::vector<std::string> DiscreteCaptions(std::span<const double> values, const std::string& unit) {
    std::vector<std::string> captions;
    for (const double value : values)
        captions.push_back(Tidy(CStaticTools::FormatG(value, 9) + " " + unit));
    return captions;
}

std::vector<long> IntervalCounts(std::span<const double> sorted, const CRecodageIntervalle& recode) {
    const auto classes = static_cast<std::size_t>(std::max(recode.DonnerNombreClasses(), 0));
    return CountsOf(sorted, classes, [&recode](double v) { return recode.DonnerClasse(v); });
}

std::vector<std::string> IntervalCaptions(const CRecodageIntervalle& recode) {
    using namespace StringTable;
    std::vector<std::string> captions;
    const int n = recode.DonnerNombreBornes();
    if (n == 0)
        return captions;
    const bool right = recode.GetSousType() != 0;
    const std::int16_t dateMode = recode.GetDateType();
    const bool dates = dateMode != CRecodageIntervalle::kPlainNumbers;
    const std::string unit = recode.GetUnite();
    const auto date = [dateMode](double v) { return DateText::Format(v, dateMode); };
    const auto caption = [&captions](int id, std::vector<std::string> arguments) {
        captions.push_back(Tidy(Format(Message(id, std::move(arguments)))));
    };

    const double first = recode.DonnerValeur(0);
    if (recode.GetEstMoins()) {
        if (dates)
            caption(right ? kAvantInclus : kAvant, {date(first)});
        else
            caption(right ? kOuMoins : kMoinsDe, {Number(first), unit});
    }
    for (int i = 0; i + 1 < n; ++i) {
        double low = recode.DonnerValeur(i);
        double high = recode.DonnerValeur(i + 1);
        if (dates) {
            caption(kDeADate, {date(low), date(high)});
            continue;
        }
        if (recode.GetEstEntier()) {
            if (right)
                low += 1.0;
            else
                high -= 1.0;
        }
        caption(kDeA, {Number(low), Number(high), unit});
    }
    const double last = recode.DonnerValeur(n - 1);
    if (recode.GetEstPlus()) {
        if (dates)
            caption(right ? kApres : kApresInclus, {date(last)});
        else
            caption(right ? kPlusDe : kOuPlus, {Number(last), unit});
    }
    return captions;
}

} // namespace RecodeValues
