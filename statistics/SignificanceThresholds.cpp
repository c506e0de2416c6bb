#include "statistics/SignificanceThresholds.h"

#include <cmath>
#include <cstdint>

#include "app/Enquete.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "tabulation/FonctionsStatistiques.h"

namespace {

double RoundToHundredths(double x) { return std::trunc(x * 100.0 + 0.5) * 0.01; }

bool InRange(double risk) { return risk >= 0.0 && risk <= 100.0; }

} // namespace

double SignificanceThresholds::RisqueDeQuantile(double z) { return 2.0 * RoundToHundredths(100.0 - 100.0 * LoiNormale(z)); }

double SignificanceThresholds::QuantileDeRisque(double risque) { return InverseLoiNormale((100.0 - risque * 0.5) * 0.01); }

SignificanceThresholds SignificanceThresholds::DuContexte(const CEnquete& context) {
    SignificanceThresholds shown;
    shown.type = context.SignificanceType;
    shown.haut = RisqueDeQuantile(context.SignificanceThreshold1);
    shown.moyen = RisqueDeQuantile(context.SignificanceThreshold2);
    shown.bas = RisqueDeQuantile(context.SignificanceThreshold3);
    shown.intervalle = RisqueDeQuantile(context.ConfidenceIntervalThreshold);
    return shown;
}

std::optional<Message> SignificanceThresholds::Verifier() const {
    if (!InRange(haut) || !InRange(moyen) || !InRange(bas))
        return Message(StringTable::kEntrerNombreEntre, {"0", "100"});
    if (!(haut >= moyen && haut >= bas && moyen >= bas))
        return Message(StringTable::kSeuilsDecroissants);
    return std::nullopt;
}

std::optional<Message> SignificanceThresholds::Appliquer(CEnquete& context) const {
    if (std::optional<Message> refused = Verifier())
        return refused;
    context.SignificanceType = static_cast<std::int16_t>(type);
    context.SignificanceThreshold1 = QuantileDeRisque(haut);
    context.SignificanceThreshold2 = QuantileDeRisque(moyen);
    context.SignificanceThreshold3 = QuantileDeRisque(bas);
    context.ConfidenceIntervalThreshold = QuantileDeRisque(intervalle);
    CRegistre::SetSignificanceType(type);
    CRegistre::SetSignificanceThreshold1(context.SignificanceThreshold1);
    CRegistre::SetSignificanceThreshold2(context.SignificanceThreshold2);
    CRegistre::SetSignificanceThreshold3(context.SignificanceThreshold3);
    CRegistre::SetConfidenceIntervalThreshold(context.ConfidenceIntervalThreshold);
    return std::nullopt;
}
