#pragma once

#include <string>
#include <string_view>

#include "app/Message.h"

// A file that an export writes whole or not at all.
//
// The bytes go to a new file of a unique name in the target's folder (so that the final rename
// never crosses file systems); Commit closes it and renames it over the target once every write
// and the close succeeded. Any failure, or the object going away before Commit, removes the
// partial file and leaves the target as it was: an earlier export of the same name survives a
// full disk, and nobody ever finds half a document under the chosen name.
//
// Open refuses, before anything is created, a target that is a folder or another kind of
// non-regular file (a device, a pipe), a file without write permission, and the open
// questionnaire itself, compared by canonical path (links and ".." resolved, hard links
// recognised). A target that is a link is followed: the file it points to is replaced, the link
// stays.
//
// Every write is checked; after the first failure later writes do nothing and answer false, so a
// writer may check once at the end. The failure is kept as a message of the string table:
// 64040 (the path) for the questionnaire, 63143 (the path, the system's reason) when the file
// cannot be created, 64400 (the path, the system's reason) when a write, the close or the rename
// fails.
class ExportFile {
public:
    explicit ExportFile(std::string target);
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Checks the target against the open questionnaire (`questionnairePath`, empty when none is
    // open) and creates the temporary file. False, with the error set and nothing created, when
    // the target is refused or the file cannot be made.
    bool Open(const std::string& questionnairePath);

    // Appends bytes (kept in a buffer, written out in large blocks).
    bool Write(std::string_view bytes);

    // For a library that writes the file itself from its name: our handle is closed and the
    // temporary name stays reserved for it. Commit then only renames.
    const std::string& TemporaryPath() const { return m_temporary; }
    void HandOver();

    // Records a failure that the caller met (a library's writing); the file is then removed.
    void Fail(const Message& error);

    // Writes what is buffered, closes and renames over the target. False, with the error set and
    // the partial file removed, on any failure since Open.
    bool Commit();

    bool Failed() const { return m_failed; }
    const Message& GetError() const { return m_error; }
    // The path finally written: the target, or the file a link target points to.
    const std::string& TargetPath() const { return m_target; }

private:
    bool Flush();
    void FailWithSystemError(int messageId, int systemError);
    void Discard();

    std::string m_path;   // as the caller gave it: the messages name it
    std::string m_target; // the file replaced in the end
    std::string m_temporary;
    std::string m_buffer;
    int m_descriptor = -1;
    bool m_failed = false;
    bool m_committed = false;
    Message m_error;
};
