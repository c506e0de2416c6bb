#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CEnquete;
class CQuestionEtendue;

// One condition of a study field: a question, a kind, two bounds and the selected modalities.
// Here only what the survey's list of study fields needs (the record and its binding); the
// evaluation and the texts come with the recodes and study fields.
class CChampCondition {
public:
    // Stores the reference from which the question is found again (ResoudreQuestion).
    void SetQuestion(std::int32_t code, const std::string& keys, std::int32_t recodeCode);
    // Binds the question of the stored reference in the survey; none when it is not found.
    void ResoudreQuestion(const CEnquete& survey);

    CQuestionEtendue* question = nullptr; // not owned
    std::int16_t kind = 0;
    double a = 0.0;
    double b = 0.0;
    std::vector<std::int32_t> modalities; // selected modality indexes, in selection order
    std::int32_t questionCode = 0;
    std::string keys;                     // "%ld;" per loop key
    std::int32_t recodeCode = 0;
};
