#include "openanswers/FormeSurRepresentee.h"

#include <algorithm>

std::vector<FormeSurRepresentee> SelectionnerSurRepresentees(std::span<const double> values, std::span<const std::int32_t> table,
                                                     int M, int category, int N, int minimumFrequency) {
    if (N <= 0 || M <= 0 || category < 0 || category >= M)
        return {};
    const auto width = static_cast<std::size_t>(M);
    const std::size_t rows = values.size() / width;
    std::vector<FormeSurRepresentee> slots(static_cast<std::size_t>(N));
    double threshold = 0.0;
    for (std::size_t i = 0; i < rows; ++i) {
        const double z = values[i * width + static_cast<std::size_t>(category)];
        const std::size_t marginCell = i * (width + 1) + width;
        if (!(z > threshold) || marginCell >= table.size() || !(table[marginCell] > minimumFrequency))
            continue;
        // Just after the last slot whose value is at least z.
        const auto place = std::find_if(slots.begin(), slots.end(), [&](const FormeSurRepresentee& s) { return s.value < z; });
        slots.insert(place, FormeSurRepresentee{z, static_cast<int>(i)});
        slots.pop_back();
        threshold = slots.back().value;
    }
    std::erase_if(slots, [](const FormeSurRepresentee& s) { return s.index < 0; });
    return slots;
}
