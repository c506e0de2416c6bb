#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CChampEtude;
class CContexteEtude;

// Storing, deleting and copying study fields: what the study-field dialogs and the bulk commands
// do to the questionnaire database ("MFW ChampEtude") and to the survey's list together, so that
// the two never disagree.

// Stores the field (a new one, id 0, receives its key) and puts it in the survey's list, which
// drops the weights computed with its former definition. A survey without a questionnaire file
// keeps its fields in memory, numbered after the largest key it has. False, with the database's
// text in `error` and the survey's list unchanged, when the record cannot be written.
bool EnregistrerChampEtude(CChampEtude& field, CContexteEtude& context, std::string& error);

// Deletes the field's record (a field never stored, id 0, has none) and its entry in the survey.
// When it was the study's default field, the default becomes -1 "Toutes les interviews": the
// requests still naming it then find it missing rather than computing on another population.
// False, with the database's text and nothing changed, when the record cannot be deleted.
bool EffacerChampEtude(std::int32_t id, CContexteEtude& context, std::string& error);

// "Copier boucle": one new field per iteration of the loop of the one condition of `model` whose
// question is asked in a loop. Each iteration's question (the question of the same code and
// recode asked once per interview, in survey order) takes that condition's place, with its kind,
// modalities and bounds; the copy is named "NAME - n", n counting the fields stored from 1, and
// keeps the model's description, formula and connectors. The model itself is not changed.
//
// Refused, with a message to the user and nothing stored, for a model without a name, or whose
// conditions name no question asked in a loop, or more than one. Otherwise the user is told how
// many fields were stored; they are appended to `created` (with their keys) in creation order.
// Answers the number stored.
int CopierChampEtudeBoucle(const CChampEtude& model, CContexteEtude& context,
                           std::vector<CChampEtude>& created);
