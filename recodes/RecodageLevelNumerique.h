#pragma once

#include "recodes/RecodageLevel.h"

// A numeric question carried to another level. Methods: 0 sum, 1 smallest, 2 largest, 3 count of
// values, 4 mean, 5 median, 6 standard deviation, 7 variance.
class CRecodageLevelNumerique : public CRecodageLevel {
public:
    explicit CRecodageLevelNumerique(CEnquete* survey) : CRecodageLevel(survey) {}
    CRecodageLevelNumerique(const CRecodageLevelNumerique&) = default;
    ~CRecodageLevelNumerique() override = default;

    std::int16_t GetType() const override { return kLevelNumerique; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }

protected:
    std::unique_ptr<CRecodage> Clone() const override;
    bool IsSourceKind(const CQuestionEtendue& question) const override;
    std::int16_t RecodedType() const override { return 5; }
};
