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
// others keep their weight (weights are never raised). The id -1 ("Toutes les interviews")
// filters nothing.
//
// A field given by a formula keeps the units whose result is a number other than 0; the results
// belong to the interviews, and every unit of another level takes the result of the interview it
// belongs to (a unit without one fails). The formula is compiled at each application, so that a
// stored formula that no longer compiles (a question renamed or removed since) is found then.
//
// False, the weights left as they were and the reason in `error`, when the field cannot be
// applied: an id that names no field of the survey (a request still naming a deleted field), a
// formula that does not compile or cannot read its answers (the message names the field, the
// error code and its position), or a level whose records cannot be listed. Never is a table
// computed on everyone, or on no one, in place of the field.
bool AppliquerChampEtude(std::int32_t id, int level, CVecteurDouble& weights, CEnquete& survey, std::string& error);

// The same written into `out` in one pass: each unit of `level` takes its weight in `source`
// (1.0 for every unit without a source) when it lies in the field, 0.0 otherwise. `out` holds as
// many units as the source, or keeps its size without one. On failure `out` is left unspecified.
bool CalculerPoidsChampEtude(std::int32_t id, int level, const CVecteurDouble* source, CVecteurDouble& out,
                             CEnquete& survey, std::string& error);

// The condition as the editing dialogs show it: "Si 'name' operator list" for a closed question,
// "Si 'name' operator " for a free numeric one, empty for no question or another kind.
std::string DecrireCondition(const CChampCondition& condition);

// One stored study field per modality of the closed question (codes -1 and -2 left out), named by
// the modality's short caption, with condition 1 "= (au moins une)" on that modality. Each field
// is stored in the questionnaire database (when the survey has one) and added to the survey.
// Answers the number of fields stored; the user is told that number.
int CreerChampsEtudeParModalite(CQuestionEtendue& question, CContexteEtude& context);
