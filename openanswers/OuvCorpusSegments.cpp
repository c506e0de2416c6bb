#include "openanswers/OuvCorpus.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <new>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "openanswers/CorpusPlaces.h"
#include "openanswers/LexicalCacheFiles.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"

// The repeated segments. For each form f that occurs more than once, every distinct run of two
// or more forms that starts with f and lies at two places or more becomes one segment listing
// every place; the first pruning drops a segment that some longer one of the same frequency
// continues, the second a segment contained in an earlier one of the same frequency (or puts a
// longer one in place of the earlier one it contains).
//
// The runs are found by refining the places of f one form further at a time (places that agree
// on the next form stay together), which visits each place of each segment once; the segments
// are then put in the order a scan of every pair of places (k, m), k < m, with the run extended
// form by form, would create them: by their first place, their second place, then their length.
// The first pruning finds the longer segment of the same frequency among the segments sorted by
// frequency and forms, where it follows the one it continues; the second looks the table up by
// the segments' places, which two segments of one frequency, one inside the other, share.

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// A group of places (ordinals into the form's places, ascending) agreeing on their first
// `length` forms.
struct Group {
    std::vector<std::uint32_t> places;
    std::vector<std::int32_t> sequence;
};

struct Found {
    std::uint32_t first;
    std::uint32_t second;
    std::size_t length;
    std::unique_ptr<CSegment> segment;
};

} // namespace

CSegment* COuvCorpus::DonnerSegment(int index) const {
    if (index < 0 || index >= GetNbreSegments())
        return nullptr;
    return m_segments[Index(index)].get();
}

void COuvCorpus::DonnerOccurrences(int form, std::vector<std::uint32_t>& positions,
                                   std::vector<std::uint32_t>& answers) const {
    std::uint32_t answer = 0;
    for (std::size_t p = 0; p < m_corpus.size(); ++p) {
        if (m_corpus[p] == kFinReponse) {
            ++answer;
        } else if (m_corpus[p] == static_cast<std::uint32_t>(form)) {
            positions.push_back(static_cast<std::uint32_t>(p));
            answers.push_back(answer);
        }
    }
}

void COuvCorpus::CalculerSegments(int form, const std::vector<std::uint32_t>& positions,
                                  const std::vector<std::uint32_t>& answers,
                                  std::vector<std::unique_ptr<CSegment>>& created) const {
    std::vector<Found> found;
    std::vector<Group> pending;
    Group start;
    start.sequence.push_back(form);
    for (std::uint32_t k = 0; k < positions.size(); ++k)
        start.places.push_back(k);
    pending.push_back(std::move(start));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> next; // (following form, place)
    while (!pending.empty()) {
        Group group = std::move(pending.back());
        pending.pop_back();
        const std::size_t offset = group.sequence.size();
        next.clear();
        for (const std::uint32_t k : group.places) {
            const std::size_t p = positions[k] + offset;
            if (p < m_corpus.size() && m_corpus[p] != kFinReponse)
                next.emplace_back(m_corpus[p], k);
        }
        std::sort(next.begin(), next.end());
        for (std::size_t i = 0; i < next.size();) {
            std::size_t j = i;
            while (j < next.size() && next[j].first == next[i].first)
                ++j;
            if (j - i >= 2) {
                Group longer;
                longer.sequence = group.sequence;
                longer.sequence.push_back(static_cast<std::int32_t>(next[i].first));
                for (std::size_t t = i; t < j; ++t)
                    longer.places.push_back(next[t].second);
                auto segment = std::make_unique<CSegment>(longer.sequence);
                for (const std::uint32_t k : longer.places)
                    segment->AjouterOccurrence(answers[k]);
                segment->frequency = static_cast<std::int32_t>(longer.places.size());
                found.push_back(Found{longer.places[0], longer.places[1], longer.sequence.size(), std::move(segment)});
                pending.push_back(std::move(longer));
            }
            i = j;
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.first, a.second, a.length) < std::tie(b.first, b.second, b.length);
    });
    for (Found& item : found)
        created.push_back(std::move(item.segment));
}

void COuvCorpus::ElaguerPrefixes(std::vector<std::unique_ptr<CSegment>>& created) {
    // A segment goes when a longer one of the same frequency continues it. Among the segments
    // of one frequency in the lexicographic order of their forms, those continuing a segment
    // follow it at once: the next one tells.
    std::vector<std::size_t> order(created.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const CSegment& x = *created[a];
        const CSegment& y = *created[b];
        if (x.frequency != y.frequency)
            return x.frequency < y.frequency;
        return x.Sequence() < y.Sequence();
    });
    std::vector<bool> pruned(created.size(), false);
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        const CSegment& shorter = *created[order[i]];
        const CSegment& next = *created[order[i + 1]];
        if (next.frequency == shorter.frequency && next.GetLongueur() > shorter.GetLongueur() &&
            shorter.EstPrefixeDe(next))
            pruned[order[i]] = true;
    }
    std::vector<std::unique_ptr<CSegment>> kept;
    kept.reserve(created.size());
    for (std::size_t i = 0; i < created.size(); ++i)
        if (!pruned[i])
            kept.push_back(std::move(created[i]));
    created = std::move(kept);
}

