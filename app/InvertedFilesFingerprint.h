#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What the system knows of one file, read from its open descriptor: a file rewritten, replaced
// or touched since has another identity.
struct InvertedFileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since 1970-01-01 UTC
    std::int64_t changed = 0;  // status change, nanoseconds since 1970-01-01 UTC

    bool operator==(const InvertedFileIdentity&) const = default;
    // False when the descriptor cannot be examined.
    static bool Of(int descriptor, InvertedFileIdentity& identity);
};

// Whether the inverted files of a questionnaire can be believed. Beside the stamp "Velto.dat", the
// file "Empreintes.dat" of the inversion folder records, when the program last wrote inverted
// files, the questionnaire file's size and modification time and, for every inverted file, its
// size and CRC-32C (docs/inverted-files.md gives its bytes). An inverted file is believed only
// when that record is there and readable, the questionnaire still has the size and modification
// time recorded, and the file's bytes have the size and checksum recorded: anything else is read
// from the response tables. Files of an inversion made before the record existed, or recorded in
// the previous version of the record (which did not keep the answers naming no modality), are not
// believed.
//
// One object per opened survey: the record is read once, at the first query, and each file's
// checksum is computed once per session: the verdict is kept with the file's identity, so that a
// file rewritten or touched since is checked again (a file modified in the last two seconds is
// checked at every reading, as its time may not move when it is rewritten so soon). It needs only
// the two paths, so it answers before the survey is loaded.
class InvertedFilesFingerprint {
public:
    static constexpr const char* kFileName = "Empreintes.dat";

    struct Entry {
        std::uint64_t size = 0;
        std::uint32_t checksum = 0; // CRC-32C of the whole file
        // The answers of the read the file was written from whose code named none of the
        // question's modalities: the file holds them as absent, and a reader reports their
        // number as a read of the response tables does. 0 for numeric and level files.
        std::uint64_t unknownAnswers = 0;
        bool operator==(const Entry&) const = default;
    };
    // By file name in the inversion folder.
    using Entries = std::map<std::string, Entry>;
    // Which interviews the inversion counted: the level file of the interview table holds those
    // only. Unknown when the writer did not say.
    enum class Interviews : std::uint8_t { Unknown, All, CompletedOnly };
    struct Record {
        std::uint64_t questionnaireSize = 0;
        std::int64_t questionnaireModified = 0; // nanoseconds since 1970-01-01 UTC
        Interviews interviews = Interviews::Unknown;
        Entries files;
        bool operator==(const Record&) const = default;
    };
    enum class Verdict { Unknown, Valid, Refused };

    // ---- The file's bytes ----
    static std::vector<std::uint8_t> Encode(const Record& record);
    // Null when the bytes are not a whole, intact record (refused rather than half read).
    static std::optional<Record> Decode(const std::vector<std::uint8_t>& bytes);
    // The size and modification time of a file as the record keeps them; false when unreadable.
    static bool StampOf(const std::string& path, std::uint64_t& size, std::int64_t& modified);
    // The inverted files' checksum.
    static std::uint32_t Checksum(const void* bytes, std::size_t size);

    InvertedFilesFingerprint(std::string questionnairePath, std::string folder);
    const std::string& QuestionnairePath() const { return m_questionnairePath; }
    const std::string& Folder() const { return m_folder; }

    // ---- Queries ----
    // The record is there and readable, and the questionnaire unchanged since it was written.
    bool IsInversionValid();
    // The inverted file (a path in the folder, or a bare name) can be believed: the inversion is
    // valid, the record lists the file, and the file has the recorded size and checksum.
    bool IsFileValid(const std::string& path);

    // ---- For readers that compute the checksum while they read the file ----
    // The size and checksum the file must have; null when it is not to be believed at all.
    const Entry* Expected(const std::string& path);
    // What an earlier check in this session found for the file with that identity.
    Verdict VerdictOf(const std::string& path, const InvertedFileIdentity& identity) const;
    // Kept unless the file was modified in the last two seconds.
    void NoteVerdict(const std::string& path, const InvertedFileIdentity& identity, bool valid);

    // ---- For the program's own writes of inverted files ----
    // Removes the record: nothing is believed until one is written again (an inversion starts).
    void Forget();
    // Records exactly these files, with the questionnaire as it is now and the interviews the
    // inversion counted; false with the reason.
    bool Write(Entries files, Interviews interviews, std::string& error);
    // Records the files written beside those believed until now, with the questionnaire as it is
    // now (the program's own change of it, such as a new variable's fields, is taken as known).
    bool Refresh(const Entries& written, std::string& error);
    // The interviews counted by the inversion believed; Unknown when none is or it did not say.
    Interviews CountedInterviews();
    // Whether a record was read and believed (the questionnaire then unchanged), without looking
    // at the questionnaire again: the program's own writes of definitions keep it believed.
    bool IsRecordBelieved() const { return m_loaded && m_record.has_value(); }

private:
    void Load();
    bool Store(Record record, std::string& error);
    std::string FilePath() const;
    // The name of the file in the folder; empty for a path outside it.
    std::string NameIn(const std::string& path) const;

    struct Seen {
        InvertedFileIdentity identity;
        bool valid = false;
    };

    std::string m_questionnairePath;
    std::string m_folder;
    bool m_loaded = false;
    std::optional<Record> m_record; // believed: read intact and the questionnaire unchanged
    std::map<std::string, Seen> m_verdicts;
};
