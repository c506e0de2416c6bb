#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The answers a computed variable gives the interviews, in the layout the response-table writers
// take: for a closed variable, `nombreReponses` cells per interview, interview after interview,
// each the 0-based position of a modality or -2 for an empty cell; for a numeric variable, one
// value per interview.
struct CReponsesCalculees {
    bool numerique = false;
    int nombreReponses = 0;
    std::vector<std::int16_t> codes;
    std::vector<double> valeurs;
    // The captions of the modalities, "|" after each, when the computation itself finds them (the
    // interviewers met, the classes of a classification file); none when they are the
    // definition's own.
    std::optional<std::string> libelles;
};

// Closed answers laid out from one row of modality positions per interview: as many columns as
// the widest row (at least one), the empty cells -2.
CReponsesCalculees DisposerReponsesFermees(const std::vector<std::vector<std::int16_t>>& rows);
