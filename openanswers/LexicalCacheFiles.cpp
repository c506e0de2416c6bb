#include "openanswers/LexicalCacheFiles.h"

#include <algorithm>

#include "app/QuestionEtendue.h"
#include "openanswers/DictionaryOrder.h"
#include "openanswers/Forme.h"
#include "openanswers/Segment.h"
#include "openanswers/Windows1252.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"

namespace {

constexpr std::uint8_t kLongString = 0xFF;
constexpr std::uint16_t kUnicodeMarker = 0xFFFE;
constexpr std::uint16_t kLongerString = 0xFFFF;

[[noreturn]] void Refuse(const char* detail) {
    throw ArchiveException(ArchiveException::Reason::BadCount, detail);
}

void RequireEnd(CArchiveVersion& archive) {
    if (!archive.IsAtEnd())
        Refuse("bytes after the end");
}

} // namespace

std::string LexicalCacheFiles::Nom(const char* prefix, const CQuestionEtendue& question) {
    std::string name = prefix + std::to_string(question.code);
    for (const std::int32_t key : question.values)
        name += ';' + std::to_string(key);
    return name;
}

void LexicalCacheFiles::EcrireChaine(CArchiveVersion& archive, std::string_view text) {
    std::string bytes;
    if (!Windows1252::FromUtf8(text, bytes)) {
        archive.WriteString(text);
        return;
    }
    const auto length = static_cast<std::uint32_t>(bytes.size());
    if (length < kLongString) {
        archive << static_cast<std::uint8_t>(length);
    } else if (length < kUnicodeMarker) {
        archive << kLongString << static_cast<std::uint16_t>(length);
    } else {
        archive << kLongString << kLongerString << length;
    }
    archive.WriteBytes(bytes.data(), bytes.size());
}

void LexicalCacheFiles::EcrireDictionnaire(CArchiveVersion& archive, std::uint32_t total,
                                           std::span<const std::unique_ptr<CForme>> forms) {
    archive << total;
    archive.WriteCount(static_cast<std::uint32_t>(forms.size()));
    for (const auto& form : forms) {
        EcrireChaine(archive, form->text);
        archive << form->id;
    }
}

LexicalCacheFiles::Dictionnaire LexicalCacheFiles::LireDictionnaire(CArchiveVersion& archive) {
    Dictionnaire dictionary;
    archive >> dictionary.total;
    // A form takes at least its length byte and its id.
    const std::uint32_t count = archive.ReadBoundedCount(5);
    dictionary.texts.reserve(count);
    dictionary.ids.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string text = archive.ReadString();
        std::int32_t id = 0;
        archive >> id;
        if (!dictionary.texts.empty() && DictionaryOrder::Comparer(dictionary.texts.back(), text) >= 0)
            Refuse("forms out of order");
        dictionary.texts.push_back(std::move(text));
        dictionary.ids.push_back(id);
    }
    std::vector<std::int32_t> ids = dictionary.ids;
    std::sort(ids.begin(), ids.end());
    if (std::adjacent_find(ids.begin(), ids.end()) != ids.end())
        Refuse("repeated id");
    RequireEnd(archive);
    return dictionary;
}

void LexicalCacheFiles::EcrireReponse(CArchiveVersion& archive, std::span<const std::uint32_t> ids) {
    archive.WriteCount(static_cast<std::uint32_t>(ids.size()));
    for (const std::uint32_t id : ids)
        archive << id;
}

std::vector<std::uint32_t> LexicalCacheFiles::LireCorpus(CArchiveVersion& archive, std::uint32_t answers,
                                                         std::uint32_t total) {
    if (archive.ReadCount() != answers)
        Refuse("stale corpus");
    // Each answer takes two bytes at least, each token four.
    if (answers > archive.Remaining() / 2 || total > archive.Remaining() / 4)
        Refuse("corpus longer than its file");
    std::vector<std::uint32_t> corpus;
    corpus.reserve(static_cast<std::size_t>(answers) + total);
    std::uint64_t tokens = 0;
    for (std::uint32_t a = 0; a < answers; ++a) {
        const std::uint32_t count = archive.ReadBoundedCount(4);
        tokens += count;
        if (tokens > total)
            Refuse("more tokens than the dictionary counts");
        for (std::uint32_t t = 0; t < count; ++t) {
            std::uint32_t id = 0;
            archive >> id;
            corpus.push_back(id);
        }
        corpus.push_back(kFinReponse);
    }
    if (tokens != total)
        Refuse("fewer tokens than the dictionary counts");
    RequireEnd(archive);
    return corpus;
}

void LexicalCacheFiles::EcrireLemmes(CArchiveVersion& archive, const std::vector<Lemme>& lemmas) {
    archive.WriteCount(static_cast<std::uint32_t>(lemmas.size()));
    for (const Lemme& lemma : lemmas) {
        EcrireChaine(archive, lemma.text);
        archive << lemma.id;
        archive.WriteCount(static_cast<std::uint32_t>(lemma.forms.size()));
        for (const std::string& form : lemma.forms)
            EcrireChaine(archive, form);
    }
}

void LexicalCacheFiles::LireLemmes(CArchiveVersion& archive, std::vector<Lemme>& out) {
    // A lemma takes at least its text's length, its id and its count.
    const std::uint32_t count = archive.ReadBoundedCount(7);
    for (std::uint32_t i = 0; i < count; ++i) {
        Lemme lemma;
        lemma.text = archive.ReadString();
        archive >> lemma.id;
        const std::uint32_t forms = archive.ReadBoundedCount(1);
        lemma.forms.reserve(forms);
        for (std::uint32_t g = 0; g < forms; ++g)
            lemma.forms.push_back(archive.ReadString());
        out.push_back(std::move(lemma));
    }
}

void LexicalCacheFiles::EcrireSegments(CArchiveVersion& archive, std::vector<std::unique_ptr<CSegment>>& segments) {
    archive.SerializeArray(segments);
}

std::vector<std::unique_ptr<CSegment>> LexicalCacheFiles::LireSegments(CArchiveVersion& archive, std::uint32_t forms,
                                                                       std::uint32_t answers) {
    std::vector<std::unique_ptr<CSegment>> segments;
    archive.SerializeArray(segments);
    for (const auto& segment : segments) {
        if (!segment || segment->GetLongueur() < 2)
            Refuse("segment of fewer than two forms");
        for (const std::int32_t form : segment->Sequence())
            if (form < 0 || static_cast<std::uint32_t>(form) >= forms)
                Refuse("form index out of the dictionary");
        for (const std::uint32_t answer : segment->Occurrences())
            if (answer >= answers)
                Refuse("answer index out of the corpus");
    }
    RequireEnd(archive);
    return segments;
}
