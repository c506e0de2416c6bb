#include "app/InvertedFilesFingerprint.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <exception>
#include <filesystem>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "app/Crc32c.h"
#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveVersion.h"

namespace {

constexpr std::array<std::uint8_t, 4> kSignature = {'M', 'V', 'F', 'P'};
// Version 1 had neither the count of answers naming no modality nor which interviews were counted:
// such a record is not believed, as the closed files it lists could hide answers a reader must
// still report. The byte after the questionnaire's time says which interviews the inversion
// counted (0 all, 1 completed only, 2 not known).
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kHeaderSize = 4 + 4 + 8 + 8 + 1 + 4;
constexpr std::size_t kEntryFixedSize = 2 + 8 + 4 + 8; // name length, size, checksum, unknown answers
constexpr std::size_t kLongestName = 255;
// How long a write waits at most for the file system's clock to pass the questionnaire's time.
constexpr auto kLongestClockWait = std::chrono::seconds(3);
// How long ago a file must have been modified for a verdict on it to be kept: file systems take
// their times from a clock that moves in steps (a few milliseconds, up to two seconds), and a file
// rewritten within the step of its previous writing keeps its time.
constexpr std::int64_t kSettledNanoseconds = 2'000'000'000;

std::int64_t Nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

class Encoder {
public:
    void Bytes(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    void Unsigned(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::vector<std::uint8_t>& Result() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads little-endian values, every read checked against what remains.
class Decoder {
public:
    Decoder(const std::uint8_t* bytes, std::size_t size) : m_next(bytes), m_left(size) {}

    bool Unsigned(int size, std::uint64_t& value) {
        if (m_left < static_cast<std::size_t>(size))
            return false;
        value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint64_t>(m_next[i]) << (8 * i);
        Skip(static_cast<std::size_t>(size));
        return true;
    }
    bool Text(std::size_t size, std::string& text) {
        if (m_left < size)
            return false;
        text.assign(reinterpret_cast<const char*>(m_next), size);
        Skip(size);
        return true;
    }
    std::size_t Left() const { return m_left; }

private:
    void Skip(std::size_t size) {
        m_next += size;
        m_left -= size;
    }

    const std::uint8_t* m_next;
    std::size_t m_left;
};

// A name the writers could have given: one file of the folder, nothing that leaves it.
bool IsPlainName(const std::string& name) {
    if (name.empty() || name.size() > kLongestName || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (descriptor < 0)
        return false;
    bool read = ::fstat(descriptor, &status) == 0 && status.st_size >= 0;
    bytes.assign(read ? static_cast<std::size_t>(status.st_size) : 0, 0);
    for (std::size_t done = 0; read && done < bytes.size();) {
        const ssize_t got =
            ::pread(descriptor, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        read = got > 0;
        done += read ? static_cast<std::size_t>(got) : 0;
    }
    ::close(descriptor);
    return read;
}

bool ModifiedTimeOf(const std::string& path, std::int64_t& modified) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return false;
    modified = Nanoseconds(status.st_mtim);
    return true;
}

// Waits until a file written now would get a later modification time than `time`, so that a
// change of the questionnaire made after the record cannot keep the time the record holds: file
// systems take their times from a clock that moves in steps of a few milliseconds. The record's
// own file, touched, tells that clock.
void WaitForClockPast(const std::string& probe, std::int64_t time) {
    const auto deadline = std::chrono::steady_clock::now() + kLongestClockWait;
    std::int64_t now = 0;
    while (ModifiedTimeOf(probe, now) && now <= time && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (::utimensat(AT_FDCWD, probe.c_str(), nullptr, 0) != 0)
            return;
    }
}

} // namespace

// ---- Identity ------------------------------------------------------------------------------------

bool InvertedFileIdentity::Of(int descriptor, InvertedFileIdentity& identity) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || status.st_size < 0)
        return false;
    identity.device = static_cast<std::uint64_t>(status.st_dev);
    identity.inode = static_cast<std::uint64_t>(status.st_ino);
    identity.size = static_cast<std::uint64_t>(status.st_size);
    identity.modified = Nanoseconds(status.st_mtim);
    identity.changed = Nanoseconds(status.st_ctim);
    return true;
}

// ---- Bytes ---------------------------------------------------------------------------------------

namespace {

std::uint64_t InterviewsByte(InvertedFilesFingerprint::Interviews interviews) {
    switch (interviews) {
    case InvertedFilesFingerprint::Interviews::All:
        return 0;
    case InvertedFilesFingerprint::Interviews::CompletedOnly:
        return 1;
    case InvertedFilesFingerprint::Interviews::Unknown:
        break;
    }
    return 2;
}

} // namespace

std::uint32_t InvertedFilesFingerprint::Checksum(const void* bytes, std::size_t size) {
    return Crc32c::Of(bytes, size);
}

std::vector<std::uint8_t> InvertedFilesFingerprint::Encode(const Record& record) {
    Encoder out;
    out.Bytes(kSignature.data(), kSignature.size());
    out.Unsigned(kVersion, 4);
    out.Unsigned(record.questionnaireSize, 8);
    out.Unsigned(static_cast<std::uint64_t>(record.questionnaireModified), 8);
    out.Unsigned(InterviewsByte(record.interviews), 1);
    out.Unsigned(record.files.size(), 4);
    for (const auto& [name, entry] : record.files) {
        out.Unsigned(name.size(), 2);
        out.Bytes(name.data(), name.size());
        out.Unsigned(entry.size, 8);
        out.Unsigned(entry.checksum, 4);
        out.Unsigned(entry.unknownAnswers, 8);
    }
    const std::uint32_t checksum = Checksum(out.Result().data(), out.Result().size());
    out.Unsigned(checksum, 4);
    return std::move(out.Result());
}

std::optional<InvertedFilesFingerprint::Record>
InvertedFilesFingerprint::Decode(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kHeaderSize + 4)
        return std::nullopt;
    const std::size_t body = bytes.size() - 4;
    Decoder trailer(bytes.data() + body, 4);
    std::uint64_t checksum = 0;
    if (!trailer.Unsigned(4, checksum) || checksum != Checksum(bytes.data(), body) ||
        !std::equal(kSignature.begin(), kSignature.end(), bytes.begin()))
        return std::nullopt;
    Decoder in(bytes.data() + kSignature.size(), body - kSignature.size());
    std::uint64_t version = 0;
    std::uint64_t size = 0;
    std::uint64_t modified = 0;
    std::uint64_t count = 0;
    std::uint64_t interviews = 0;
    if (!in.Unsigned(4, version) || version != kVersion || !in.Unsigned(8, size) || !in.Unsigned(8, modified) ||
        !in.Unsigned(1, interviews) || interviews > 2 || !in.Unsigned(4, count) ||
        count > in.Left() / (kEntryFixedSize + 1))
        return std::nullopt;
    Record record;
    record.interviews = interviews == 0 ? Interviews::All
                        : interviews == 1 ? Interviews::CompletedOnly
                                          : Interviews::Unknown;
    record.questionnaireSize = size;
    record.questionnaireModified = static_cast<std::int64_t>(modified);
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t length = 0;
        std::string name;
        Entry entry;
        std::uint64_t entryChecksum = 0;
        if (!in.Unsigned(2, length) || !in.Text(static_cast<std::size_t>(length), name) ||
            !in.Unsigned(8, entry.size) || !in.Unsigned(4, entryChecksum) || !in.Unsigned(8, entry.unknownAnswers) ||
            !IsPlainName(name))
            return std::nullopt;
        entry.checksum = static_cast<std::uint32_t>(entryChecksum);
        // Names in strictly increasing byte order, as the writer puts them: each file once.
        if (!record.files.empty() && !(record.files.rbegin()->first < name))
            return std::nullopt;
        record.files.emplace_hint(record.files.end(), std::move(name), entry);
    }
    if (in.Left() != 0)
        return std::nullopt;
    return record;
}

