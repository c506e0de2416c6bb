#pragma once

#include "recodes/RecodageLevel.h"

// A closed question carried to another level. Methods: 0 every answer, 1 every answer once,
// 2 the first modality in the question's order, 3 the last one.
class CRecodageLevelModalite : public CRecodageLevel {
public:
    explicit CRecodageLevelModalite(CEnquete* survey) : CRecodageLevel(survey) {}
    CRecodageLevelModalite(const CRecodageLevelModalite&) = default;
    ~CRecodageLevelModalite() override = default;

    std::int16_t GetType() const override { return kLevelModalite; }
    // The methods that gather answers may give every modality: as many answers as the question
    // has modalities (at least 1); the others one.
    int DonnerNombreReponses(const CQuestionEtendue& source) const override;

protected:
    std::unique_ptr<CRecodage> Clone() const override;
    bool IsSourceKind(const CQuestionEtendue& question) const override;
    std::int16_t RecodedType() const override { return 1; }
};
