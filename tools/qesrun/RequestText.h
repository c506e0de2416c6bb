#pragma once

#include "tabulation/Traitement.h"

#include <memory>
#include <string>
#include <string_view>

class CContexteEtude;

namespace qesrun {

// The text form of a tabulation request (docs/request-format.md): one "key value..." per line,
// blank lines and lines starting with '#' ignored. The keys name the kind of table ("type"), the
// question of each side with its lines, or the profile of each side ("lignes", "colonnes"), the
// calculations by code ("calculs", "calculs-colonnes"), the calculation lines of an advanced
// table's style ("style", one line each), and the title, study field, weighting, level, merge
// layout and merge options. Names are resolved in the open survey of the context; the axis kinds
// follow from the type code as the request dialogs set them.
//
// Reading is strict: an unknown key, a key given twice (but "style"), a question, modality,
// calculation, style line, study field, weighting or level that does not exist, or a question of
// the wrong kind for the type refuses the whole text, naming the line and what is wrong. Nothing
// is half-built: the request exists only when the whole text was accepted.
class RequestText {
public:
    struct Result {
        std::unique_ptr<CTraitement> request; // null when refused
        int line = 0;                         // line of the fault, 0 when it is the text as a whole
        std::string error;
    };

    static Result Parse(std::string_view text, CContexteEtude& context);
};

} // namespace qesrun
