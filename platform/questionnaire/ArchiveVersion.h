#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/Objet.h"

// A binary archive in the framework's byte layout, plus the format version of the records it
// carries (403, 404, 405...: the writer sets the current one, the reader the one found in the
// stream, and versioned records read it to know which fields are stored).
//
// One archive either stores or loads, into/from memory or a file:
//   CArchiveVersion out(405);                       // stores into memory: GetBytes / TakeBytes
//   CArchiveVersion in(bytes, 405);                 // loads from bytes
//   CArchiveVersion file(path, CArchiveVersion::Mode::Store, 404);  // then file.Close()
//
// Layout (all integers little-endian):
// - 8/16/32/64-bit integers, float, double as they are; bool as the framework's BOOL, a 32-bit
//   0 or 1 (any non-zero value reads as true).
// - Counts (WriteCount/ReadCount): a 16-bit word, or 0xFFFF then a 32-bit value when the count
//   reaches 0xFFFF (and 0xFFFFFFFF then a 64-bit value past that, read only).
// - Strings: always written in the Unicode form: 0xFF, 0xFFFE, then the length in UTF-16 code
//   units, then UTF-16LE. The length is one byte below 255, else 0xFF and a 16-bit length below
//   0xFFFE (0xFFFE itself is the Unicode marker), else 0xFF, 0xFFFF and a 32-bit length. Both
//   forms are read: without the marker the length counts bytes of Windows-1252 text. Strings
//   are UTF-8 on our side; ill-formed text is written and read with U+FFFD in its place.
// - Objects: a null pointer is the tag 0x0000. A new object is its class, then its own record
//   (its Serialize). A class met for the first time is 0xFFFF, the 16-bit schema, the 16-bit
//   length of its name and the name's ASCII bytes; later it is 0x8000 | its index. An object
//   written before is its index alone. Classes and objects share one index sequence from 1;
//   an index of 0x7FFF or more is the word 0x7FFF and a 32-bit value (with 0x80000000 set for
//   a class).
//
// Reading checks every value, count and length against what remains in the stream and throws
// ArchiveException on any inconsistency; it never reads past the end and never allocates for a
// length that the rest of the stream cannot hold. After an exception the archive is not reused.
class CArchiveVersion {
public:
    enum class Mode { Store, Load };

    // Stores into memory.
    explicit CArchiveVersion(int version = 0);
    // Loads from a copy of the bytes.
    explicit CArchiveVersion(std::vector<std::uint8_t> bytes, int version = 0);
    // Over a file, through a 4096-byte buffer. Loading opens the file for reading. Storing
    // writes a temporary file beside it ("<name>.part") which Close() moves over the target:
    // an archive destroyed without Close() (an exception while writing) leaves the target as
    // it was. Throws ArchiveException (CannotOpen) when the file cannot be opened.
    CArchiveVersion(const std::filesystem::path& path, Mode mode, int version = 0);
    ~CArchiveVersion();

    CArchiveVersion(const CArchiveVersion&) = delete;
    CArchiveVersion& operator=(const CArchiveVersion&) = delete;

    bool IsStoring() const { return m_mode == Mode::Store; }
    bool IsLoading() const { return m_mode == Mode::Load; }
    int GetVersion() const { return m_version; }
    void SetVersion(int version) { m_version = version; }

    // Ends a file archive: storing flushes, closes and puts the file in place (throws
    // ArchiveException WriteFailed when any of it fails); loading closes the file. Nothing to do
    // for a memory archive. No reading or writing after it.
    void Close();

    // The bytes stored so far by a memory archive.
    const std::vector<std::uint8_t>& GetBytes() const { return m_buffer; }
    std::vector<std::uint8_t> TakeBytes();

    // Loading: the bytes not read yet; true when none remain.
    std::uint64_t Remaining() const;
    bool IsAtEnd() const { return Remaining() == 0; }

    void WriteBytes(const void* data, std::size_t size);
    void ReadBytes(void* data, std::size_t size);

