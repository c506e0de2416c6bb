#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/Message.h"
#include "variables/ReponsesCalculees.h"

class CContexteEtude;
class CVariableCalculee;

// The answers of a variable made from the dictionary of an open question (kind 9): each modality
// is a list of words and quoted segments, and an interview receives, in modality order, every
// modality whose list holds a word or segment its answer holds. Words and segments the
// dictionary does not know mark nothing.
namespace CalculDictionnaire {

struct ListeMots {
    std::vector<std::string> mots;
    std::vector<std::string> segments;
};

// A blank ends a word; a double quote opens a segment that runs to the next double quote (or to
// the end of the text when it is never closed).
ListeMots DecouperListe(std::string_view text);

// False with the reason in `error` and `out` untouched: a source that is not an open question,
// a definition whose lists and captions disagree, or an engine that cannot be opened.
bool Calculer(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out, Message& error);

} // namespace CalculDictionnaire
