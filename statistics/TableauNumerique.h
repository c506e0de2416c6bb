#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDataAccess;
class CProfil;

// The table of the values of numeric questions: rows are the active interviews then the
// illustrative ones, columns the questions of the active profile then of the illustrative one,
// labelled with their captions.
struct TableauNumerique {
    std::vector<double> cellules;              // row-major
    std::vector<std::int32_t> interviews;      // the interview (record of the level) of each row
    std::vector<std::string> libellesColonnes; // per column
    int lignesActives = 0;
    int lignesIllustratives = 0;
    int colonnesActives = 0;
    int colonnesIllustratives = 0;
};

// What becomes of a missing value (-999999.99 or -888888.88).
enum ModeValeursManquantes : int {
    kRemplacerParMoyenne = 0, // the mean of the column's values over the active rows (0 without any)
    kRemplacerParZero = 1,
    kSupprimerInterview = 2,  // the row goes, in whichever column the value is missing
};

// Reads the values at the level given and treats the missing ones by the mode. False when a read
// fails, or when a list names a record the level does not have; the table is then left empty.
bool ConstruireTableauNumerique(CDataAccess& access, TableauNumerique& tableau,
                                const std::vector<std::int32_t>& interviewsActives,
                                const std::vector<std::int32_t>& interviewsIllustratives, const CProfil& profilActif,
                                const CProfil& profilIllustratif, int modeValeursManquantes, int niveau);