    CArchiveVersion& operator<<(std::int8_t value);
    CArchiveVersion& operator<<(std::uint8_t value);
    CArchiveVersion& operator<<(char value);
    CArchiveVersion& operator<<(std::int16_t value);
    CArchiveVersion& operator<<(std::uint16_t value);
    CArchiveVersion& operator<<(std::int32_t value);
    CArchiveVersion& operator<<(std::uint32_t value);
    CArchiveVersion& operator<<(float value);
    CArchiveVersion& operator<<(double value);
    CArchiveVersion& operator<<(bool value); // 32-bit BOOL
    CArchiveVersion& operator<<(const std::string& text) { return *this << std::string_view(text); }
    CArchiveVersion& operator<<(std::string_view text);
    CArchiveVersion& operator<<(const char* text) { return *this << std::string_view(text); }
    CArchiveVersion& operator<<(const CObjet* object);
    template <class T> CArchiveVersion& operator<<(const std::unique_ptr<T>& object) {
        return *this << static_cast<const CObjet*>(object.get());
    }
    // The width of long differs between platforms (the framework's LONG is 32 bits, ours 64):
    // say which one is meant with a fixed-width type or WriteInt64.
    CArchiveVersion& operator<<(long) = delete;
    CArchiveVersion& operator<<(unsigned long) = delete;
    CArchiveVersion& operator<<(long long) = delete;
    CArchiveVersion& operator<<(unsigned long long) = delete;

    CArchiveVersion& operator>>(std::int8_t& value);
    CArchiveVersion& operator>>(std::uint8_t& value);
    CArchiveVersion& operator>>(char& value);
    CArchiveVersion& operator>>(std::int16_t& value);
    CArchiveVersion& operator>>(std::uint16_t& value);
    CArchiveVersion& operator>>(std::int32_t& value);
    CArchiveVersion& operator>>(std::uint32_t& value);
    CArchiveVersion& operator>>(float& value);
    CArchiveVersion& operator>>(double& value);
    CArchiveVersion& operator>>(bool& value); // 32-bit BOOL
    CArchiveVersion& operator>>(std::string& text);
    // Reads a new object (or null) that the pointer then owns; see ReadObject.
    template <class T> CArchiveVersion& operator>>(std::unique_ptr<T>& object) {
        object = ReadObject<T>();
        return *this;
    }
    CArchiveVersion& operator>>(long&) = delete;
    CArchiveVersion& operator>>(unsigned long&) = delete;
    CArchiveVersion& operator>>(long long&) = delete;
    CArchiveVersion& operator>>(unsigned long long&) = delete;

    void WriteInt64(std::int64_t value);
    void WriteUInt64(std::uint64_t value);
    std::int64_t ReadInt64();
    std::uint64_t ReadUInt64();

    void WriteCount(std::uint32_t count);
    // The count as stored, unchecked: also reads markers such as the version marker -404
    // (stored as the count 0xFFFFFE6C).
    std::uint32_t ReadCount();
    // A count of items that each take at least minimumItemSize bytes of the stream: throws
    // BadCount when the rest of the stream cannot hold them, so the caller may reserve for it.
    std::uint32_t ReadBoundedCount(std::size_t minimumItemSize);

    void WriteString(std::string_view text);
    std::string ReadString();

    // Writes an object pointer: null, a reference to an object written before, or the object's
    // class and record. The object must have a run-time class (NotSerializable otherwise).
    void WriteObject(const CObjet* object);
    // Reads a new object of class T (or a class derived from it), or null. The class must be
    // registered (RuntimeClassRegistry) with the stored schema; it is created and checked against
    // T before its Serialize runs. A reference to an object read before is refused
    // (SharedObject): it already has an owner; read such references with ReadObjectReference.
    template <class T = CObjet> std::unique_ptr<T> ReadObject() {
        static_assert(std::is_base_of_v<CObjet, T>, "archived objects derive from CObjet");
        std::unique_ptr<CObjet> object = ReadOwnedObject(&IsOfClass<T>);
        return std::unique_ptr<T>(static_cast<T*>(object.release()));
    }
    // Reads a pointer that does not own its object: null or an object read earlier from this
    // archive (and owned by whoever read it first). A new object here is refused (SharedObject).
    template <class T = CObjet> T* ReadObjectReference() {
        static_assert(std::is_base_of_v<CObjet, T>, "archived objects derive from CObjet");
        return static_cast<T*>(ReadReferencedObject(&IsOfClass<T>));
    }

