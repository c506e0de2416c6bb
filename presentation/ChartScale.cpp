#include "presentation/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace {

// Values are clamped to +-1e300 by the model; the step is taken on half the span so that even
// the widest range stays finite.
double RoundStep(double roughStep)
{
    const double power = std::pow(10.0, std::floor(std::log10(roughStep)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= roughStep)
            return factor * power;
    }
    return 10.0 * power;
}

} // namespace

ChartScale ChartScale::Compute(double smallest, double largest, int maxIntervals)
{
    if (!std::isfinite(smallest))
        smallest = 0.0;
    if (!std::isfinite(largest))
        largest = 0.0;
    smallest = std::clamp(std::min(smallest, 0.0), -1e300, 0.0);
    largest = std::clamp(std::max(largest, 0.0), 0.0, 1e300);
    const int intervals = std::max(1, maxIntervals);
    if (largest - smallest <= 0.0 || !std::isfinite(largest - smallest))
        largest = smallest + 1.0;

    // Half spans: the full span of +-1e300 would overflow.
    const double halfSpan = largest / 2.0 - smallest / 2.0;
    double step = RoundStep(2.0 * (halfSpan / intervals));
    if (!std::isfinite(step) || step <= 0.0)
        step = halfSpan;
    ChartScale scale;
    scale.step = step;
    scale.low = std::floor(smallest / step) * step;
    scale.high = std::ceil(largest / step) * step;
    if (!std::isfinite(scale.high) || !std::isfinite(scale.low) || scale.high <= scale.low) {
        scale.low = smallest;
        scale.high = largest;
        scale.step = halfSpan;
    }
    return scale;
}

int ChartScale::TickCount() const
{
    const double count = std::floor(high / step - low / step + 0.5) + 1.0;
    return static_cast<int>(std::clamp(count, 2.0, 1000.0));
}

double ChartScale::Tick(int index) const
{
    return std::min(high, low + index * step);
}
