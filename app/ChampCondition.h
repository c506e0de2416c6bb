#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CEnquete;
class CQuestionEtendue;

// One condition of a study field: a question, a kind, two bounds and the selected modalities.
// The question is kept twice: as the bound object, and as the stored reference (code, loop keys,
// recode code) from which it is found again in a survey. Here the record, its binding and the
// texts it is stored with; its evaluation comes with the study fields.
class CChampCondition {
public:
    // Stores the reference from which the question is found again (ResoudreQuestion); the bound
    // question is left as it is.
    void SetQuestion(std::int32_t code, const std::string& keys, std::int32_t recodeCode);
    // Binds the question and stores its reference (code 0, empty keys and recode 0 for none).
    void SetQuestion(CQuestionEtendue* boundQuestion);
    // Binds the question of the stored reference in the survey; none when it is not found.
    void ResoudreQuestion(const CEnquete& survey);
    // The reference to store: the bound question's when there is one, else the stored one (a
    // condition read but not yet bound keeps its question).
    void DonnerReference(std::int32_t& code, std::string& loopKeys, std::int32_t& recode) const;

    // The selected modality indexes, replaced as a whole; read one by one.
    void SetModalites(const std::vector<std::int32_t>& indexes) { modalities = indexes; }
    int DonnerNombreModalites() const { return static_cast<int>(modalities.size()); }
    // The i-th selected index; -1 out of range.
    std::int32_t DonnerModalite(int i) const;

    // The stored texts. Modalities: each selected index followed by ";" in selection order
    // ("0;3;"; empty without selection). Bounds: a and b with 15 significant digits joined by ";"
    // ("0.333333333333333;0"), whatever the locale.
    std::string DonnerListeModalites() const;
    std::string DonnerBornes() const;
    // The inverses: indexes from their text; bounds only from a text of exactly two numbers,
    // else both 0.
    void LireListeModalites(const std::string& text);
    void LireBornes(const std::string& text);

    CQuestionEtendue* question = nullptr; // not owned
    std::int16_t kind = 0;
    double a = 0.0;
    double b = 0.0;
    std::vector<std::int32_t> modalities; // selected modality indexes, in selection order
    std::int32_t questionCode = 0;
    std::string keys;                     // "%ld;" per loop key
    std::int32_t recodeCode = 0;
};
