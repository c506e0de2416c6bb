#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/Message.h"
#include "recodes/ObjectifRedressement.h"

class CBibliotheque;
class CContexteEtude;
class CEnquete;
class CQuestionEtendue;
class CRedressement;

// What the weighting dialog does to a scheme, without a window: building its tree of targets,
// counting what the interviews answer, checking it before it is stored, and storing, deleting and
// copying it together with the survey's list.

// A new target on a closed single-answer question: split (one population node per modality, in
// modality order, under which targets apply within that modality) or plain.
std::unique_ptr<CObjectifRedressement> NouvelObjectif(CQuestionEtendue& question, bool split);

// Adds a new target (as NouvelObjectif makes it) under `parent`, a target of the tree of `root`,
// counts the tree again, and starts the new target's desired values from what its population
// answers. Answers the target added, or null (with the data layer's text) when the answers cannot
// be read; the target then stays, with the counts of all the interviews.
CObjectifRedressement* AjouterObjectifArbre(CObjectifRedressement& root, CObjectifRedressement& parent,
                                            CQuestionEtendue& question, bool split, CEnquete& survey,
                                            std::string& error);

// Whether `target` stands for a modality of a split question: such a node cannot be removed alone.
bool EstNoeudModalite(const CObjectifRedressement& target, const CObjectifRedressement* parent);

// Counts again, for every target of the tree, the interviews of its population that answer each
// of its modalities (without weights): the whole survey under the root, modality k of a split
// target under its k-th child. Targets under a plain target count over the whole survey. False,
// with the data layer's text, when a question's answers cannot be read at the interviews' level.
bool RecompterObservees(CObjectifRedressement& root, CEnquete& survey, std::string& error);

// Why the scheme cannot be stored, or nothing: a total that is not positive; an initial-weight
// question with negative or missing values; the desired values of a target that do not add up
// to the total its place in the tree gives it (the scheme's total at the top, the desired value
// of its modality under a split target); a modality wanted but answered by nobody of the
// target's population, which the raking could never reach. Counts the observed values again.
std::optional<Message> VerifierRedressement(CRedressement& scheme, CEnquete& survey);

// Stores the scheme (a new one, id 0, receives its key) with the definition text of its targets
// and puts it in the survey's list, which drops the weights computed with its former definition.
// A survey without a questionnaire file keeps its schemes in memory, numbered after the largest
// id it has. False, with the database's text in `error` and the survey's list unchanged, when the
// record cannot be written.
bool EnregistrerRedressement(CRedressement& scheme, CContexteEtude& context, std::string& error);

// Deletes the scheme's record (a scheme never stored, id 0, has none) and its entry in the
// survey. False, with the database's text and nothing changed, when it cannot be deleted.
bool EffacerRedressement(std::int32_t id, CContexteEtude& context, std::string& error);

// How copying a scheme to the library ended.
enum class CopieBibliotheque { Copiee, Refusee, BibliothequeInaccessible, Echec };

// Copies the scheme (its name, description and targets named by their questions' names) into
// the library; the user is asked before a scheme of the same name is replaced. `error` holds the
// database's text of a failure.
CopieBibliotheque CopierVersBibliotheque(const CRedressement& scheme, CContexteEtude& context, std::string& error);

// Reads the library's scheme `code` into `scheme`: its name and description, and its targets
// added after those the scheme has (read by name; `choose` picks the question of a name the
// survey lacks), with their observed values counted. The total and the initial-weight question
// stay as they were. False, with the scheme unchanged, when the library cannot read it.
bool LireDeBibliotheque(CBibliotheque& library, std::int32_t code, CRedressement& scheme, CEnquete& survey,
                        const CObjectifRedressement::ChoixQuestion& choose);
