#include "app/OneStateScope.h"

#include "app/CommittedState.h"
#include "app/Enquete.h"

OneStateScope::OneStateScope(CEnquete& survey)
    : m_survey(survey), m_refusal(survey.GetCommittedState().Enter(survey.DonnerCheminBase())) {}

OneStateScope::~OneStateScope() {
    m_survey.GetCommittedState().Leave();
}
