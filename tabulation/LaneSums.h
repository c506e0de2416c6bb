#pragma once

#include <array>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

// Counts accumulated in independent lanes: unit u adds into lane u % kLanes, each lane in unit
// order, and the lanes are merged in one fixed order at the end. Consecutive units that answer the
// same modality then add into different counters, whose additions overlap, instead of each waiting
// for the one before it to be stored (a chain through the most common modality's counter that
// bounded every counting loop). A sum so taken differs from the straight one in its last bits
// only; the fixed merge keeps it the same from run to run, and the same in every kernel whose
// counts must agree (a one-answer and a several-answer question holding the same answers) as
// long as each of them counts through this class.
class LaneSums {
public:
    static constexpr std::size_t kLanes = 4;
    template <std::size_t L> using Lane = std::integral_constant<std::size_t, L>;
    // The running sums a kernel keeps apart from its counters, one per lane, so that they stay
    // in registers.
    using Running = std::array<double, kLanes>;

    explicit LaneSums(std::size_t slots) : m_slots(slots), m_sums(slots * kLanes, 0.0) {}

    double* Counters(std::size_t lane) { return m_sums.data() + lane * m_slots; }

    // Lane 0 first, then 1, 2 and 3.
    static double Merge(const Running& lanes) { return ((lanes[0] + lanes[1]) + lanes[2]) + lanes[3]; }
    // Every counter merged across the lanes.
    std::vector<double> Merged() const {
        std::vector<double> merged(m_slots, 0.0);
        for (std::size_t slot = 0; slot < m_slots; ++slot)
            merged[slot] = Merge({m_sums[slot], m_sums[m_slots + slot], m_sums[2 * m_slots + slot],
                                  m_sums[3 * m_slots + slot]});
        return merged;
    }

    // Calls visit(unit, lane) for units first .. last-1 in order, the lane a compile-time constant
    // so that a kernel's running sums can be indexed by it and still be kept in registers.
    template <typename Visit>
    [[gnu::always_inline]] static void ForEachUnit(int first, int last, Visit&& visit) {
        for (; first + static_cast<int>(kLanes) <= last; first += static_cast<int>(kLanes))
            VisitGroup(first, last, visit, std::make_index_sequence<kLanes>{});
        VisitGroup(first, last, visit, std::make_index_sequence<kLanes>{});
    }

private:
    static_assert(kLanes == 4, "Merge adds four lanes");

    // Inlined, as the visits it makes, or the running sums would go through memory.
    template <typename Visit, std::size_t... L>
    [[gnu::always_inline]] static void VisitGroup(int first, int units, Visit& visit,
                                                  std::index_sequence<L...>) {
        ((first + static_cast<int>(L) < units ? visit(first + static_cast<int>(L), Lane<L>{}) : void()), ...);
    }

    std::size_t m_slots;
    std::vector<double> m_sums;
};
