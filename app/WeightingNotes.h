#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What the computation of one request learnt about the weights it used: for each weighting whose
// raking did not converge, the message saying so, and whether the user has read it already during
// this request (the raking shows it when it runs; weights taken from the cache have not shown it).
// The runner clears the notes when a request starts, gives each table its weighting's note and
// shows those not yet read when the request ends, so that every request on such weights says so,
// not only the first.
class WeightingNotes {
public:
    void Clear() { m_notes.clear(); }
    // Notes the weighting's non-convergence; `shown` when the user has just been told.
    void Note(std::int32_t weighting, const std::string& message, bool shown);
    // The message noted for the weighting, null when its weights converged or were not used.
    const std::string* Find(std::int32_t weighting) const;
    // The messages not shown yet, in the order of the weightings' ids; they count as shown after.
    std::vector<std::string> TakeUnshown();

private:
    struct Entry {
        std::string message;
        bool shown = false;
    };
    std::map<std::int32_t, Entry> m_notes;
};
