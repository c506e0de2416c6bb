#include "app/InvertedFiles.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/CacheDonnees.h"
#include "app/Crc32c.h"
#include "app/Enquete.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "app/WorkerPool.h"
#include "platform/questionnaire/ArchiveVersion.h"

namespace {

using Entry = InvertedFilesFingerprint::Entry;

constexpr const char* kStampFileName = "Velto.dat";
constexpr std::uint64_t kInt32Size = 4;
constexpr std::size_t kHeaderSize = 8; // two int32
constexpr int kInterviewTable = 1;
constexpr std::uint64_t kCellSize = 2;
constexpr std::uint64_t kValueSize = 8;
constexpr std::int32_t kLargestColumnCount = 32767;

// ---- Writing -----------------------------------------------------------------------------------

// Encodes values little-endian into a chunk and hands full chunks to an archive over the target
// file; the archive writes beside the target and puts the file in place on Close. It counts and
// checksums what it writes, for the fingerprint of the inverted files.
class LayoutWriter {
public:
    explicit LayoutWriter(const std::string& path) : m_archive(path, CArchiveVersion::Mode::Store) {
        m_chunk.reserve(kChunkSize + 8);
    }

    void Int32(std::int32_t value) { Unsigned(static_cast<std::uint32_t>(value), 4); }
    void Cell(std::int16_t value) { Unsigned(static_cast<std::uint16_t>(value), 2); }
    void Float64(double value) { Unsigned(std::bit_cast<std::uint64_t>(value), 8); }
    void Close() {
        Flush();
        m_archive.Close();
    }
    Entry Written() const { return m_written; }

private:
    static constexpr std::size_t kChunkSize = 1 << 16;

    void Unsigned(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            m_chunk.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        if (m_chunk.size() >= kChunkSize)
            Flush();
    }
    void Flush() {
        m_archive.WriteBytes(m_chunk.data(), m_chunk.size());
        m_written.checksum = Crc32c::Extend(m_written.checksum, m_chunk.data(), m_chunk.size());
        m_written.size += m_chunk.size();
        m_chunk.clear();
    }

    CArchiveVersion m_archive;
    std::vector<std::uint8_t> m_chunk;
    Entry m_written;
};

// Runs the writing of one file; false with the message when anything fails. Its size and
// checksum go to `written` when given.
template <class Write> bool WriteLayout(const std::string& path, std::string& error, Entry* written, Write write) {
    if (path.empty()) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
        return false;
    }
    try {
        LayoutWriter writer(path);
        write(writer);
        writer.Close();
        if (written != nullptr)
            *written = writer.Written();
        return true;
    } catch (const std::exception& failure) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path})) + " : " + failure.what();
        return false;
    }
}

// ---- Reading -----------------------------------------------------------------------------------

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Little-endian values from a buffer whose size the caller checked.
class LayoutReader {
public:
    LayoutReader(const std::uint8_t* bytes, [[maybe_unused]] std::size_t size) : m_next(bytes) {}

    std::int32_t Int32() { return static_cast<std::int32_t>(Unsigned(4)); }
    std::int16_t Cell() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(Unsigned(2))); }
    double Float64() { return std::bit_cast<double>(Unsigned(8)); }

private:
    std::uint64_t Unsigned(int size) {
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint64_t>(m_next[i]) << (8 * i);
        m_next += size;
        return value;
    }

    const std::uint8_t* m_next;
};

// A layout file read in order: its header, which the caller checks against the file's size, then
// its body in chunks of whole elements through one small buffer, so that a large file costs no
// large allocation. When asked, it computes the checksum of the bytes as it reads them, so that
// the bytes checked are the bytes used.
class LayoutFile {
public:
    // Opens the file and reads its first `headerSize` bytes (at most 8); false when it cannot.
    bool Open(const std::string& path, std::size_t headerSize) {
        if (path.empty() || headerSize > m_header.size())
            return false;
        m_file.reset(std::fopen(path.c_str(), "rb"));
        if (!m_file || !InvertedFileIdentity::Of(fileno(m_file.get()), m_identity))
            return false;
        m_size = m_identity.size;
        m_headerSize = headerSize;
        return m_size >= headerSize && std::fread(m_header.data(), 1, headerSize, m_file.get()) == headerSize;
    }
    std::uint64_t Size() const { return m_size; }
    const InvertedFileIdentity& Identity() const { return m_identity; }
    LayoutReader Header() const { return LayoutReader(m_header.data(), m_headerSize); }

