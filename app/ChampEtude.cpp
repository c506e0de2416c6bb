#include "app/ChampEtude.h"

void CChampEtude::ResoudreQuestions(const CEnquete& survey) {
    for (CChampCondition& condition : conditions)
        condition.ResoudreQuestion(survey);
}
