#include "app/InvertedFiles.h"

#include <bit>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <utility>

#include "app/CacheDonnees.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/ArchiveVersion.h"

namespace {

constexpr const char* kStampFileName = "Velto.dat";
constexpr std::uint64_t kInt32Size = 4;
constexpr std::size_t kHeaderSize = 8; // two int32
constexpr std::uint64_t kCellSize = 2;
constexpr std::uint64_t kValueSize = 8;
constexpr std::int32_t kLargestColumnCount = 32767;

// ---- Writing -----------------------------------------------------------------------------------

// Encodes values little-endian into a chunk and hands full chunks to an archive over the target
// file; the archive writes beside the target and puts the file in place on Close.
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
        m_chunk.clear();
    }

    CArchiveVersion m_archive;
    std::vector<std::uint8_t> m_chunk;
};

// Runs the writing of one file; false with the message when anything fails.
template <class Write> bool WriteLayout(const std::string& path, std::string& error, Write write) {
    if (path.empty()) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
        return false;
    }
    try {
        LayoutWriter writer(path);
        write(writer);
        writer.Close();
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
    explicit LayoutReader(const std::vector<std::uint8_t>& bytes) : m_next(bytes.data()), m_end(bytes.data() + bytes.size()) {}

    std::uint64_t Remaining() const { return static_cast<std::uint64_t>(m_end - m_next); }
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
    const std::uint8_t* m_end;
};

// The bytes of a file whose size is the one its header announces. `expectedSize` reads the
// header's words and answers the size they announce, or 0 for a header it refuses; nothing past
// the header is read from a file of another size.
template <class ExpectedSize>
bool ReadLayoutFile(const std::string& path, std::size_t headerSize, ExpectedSize expectedSize,
                    std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    const std::uintmax_t size = path.empty() ? 0 : std::filesystem::file_size(path, error);
    if (path.empty() || error || size < headerSize)
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    bytes.resize(headerSize);
    if (!file || std::fread(bytes.data(), 1, headerSize, file.get()) != headerSize)
        return false;
    LayoutReader header(bytes);
    if (expectedSize(header) != size)
        return false;
    bytes.resize(static_cast<std::size_t>(size));
    const std::size_t rest = bytes.size() - headerSize;
    return std::fread(bytes.data() + headerSize, 1, rest, file.get()) == rest && std::fgetc(file.get()) == EOF;
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
    std::vector<std::uint8_t> bytes;
    const auto closedSize = [rows](LayoutReader& header) -> std::uint64_t {
        const std::int32_t fileRows = header.Int32();
        const std::int32_t columns = header.Int32();
        if (fileRows != rows || columns < 0 || columns > kLargestColumnCount)
            return 0;
        return kHeaderSize + static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns) * kCellSize;
    };
    if (!ReadLayoutFile(NomFichierQuestion(question), kHeaderSize, closedSize, bytes))
        return false;
    LayoutReader reader(bytes);
    reader.Int32();
    const std::int32_t columns = reader.Int32();
    const int modalityCount = question.GetNbreModalite();
    auto codes = std::make_unique<CMatriceCodes>(static_cast<std::int16_t>(columns));
    codes->SetNbLignes(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const std::int16_t cell = reader.Cell();
            if (cell != CMatriceCodes::kEmptyCell && (cell < 0 || cell >= modalityCount))
                return false;
            codes->SetAt(row, column, cell);
        }
    }
    out = static_cast<CMatriceCodes*>(cache->Ajouter(&question, std::move(codes)));
    return out != nullptr;
}