bool InvertedFilesFingerprint::StampOf(const std::string& path, std::uint64_t& size, std::int64_t& modified) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || status.st_size < 0)
        return false;
    size = static_cast<std::uint64_t>(status.st_size);
    modified = Nanoseconds(status.st_mtim);
    return true;
}

// ---- The record of one survey ---------------------------------------------------------------------

InvertedFilesFingerprint::InvertedFilesFingerprint(std::string questionnairePath, std::string folder)
    : m_questionnairePath(std::move(questionnairePath)), m_folder(std::move(folder)) {}

std::string InvertedFilesFingerprint::FilePath() const {
    return m_folder.empty() ? std::string() : (std::filesystem::path(m_folder) / kFileName).string();
}

std::string InvertedFilesFingerprint::NameIn(const std::string& path) const {
    const std::filesystem::path given(path);
    if (given.has_parent_path() &&
        given.parent_path().lexically_normal() != std::filesystem::path(m_folder).lexically_normal())
        return {};
    const std::string name = given.filename().string();
    return IsPlainName(name) && name != kFileName ? name : std::string();
}

void InvertedFilesFingerprint::Load() {
    if (m_loaded)
        return;
    m_loaded = true;
    m_record.reset();
    std::vector<std::uint8_t> bytes;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    if (FilePath().empty() || !ReadWholeFile(FilePath(), bytes) ||
        !StampOf(m_questionnairePath, size, modified))
        return;
    std::optional<Record> record = Decode(bytes);
    if (record && record->questionnaireSize == size && record->questionnaireModified == modified)
        m_record = std::move(record);
}

