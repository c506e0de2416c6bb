#pragma once

#include "app/Message.h"

class CEnquete;

// A computation reading one committed state of the survey's questionnaire file (see
// app/CommittedState.h): enters the survey's state on construction, leaves it on destruction.
// Scopes nest: the outermost one fixes the state for all.
class OneStateScope {
public:
    explicit OneStateScope(CEnquete& survey);
    ~OneStateScope();
    OneStateScope(const OneStateScope&) = delete;
    OneStateScope& operator=(const OneStateScope&) = delete;

    // Id 0 when the computation may go on; else the message that refuses it.
    const Message& Refusal() const { return m_refusal; }

private:
    CEnquete& m_survey;
    Message m_refusal;
};
