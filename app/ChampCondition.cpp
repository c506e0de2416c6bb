#include "app/ChampCondition.h"

#include "app/Enquete.h"

void CChampCondition::SetQuestion(std::int32_t code, const std::string& loopKeys, std::int32_t recode) {
    questionCode = code;
    keys = loopKeys;
    recodeCode = recode;
}

void CChampCondition::ResoudreQuestion(const CEnquete& survey) {
    question = survey.TrouverQuestion(questionCode, keys, recodeCode);
}
