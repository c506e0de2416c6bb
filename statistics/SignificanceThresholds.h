#pragma once

#include <optional>

#include "app/Message.h"

class CEnquete;

// The significance settings of cross tables as the thresholds dialog shows and takes them: the
// kind of comparison and four two-sided risks in per cent (three marks and the confidence
// interval), where the study context and the settings keep standard normal quantiles. The
// tabulation engine reads the context when it marks a table, so a table computed after Appliquer
// is marked with the new thresholds; the settings carry them to the next run of the program and
// of qesrun.
struct SignificanceThresholds {
    int type = 2;            // 0 cells (chi-square), 1 columns, 2 lines
    double haut = 10.0;      // risk of SignificanceThreshold1
    double moyen = 5.0;      // SignificanceThreshold2
    double bas = 1.0;        // SignificanceThreshold3
    double intervalle = 5.0; // ConfidenceIntervalThreshold

    // The risk shown for a quantile: twice the one-sided risk rounded to two decimals, so 1.96
    // shows as 5.
    static double RisqueDeQuantile(double z);
    // The quantile kept for a risk.
    static double QuantileDeRisque(double risque);

    // The context's settings, as risks.
    static SignificanceThresholds DuContexte(const CEnquete& context);
    // Why the values cannot be taken: a mark's risk outside 0 to 100, or risks that do not
    // decrease from haut to bas (63455); nothing when they can.
    std::optional<Message> Verifier() const;
    // Checks, then writes the type and the four quantiles into the context and the settings.
    // Nothing is written when the check fails; the message is then given back.
    std::optional<Message> Appliquer(CEnquete& context) const;
};
