#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/ChampCondition.h"

class CEnquete;

// A study field: a named sub-population given by up to four conditions joined by AND/OR
// connectors, or by one formula. The questionnaire database stores them ("MFW ChampEtude") and the
// survey keeps the list of them; their evaluation comes with the study fields.
class CChampEtude {
public:
    // Copy and assignment copy every field, the conditions with their modality lists.
    CChampEtude() = default;

    // Binds each condition to its question in the survey.
    void ResoudreQuestions(const CEnquete& survey);

    std::int32_t id = 0; // -1 is "Toutes les interviews"; 0 while not stored
    std::string name;
    std::string description;
    std::array<std::int16_t, 3> connectors{}; // non-zero AND, zero OR
    std::array<CChampCondition, 4> conditions;
    bool complexCondition = false;
    std::string complexConditionText;
};
