#include "gui/requests/CalculationsOfMode.h"

#include "app/ContexteEtude.h"

#include <array>

namespace {

using ListGiver = void (CContexteEtude::*)(std::vector<std::unique_ptr<CCalcul>>&);

struct ModeList {
    std::int16_t mode;
    ListGiver giver;
};

constexpr std::array<ModeList, 4> kModeLists{{
    {1, &CContexteEtude::DonnerCalculsQualitatifs},
    {2, &CContexteEtude::DonnerCalculsCroises},
    {3, &CContexteEtude::DonnerCalculsNumeriques},
    {6, &CContexteEtude::DonnerCalculsMoyennes},
}};

} // namespace

void CalculationsOfMode(CContexteEtude& context, std::int16_t mode,
                        std::vector<std::unique_ptr<CCalcul>>& out) {
    for (const ModeList& entry : kModeLists)
        if (entry.mode == mode) {
            (context.*entry.giver)(out);
            return;
        }
}
