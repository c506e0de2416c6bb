#pragma once

#include "app/VecteurDouble.h"

#include <string>

// A vector of interview weights: the type the weight cache and the tabulation kernels hand out.
class CVecteurPoids : public CVecteurDouble {
public:
    explicit CVecteurPoids(int n = 0) : CVecteurDouble(n) {}
    CVecteurPoids(const CVecteurPoids& source) = default;
    explicit CVecteurPoids(const CVecteurDouble& source) : CVecteurDouble(source) {}
    CVecteurPoids& operator=(const CVecteurPoids& source) = default;

    // The message of a raking that did not converge, kept with the weights it produced (empty for
    // weights that converged or came from no raking): every table computed on them says so.
    std::string nonConvergence;
};
