#pragma once

#include <cstdint>
#include <string>

class CChampCondition;
class CContexteEtude;
class CEnquete;
class CQuestionEtendue;
class CVecteurDouble;

// Applying a study field to the weights of one level, describing its conditions, and creating
// study fields in bulk.

// Sets to 0.0 the weight of every unit of `level` that lies outside the study field `id`; the
// others keep their weight (weights are never raised). An unknown id filters nothing. A field
// given by a formula cannot be evaluated yet: it is refused, the weights left as they were, and
// the message (naming the field) is put in `error` with false, so that no table is ever computed
// on "everyone" in its place.
bool AppliquerChampEtude(std::int32_t id, int level, CVecteurDouble& weights, CEnquete& survey, std::string& error);

// The condition as the editing dialogs show it: "Si 'name' operator list" for a closed question,
// "Si 'name' operator " for a free numeric one, empty for no question or another kind.
std::string DecrireCondition(const CChampCondition& condition);

// One stored study field per modality of the closed question (codes -1 and -2 left out), named by
// the modality's short caption, with condition 1 "= (au moins une)" on that modality. Each field
// is stored in the questionnaire database (when the survey has one) and added to the survey.
// Answers the number of fields stored; the user is told that number.
int CreerChampsEtudeParModalite(CQuestionEtendue& question, CContexteEtude& context);
