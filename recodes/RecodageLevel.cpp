#include "recodes/RecodageLevel.h"

#include "app/QuestionEtendue.h"

bool CRecodageLevel::EstApplicable(const CQuestionEtendue& question) const {
    return IsSourceKind(question) && question.level == m_niveauDepart;
}

void CRecodageLevel::Appliquer(CQuestionEtendue& target, bool) const {
    target.type = RecodedType();
    target.hasNoAnswer = 1;
    target.level = m_niveauArrivee;
}
