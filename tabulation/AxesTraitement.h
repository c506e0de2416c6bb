#pragma once

class CProfil;
class CQuestionEtendue;
class CTraitement;

// The three ways a compute function gives one axis of a sub-request a line of a profile: the
// question with its chosen modalities (and the Total line), a one-question profile, or the
// question alone. Axis 0 is the rows, 1 the columns.
//
// A line that is not there (an index out of range, or a separator) has no question: the request
// is then left as it was and the builders that answer a question answer null.
namespace AxesTraitement {

// The question of line `index` and copies of its modalities become the axis's lines; withTotal
// adds a copy of the Total of that axis of the study context the question belongs to, first when
// the Total-before option is on, last otherwise (no Total line when the context has none: no
// questionnaire opened yet). Answers the question.
CQuestionEtendue* AjouterAxeAvecTotal(CTraitement& request, const CProfil& profile, int index, int axis,
                                      bool withTotal);

// The axis takes a profile of line `index` alone (its question and a copy of its modalities), and
// the request takes the question's caption as its title.
void DefinirAxeProfilQuestion(CTraitement& request, const CProfil& profile, int index, int axis);

// The question of line `index` becomes the axis's question; answers it.
CQuestionEtendue* DefinirAxeQuestion(CTraitement& request, const CProfil& profile, int index, int axis);

} // namespace AxesTraitement
