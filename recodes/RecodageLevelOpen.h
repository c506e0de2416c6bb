#pragma once

#include "recodes/RecodageLevel.h"

// An open question carried to another level: the texts of the linked records joined.
class CRecodageLevelOpen : public CRecodageLevel {
public:
    explicit CRecodageLevelOpen(CEnquete* survey) : CRecodageLevel(survey) {}
    CRecodageLevelOpen(const CRecodageLevelOpen&) = default;
    ~CRecodageLevelOpen() override = default;

    std::int16_t GetType() const override { return kLevelOpen; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }

protected:
    std::unique_ptr<CRecodage> Clone() const override;
    bool IsSourceKind(const CQuestionEtendue& question) const override;
    std::int16_t RecodedType() const override { return 4; }
};