    // An owned object array: storing writes the count and each object; loading reads them into
    // a new array that replaces the old one only once every object has been read.
    template <class T> void SerializeArray(std::vector<std::unique_ptr<T>>& objects) {
        if (IsStoring()) {
            WriteArrayCount(objects.size());
            for (const auto& object : objects)
                WriteObject(object.get());
            return;
        }
        const std::uint32_t count = ReadBoundedCount(kSmallestObjectSize);
        std::vector<std::unique_ptr<T>> loaded;
        loaded.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            loaded.push_back(ReadObject<T>());
        objects = std::move(loaded);
    }

    // Objects nested inside objects deeper than this are refused on loading (TooDeep).
    static constexpr int kMaxNesting = 1000;
    static constexpr std::size_t kBufferSize = 4096;

private:
    using ClassCheck = bool (*)(const CObjet&);
    template <class T> static bool IsOfClass(const CObjet& object) {
        if constexpr (std::is_same_v<T, CObjet>)
            return true;
        else
            return dynamic_cast<const T*>(&object) != nullptr;
    }

    // One entry of the loading map: index 0 is null, then every class and object in the order read.
    struct LoadedEntry {
        const RuntimeClass* runtimeClass = nullptr; // set for a class
        CObjet* object = nullptr;                   // set for a live object
    };
    // What a tag read from the stream designates.
    struct ObjectTag {
        const RuntimeClass* newObjectClass = nullptr; // a new object of this class follows
        std::uint32_t reference = 0;                  // otherwise: 0 null, else a loaded index
    };

    static constexpr std::size_t kSmallestObjectSize = 2;

    void RequireStoring() const;
    void RequireLoading() const;
    void Flush();
    void Refill();
    template <class U> void WriteUnsigned(U value);
    template <class U> U ReadUnsigned();

    void WriteStringLength(std::uint32_t length);
    std::uint64_t ReadStringLength(bool& unicode);
    void WriteArrayCount(std::size_t count);

    void WriteTag(std::uint32_t index, bool isClass);
    void WriteClass(const RuntimeClass& runtimeClass);
    std::uint32_t NextStoredIndex();
    ObjectTag ReadTag();
    const RuntimeClass* ReadNewClass();
    const RuntimeClass& LoadedClass(std::uint32_t index) const;
    void AddLoaded(LoadedEntry entry);
    std::unique_ptr<CObjet> ReadOwnedObject(ClassCheck isExpected);
    CObjet* ReadReferencedObject(ClassCheck isExpected);
    std::unique_ptr<CObjet> CreateAndLoad(const RuntimeClass& runtimeClass, ClassCheck isExpected);

    struct FileCloser {
        void operator()(std::FILE* file) const;
    };

    Mode m_mode;
    int m_version;
    bool m_closed = false;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::filesystem::path m_targetPath;    // storing to a file: the file Close() puts in place
    std::filesystem::path m_temporaryPath; // ... and the one being written
    // Memory store: every byte stored. Memory load: every byte to read. File: the buffer.
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_bufferPosition = 0;      // loading: next byte of m_buffer to read
    std::uint64_t m_fileRemaining = 0;     // loading a file: bytes not yet in the buffer

    std::unordered_map<const void*, std::uint32_t> m_storedIndexes; // classes and objects
    std::uint32_t m_nextStoredIndex = 1;
    std::vector<LoadedEntry> m_loaded{LoadedEntry{}};
    int m_nesting = 0;
};
