#include "openanswers/OuvCorpus.h"

#include <algorithm>
#include <cstddef>

// The concordances of the open-answer windows: each place of a form, lemma or segment in the
// corpus with the words around it, never crossing the end mark of its answer.

namespace {

constexpr std::size_t kContextWords = 10;

// The sequence the places must hold: one form per place for a form or lemma (any of them),
// the whole run for a segment.
struct Motif {
    std::vector<std::uint32_t> forms;
    bool sequence = false;
};

} // namespace

void COuvCorpus::Concordances(int kind, int index, std::string& text, std::vector<std::string>& left,
                              std::vector<std::string>& right, std::vector<std::int32_t>& interviews) const {
    text.clear();
    left.clear();
    right.clear();
    interviews.clear();
    const CForme* entry = kind == kConcordanceSegment ? DonnerSegment(index) : DonnerForme(index);
    if (entry == nullptr)
        return;
    text = entry->text;
    Motif motif;
    motif.sequence = kind == kConcordanceSegment;
    std::vector<std::int32_t> grouped;
    entry->DonnerFormes(grouped);
    if (kind == kConcordanceForme && grouped.empty())
        grouped.push_back(index);
    for (const std::int32_t form : grouped)
        motif.forms.push_back(static_cast<std::uint32_t>(form));
    if (motif.forms.empty())
        return;

    const std::span<const std::uint32_t> corpus = DonnerCorpus();
    const auto formText = [this](std::uint32_t form) -> const std::string& { return DonnerForme(static_cast<int>(form))->text; };
    const auto matchesAt = [&](std::size_t position) {
        if (!motif.sequence)
            return std::find(motif.forms.begin(), motif.forms.end(), corpus[position]) != motif.forms.end();
        return corpus.size() - position >= motif.forms.size() &&
               std::equal(motif.forms.begin(), motif.forms.end(), corpus.begin() + static_cast<std::ptrdiff_t>(position));
    };
    const std::size_t span = motif.sequence ? motif.forms.size() : 1;
    std::size_t answerStart = 0;
    std::int32_t interview = 1;
    for (std::size_t position = 0; position < corpus.size(); ++position) {
        if (corpus[position] == kFinReponse) {
            ++interview;
            answerStart = position + 1;
            continue;
        }
        if (!matchesAt(position))
            continue;
        std::string before;
        const std::size_t first = position - std::min(kContextWords, position - answerStart);
        for (std::size_t p = first; p < position; ++p)
            before += formText(corpus[p]) + ' ';
        std::string after;
        for (std::size_t p = position + span, n = 0; p < corpus.size() && corpus[p] != kFinReponse && n < kContextWords;
             ++p, ++n)
            after += formText(corpus[p]) + ' ';
        left.push_back(std::move(before));
        right.push_back(std::move(after));
        interviews.push_back(interview);
    }
}
