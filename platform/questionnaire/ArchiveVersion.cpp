#include "platform/questionnaire/ArchiveVersion.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <system_error>
#include <typeinfo>

#include "platform/questionnaire/RuntimeClassRegistry.h"
#include "platform/questionnaire/TextEncoding.h"

namespace {

// Tags of the framework's object stream.
constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kMaxMapCount = 0x3FFFFFFE;

// Markers of counts and string lengths.
constexpr std::uint16_t kWideCountMarker = 0xFFFF;
constexpr std::uint32_t kHugeCountMarker = 0xFFFFFFFF;
constexpr std::uint8_t kLongStringMarker = 0xFF;
constexpr std::uint16_t kUnicodeMarker = 0xFFFE;
constexpr std::uint16_t kWideStringMarker = 0xFFFF;
constexpr std::uint32_t kLongestString = 0xFFFFFFFE;

// Raises the nesting depth for the life of one object's loading.
class NestingGuard {
public:
    explicit NestingGuard(int& nesting) : m_nesting(nesting) {
        if (++m_nesting > CArchiveVersion::kMaxNesting) {
            --m_nesting;
            throw ArchiveException(ArchiveException::Reason::TooDeep);
        }
    }
    ~NestingGuard() { --m_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& m_nesting;
};

} // namespace

void CArchiveVersion::FileCloser::operator()(std::FILE* file) const {
    if (file != nullptr)
        std::fclose(file);
}

CArchiveVersion::CArchiveVersion(int version) : m_mode(Mode::Store), m_version(version) {}

CArchiveVersion::CArchiveVersion(std::vector<std::uint8_t> bytes, int version)
    : m_mode(Mode::Load), m_version(version), m_buffer(std::move(bytes)) {}

CArchiveVersion::CArchiveVersion(const std::filesystem::path& path, Mode mode, int version)
    : m_mode(mode), m_version(version) {
    if (mode == Mode::Load) {
        m_file.reset(std::fopen(path.c_str(), "rb"));
        std::error_code error;
        const std::uintmax_t size = m_file ? std::filesystem::file_size(path, error) : 0;
        if (!m_file || error)
            throw ArchiveException(ArchiveException::Reason::CannotOpen, path.string());
        m_fileRemaining = size;
    } else {
        m_targetPath = path;
        m_temporaryPath = path;
        m_temporaryPath += ".part";
        m_file.reset(std::fopen(m_temporaryPath.c_str(), "wb"));
        if (!m_file)
            throw ArchiveException(ArchiveException::Reason::CannotOpen, path.string());
        m_buffer.reserve(kBufferSize);
    }
}

CArchiveVersion::~CArchiveVersion() {
    if (m_file && IsStoring()) {
        // Abandoned before Close(): the target keeps its old contents.
        m_file.reset();
        std::error_code ignored;
        std::filesystem::remove(m_temporaryPath, ignored);
    }
}

void CArchiveVersion::Close() {
    if (m_closed)
        return;
    m_closed = true;
    if (!m_file)
        return;
    if (IsLoading()) {
        m_file.reset();
        return;
    }
    bool written = true;
    try {
        Flush();
    } catch (const ArchiveException&) {
        written = false;
    }
    written = std::fclose(m_file.release()) == 0 && written;
    std::error_code error;
    if (written)
        std::filesystem::rename(m_temporaryPath, m_targetPath, error);
    if (!written || error) {
        std::filesystem::remove(m_temporaryPath, error);
        throw ArchiveException(ArchiveException::Reason::WriteFailed, m_targetPath.string());
    }
}

std::vector<std::uint8_t> CArchiveVersion::TakeBytes() {
    std::vector<std::uint8_t> bytes = std::move(m_buffer);
    m_buffer.clear();
    return bytes;
}

std::uint64_t CArchiveVersion::Remaining() const {
    if (!IsLoading() || m_closed)
        return 0;
    return (m_buffer.size() - m_bufferPosition) + m_fileRemaining;
}

void CArchiveVersion::RequireStoring() const {
    if (!IsStoring() || m_closed)
        throw ArchiveException(ArchiveException::Reason::WrongMode, "the archive is not storing");
}

void CArchiveVersion::RequireLoading() const {
    if (!IsLoading() || m_closed)
        throw ArchiveException(ArchiveException::Reason::WrongMode, "the archive is not loading");
}

void CArchiveVersion::Flush() {
    if (!m_file || m_buffer.empty())
        return;
    const std::size_t size = m_buffer.size();
    const std::size_t written = std::fwrite(m_buffer.data(), 1, size, m_file.get());
    m_buffer.clear();
    if (written != size)
        throw ArchiveException(ArchiveException::Reason::WriteFailed, m_targetPath.string());
}

void CArchiveVersion::Refill() {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, m_fileRemaining));
    m_buffer.resize(chunk);
    m_bufferPosition = 0;
    if (std::fread(m_buffer.data(), 1, chunk, m_file.get()) != chunk) {
        m_buffer.clear();
        m_fileRemaining = 0;
        throw ArchiveException(ArchiveException::Reason::ReadFailed);
    }
    m_fileRemaining -= chunk;
}

