#pragma once

#include "app/Message.h"
#include "variables/ReponsesCalculees.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class CEnquete;
class CVariableCalculee;

// A closed variable made from an open question holding British postcodes: each answer is brought
// to the eight-character form of the classification file, looked up there, and the interview
// takes the class of the chosen level, the classes being the lines of that level's caption file.
// The files lie outside the survey; their paths are the user's settings (section "Postcode").
// Their formats are written down in docs/postcode-files.md.
namespace CodagePostal {

// The three levels of the classification, as the page's radios number them.
enum Niveau : int { kCategorie = 0, kGroupe = 1, kType = 2 };

// One line of a caption file: the class code and its caption.
struct Libelle {
    std::string court;
    std::string long_;
};

// The level and the caption texts a definition stores: level + 1, negated for the long texts.
struct Choix {
    int niveau = kType;
    bool libelleLong = true;
};
std::int32_t EcrireDefinition(const Choix& choice);
// A stored level outside the three is taken as the nearest one (0 reads as the first).
Choix LireDefinition(std::int32_t stored);

// The answer in the file's form: area (two characters), district (two, blank-padded on the
// left), a blank and the inward part; empty when the answer holds no postcode. A district of
// neither one nor two digits gives one blank, which no line of a file holds.
std::string Normaliser(std::string_view answer);

// The lines of a text file, read as UTF-8 when it is valid UTF-8 (a leading byte-order mark
// dropped), else as Windows-1252, ends of line in either convention. A file that cannot be
// opened, or that is written in another encoding (UTF-16 or any text holding NUL bytes), is
// refused with a message naming it.
bool LireLignes(const std::string& path, std::vector<std::string>& lines, Message& error);

// The entries of a caption file, in file order: only the lines of exactly two tab-separated
// fields count. A file without any such line is refused.
bool LireLibelles(const std::string& path, std::vector<Libelle>& out, Message& error);

// For each postcode of `wanted` that the classification file lists, its class code at the level
// (the last line wins when one is listed twice). A line too short for the level is skipped; a
// non-empty line without any tab is not a line of such a file, and the file is refused with its
// line number.
bool LireClassification(const std::string& path, int level, const std::set<std::string>& wanted,
                        std::map<std::string, std::string>& out, Message& error);

// Kind 10: the answers of every interview, with the captions of the chosen level as the new
// question's modalities. An interview whose answer is no postcode, whose postcode the file does
// not list or whose class has no caption takes the position after the last caption, the
// question's no-answer modality.
bool Calculer(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error);

} // namespace CodagePostal