bool CInvertedFiles::LireFichierValeurs(CQuestionEtendue& question, CVecteurDouble*& out) {
    out = nullptr;
    CCacheDonnees* cache = m_survey.GetNumericCache();
    const int rows = RecordCountOfLevel(question);
    if (cache == nullptr || rows < 0)
        return false;
    std::vector<std::uint8_t> bytes;
    const auto numericSize = [rows](LayoutReader& header) -> std::uint64_t {
        return header.Int32() == rows ? kInt32Size + static_cast<std::uint64_t>(rows) * kValueSize : 0;
    };
    if (!ReadLayoutFile(NomFichierQuestion(question), kInt32Size, numericSize, bytes))
        return false;
    LayoutReader reader(bytes);
    reader.Int32();
    auto values = std::make_unique<CVecteurDouble>(rows);
    for (int row = 0; row < rows; ++row)
        values->SetAt(row, reader.Float64());
    out = static_cast<CVecteurDouble*>(cache->Ajouter(&question, std::move(values)));
    return out != nullptr;
}

bool CInvertedFiles::LireFichierNiveau(const CQuestionNiveau& level, std::set<RecordKey>& keys) {
    keys.clear();
    const std::int32_t keyLength = level.depth + 1;
    if (keyLength < 1)
        return false;
    const auto levelSize = [keyLength](LayoutReader& header) -> std::uint64_t {
        const std::int32_t count = header.Int32();
        if (count < 0 || header.Int32() != keyLength)
            return 0;
        return kHeaderSize + static_cast<std::uint64_t>(count) * (static_cast<std::uint64_t>(keyLength) + 1) * kInt32Size;
    };
    std::vector<std::uint8_t> bytes;
    if (!ReadLayoutFile(NomFichierNiveau(level), kHeaderSize, levelSize, bytes))
        return false;
    LayoutReader reader(bytes);
    const std::int32_t count = reader.Int32();
    reader.Int32();
    RecordKey key(static_cast<std::size_t>(keyLength));
    for (std::int32_t row = 0; row < count; ++row) {
        for (std::int32_t& value : key)
            value = reader.Int32();
        // Rows number the records in key order: anything else is not a level file of ours.
        if (reader.Int32() != row || (!keys.empty() && !(*keys.rbegin() < key))) {
            keys.clear();
            return false;
        }
        keys.emplace_hint(keys.end(), key);
    }
    return true;
}

// ---- Writers -----------------------------------------------------------------------------------

bool CInvertedFiles::EcrireFermees(const std::string& path, const CMatriceCodes& codes, std::string& error) {
    return WriteLayout(path, error, [&codes](LayoutWriter& writer) {
        writer.Int32(codes.GetNbLignes());
        writer.Int32(codes.GetNbColonnes());
        for (int row = 0; row < codes.GetNbLignes(); ++row)
            for (int column = 0; column < codes.GetNbColonnes(); ++column)
                writer.Cell(codes.GetAt(row, column));
    });
}

bool CInvertedFiles::EcrireBlocFermees(const std::string& path, std::int32_t rows, std::int32_t columns,
                                       const std::vector<std::int16_t>& cells, std::string& error) {
    if (rows < 0 || columns < 0 ||
        cells.size() != static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns)) {
        error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
        return false;
    }
    return WriteLayout(path, error, [&](LayoutWriter& writer) {
        writer.Int32(rows);
        writer.Int32(columns);
        for (const std::int16_t cell : cells)
            writer.Cell(cell);
    });
}

bool CInvertedFiles::EcrireValeurs(const std::string& path, const CVecteurDouble& values, std::string& error) {
    return WriteLayout(path, error, [&values](LayoutWriter& writer) {
        writer.Int32(values.GetSize());
        for (int i = 0; i < values.GetSize(); ++i)
            writer.Float64(values.GetAt(i));
    });
}

bool CInvertedFiles::EcrireNiveau(const std::string& path, const std::set<RecordKey>& keys, int keyLength,
                                  std::string& error) {
    for (const RecordKey& key : keys) {
        if (static_cast<int>(key.size()) != keyLength) {
            error = StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path}));
            return false;
        }
    }
    return WriteLayout(path, error, [&](LayoutWriter& writer) {
        writer.Int32(static_cast<std::int32_t>(keys.size()));
        writer.Int32(keyLength);
        std::int32_t row = 0;
        for (const RecordKey& key : keys) {
            for (const std::int32_t value : key)
                writer.Int32(value);
            writer.Int32(row++);
        }
    });
}
