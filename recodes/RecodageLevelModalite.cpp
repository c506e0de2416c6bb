#include "recodes/RecodageLevelModalite.h"

#include <algorithm>
#include <memory>

#include "app/QuestionEtendue.h"

namespace {

constexpr std::int16_t kAllAnswers = 0;
constexpr std::int16_t kDistinctAnswers = 1;

} // namespace

std::unique_ptr<CRecodage> CRecodageLevelModalite::Clone() const {
    return std::make_unique<CRecodageLevelModalite>(*this);
}

bool CRecodageLevelModalite::IsSourceKind(const CQuestionEtendue& question) const { return question.EstFermee(); }

int CRecodageLevelModalite::DonnerNombreReponses(const CQuestionEtendue& source) const {
    const std::int16_t method = GetSousType();
    if (method == kAllAnswers || method == kDistinctAnswers)
        return std::max(1, source.GetNbreModalite());
    return 1;
}
