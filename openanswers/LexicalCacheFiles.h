#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CArchiveVersion;
class CForme;
class CQuestionEtendue;
class CSegment;

// The four cache files of an open question, beside its inverted files: "Dic" (the forms with
// their ids), "Crp" (per interview, the ids of its tokens), "Lem" (the lemmas, by the texts of
// their forms) and "Sgm" (the repeated segments, by form indexes). All little-endian; a COUNT is
// a 16-bit word below 0xFFFF, else 0xFFFF and a 32-bit value; a STRING is its length (one byte
// below 0xFF, else 0xFF and 16 bits below 0xFFFE, else 0xFF, 0xFFFF and 32 bits) and its
// Windows-1252 bytes, or the archive's Unicode form for a text the code page cannot hold.
//
// The readers check every count, length and index against what remains and what the other
// files say, and throw ArchiveException at the first fault: a file that is truncated, altered
// or stale is never believed; the engine then rebuilds it from the answers.
class LexicalCacheFiles {
public:
    struct Dictionnaire {
        std::uint32_t total = 0; // tokens of the corpus
        std::vector<std::string> texts;
        std::vector<std::int32_t> ids;
    };
    struct Lemme {
        std::string text;
        std::int32_t id = 0;
        std::vector<std::string> forms;
    };

    // "Dic%ld" (or Crp, Lem, Sgm) with ";%ld" for each loop key of the question.
    static std::string Nom(const char* prefix, const CQuestionEtendue& question);

    static void EcrireChaine(CArchiveVersion& archive, std::string_view text);

    // Dic: the total, the count and each plain form's text and id (entries 0 .. forms - 1).
    static void EcrireDictionnaire(CArchiveVersion& archive, std::uint32_t total,
                                   std::span<const std::unique_ptr<CForme>> forms);
    // Also refuses forms out of the dictionary order or repeated, ids repeated, and bytes after
    // the last form.
    static Dictionnaire LireDictionnaire(CArchiveVersion& archive);

    // Crp: the count of answers, then each answer as EcrireReponse writes it.
    static void EcrireReponse(CArchiveVersion& archive, std::span<const std::uint32_t> ids);
    // The ids of every answer, each answer followed by the end mark. Refuses a count of answers
    // other than `answers` (the file is stale), token counts that do not add up to `total`, and
    // bytes after the last answer.
    static std::vector<std::uint32_t> LireCorpus(CArchiveVersion& archive, std::uint32_t answers, std::uint32_t total);

    // Lem: the count, then per lemma its text, id, count and the texts of its forms.
    static void EcrireLemmes(CArchiveVersion& archive, const std::vector<Lemme>& lemmas);
    // Appends each lemma as it is read: at a fault, those read before it stay in `out`.
    static void LireLemmes(CArchiveVersion& archive, std::vector<Lemme>& out);

    // Sgm: the segment table as an archived array of CSegment objects.
    static void EcrireSegments(CArchiveVersion& archive, std::vector<std::unique_ptr<CSegment>>& segments);
    // Refuses a segment shorter than two forms, a form index not below `forms` and an answer
    // index not below `answers`.
    static std::vector<std::unique_ptr<CSegment>> LireSegments(CArchiveVersion& archive, std::uint32_t forms,
                                                               std::uint32_t answers);

    static constexpr std::uint32_t kFinReponse = 0xFFFFFFFF;
};
