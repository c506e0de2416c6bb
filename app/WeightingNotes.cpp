#include "app/WeightingNotes.h"

void WeightingNotes::Note(std::int32_t weighting, const std::string& message, bool shown) {
    Entry& entry = m_notes[weighting];
    entry.message = message;
    entry.shown = entry.shown || shown;
}

const std::string* WeightingNotes::Find(std::int32_t weighting) const {
    const auto found = m_notes.find(weighting);
    return found != m_notes.end() ? &found->second.message : nullptr;
}

std::vector<std::string> WeightingNotes::TakeUnshown() {
    std::vector<std::string> messages;
    for (auto& [weighting, entry] : m_notes) {
        if (!entry.shown)
            messages.push_back(entry.message);
        entry.shown = true;
    }
    return messages;
}
