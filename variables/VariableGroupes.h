#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Message.h"
#include "variables/ConstructionVariable.h"
#include "variables/ReponsesCalculees.h"

class CContexteEtude;
class CQuestionEtendue;

// The closed question that a typology's "Générer..." makes of its groups: a computed question
// given by its modality lists (codes "1|2|...|k|", captions "Groupe 1|...|Groupe k|"), whose
// answer for an interview is the position of its group's modality, and no answer for the
// interviews outside the run. It is built like every computed question, all or nothing; its
// answers come from the run, so recalculating leaves them as they are.
class CVariableGroupes {
public:
    static PartiesVariable Parties(const std::string& label, int nbGroupes);
    // One cell per interview of the survey. interviewsLignes gives the interview of each row of
    // the run, parIndividu the run's per-row records (group number 1 .. k, distance); a row
    // naming no interview of the survey, or a group outside 1 .. k, is left out.
    static CReponsesCalculees Reponses(int nbInterviews, int nbGroupes, const std::vector<std::int32_t>& interviewsLignes,
                                       const std::vector<double>& parIndividu);
    // Builds the question; null with the reason in error.
    static CQuestionEtendue* Generer(CContexteEtude& context, const std::string& label, int nbGroupes,
                                     const std::vector<std::int32_t>& interviewsLignes,
                                     const std::vector<double>& parIndividu, Message& error);
};
