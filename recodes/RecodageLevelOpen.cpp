#include "recodes/RecodageLevelOpen.h"

#include <memory>

#include "app/QuestionEtendue.h"

std::unique_ptr<CRecodage> CRecodageLevelOpen::Clone() const { return std::make_unique<CRecodageLevelOpen>(*this); }

bool CRecodageLevelOpen::IsSourceKind(const CQuestionEtendue& question) const { return question.EstOuverte(); }