void CArchiveVersion::WriteBytes(const void* data, std::size_t size) {
    RequireStoring();
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    if (m_file && m_buffer.size() >= kBufferSize)
        Flush();
}

void CArchiveVersion::ReadBytes(void* data, std::size_t size) {
    RequireLoading();
    if (size > Remaining())
        throw ArchiveException(ArchiveException::Reason::Truncated);
    auto* out = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        if (m_bufferPosition == m_buffer.size())
            Refill();
        const std::size_t chunk = std::min(size, m_buffer.size() - m_bufferPosition);
        std::memcpy(out, m_buffer.data() + m_bufferPosition, chunk);
        m_bufferPosition += chunk;
        out += chunk;
        size -= chunk;
    }
}

template <class U> void CArchiveVersion::WriteUnsigned(U value) {
    std::uint8_t bytes[sizeof(U)];
    for (std::size_t i = 0; i < sizeof(U); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    WriteBytes(bytes, sizeof(U));
}

template <class U> U CArchiveVersion::ReadUnsigned() {
    std::uint8_t bytes[sizeof(U)];
    ReadBytes(bytes, sizeof(U));
    U value = 0;
    for (std::size_t i = 0; i < sizeof(U); ++i)
        value = static_cast<U>(value | static_cast<U>(static_cast<U>(bytes[i]) << (8 * i)));
    return value;
}

CArchiveVersion& CArchiveVersion::operator<<(std::int8_t value) {
    WriteUnsigned(static_cast<std::uint8_t>(value));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(std::uint8_t value) {
    WriteUnsigned(value);
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(char value) {
    WriteUnsigned(static_cast<std::uint8_t>(value));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(std::int16_t value) {
    WriteUnsigned(static_cast<std::uint16_t>(value));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(std::uint16_t value) {
    WriteUnsigned(value);
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(std::int32_t value) {
    WriteUnsigned(static_cast<std::uint32_t>(value));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(std::uint32_t value) {
    WriteUnsigned(value);
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(float value) {
    WriteUnsigned(std::bit_cast<std::uint32_t>(value));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(double value) {
    WriteUnsigned(std::bit_cast<std::uint64_t>(value));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(bool value) {
    WriteUnsigned(static_cast<std::uint32_t>(value ? 1 : 0));
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(std::string_view text) {
    WriteString(text);
    return *this;
}
CArchiveVersion& CArchiveVersion::operator<<(const CObjet* object) {
    WriteObject(object);
    return *this;
}

CArchiveVersion& CArchiveVersion::operator>>(std::int8_t& value) {
    value = static_cast<std::int8_t>(ReadUnsigned<std::uint8_t>());
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(std::uint8_t& value) {
    value = ReadUnsigned<std::uint8_t>();
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(char& value) {
    value = static_cast<char>(ReadUnsigned<std::uint8_t>());
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(std::int16_t& value) {
    value = static_cast<std::int16_t>(ReadUnsigned<std::uint16_t>());
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(std::uint16_t& value) {
    value = ReadUnsigned<std::uint16_t>();
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(std::int32_t& value) {
    value = static_cast<std::int32_t>(ReadUnsigned<std::uint32_t>());
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(std::uint32_t& value) {
    value = ReadUnsigned<std::uint32_t>();
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(float& value) {
    value = std::bit_cast<float>(ReadUnsigned<std::uint32_t>());
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(double& value) {
    value = std::bit_cast<double>(ReadUnsigned<std::uint64_t>());
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(bool& value) {
    value = ReadUnsigned<std::uint32_t>() != 0;
    return *this;
}
CArchiveVersion& CArchiveVersion::operator>>(std::string& text) {
    text = ReadString();
    return *this;
}

void CArchiveVersion::WriteInt64(std::int64_t value) { WriteUnsigned(static_cast<std::uint64_t>(value)); }
void CArchiveVersion::WriteUInt64(std::uint64_t value) { WriteUnsigned(value); }
std::int64_t CArchiveVersion::ReadInt64() { return static_cast<std::int64_t>(ReadUnsigned<std::uint64_t>()); }
std::uint64_t CArchiveVersion::ReadUInt64() { return ReadUnsigned<std::uint64_t>(); }

void CArchiveVersion::WriteCount(std::uint32_t count) {
    if (count < kWideCountMarker) {
        WriteUnsigned(static_cast<std::uint16_t>(count));
        return;
    }
    WriteUnsigned(kWideCountMarker);
    if (count < kHugeCountMarker) {
        WriteUnsigned(count);
        return;
    }
    WriteUnsigned(kHugeCountMarker);
    WriteUnsigned(static_cast<std::uint64_t>(count));
}

std::uint32_t CArchiveVersion::ReadCount() {
    const auto word = ReadUnsigned<std::uint16_t>();
    if (word != kWideCountMarker)
        return word;
    const auto dword = ReadUnsigned<std::uint32_t>();
    if (dword != kHugeCountMarker)
        return dword;
    const auto qword = ReadUnsigned<std::uint64_t>();
    if (qword > std::numeric_limits<std::uint32_t>::max())
        throw ArchiveException(ArchiveException::Reason::BadCount);
    return static_cast<std::uint32_t>(qword);
}

std::uint32_t CArchiveVersion::ReadBoundedCount(std::size_t minimumItemSize) {
    const std::uint32_t count = ReadCount();
    if (minimumItemSize > 0 && count > Remaining() / minimumItemSize)
        throw ArchiveException(ArchiveException::Reason::BadCount);
    return count;
}

void CArchiveVersion::WriteArrayCount(std::size_t count) {
    if (count > kLongestString)
        throw ArchiveException(ArchiveException::Reason::BadCount);
    WriteCount(static_cast<std::uint32_t>(count));
}

void CArchiveVersion::WriteStringLength(std::uint32_t length) {
    if (length < kLongStringMarker) {
        WriteUnsigned(static_cast<std::uint8_t>(length));
    } else if (length < kUnicodeMarker) {
        WriteUnsigned(kLongStringMarker);
        WriteUnsigned(static_cast<std::uint16_t>(length));
    } else {
        WriteUnsigned(kLongStringMarker);
        WriteUnsigned(kWideStringMarker);
        WriteUnsigned(length);
    }
}

std::uint64_t CArchiveVersion::ReadStringLength(bool& unicode) {
    unicode = false;
    auto byteLength = ReadUnsigned<std::uint8_t>();
    if (byteLength < kLongStringMarker)
        return byteLength;
    auto wordLength = ReadUnsigned<std::uint16_t>();
    if (wordLength == kUnicodeMarker) {
        // The Unicode marker: the length follows, from its first byte again.
        unicode = true;
        byteLength = ReadUnsigned<std::uint8_t>();
        if (byteLength < kLongStringMarker)
            return byteLength;
        wordLength = ReadUnsigned<std::uint16_t>();
    }
    if (wordLength < kWideStringMarker)
        return wordLength;
    const auto dwordLength = ReadUnsigned<std::uint32_t>();
    if (dwordLength < kHugeCountMarker)
        return dwordLength;
    return ReadUnsigned<std::uint64_t>();
}

void CArchiveVersion::WriteString(std::string_view text) {
    RequireStoring();
    const std::u16string units = TextEncoding::Utf8ToUtf16(text);
    if (units.size() > kLongestString)
        throw ArchiveException(ArchiveException::Reason::StringTooLong);
    WriteUnsigned(kLongStringMarker);
    WriteUnsigned(kUnicodeMarker);
    WriteStringLength(static_cast<std::uint32_t>(units.size()));
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    WriteBytes(bytes.data(), bytes.size());
}

std::string CArchiveVersion::ReadString() {
    RequireLoading();
    bool unicode = false;
    const std::uint64_t length = ReadStringLength(unicode);
    const std::uint64_t unitSize = unicode ? 2 : 1;
    if (length > Remaining() / unitSize)
        throw ArchiveException(ArchiveException::Reason::BadStringLength);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length * unitSize));
    ReadBytes(bytes.data(), bytes.size());
    if (!unicode)
        return TextEncoding::Windows1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    std::u16string units(static_cast<std::size_t>(length), u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return TextEncoding::Utf16ToUtf8(units);
}

// Objects, storing.

std::uint32_t CArchiveVersion::NextStoredIndex() {
    if (m_nextStoredIndex > kMaxMapCount)
        throw ArchiveException(ArchiveException::Reason::TooManyObjects);
    return m_nextStoredIndex++;
}

void CArchiveVersion::WriteTag(std::uint32_t index, bool isClass) {
    if (index < kBigObjectTag) {
        WriteUnsigned(static_cast<std::uint16_t>(isClass ? (kClassTag | index) : index));
    } else {
        WriteUnsigned(kBigObjectTag);
        WriteUnsigned(isClass ? (kBigClassTag | index) : index);
    }
}

void CArchiveVersion::WriteClass(const RuntimeClass& runtimeClass) {
    const auto known = m_storedIndexes.find(&runtimeClass);
    if (known != m_storedIndexes.end()) {
        WriteTag(known->second, true);
        return;
    }
    const std::size_t nameLength = runtimeClass.name == nullptr ? 0 : std::strlen(runtimeClass.name);
    if (nameLength == 0 || nameLength > RuntimeClassRegistry::kMaxNameLength)
        throw ArchiveException(ArchiveException::Reason::BadClassName);
    WriteUnsigned(kNewClassTag);
    WriteUnsigned(static_cast<std::uint16_t>(runtimeClass.schema));
    WriteUnsigned(static_cast<std::uint16_t>(nameLength));
    WriteBytes(runtimeClass.name, nameLength);
    m_storedIndexes.emplace(&runtimeClass, NextStoredIndex());
}

void CArchiveVersion::WriteObject(const CObjet* object) {
    RequireStoring();
    if (object == nullptr) {
        WriteUnsigned(kNullTag);
        return;
    }
    const auto known = m_storedIndexes.find(object);
    if (known != m_storedIndexes.end()) {
        WriteTag(known->second, false);
        return;
    }
    const RuntimeClass* runtimeClass = object->GetRuntimeClass();
    if (runtimeClass == nullptr)
        throw ArchiveException(ArchiveException::Reason::NotSerializable, typeid(*object).name());
    WriteClass(*runtimeClass);
    // Indexed before its record, so that the record may refer back to the object itself.
    m_storedIndexes.emplace(object, NextStoredIndex());
    const_cast<CObjet*>(object)->Serialize(*this);
}

// Objects, loading.

void CArchiveVersion::AddLoaded(LoadedEntry entry) {
    if (m_loaded.size() > kMaxMapCount)
        throw ArchiveException(ArchiveException::Reason::TooManyObjects);
    m_loaded.push_back(entry);
}

const RuntimeClass& CArchiveVersion::LoadedClass(std::uint32_t index) const {
    if (index == 0 || index >= m_loaded.size() || m_loaded[index].runtimeClass == nullptr)
        throw ArchiveException(ArchiveException::Reason::BadIndex);
    return *m_loaded[index].runtimeClass;
}

const RuntimeClass* CArchiveVersion::ReadNewClass() {
    const auto schema = ReadUnsigned<std::uint16_t>();
    const auto nameLength = ReadUnsigned<std::uint16_t>();
    if (nameLength == 0 || nameLength > RuntimeClassRegistry::kMaxNameLength)
        throw ArchiveException(ArchiveException::Reason::BadClassName);
    std::string name(nameLength, '\0');
    ReadBytes(name.data(), name.size());
    const RuntimeClass* runtimeClass = RuntimeClassRegistry::Find(name);
    if (runtimeClass == nullptr)
        throw ArchiveException(ArchiveException::Reason::UnknownClass, TextEncoding::Windows1252ToUtf8(name));
    if (runtimeClass->schema != schema)
        throw ArchiveException(ArchiveException::Reason::BadSchema, name);
    AddLoaded({runtimeClass, nullptr});
    return runtimeClass;
}

CArchiveVersion::ObjectTag CArchiveVersion::ReadTag() {
    RequireLoading();
    const auto word = ReadUnsigned<std::uint16_t>();
    std::uint32_t tag = 0;
    if (word == kBigObjectTag)
        tag = ReadUnsigned<std::uint32_t>();
    else
        tag = (static_cast<std::uint32_t>(word & kClassTag) << 16) | (word & ~kClassTag & 0xFFFFu);
    ObjectTag result;
    if ((tag & kBigClassTag) == 0)
        result.reference = tag;
    else if (word == kNewClassTag)
        result.newObjectClass = ReadNewClass();
    else
        result.newObjectClass = &LoadedClass(tag & ~kBigClassTag);
    return result;
}

std::unique_ptr<CObjet> CArchiveVersion::CreateAndLoad(const RuntimeClass& runtimeClass, ClassCheck isExpected) {
    const NestingGuard nesting(m_nesting);
    std::unique_ptr<CObjet> object = runtimeClass.create();
    if (!object || !isExpected(*object))
        throw ArchiveException(ArchiveException::Reason::WrongClass, runtimeClass.name);
    // Indexed before its record, as the writer did; forgotten again if the record fails, so
    // that no later reference can reach the destroyed object.
    const std::size_t index = m_loaded.size();
    AddLoaded({nullptr, object.get()});
    try {
        object->Serialize(*this);
    } catch (...) {
        m_loaded[index].object = nullptr;
        throw;
    }
    return object;
}

std::unique_ptr<CObjet> CArchiveVersion::ReadOwnedObject(ClassCheck isExpected) {
    const ObjectTag tag = ReadTag();
    if (tag.newObjectClass != nullptr)
        return CreateAndLoad(*tag.newObjectClass, isExpected);
    if (tag.reference == 0)
        return nullptr;
    if (tag.reference >= m_loaded.size() || m_loaded[tag.reference].object == nullptr)
        throw ArchiveException(ArchiveException::Reason::BadIndex);
    throw ArchiveException(ArchiveException::Reason::SharedObject);
}

CObjet* CArchiveVersion::ReadReferencedObject(ClassCheck isExpected) {
    const ObjectTag tag = ReadTag();
    if (tag.newObjectClass != nullptr)
        throw ArchiveException(ArchiveException::Reason::SharedObject, tag.newObjectClass->name);
    if (tag.reference == 0)
        return nullptr;
    if (tag.reference >= m_loaded.size() || m_loaded[tag.reference].object == nullptr)
        throw ArchiveException(ArchiveException::Reason::BadIndex);
    CObjet* object = m_loaded[tag.reference].object;
    if (!isExpected(*object))
        throw ArchiveException(ArchiveException::Reason::WrongClass);
    return object;
}
