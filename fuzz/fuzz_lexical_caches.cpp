// The four readers of the lexical cache files of an open question. The first byte chooses the
// reader (its value modulo 4: Dic, Crp, Lem, Sgm); for Crp and Sgm the next four bytes give what
// the other files would say (the number of answers, then the dictionary's total of tokens or its
// number of forms, 16 bits each); the rest is the file. A reader either throws ArchiveException or
// hands back what it read; what it accepts is written again and read back the same.
#include "openanswers/EnregistrerOuvertes.h"
#include "openanswers/Forme.h"
#include "openanswers/LexicalCacheFiles.h"
#include "openanswers/Segment.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void Dictionary(const Bytes& file) {
    CArchiveVersion in(file);
    const LexicalCacheFiles::Dictionnaire read = LexicalCacheFiles::LireDictionnaire(in);
    Require(read.texts.size() == read.ids.size());
    std::vector<std::unique_ptr<CForme>> forms;
    for (std::size_t i = 0; i < read.texts.size(); ++i)
        forms.push_back(std::make_unique<CForme>(read.ids[i], read.texts[i]));
    CArchiveVersion out;
    LexicalCacheFiles::EcrireDictionnaire(out, read.total, forms);
    CArchiveVersion again(out.GetBytes());
    const LexicalCacheFiles::Dictionnaire second = LexicalCacheFiles::LireDictionnaire(again);
    Require(second.texts == read.texts && second.ids == read.ids && second.total == read.total);
}

void Corpus(const Bytes& file, std::uint32_t answers, std::uint32_t total) {
    CArchiveVersion in(file);
    const std::vector<std::uint32_t> corpus = LexicalCacheFiles::LireCorpus(in, answers, total);
    Require(corpus.size() == static_cast<std::size_t>(answers) + total);
    std::size_t ends = 0;
    for (const std::uint32_t value : corpus)
        ends += value == LexicalCacheFiles::kFinReponse;
    Require(ends >= answers);
}

void Lemmas(const Bytes& file) {
    std::vector<LexicalCacheFiles::Lemme> lemmas;
    CArchiveVersion in(file);
    try {
        LexicalCacheFiles::LireLemmes(in, lemmas);
    } catch (const ArchiveException&) {
        // The lemmas read before the fault stay; they must write and read back.
    }
    CArchiveVersion out;
    LexicalCacheFiles::EcrireLemmes(out, lemmas);
    std::vector<LexicalCacheFiles::Lemme> again;
    CArchiveVersion back(out.GetBytes());
    LexicalCacheFiles::LireLemmes(back, again);
    Require(again.size() == lemmas.size());
    for (std::size_t i = 0; i < lemmas.size(); ++i)
        Require(again[i].text == lemmas[i].text && again[i].id == lemmas[i].id && again[i].forms == lemmas[i].forms);
}

void Segments(const Bytes& file, std::uint32_t answers, std::uint32_t forms) {
    CArchiveVersion in(file);
    std::vector<std::unique_ptr<CSegment>> segments = LexicalCacheFiles::LireSegments(in, forms, answers);
    for (const auto& segment : segments) {
        Require(segment->GetLongueur() >= 2);
        Require(segment->frequency == static_cast<std::int32_t>(segment->Occurrences().size()));
    }
    CArchiveVersion out;
    LexicalCacheFiles::EcrireSegments(out, segments);
    CArchiveVersion back(out.GetBytes());
    const auto again = LexicalCacheFiles::LireSegments(back, forms, answers);
    Require(again.size() == segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i)
        Require(again[i]->Sequence() == segments[i]->Sequence() && again[i]->Occurrences() == segments[i]->Occurrences());
}

std::uint32_t Word(const std::uint8_t* data) { return static_cast<std::uint32_t>(data[0] | (data[1] << 8)); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (EnregistrerOuvertes(), true);
    (void)registered;
    if (size < 1)
        return 0;
    const int reader = data[0] % 4;
    const std::size_t header = reader == 1 || reader == 3 ? 5 : 1;
    if (size < header)
        return 0;
    const Bytes file(data + header, data + size);
    try {
        switch (reader) {
        case 0: Dictionary(file); break;
        case 1: Corpus(file, Word(data + 1), Word(data + 3)); break;
        case 2: Lemmas(file); break;
        default: Segments(file, Word(data + 1), Word(data + 3)); break;
        }
    } catch (const ArchiveException&) {
        // Refused: the reader said why and kept nothing.
    }
    return 0;
}
