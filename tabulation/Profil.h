#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/questionnaire/Objet.h"
#include "tabulation/SousProfil.h"

class CEnquete;
class CQuestionEtendue;

// A profile: an ordered list of questions, each with the modalities chosen in it, optionally
// broken by separator lines. Named profiles are stored in the questionnaire's profile lists
// under the one-line text form below; requests store profiles field by field.
//
// Text form: the lines in order, each ended by "|". A separator is "0|". A question line is its
// reference "%d@%s@%d@" (code, loop keys as "%ld;" per key, recode code), then one item
// "%d:%d:%d:%d:%d;" per modality (its code, then its first, second, fourth and third display
// options, each 0 or 1), then "|". Example: "12@@0@1:0:0:0:0;3:1:0:0:0;|0|".
//
// Reading also takes two older forms: a line of three "@" fields (code, recode, modalities: no
// loop keys) and modality items made of one number, the modality's index in the question. A
// question line with an empty modality field ("30@@0@|") reads back as a line without modalities,
// so numeric and open-question profiles survive a reload. Lines naming no question of the survey,
// items naming no modality, and malformed lines and items (wrong number of fields, a field that is
// not a whole number) are skipped silently; a question whose listed modalities all vanished is
// dropped. The four display options of every modality read are set
// from the text: a 0, or an item that carries none, clears the option whatever the survey's
// modality carried from an earlier request.
class CProfil : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CProfil", 1, &CObjet::CreateObject<CProfil>};

    // Id -1 (not stored), empty label, no line.
    CProfil() = default;
    // Deep copies: id, label, and new lines with new modality copies.
    CProfil(const CProfil& other);
    CProfil& operator=(const CProfil& other);
    ~CProfil() override;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    void RemoveAll() { m_lines.clear(); }
    // Appends a line with copies of the modalities.
    void Add(CQuestionEtendue* question, const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities);
    // Appends a line without modality (a null question makes a separator).
    void Add(CQuestionEtendue* question);
    void AddSeparator();

    int GetCount() const { return static_cast<int>(m_lines.size()); }
    // The lines that hold a question (every line but the separators).
    int GetNbreQuestions() const;
    // Line i's question and copies of its modalities into the caller's array; a null question and
    // no modality for an i out of range.
    void GetAt(int i, CQuestionEtendue*& question, std::vector<std::unique_ptr<CModaliteEtendue>>& modalities) const;
    // Line i's question, also answered; null out of range.
    CQuestionEtendue* GetQuestion(int i, CQuestionEtendue*& question) const;
    CQuestionEtendue* GetQuestion(int i) const;
    // Line i to read without copying; null out of range.
    const CSousProfil* GetSousProfil(int i) const;
    // Whether line i has no question (false out of range).
    bool IsSeparator(int i) const;
    // Modalities of line i (0 out of range), and of all lines.
    int GetNbreModalites(int i) const;
    int GetNbreModalitesTotal() const;

    // A new profile (id -1, no label) with copies of lines first to last, both included, clamped
    // to the lines there are; empty when first > last.
    std::unique_ptr<CProfil> Extract(int first, int last) const;
    // Deletes every separator line.
    void RemoveSeparators();

    // The text form; the references are the survey's (CEnquete::DonnerReferenceQuestion).
    std::string ToString(const CEnquete& survey) const;
    // Replaces the lines by those read from the text, each question found again in the survey.
    // Never fails; id and label are left as they are.
    void FromString(const CEnquete& survey, std::string_view text);

    std::int32_t id = -1; // key of the named profile; -1 not stored
    std::string label;

private:
    const CSousProfil* Line(int i) const;

    std::vector<std::unique_ptr<CSousProfil>> m_lines;
};