    // From now on the bytes read, header included, are checksummed.
    void ComputeChecksum() {
        m_computing = true;
        m_checksum = Crc32c::Of(m_header.data(), m_headerSize);
    }
    bool ComputesChecksum() const { return m_computing; }
    // The checksum of every byte read, once the body was read whole.
    std::uint32_t Checksum() const { return m_checksum; }

    // Reads the whole body into `destination`, which holds exactly the body's bytes, in pieces
    // read at once by the worker pool, each checksummed and handed to `check(first byte, byte
    // count)` as soon as it is read, while it is still in the processor's cache; false when the
    // file does not hold exactly that many bytes, a piece cannot be read or a check fails.
    // Pieces are whole multiples of `elementSize`.
    template <class Check>
    bool ReadBodyInto(void* destination, std::uint64_t bytes, std::size_t elementSize, Check check) {
        const int descriptor = fileno(m_file.get());
        if (m_size - m_headerSize != bytes || elementSize == 0)
            return false;
        const std::uint64_t pieceBytes = std::max<std::uint64_t>(kPieceSize / elementSize, 1) * elementSize;
        const auto pieces = static_cast<int>((bytes + pieceBytes - 1) / pieceBytes);
        std::vector<char> done(static_cast<std::size_t>(pieces), 0);
        std::vector<std::uint32_t> checksums(m_computing ? static_cast<std::size_t>(pieces) : 0, 0);
        WorkerPool::Shared().Run(pieces, [&](int piece) {
            const std::uint64_t offset = static_cast<std::uint64_t>(piece) * pieceBytes;
            const std::uint64_t length = std::min(pieceBytes, bytes - offset);
            auto* target = static_cast<char*>(destination) + offset;
            if (!ReadAt(descriptor, target, length, m_headerSize + offset))
                return;
            if (m_computing)
                checksums[static_cast<std::size_t>(piece)] = Crc32c::Of(target, static_cast<std::size_t>(length));
            done[static_cast<std::size_t>(piece)] = check(target, length) ? 1 : 0;
        });
        if (!std::all_of(done.begin(), done.end(), [](char read) { return read != 0; }))
            return false;
        for (int piece = 0; piece < pieces && m_computing; ++piece) {
            const std::uint64_t offset = static_cast<std::uint64_t>(piece) * pieceBytes;
            m_checksum = Crc32c::Combine(m_checksum, checksums[static_cast<std::size_t>(piece)],
                                         std::min(pieceBytes, bytes - offset));
        }
        return true;
    }

    // Hands the body to `decode(reader, count)` in chunks of `count` whole elements of
    // `elementSize` bytes; false when a read fails, `decode` refuses a chunk, or bytes are left.
    template <class Decode> bool ReadBody(std::size_t elementSize, Decode decode) {
        if (elementSize == 0 || elementSize > kChunkSize)
            return false;
        const std::size_t perChunk = kChunkSize / elementSize;
        std::uint64_t left = m_size - m_headerSize;
        if (left % elementSize != 0)
            return false;
        while (left > 0) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(perChunk, left / elementSize));
            const std::size_t bytes = count * elementSize;
            if (std::fread(m_chunk.data(), 1, bytes, m_file.get()) != bytes)
                return false;
            if (m_computing)
                m_checksum = Crc32c::Extend(m_checksum, m_chunk.data(), bytes);
            LayoutReader reader(m_chunk.data(), bytes);
            if (!decode(reader, count))
                return false;
            left -= bytes;
        }
        return std::fgetc(m_file.get()) == EOF;
    }

private:
    static constexpr std::size_t kChunkSize = 1 << 16;
    // Large enough that a piece's read is not lost in the cost of handing it out.
    static constexpr std::uint64_t kPieceSize = 1 << 18;

    // Reads exactly `length` bytes at `offset`; a read cut short by a signal is taken up again.
    static bool ReadAt(int descriptor, char* target, std::uint64_t length, std::uint64_t offset) {
        while (length > 0) {
            const ssize_t read =
                ::pread(descriptor, target, static_cast<std::size_t>(length), static_cast<off_t>(offset));
            if (read < 0 && errno == EINTR)
                continue;
            if (read <= 0)
                return false;
            target += read;
            offset += static_cast<std::uint64_t>(read);
            length -= static_cast<std::uint64_t>(read);
        }
        return true;
    }

    std::unique_ptr<std::FILE, FileCloser> m_file;
    InvertedFileIdentity m_identity;
    std::uint64_t m_size = 0;
    std::array<std::uint8_t, 8> m_header{};
    std::size_t m_headerSize = 0;
    bool m_computing = false;
    std::uint32_t m_checksum = 0;
    std::array<std::uint8_t, kChunkSize> m_chunk{};
};

