#pragma once

#include "app/VecteurDouble.h"

// A vector of interview weights: the type the weight cache and the tabulation kernels hand out.
class CVecteurPoids : public CVecteurDouble {
public:
    explicit CVecteurPoids(int n = 0) : CVecteurDouble(n) {}
    CVecteurPoids(const CVecteurPoids& source) = default;
    explicit CVecteurPoids(const CVecteurDouble& source) : CVecteurDouble(source) {}
    CVecteurPoids& operator=(const CVecteurPoids& source) = default;
};
