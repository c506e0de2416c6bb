#pragma once

#include <cstdint>
#include <vector>

// The input of fuzz_questionnaire: a list of cell changes applied to a small questionnaire file
// before it is opened. Each change is
//
//   table  row  column  kind  payload
//
// one byte each for the table (an index in kMutableTables, modulo their count), the row (its
// position in rowid order, modulo the table's rows) and the column (its position in the table,
// modulo its columns); then the kind of value and its payload: 0 a signed byte, 1 eight bytes of
// a little-endian whole number, 2 eight bytes of a little-endian double, 3 a length byte and as
// many bytes of text, 4 Null. An input cut short ends the list.
namespace fuzz {

// The structure tables of the questionnaire, then its three response tables.
inline constexpr const char* kMutableTables[] = {
    "Questionnaire",   "Language",        "QuestionClass", "Version",         "Question",
    "AnswerTable",     "QuestionCaption", "Modalite",      "ModaliteCaption", "SemiOpen",
    "SemiOpenCaption", "Interviewer",     "VEL Reponse1",  "VEL Reponse2",    "VEL Reponse3"};

enum MutationKind : std::uint8_t { kSmallInteger, kWholeNumber, kReal, kText, kNull };

inline std::vector<std::uint8_t> Mutation(std::uint8_t table, std::uint8_t row, std::uint8_t column,
                                          std::uint8_t kind, std::vector<std::uint8_t> payload = {}) {
    std::vector<std::uint8_t> bytes{table, row, column, kind};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

inline std::vector<std::uint8_t> EightBytes(std::uint64_t bits) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    return bytes;
}

// Seeds: the file as written, and a few damages the program must refuse or report. Rows and
// columns follow the fixture of fuzz_questionnaire.cpp and the table layouts of
// docs/qes-format.md ("Question": Kind 4, AnswerCount 10; "Modalite": Code 2; the interviews'
// table: SATISF's answer field 11, MARQUES's 13 and 14).
inline std::vector<std::vector<std::uint8_t>> QuestionnaireMutationSeeds() {
    constexpr std::uint8_t kQuestion = 4;
    constexpr std::uint8_t kModalite = 7;
    constexpr std::uint8_t kInterviews = 12;
    return {
        {},
        Mutation(kQuestion, 1, 10, kSmallInteger, {0}),                       // an answer count of 0
        Mutation(kModalite, 1, 2, kSmallInteger, {1}),                        // two modalities coded 1
        Mutation(kInterviews, 0, 11, kReal, EightBytes(0x3FF999999999999AULL)), // 1.6 as an answer
        Mutation(kInterviews, 1, 11, kWholeNumber, EightBytes(9999999999ULL)),  // an answer beyond 32 bits
        Mutation(kQuestion, 6, 4, kSmallInteger, {2}),                        // an open question become a loop
        Mutation(kInterviews, 0, 0, kReal, EightBytes(0x3FF8000000000000ULL)),  // an interview keyed 1.5
        Mutation(kInterviews, 2, 11, kWholeNumber, EightBytes(0x7FFFFFFFFFFFFFFFULL)), // 2^63 - 1 as an answer
        Mutation(kInterviews, 0, 14, kWholeNumber, EightBytes(0x8000000000000000ULL)), // -2^63, a second answer
        Mutation(kInterviews, 1, 13, kWholeNumber, EightBytes(0x80000000ULL)),          // 2^31
        Mutation(kInterviews, 3, 13, kWholeNumber, EightBytes(0x20000000000000ULL)),    // 2^53
    };
}

} // namespace fuzz
