#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDataAccess;
class CProfil;

// The 0/1 table of the modalities chosen in two profiles, for the interviews of two lists: rows
// are the active interviews then the illustrative ones, columns the selected modalities of the
// active profile's questions in profile order, then those of the illustrative profile. A cell is
// 1 when any answer of the row's interview (every answer slot of a multiple-answer question)
// names that modality.
struct TableauDisjonctif {
    std::vector<std::uint8_t> cellules;        // row-major
    std::vector<std::int32_t> interviews;      // the interview (record of the level) of each row
    std::vector<std::string> libellesColonnes; // per column
    int lignesActives = 0;
    int lignesIllustratives = 0;
    int colonnesActives = 0;
    int colonnesIllustratives = 0;
};

// Reads the closed answers at the level given. Column labels are the modality's short caption,
// or "question:modality" when prefixer is set. False when a read fails, or when a list names a
// record the level does not have; the table is then left empty and the data access says why.
bool ConstruireTableauDisjonctif(CDataAccess& access, TableauDisjonctif& tableau,
                                 const std::vector<std::int32_t>& interviewsActives,
                                 const std::vector<std::int32_t>& interviewsIllustratives, const CProfil& profilActif,
                                 const CProfil& profilIllustratif, bool prefixer, int niveau);