// Opens the file when the fingerprint of the inverted files lists it with the file's size; its
// checksum is then computed as it is read, unless this very file was found good earlier in the
// session. False, and nothing read, for a file not to be believed.
bool OpenListed(InvertedFilesFingerprint& fingerprint, LayoutFile& file, const std::string& path,
                std::size_t headerSize) {
    const Entry* expected = fingerprint.Expected(path);
    if (expected == nullptr || !file.Open(path, headerSize))
        return false;
    if (file.Size() != expected->size) {
        fingerprint.NoteVerdict(path, file.Identity(), false);
        return false;
    }
    const InvertedFilesFingerprint::Verdict verdict = fingerprint.VerdictOf(path, file.Identity());
    if (verdict == InvertedFilesFingerprint::Verdict::Unknown)
        file.ComputeChecksum();
    return verdict != InvertedFilesFingerprint::Verdict::Refused;
}

// After the file was read whole: a checksum computed is compared with the recorded one and the
// verdict kept for the session; false when they differ.
bool ChecksumHolds(InvertedFilesFingerprint& fingerprint, const LayoutFile& file, const std::string& path) {
    if (!file.ComputesChecksum())
        return true;
    const Entry* expected = fingerprint.Expected(path);
    const bool valid = expected != nullptr && file.Checksum() == expected->checksum;
    fingerprint.NoteVerdict(path, file.Identity(), valid);
    return valid;
}

// Whether every cell is the index of one of the question's modalities or the empty cell. No early
// exit, so that the compiler checks many cells per instruction: a valid file, by far the common
// case, is read through anyway. Negative cells other than the empty one become large unsigned
// values, above every index a cell can hold (at most 32767).
bool AllModalitiesOrEmpty(const std::int16_t* cells, std::size_t count, int modalityCount) {
    const auto limit = static_cast<std::uint16_t>(std::clamp(modalityCount, 0, 0x8000));
    constexpr auto kEmpty = static_cast<std::uint16_t>(CMatriceCodes::kEmptyCell);
    std::uint16_t faults = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto cell = static_cast<std::uint16_t>(cells[i]);
        faults |= static_cast<std::uint16_t>((cell >= limit) & (cell != kEmpty));
    }
    return faults == 0;
}

// A matrix for a whole-file read: the memory of the matrix the closed-answer cache is about to
// free, when there is one, so that reading question after question reuses the same pages.
std::unique_ptr<CMatriceCodes> MatrixToRefill(CCacheDonnees& cache) {
    auto codes = std::make_unique<CMatriceCodes>();
    if (std::unique_ptr<CObjetDonnees> evicted = cache.PrendreProchainEvince())
        if (auto* spent = dynamic_cast<CMatriceCodes*>(evicted.get()))
            codes->ReprendreMemoire(*spent);
    return codes;
}

const char* PrefixOf(const CQuestionEtendue& question) {
    if (question.EstType8())
        return "Pro";
    if (question.EstFermee())
        return "Mod";
    if (question.EstNumeriqueLibre())
        return "Num";
    return "";
}

} // namespace

CInvertedFiles::CInvertedFiles(CEnquete& survey) : m_survey(survey) {}

// ---- Names -------------------------------------------------------------------------------------

std::string CInvertedFiles::FolderFile(const std::string& name) const {
    const std::string folder = m_survey.DonnerRepertoireInversion();
    return folder.empty() ? std::string() : (std::filesystem::path(folder) / name).string();
}

std::string CInvertedFiles::NomFichierQuestion(const CQuestionEtendue& question) const {
    return NomFichierInverse(question, question.values);
}

std::string CInvertedFiles::NomFichierInverse(const CQuestionEtendue& question,
                                              const std::vector<std::int32_t>& loopKeys) const {
    std::string name = PrefixOf(question) + std::to_string(question.code);
    for (const std::int32_t key : loopKeys)
        name += ';' + std::to_string(key);
    return FolderFile(name + '.' + std::to_string(question.answerCount));
}

