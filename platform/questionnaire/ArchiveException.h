#pragma once

#include <exception>
#include <string>

// Thrown by CArchiveVersion when a stream cannot be read or written as asked. Readers of
// archives catch it and turn it into a message: a damaged or foreign file is refused, it never
// crashes the program. what() gives the reason in plain words, followed by a detail (a class
// name, a path) when there is one.
class ArchiveException : public std::exception {
public:
    enum class Reason {
        Truncated,        // "truncated": the stream ends before the value being read
        BadCount,         // "bad count": more items announced than the rest of the stream can hold
        BadStringLength,  // "bad string length": a string longer than the rest of the stream
        BadClassName,     // "bad class name": an empty or over-long class name
        UnknownClass,     // "unknown class": no registered run-time class of that name
        BadSchema,        // "bad schema": the stored schema differs from the registered one
        BadIndex,         // "bad index": a class or object reference to nothing read before
        WrongClass,       // "wrong class": an object of a class other than the one expected
        SharedObject,     // "shared object": a second reference where an owned object is expected
        TooDeep,          // "objects nested too deeply"
        TooManyObjects,   // "too many objects"
        NotSerializable,  // "object without run-time class": a programming error on writing
        WrongMode,        // "wrong mode": reading from a storing archive or the reverse
        StringTooLong,    // "string too long" to be written
        CannotOpen,       // "cannot open file"
        ReadFailed,       // "read failed"
        WriteFailed,      // "write failed"
    };

    explicit ArchiveException(Reason reason, const std::string& detail = {});

    Reason GetReason() const noexcept { return m_reason; }
    const char* what() const noexcept override { return m_message.c_str(); }

    // The plain-words text of a reason, as it starts what().
    static const char* ReasonText(Reason reason) noexcept;

private:
    Reason m_reason;
    std::string m_message;
};
