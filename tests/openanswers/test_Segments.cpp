#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OpenAnswersFixture.h"

namespace {

using Sequence = std::vector<std::int32_t>;
using Places = std::vector<std::uint32_t>;
using Found = std::vector<std::pair<Sequence, Places>>;

constexpr std::uint32_t kEnd = COuvCorpus::kFinReponse;

// Every run of n >= 2 forms inside one answer, with the answer of each place where it starts,
// kept when it lies at two places or more.
std::map<Sequence, Places> BruteForce(std::span<const std::uint32_t> corpus) {
    std::map<Sequence, Places> runs;
    std::vector<std::uint32_t> answer;
    std::uint32_t index = 0;
    const auto flush = [&] {
        for (std::size_t start = 0; start < answer.size(); ++start)
            for (std::size_t n = 2; start + n <= answer.size(); ++n)
                runs[Sequence(answer.begin() + static_cast<std::ptrdiff_t>(start),
                              answer.begin() + static_cast<std::ptrdiff_t>(start + n))]
                    .push_back(index);
    };
    for (const std::uint32_t value : corpus) {
        if (value == kEnd) {
            flush();
            answer.clear();
            ++index;
        } else {
            answer.push_back(value);
        }
    }
    std::erase_if(runs, [](const auto& run) { return run.second.size() < 2; });
    return runs;
}

// The scan of every pair of places of a form, the run extended one form at a time, with the
// longest length already recorded for each place: the segments in the order it creates them.
Found PairwiseScan(std::span<const std::uint32_t> corpus, std::int32_t form) {
    Places positions, answers;
    std::uint32_t index = 0;
    for (std::size_t p = 0; p < corpus.size(); ++p) {
        if (corpus[p] == kEnd)
            ++index;
        else if (corpus[p] == static_cast<std::uint32_t>(form)) {
            positions.push_back(static_cast<std::uint32_t>(p));
            answers.push_back(index);
        }
    }
    const std::size_t n = positions.size();
    std::vector<std::size_t> best(n, 0);
    std::vector<std::map<std::size_t, std::size_t>> slot(n);
    Found found;
    for (std::size_t k = 0; k < n; ++k) {
        for (std::size_t m = k + 1; m < n; ++m) {
            Sequence sequence{form};
            for (std::size_t L = 2;; ++L) {
                const std::size_t a = positions[k] + L - 1;
                const std::size_t b = positions[m] + L - 1;
                if (a >= corpus.size() || b >= corpus.size() || corpus[a] == kEnd || corpus[b] == kEnd ||
                    corpus[a] != corpus[b])
                    break;
                sequence.push_back(static_cast<std::int32_t>(corpus[a]));
                if (L > best[k]) {
                    found.emplace_back(sequence, Places{answers[k], answers[m]});
                    slot[k][L] = slot[m][L] = found.size() - 1;
                    best[k] = best[m] = L;
                } else if (L > best[m]) {
                    found[slot[k][L]].second.push_back(answers[m]);
                    best[m] = L;
                }
            }
        }
    }
    return found;
}

bool IsPrefix(const Sequence& shorter, const Sequence& longer) {
    return shorter.size() < longer.size() && std::equal(shorter.begin(), shorter.end(), longer.begin());
}

// The first pruning as a pass over the array: compare each segment with every later one, and
// of two with the same frequency drop the shorter that starts the longer; when the earlier one
// goes, start again from the one that takes its place.
Found PruneByPairs(Found segments) {
    for (std::size_t i = 0; i < segments.size();) {
        bool restart = false;
        for (std::size_t j = i + 1; j < segments.size();) {
            const auto& [x, xPlaces] = segments[i];
            const auto& [y, yPlaces] = segments[j];
            if (xPlaces.size() == yPlaces.size() && IsPrefix(x, y)) {
                segments.erase(segments.begin() + static_cast<std::ptrdiff_t>(i));
                restart = true;
                break;
            }
            if (xPlaces.size() == yPlaces.size() && IsPrefix(y, x)) {
                segments.erase(segments.begin() + static_cast<std::ptrdiff_t>(j));
                continue;
            }
            ++j;
        }
        if (!restart)
            ++i;
    }
    return segments;
}

bool Contains(const Sequence& longer, const Sequence& shorter) {
    return std::search(longer.begin(), longer.end(), shorter.begin(), shorter.end()) != longer.end();
}

// The second pruning as a scan of the table: each new segment against the segments the table
// held before the batch, in table order.
void MergeByScan(Found& table, const Found& batch) {
    const std::size_t earlier = table.size();
    for (const auto& segment : batch) {
        bool placed = false;
        for (std::size_t t = 0; t < earlier && !placed; ++t) {
            const auto& [sequence, places] = table[t];
            if (places.size() != segment.second.size() || sequence.size() == segment.first.size())
                continue;
            if (segment.first.size() < sequence.size() && Contains(sequence, segment.first)) {
                placed = true;
            } else if (sequence.size() < segment.first.size() && Contains(segment.first, sequence)) {
                table[t] = segment;
                placed = true;
            }
        }
        if (!placed)
            table.push_back(segment);
    }
}

Found Pruned(const COuvCorpus& corpus, std::int32_t form) {
    Places positions, answers;
    corpus.DonnerOccurrences(form, positions, answers);
    std::vector<std::unique_ptr<CSegment>> created;
    corpus.CalculerSegments(form, positions, answers, created);
    COuvCorpus::ElaguerPrefixes(created);
    Found found;
    for (const auto& segment : created)
        found.emplace_back(segment->Sequence(), segment->Occurrences());
    return found;
}

Found Created(const COuvCorpus& corpus, std::int32_t form) {
    Places positions, answers;
    corpus.DonnerOccurrences(form, positions, answers);
    std::vector<std::unique_ptr<CSegment>> created;
    corpus.CalculerSegments(form, positions, answers, created);
    Found found;
    for (const auto& segment : created) {
        EXPECT_EQ(segment->frequency, static_cast<std::int32_t>(segment->Occurrences().size()));
        found.emplace_back(segment->Sequence(), segment->Occurrences());
    }
    return found;
}

class SegmentsTest : public OpenAnswersTest {};

// Before pruning, the segments of every form are exactly the runs found at two places or more,
// each listing all its places, in the order the pairwise scan creates them.
TEST_F(SegmentsTest, FindEveryRepeatedRunOfRandomCorpora) {
    std::mt19937 random(20261211);
    const std::vector<std::string> words = {"a", "b", "c", "d"};
    for (int trial = 0; trial < 25; ++trial) {
        std::vector<std::string> answers(3 + random() % 6);
        for (std::string& answer : answers)
            for (std::uint32_t w = random() % 7; w > 0; --w)
                answer += words[random() % (trial % 2 == 0 ? 2 : 4)] + " ";
        context.FermerEtude();
        OpenAnswers(answers);
        auto corpus = Corpus();
        const std::span<const std::uint32_t> tokens = corpus->DonnerCorpus();
        std::map<Sequence, Places> found;
        for (std::int32_t form = 0; form < corpus->GetNbreFormesSimples(); ++form) {
            if (corpus->DonnerForme(form)->frequency <= 1)
                continue;
            const Found created = Created(*corpus, form);
            EXPECT_EQ(created, PairwiseScan(tokens, form)) << "trial " << trial << ", form " << form;
            EXPECT_EQ(Pruned(*corpus, form), PruneByPairs(created)) << "trial " << trial << ", form " << form;
            for (const auto& [sequence, places] : created)
                EXPECT_TRUE(found.emplace(sequence, places).second) << "trial " << trial << ": created twice";
        }
        EXPECT_EQ(found, BruteForce(tokens)) << "trial " << trial;

        // The merging into the table, form after form, as the scan of the table does it.
        Found table;
        for (std::int32_t form = 0; form < corpus->GetNbreFormesSimples(); ++form) {
            if (corpus->DonnerForme(form)->frequency <= 1)
                continue;
            const Found pruned = Pruned(*corpus, form);
            MergeByScan(table, pruned);
            Places positions, places;
            corpus->DonnerOccurrences(form, positions, places);
            std::vector<std::unique_ptr<CSegment>> created;
            corpus->CalculerSegments(form, positions, places, created);
            COuvCorpus::ElaguerPrefixes(created);
            corpus->FusionnerSegments(created);
        }
        Found merged;
        for (int s = 0; s < corpus->GetNbreSegments(); ++s)
            merged.emplace_back(corpus->DonnerSegment(s)->Sequence(), corpus->DonnerSegment(s)->Occurrences());
        EXPECT_EQ(merged, table) << "trial " << trial;
    }
}

struct Expected {
    std::string text;
    int frequency;
    Places places;
};

// The segment table after both prunings.
std::vector<Expected> Table(const COuvCorpus& corpus) {
    std::vector<Expected> table;
    for (int s = 0; s < corpus.GetNbreSegments(); ++s) {
        const CSegment& segment = *corpus.DonnerSegment(s);
        table.push_back({segment.text, segment.frequency, segment.Occurrences()});
    }
    return table;
}

bool operator==(const Expected& a, const Expected& b) {
    return a.text == b.text && a.frequency == b.frequency && a.places == b.places;
}

void PrintTo(const Expected& e, std::ostream* out) { *out << e.text << " (" << e.frequency << ")"; }

TEST_F(SegmentsTest, PruningAndMerging) {
    struct Case {
        const char* name;
        std::vector<std::string> answers;
        std::vector<Expected> table;
    };
    const std::vector<Case> cases = {
        {"a shared ending", {"bon produit", "très bon produit"}, {{"bon produit", 2, {0, 1}}}},
        // «a b» is always followed by c (first pass); «b c» lies inside «a b c» (second pass).
        {"one segment three ways", {"a b c", "a b c"}, {{"a b c", 2, {0, 1}}}},
        {"a prefix more frequent", {"a b c", "a b c", "a b d"}, {{"a b", 3, {0, 1, 2}}, {"a b c", 2, {0, 1}}}},
        {"overlapping places", {"a a a"}, {{"a a", 2, {0, 0}}}},
        {"no repetition", {"un deux", "trois quatre", ""}, {}},
    };
    for (const Case& c : cases) {
        context.FermerEtude();
        OpenAnswers(c.answers);
        auto corpus = Corpus();
        ASSERT_TRUE(corpus->ChargerSegments()) << c.name;
        EXPECT_EQ(Table(*corpus), c.table) << c.name;
        // What was written is what is read back.
        auto reader = Corpus();
        ASSERT_TRUE(reader->ChargerFichierSegments()) << c.name;
        EXPECT_EQ(Table(*reader), c.table) << c.name;
    }
    EXPECT_EQ(FileBytes("Sgm"), (std::vector<std::uint8_t>{0x00, 0x00}));
}

TEST_F(SegmentsTest, PlacesOfFormsAndSegments) {
    OpenAnswers({"bon produit bon produit", "produit", "très bon produit"});
    auto corpus = Corpus();
    ASSERT_TRUE(corpus->ChargerSegments());
    int segment = -1;
    ASSERT_TRUE(corpus->ChercherSegment("BON produit", segment));
    Places places;
    corpus->DonnerInterviewsSegment(segment, places);
    EXPECT_EQ(places, (Places{0, 0, 2}));
    int produit = -1;
    ASSERT_TRUE(corpus->ChercherForme("produit", produit));
    places.clear();
    corpus->DonnerInterviewsForme(produit, places);
    EXPECT_EQ(places, (Places{0, 0, 1, 2}));
}

} // namespace