std::string CInvertedFiles::NomFichierNiveau(const CQuestionNiveau& level) const {
    const std::int32_t code = level.code == -1 ? 0 : level.code;
    return FolderFile("Lvl" + std::to_string(code) + '.' + std::to_string(level.depth));
}

std::string CInvertedFiles::NomFichierTemoin() const { return FolderFile(kStampFileName); }

// ---- Readers -----------------------------------------------------------------------------------

int CInvertedFiles::RecordCountOfLevel(const CQuestionEtendue& question) const {
    CQuestionNiveau* level = m_survey.DonnerNiveau(question.level);
    std::string error;
    if (level == nullptr || !level->ChargerEffectifs(m_survey, question.level, error))
        return -1;
    return level->GetNbreEnregistrements();
}

bool CInvertedFiles::LireFichierFermees(CQuestionEtendue& question, CMatriceCodes*& out) {
    out = nullptr;
    CCacheDonnees* cache = m_survey.GetClosedAnswerCache();
    const int rows = RecordCountOfLevel(question);
    if (cache == nullptr || rows < 0)
        return false;
    InvertedFilesFingerprint& fingerprint = m_survey.GetInvertedFilesFingerprint();
    const std::string path = NomFichierQuestion(question);
    auto file = std::make_unique<LayoutFile>();
    if (!OpenListed(fingerprint, *file, path, kHeaderSize))
        return false;
    LayoutReader header = file->Header();
    const std::int32_t fileRows = header.Int32();
    const std::int32_t columns = header.Int32();
    if (fileRows != rows || columns < 0 || columns > kLargestColumnCount ||
        file->Size() != kHeaderSize + static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns) * kCellSize)
        return false;
    const int modalityCount = question.GetNbreModalite();
    std::unique_ptr<CMatriceCodes> codes = MatrixToRefill(*cache);
    codes->SetTailleAEcraser(rows, columns);
    // The file's cells are the matrix's cells in the same row-major order, little-endian: read
    // them in place, then check every one.
    std::int16_t* cells = codes->DonnerCellules();
    const std::size_t cellCount = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
    const auto checkPiece = [&](char* bytes, std::uint64_t size) {
        auto* piece = reinterpret_cast<std::int16_t*>(bytes);
        const std::size_t count = static_cast<std::size_t>(size / kCellSize);
        if constexpr (std::endian::native == std::endian::big)
            for (std::size_t i = 0; i < count; ++i) {
                const auto bits = static_cast<std::uint16_t>(piece[i]);
                piece[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>((bits >> 8) | (bits << 8)));
            }
        return AllModalitiesOrEmpty(piece, count, modalityCount);
    };
    if (!file->ReadBodyInto(cells, cellCount * kCellSize, kCellSize, checkPiece) ||
        !ChecksumHolds(fingerprint, *file, path))
        return false;
    out = static_cast<CMatriceCodes*>(cache->Ajouter(&question, std::move(codes)));
    return out != nullptr;
}

bool CInvertedFiles::LireFichierValeurs(CQuestionEtendue& question, CVecteurDouble*& out) {
    out = nullptr;
    CCacheDonnees* cache = m_survey.GetNumericCache();
    const int rows = RecordCountOfLevel(question);
    if (cache == nullptr || rows < 0)
        return false;
    InvertedFilesFingerprint& fingerprint = m_survey.GetInvertedFilesFingerprint();
    const std::string path = NomFichierQuestion(question);
    auto file = std::make_unique<LayoutFile>();
    if (!OpenListed(fingerprint, *file, path, kInt32Size) || file->Header().Int32() != rows ||
        file->Size() != kInt32Size + static_cast<std::uint64_t>(rows) * kValueSize)
        return false;
    auto values = std::make_unique<CVecteurDouble>(rows);
    int row = 0;
    // Every value a number: no NaN nor infinity reaches a mean or a sum.
    const bool read = file->ReadBody(kValueSize, [&](LayoutReader& chunk, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const double value = chunk.Float64();
            if (!std::isfinite(value))
                return false;
            values->SetAt(row++, value);
        }
        return true;
    });
    if (!read || !ChecksumHolds(fingerprint, *file, path))
        return false;
    out = static_cast<CVecteurDouble*>(cache->Ajouter(&question, std::move(values)));
    return out != nullptr;
}

