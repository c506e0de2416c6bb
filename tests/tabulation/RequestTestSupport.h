#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/Traitement.h"
#include "TabulationTestSupport.h"

// Messages in test failures: their id and texts.
inline void PrintTo(const Message& message, std::ostream* out) {
    *out << "Message(" << message.id;
    for (const std::string& argument : message.arguments)
        *out << ", \"" << argument << "\"";
    *out << ")";
}

namespace tabulation_test {

using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

// A survey for requests: levels "Interviews" (code 0) and "Membres" (code 7), the study field 3
// "Hommes", the weighting 4 "Redressement A", and the questions
//   Q1 closed (modalities 1, 2, 3), Q2 closed (1, 2),
//   Q12 closed (1, 2, 3) followed by Q12G, its sub-total recode one depth below: the group
//   "Groupe A" over modalities 1 and 2, then modality 3 alone,
//   Q30 numeric, Q31 open.
class RequestFixture : public TabulationFixture {
protected:
    void SetUp() override {
        TabulationFixture::SetUp();
        AddLevel(0, "Interviews");
        AddLevel(7, "Membres");
        AddStudyField(3, "Hommes");
        AddWeighting(4, "Redressement A");
        q1 = &AddClosedQuestion(1, {1, 2, 3});
        q2 = &AddClosedQuestion(2, {1, 2});
        q12 = &AddClosedQuestion(12, {1, 2, 3});
        q12g = &AddGroupedQuestion();
        q30 = &AddQuestionOfType(30, 5);
        q31 = &AddQuestionOfType(31, 4);
    }

    CQuestionEtendue& AddGroupedQuestion() {
        CRecodageModalite recode(&survey);
        recode.label = "Q12G";
        recode.SetEstCumule(true);
        recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 0, "Groupe A", std::int16_t{0}));
        recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 1, "M1", std::int16_t{1}));
        recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 2, "M2", std::int16_t{1}));
        recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 3, "M3", std::int16_t{0}));
        recode.Node(3)->displayOptions = {true, false, true, false};
        CQuestionEtendue& question = AddClosedQuestion(12, {1, 2}, {}, 5);
        question.name = "Q12G";
        question.depth = static_cast<std::int16_t>(q12->depth + 1);
        question.SetRecodage(&recode);
        return question;
    }

    // Copies of the question's modalities at these indexes, selected.
    static Modalities Chosen(const CQuestionEtendue& question, const std::vector<int>& indexes) {
        Modalities chosen;
        for (int i : indexes)
            chosen.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(i)));
        return chosen;
    }

    // A selection entry that stands for a calculation line.
    Modalities::value_type CalculationEntry(std::int32_t code, const std::string& label) {
        auto entry = std::make_unique<CModaliteEtendue>(&survey);
        entry->code = code;
        entry->SetDefaultShortCaption(label);
        entry->calculationLine = true;
        return entry;
    }

    static std::vector<std::unique_ptr<CCalcul>> Calculations(std::initializer_list<std::int32_t> codes) {
        std::vector<std::unique_ptr<CCalcul>> calculations;
        for (std::int32_t code : codes)
            calculations.push_back(std::make_unique<CCalcul>(code, "Calcul " + std::to_string(code), true));
        return calculations;
    }

    CQuestionEtendue* q1 = nullptr;
    CQuestionEtendue* q2 = nullptr;
    CQuestionEtendue* q12 = nullptr;
    CQuestionEtendue* q12g = nullptr;
    CQuestionEtendue* q30 = nullptr;
    CQuestionEtendue* q31 = nullptr;
};

} // namespace tabulation_test
