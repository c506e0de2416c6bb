#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/Message.h"

class CContexteEtude;
class CRecodage;

// The checks a recode dialog makes before it stores a recode: what is refused, with the message
// to show and, for a list, the entry to select. Nothing is stored while one of them fails.
namespace RecodeChecks {

struct Fault {
    Message message;
    // The entry or node the user is shown; -1 for the list as a whole.
    int index = -1;
};

// The bounds of an interval recode or the values of a discrete one, ascending, and the number
// of modalities they make: none at all; two equal entries, or an entry equal to the no-answer
// value (the second of the two is shown); no modality.
std::optional<Fault> CheckEntries(std::span<const double> entries, int modalityCount);

// One node of a sub-total tree in pre-order: a group has code 0, a modality its own code; the
// level is the depth, 0 at the top.
struct Node {
    std::int32_t code = 0;
    int level = 0;
};
// An empty tree; a modality holding other items; a group with no modality anywhere below it.
// The first fault met in pre-order is answered.
std::optional<Fault> CheckSubTotals(std::span<const Node> nodes);

// Whether the recode's label would name its recoded question like another question: for each
// question the recode is made from (its source code and source recode), the name it would give
// (the source's name, a blank and the label when the source carries loop keys, else the label) is
// taken when another question bears it, one that is not a question of this very recode (a new
// recode has none).
bool LabelInUse(const CContexteEtude& context, const std::string& label, const CRecodage& recode);
// An empty label, then a label in use.
std::optional<Message> CheckLabel(const CContexteEtude& context, const std::string& label, const CRecodage& recode);

} // namespace RecodeChecks
