#include "recodes/RecodageLevelNumerique.h"

#include <memory>

#include "app/QuestionEtendue.h"

std::unique_ptr<CRecodage> CRecodageLevelNumerique::Clone() const {
    return std::make_unique<CRecodageLevelNumerique>(*this);
}

bool CRecodageLevelNumerique::IsSourceKind(const CQuestionEtendue& question) const { return question.EstNumerique(); }