bool CInvertedFiles::LireFichierNiveau(const CQuestionNiveau& level, CRecordKeys& keys) {
    keys.Reset(level.depth + 1);
    const std::int32_t keyLength = level.depth + 1;
    if (keyLength < 1)
        return false;
    InvertedFilesFingerprint& fingerprint = m_survey.GetInvertedFilesFingerprint();
    // The interview table's file holds the interviews the inversion counted, all of them or the
    // completed ones only: of use only when the survey counts the same.
    if (level.levelTable == kInterviewTable &&
        fingerprint.CountedInterviews() != (m_survey.UseCompletedOnly
                                                ? InvertedFilesFingerprint::Interviews::CompletedOnly
                                                : InvertedFilesFingerprint::Interviews::All))
        return false;
    const std::string path = NomFichierNiveau(level);
    auto file = std::make_unique<LayoutFile>();
    if (!OpenListed(fingerprint, *file, path, kHeaderSize))
        return false;
    LayoutReader header = file->Header();
    const std::int32_t count = header.Int32();
    const auto recordLength = static_cast<std::size_t>(keyLength) + 1;
    const std::size_t recordSize = recordLength * kInt32Size;
    if (count < 0 || header.Int32() != keyLength ||
        file->Size() != kHeaderSize + static_cast<std::uint64_t>(count) * recordSize)
        return false;
    // Read in order through one small buffer, straight into the keys: rows number the records in
    // key order, and anything else is not a level file of ours.
    keys.Reserve(static_cast<std::size_t>(count));
    std::vector<std::int32_t> key(static_cast<std::size_t>(keyLength));
    std::int32_t row = 0;
    const bool read = file->ReadBody(recordSize, [&](LayoutReader& records, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::int32_t& value : key)
                value = records.Int32();
            if (records.Int32() != row)
                return false;
            keys.Append(key.data());
            if (row++ > 0 && !keys.LastInOrder())
                return false;
        }
        return true;
    });
    if (!read || !ChecksumHolds(fingerprint, *file, path)) {
        keys.clear();
        return false;
    }
    return true;
}

// ---- Writers -----------------------------------------------------------------------------------

bool CInvertedFiles::EcrireFermees(const std::string& path, const CMatriceCodes& codes, std::string& error,
                                   Entry* written) {
    return WriteLayout(path, error, written, [&codes](LayoutWriter& writer) {
        writer.Int32(codes.GetNbLignes());
        writer.Int32(codes.GetNbColonnes());
        for (int row = 0; row < codes.GetNbLignes(); ++row)
            for (int column = 0; column < codes.GetNbColonnes(); ++column)
                writer.Cell(codes.GetAt(row, column));
    });
}

bool CInvertedFiles::EcrireBlocFermees(const std::string& path, std::int32_t rows, std::int32_t columns,
                                       const std::vector<std::int16_t>& cells, std::string& error, Entry* written) {
    if (rows < 0 || columns < 0 ||
        cells.size() != static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns)) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
        return false;
    }
    return WriteLayout(path, error, written, [&](LayoutWriter& writer) {
        writer.Int32(rows);
        writer.Int32(columns);
        for (const std::int16_t cell : cells)
            writer.Cell(cell);
    });
}

bool CInvertedFiles::EcrireValeurs(const std::string& path, const CVecteurDouble& values, std::string& error,
                                   Entry* written) {
    return WriteLayout(path, error, written, [&values](LayoutWriter& writer) {
        writer.Int32(values.GetSize());
        for (int i = 0; i < values.GetSize(); ++i)
            writer.Float64(values.GetAt(i));
    });
}

bool CInvertedFiles::EcrireNiveau(const std::string& path, const CRecordKeys& keys, int keyLength,
                                  std::string& error, Entry* written) {
    if (!keys.empty() && keys.KeyLength() != keyLength) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
        return false;
    }
    return WriteLayout(path, error, written, [&](LayoutWriter& writer) {
        writer.Int32(static_cast<std::int32_t>(keys.size()));
        writer.Int32(keyLength);
        for (std::size_t row = 0; row < keys.size(); ++row) {
            const std::int32_t* key = keys.Key(row);
            for (std::int32_t k = 0; k < keyLength; ++k)
                writer.Int32(key[k]);
            writer.Int32(static_cast<std::int32_t>(row));
        }
    });
}