InvertedFilesFingerprint::Interviews InvertedFilesFingerprint::CountedInterviews() {
    Load();
    return m_record ? m_record->interviews : Interviews::Unknown;
}

bool InvertedFilesFingerprint::IsInversionValid() {
    Load();
    return m_record.has_value();
}

const InvertedFilesFingerprint::Entry* InvertedFilesFingerprint::Expected(const std::string& path) {
    Load();
    const std::string name = NameIn(path);
    if (!m_record || name.empty())
        return nullptr;
    const auto found = m_record->files.find(name);
    return found == m_record->files.end() ? nullptr : &found->second;
}

InvertedFilesFingerprint::Verdict
InvertedFilesFingerprint::VerdictOf(const std::string& path, const InvertedFileIdentity& identity) const {
    const auto found = m_verdicts.find(NameIn(path));
    if (found == m_verdicts.end() || !(found->second.identity == identity))
        return Verdict::Unknown;
    return found->second.valid ? Verdict::Valid : Verdict::Refused;
}

void InvertedFilesFingerprint::NoteVerdict(const std::string& path, const InvertedFileIdentity& identity,
                                           bool valid) {
    const std::string name = NameIn(path);
    if (name.empty())
        return;
    m_verdicts.erase(name);
    struct timespec now {};
    if (::clock_gettime(CLOCK_REALTIME, &now) == 0 &&
        identity.modified <= Nanoseconds(now) - kSettledNanoseconds)
        m_verdicts[name] = Seen{identity, valid};
}

bool InvertedFilesFingerprint::IsFileValid(const std::string& path) {
    const Entry* expected = Expected(path);
    if (expected == nullptr)
        return false;
    const std::string file = (std::filesystem::path(m_folder) / NameIn(path)).string();
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    InvertedFileIdentity identity;
    bool valid = InvertedFileIdentity::Of(descriptor, identity) && identity.size == expected->size;
    const Verdict known = valid ? VerdictOf(path, identity) : Verdict::Unknown;
    if (valid && known != Verdict::Unknown) {
        ::close(descriptor);
        return known == Verdict::Valid;
    }
    std::uint32_t checksum = 0;
    std::uint64_t read = 0;
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    while (valid && read < identity.size) {
        const ssize_t got = ::pread(descriptor, buffer.data(), buffer.size(), static_cast<off_t>(read));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            valid = false;
            break;
        }
        checksum = Crc32c::Extend(checksum, buffer.data(), static_cast<std::size_t>(got));
        read += static_cast<std::uint64_t>(got);
    }
    // A file changed while it was read is judged at its next reading.
    InvertedFileIdentity after;
    const bool unchanged = InvertedFileIdentity::Of(descriptor, after) && after == identity;
    ::close(descriptor);
    valid = valid && read == expected->size && checksum == expected->checksum;
    if (unchanged)
        NoteVerdict(path, identity, valid);
    return valid && unchanged;
}

// ---- Writing -------------------------------------------------------------------------------------

void InvertedFilesFingerprint::Forget() {
    std::error_code ignored;
    if (!FilePath().empty())
        std::filesystem::remove(FilePath(), ignored);
    m_loaded = true;
    m_record.reset();
    m_verdicts.clear();
}

bool InvertedFilesFingerprint::Write(Entries files, Interviews interviews, std::string& error) {
    Record record;
    record.interviews = interviews;
    record.files = std::move(files);
    m_verdicts.clear();
    return Store(std::move(record), error);
}

bool InvertedFilesFingerprint::Refresh(const Entries& written, std::string& error) {
    Load();
    Record record;
    if (m_record) {
        record.interviews = m_record->interviews;
        record.files = m_record->files;
    }
    for (const auto& [name, entry] : written) {
        record.files[name] = entry;
        m_verdicts.erase(name);
    }
    return Store(std::move(record), error);
}

// Written whole beside the target and put in place at once, so that a reader finds the old
// record or the new one, never a part; the questionnaire is examined last, just before.
bool InvertedFilesFingerprint::Store(Record record, std::string& error) {
    const std::string path = FilePath();
    const auto fail = [&](const std::string& reason) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
        if (!reason.empty())
            error += " : " + reason;
        Forget();
        return false;
    };
    for (const auto& [name, entry] : record.files)
        if (!IsPlainName(name))
            return fail(name);
    if (path.empty() || !StampOf(m_questionnairePath, record.questionnaireSize, record.questionnaireModified))
        return fail(m_questionnairePath);
    try {
        const std::vector<std::uint8_t> bytes = Encode(record);
        CArchiveVersion file(path, CArchiveVersion::Mode::Store);
        file.WriteBytes(bytes.data(), bytes.size());
        file.Close();
    } catch (const std::exception& failure) {
        return fail(failure.what());
    }
    WaitForClockPast(path, record.questionnaireModified);
    m_loaded = true;
    m_record = std::move(record);
    return true;
}