namespace {

// Two segments of the same frequency one inside the other lie at the same places, shifted: their
// lists of answers are equal. The segment table is looked up by that list.
std::uint64_t PlacesKey(const CSegment& segment) {
    std::uint64_t hash = 14695981039346656037ull ^ static_cast<std::uint32_t>(segment.frequency);
    for (const std::uint32_t answer : segment.Occurrences())
        hash = (hash ^ answer) * 1099511628211ull;
    return hash;
}

} // namespace

void COuvCorpus::FusionnerSegments(std::vector<std::unique_ptr<CSegment>>& created) {
    if (m_indexedSegments != m_segments.size()) {
        m_segmentsByPlaces.clear();
        for (std::size_t t = 0; t < m_segments.size(); ++t)
            m_segmentsByPlaces[PlacesKey(*m_segments[t])].push_back(t);
    }
    const std::size_t earlier = m_segments.size();
    for (auto& segment : created) {
        const std::uint64_t key = PlacesKey(*segment);
        std::vector<std::size_t>& candidates = m_segmentsByPlaces[key];
        bool placed = false;
        // In table order, the first earlier segment of the same frequency and another length
        // that holds this one or that this one holds.
        for (const std::size_t t : candidates) {
            if (t >= earlier)
                break;
            CSegment& other = *m_segments[t];
            if (other.frequency != segment->frequency || other.GetLongueur() == segment->GetLongueur())
                continue;
            if (segment->GetLongueur() < other.GetLongueur() && segment->EstContenuDans(other)) {
                placed = true; // dropped: left in the batch
                break;
            }
            if (other.GetLongueur() < segment->GetLongueur() && other.EstContenuDans(*segment)) {
                m_segments[t] = std::move(segment);
                placed = true;
                break;
            }
        }
        if (!placed) {
            candidates.push_back(m_segments.size());
            m_segments.push_back(std::move(segment));
        }
    }
    m_indexedSegments = m_segments.size();
    std::erase_if(created, [](const auto& segment) { return segment == nullptr; });
}

bool COuvCorpus::CalculerEtSauverSegments() {
    m_segments.clear();
    m_indexedSegments = kNoIndex;
    const CorpusPlaces places(m_corpus, m_plainForms);
    std::vector<std::unique_ptr<CSegment>> created;
    std::vector<std::uint32_t> positions;
    std::vector<std::uint32_t> answers;
    for (int f = 0; f < m_plainForms; ++f) {
        if (m_entries[Index(f)]->frequency <= 1)
            continue;
        positions.assign(places.Positions(f).begin(), places.Positions(f).end());
        answers.assign(places.Answers(f).begin(), places.Answers(f).end());
        created.clear();
        CalculerSegments(f, positions, answers, created);
        ElaguerPrefixes(created);
        FusionnerSegments(created);
    }
    for (auto& segment : m_segments)
        segment->ConstruireTexte(m_entries);
    try {
        CArchiveVersion file(CheminFichier("Sgm"), CArchiveVersion::Mode::Store);
        LexicalCacheFiles::EcrireSegments(file, m_segments);
        file.Close();
    } catch (const ArchiveException& e) {
        m_error = Message(StringTable::kOuverteCacheImpossible, {m_question.GetCaption(), e.what()});
        return false;
    }
    return true;
}

bool COuvCorpus::ChargerFichierSegments(std::string* path) {
    m_segments.clear();
    m_indexedSegments = kNoIndex;
    const std::string file = CheminFichier("Sgm");
    if (path != nullptr)
        *path = file;
    try {
        CArchiveVersion archive(file, CArchiveVersion::Mode::Load);
        m_indexedSegments = kNoIndex;
        m_segments = LexicalCacheFiles::LireSegments(archive, static_cast<std::uint32_t>(m_plainForms),
                                                    static_cast<std::uint32_t>(m_survey.DonnerNbreInterviews()));
    } catch (const ArchiveException&) {
        m_segments.clear();
        m_indexedSegments = kNoIndex;
        return false;
    } catch (const std::bad_alloc&) {
        m_segments.clear();
        m_indexedSegments = kNoIndex;
        return false;
    }
    for (auto& segment : m_segments)
        segment->ConstruireTexte(m_entries);
    return true;
}

bool COuvCorpus::ChargerSegments() {
    WaitCursor wait(m_survey.GetUserInterface());
    if (ChargerFichierSegments())
        return true;
    return CalculerEtSauverSegments() && ChargerFichierSegments();
}

bool COuvCorpus::RecalculerSegments() {
    m_segments.clear();
    m_indexedSegments = kNoIndex;
    return CalculerEtSauverSegments() && ChargerFichierSegments();
}
