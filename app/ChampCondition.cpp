#include "app/ChampCondition.h"

#include "app/Enquete.h"
#include "platform/questionnaire/StaticTools.h"

namespace {
constexpr int kBoundPrecision = 15;
}

void CChampCondition::SetQuestion(std::int32_t code, const std::string& loopKeys, std::int32_t recode) {
    questionCode = code;
    keys = loopKeys;
    recodeCode = recode;
}

void CChampCondition::SetQuestion(CQuestionEtendue* boundQuestion) {
    question = boundQuestion;
    CEnquete::DonnerReferenceQuestion(boundQuestion, questionCode, keys, recodeCode);
}

void CChampCondition::ResoudreQuestion(const CEnquete& survey) {
    question = survey.TrouverQuestion(questionCode, keys, recodeCode);
}

void CChampCondition::DonnerReference(std::int32_t& code, std::string& loopKeys, std::int32_t& recode) const {
    if (question != nullptr) {
        CEnquete::DonnerReferenceQuestion(question, code, loopKeys, recode);
        return;
    }
    code = questionCode;
    loopKeys = keys;
    recode = recodeCode;
}

std::int32_t CChampCondition::DonnerModalite(int i) const {
    if (i < 0 || i >= DonnerNombreModalites())
        return -1;
    return modalities[static_cast<std::size_t>(i)];
}

std::string CChampCondition::DonnerListeModalites() const {
    std::string text;
    for (std::int32_t index : modalities)
        text += std::to_string(index) + ";";
    return text;
}

std::string CChampCondition::DonnerBornes() const {
    return CStaticTools::FormatG(a, kBoundPrecision) + ";" + CStaticTools::FormatG(b, kBoundPrecision);
}

void CChampCondition::LireListeModalites(const std::string& text) {
    std::vector<std::int32_t> indexes;
    CStaticTools::LireChaineSeparateurLong(text, ';', indexes);
    SetModalites(indexes);
}

void CChampCondition::LireBornes(const std::string& text) {
    std::vector<double> bounds;
    CStaticTools::LireChaineSeparateurDouble(text, ';', bounds);
    const bool twoBounds = bounds.size() == 2;
    a = twoBounds ? bounds[0] : 0.0;
    b = twoBounds ? bounds[1] : 0.0;
}
