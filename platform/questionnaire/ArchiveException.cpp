#include "platform/questionnaire/ArchiveException.h"

namespace {

struct ReasonEntry {
    ArchiveException::Reason reason;
    const char* text;
};

constexpr ReasonEntry kReasonTexts[] = {
    {ArchiveException::Reason::Truncated, "truncated"},
    {ArchiveException::Reason::BadCount, "bad count"},
    {ArchiveException::Reason::BadStringLength, "bad string length"},
    {ArchiveException::Reason::BadClassName, "bad class name"},
    {ArchiveException::Reason::UnknownClass, "unknown class"},
    {ArchiveException::Reason::BadSchema, "bad schema"},
    {ArchiveException::Reason::BadIndex, "bad index"},
    {ArchiveException::Reason::WrongClass, "wrong class"},
    {ArchiveException::Reason::SharedObject, "shared object"},
    {ArchiveException::Reason::TooDeep, "objects nested too deeply"},
    {ArchiveException::Reason::TooManyObjects, "too many objects"},
    {ArchiveException::Reason::NotSerializable, "object without run-time class"},
    {ArchiveException::Reason::WrongMode, "wrong mode"},
    {ArchiveException::Reason::StringTooLong, "string too long"},
    {ArchiveException::Reason::CannotOpen, "cannot open file"},
    {ArchiveException::Reason::ReadFailed, "read failed"},
    {ArchiveException::Reason::WriteFailed, "write failed"},
};

} // namespace

ArchiveException::ArchiveException(Reason reason, const std::string& detail)
    : m_reason(reason), m_message(ReasonText(reason)) {
    if (!detail.empty())
        m_message += ": " + detail;
}

const char* ArchiveException::ReasonText(Reason reason) noexcept {
    for (const ReasonEntry& entry : kReasonTexts) {
        if (entry.reason == reason)
            return entry.text;
    }
    return "archive error";
}
