#include "formula/FormulaData.h"

#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/VecteurDouble.h"

namespace {

constexpr int kInterviewLevel = 0;

} // namespace

FormulaData::FormulaData(CEnquete& survey) : m_survey(&survey) {}

FormulaData::FormulaData() = default;

FormulaData::~FormulaData() {
    for (auto& [index, read] : m_read) {
        if (!read.lent)
            continue;
        if (read.answers.codes != nullptr)
            m_access->MemoriserReponsesFermees(*read.question, read.answers.codes);
        if (read.answers.values != nullptr)
            m_access->MemoriserValeursNumeriques(*read.question, read.answers.values);
    }
}

bool FormulaData::Charger(int questionIndex, std::string& error) {
    if (m_survey == nullptr || m_read.contains(questionIndex))
        return true;
    CQuestionEtendue* question = m_survey->DonnerQuestion(questionIndex);
    if (question == nullptr)
        return true;
    const bool closed = m_survey->EstQuestionFermee(questionIndex);
    const bool values = !closed && (m_survey->EstQuestionNumerique(questionIndex) || question->EstDate());
    if (!closed && !values)
        return true;
    if (!m_access)
        m_access = std::make_unique<CDataAccess>(*m_survey, true);
    Read read;
    read.question = question;
    if (!(closed ? ReadClosed(*question, read, error) : ReadValues(*question, read, error)))
        return false;
    read.answers.dates = values && question->EstDate();
    if (closed)
        read.answers.notAsked = question->TrouverNonReponse();
    m_read.emplace(questionIndex, std::move(read));
    return true;
}

bool FormulaData::ReadClosed(CQuestionEtendue& question, Read& read, std::string& error) {
    if (question.level == kInterviewLevel) {
        CMatriceCodes* lent = nullptr;
        if (!m_access->LireReponsesFermees(question, lent)) {
            error = m_access->GetErrorText();
            return false;
        }
        read.answers.codes = lent;
        read.lent = true;
        return true;
    }
    read.ownedCodes = std::make_unique<CMatriceCodes>();
    if (!m_access->LireReponsesFermeesNiveau(question, kInterviewLevel, *read.ownedCodes)) {
        error = m_access->GetErrorText();
        return false;
    }
    read.answers.codes = read.ownedCodes.get();
    return true;
}

bool FormulaData::ReadValues(CQuestionEtendue& question, Read& read, std::string& error) {
    if (question.level == kInterviewLevel) {
        CVecteurDouble* lent = nullptr;
        if (!m_access->LireValeursNumeriques(question, lent)) {
            error = m_access->GetErrorText();
            return false;
        }
        read.answers.values = lent;
        read.lent = true;
        return true;
    }
    read.ownedValues = std::make_unique<CVecteurDouble>();
    if (!m_access->LireValeursNumeriquesNiveau(question, kInterviewLevel, *read.ownedValues)) {
        error = m_access->GetErrorText();
        return false;
    }
    read.answers.values = read.ownedValues.get();
    return true;
}

const FormulaData::Answers* FormulaData::Trouver(int questionIndex) const {
    const auto found = m_read.find(questionIndex);
    return found != m_read.end() ? &found->second.answers : nullptr;
}
