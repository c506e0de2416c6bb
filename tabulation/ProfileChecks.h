#pragma once

#include "app/Message.h"

#include <cstdint>
#include <vector>

class CEnquete;
class CProfil;
class UserInterface;

// Whether a profile can be computed on the open survey before any answer is read. A profile kept
// in a request may outlive the questions it was made of (the questionnaire changed, a variable
// was deleted): computing it would count nothing under the old captions and show the empty cells
// as counted. So a line whose question is not one of the survey's, a question of the wrong kind
// for the axis, a modality its question no longer has, or a closed question with no modality
// chosen is refused, each with a message naming it.
namespace ProfileChecks {

// The faults of the profile on an axis of that kind (2 closed questions with their modalities,
// 3 numeric questions, 7 open questions), in line order; empty when it can be computed. A profile
// without any question (null, empty, or separators only) is one fault. Questions that are not the
// survey's are named by their line (counted from 1), never read.
std::vector<Message> FaultsOf(const CEnquete& survey, const CProfil* profile, std::int16_t axisKind);

// Shows the faults in one message (their texts one per line when there are several); true when
// there is none.
bool ShowFaults(UserInterface& ui, const std::vector<Message>& faults);

} // namespace ProfileChecks
