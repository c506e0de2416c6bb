#pragma once

#include <cstdint>
#include <string>

class CEnquete;
class CTraitement;

// The changes a portfolio makes to the requests of many tables at once, before they are computed
// again: the study field, the weighting, the level, and the non-response row of the questions
// that offer one.
namespace ChangementsLot {

void ChangerChampEtude(CTraitement& request, std::int32_t id, const std::string& name);
void ChangerRedressement(CTraitement& request, std::int32_t id, const std::string& name);
void ChangerNiveau(CTraitement& request, std::int32_t level);

// On each side (rows, then columns) whose question has modalities, is closed and offers the
// non-response: with `afficher`, a non-response line (code -1, the survey's caption) is added
// when there is none, before a last Total line, else at the end; without, the non-response
// line is removed. True when a side changed.
bool ChangerNonReponses(CTraitement& request, const CEnquete& survey, bool afficher);

} // namespace ChangementsLot
