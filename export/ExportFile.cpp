#include "export/ExportFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "app/StringTable.h"

namespace fs = std::filesystem;

namespace {

// Bytes kept before they are written out: large enough that a table of thousands of cells goes
// out in a few system calls.
constexpr std::size_t kBufferSize = 1 << 16;
// Names tried before the folder is deemed unusable (a name is taken only by a file of ours).
constexpr int kNameAttempts = 100;

std::string Reason(int systemError) { return std::generic_category().message(systemError); }

// The same file, whichever way its path is written (links, "..", hard links, a file not made yet).
bool SameFile(const std::string& left, const std::string& right) {
    std::error_code error;
    if (fs::exists(left, error) && fs::exists(right, error) && fs::equivalent(left, right, error))
        return true;
    const fs::path a = fs::weakly_canonical(fs::absolute(left, error), error);
    const fs::path b = fs::weakly_canonical(fs::absolute(right, error), error);
    return !a.empty() && a == b;
}

// A name beside the target that no file has yet; hidden, so that a folder view does not show it
// for the moment it lives.
std::string TemporaryName(const fs::path& target, unsigned number) {
    std::string hidden(".");
    hidden += target.filename().string();
    hidden += '.';
    hidden += std::to_string(::getpid());
    hidden += '.';
    hidden += std::to_string(number);
    hidden += ".tmp";
    fs::path name = target;
    name.replace_filename(hidden);
    return name.string();
}

} // namespace

ExportFile::ExportFile(std::string target) : m_path(target), m_target(std::move(target)) {}

ExportFile::~ExportFile() {
    if (!m_committed)
        Discard();
}

bool ExportFile::Open(const std::string& questionnairePath) {
    if (!questionnairePath.empty() && SameFile(m_target, questionnairePath)) {
        m_failed = true;
        m_error = Message(StringTable::kExportSurQuestionnaireOuvert, {m_path});
        return false;
    }
    std::error_code error;
    if (m_target.empty()) {
        FailWithSystemError(StringTable::kImpossibleOuvrirFichier, ENOENT);
        return false;
    }
    const fs::file_status status = fs::status(m_target, error);
    struct stat existing {};
    const bool exists = fs::exists(status);
    if (exists) {
        if (fs::is_directory(status)) {
            FailWithSystemError(StringTable::kImpossibleOuvrirFichier, EISDIR);
            return false;
        }
        if (!fs::is_regular_file(status)) {
            FailWithSystemError(StringTable::kImpossibleOuvrirFichier, EINVAL);
            return false;
        }
        // Write through a link to the file it names.
        const fs::path real = fs::canonical(m_target, error);
        if (!error)
            m_target = real.string();
        // A file the user made read-only stays as it is, even for a user (root) whom the system
        // would let write it.
        if (::stat(m_target.c_str(), &existing) != 0 || (existing.st_mode & 0222) == 0 ||
            ::access(m_target.c_str(), W_OK) != 0) {
            FailWithSystemError(StringTable::kImpossibleOuvrirFichier, EACCES);
            return false;
        }
    }
    std::random_device random;
    const unsigned first = random();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = TemporaryName(m_target, first + static_cast<unsigned>(attempt));
        m_descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_descriptor >= 0) {
            m_temporary = name;
            break;
        }
        if (errno != EEXIST) {
            FailWithSystemError(StringTable::kImpossibleOuvrirFichier, errno);
            return false;
        }
    }
    if (m_descriptor < 0) {
        FailWithSystemError(StringTable::kImpossibleOuvrirFichier, EEXIST);
        return false;
    }
    // The new file keeps the permissions of the one it replaces.
    if (exists)
        ::fchmod(m_descriptor, existing.st_mode & 07777);
    m_buffer.reserve(kBufferSize);
    return true;
}

bool ExportFile::Write(std::string_view bytes) {
    if (m_failed || m_descriptor < 0)
        return false;
    if (m_buffer.size() + bytes.size() > kBufferSize && !Flush())
        return false;
    if (bytes.size() >= kBufferSize) {
        m_buffer.assign(bytes);
        return Flush();
    }
    m_buffer.append(bytes);
    return true;
}

bool ExportFile::Flush() {
    std::size_t written = 0;
    while (written < m_buffer.size()) {
        const ssize_t done = ::write(m_descriptor, m_buffer.data() + written, m_buffer.size() - written);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            FailWithSystemError(StringTable::kEcritureFichierImpossible, errno);
            return false;
        }
        written += static_cast<std::size_t>(done);
    }
    m_buffer.clear();
    return true;
}

void ExportFile::HandOver() {
    if (m_descriptor < 0)
        return;
    Flush();
    if (::close(m_descriptor) != 0 && !m_failed)
        FailWithSystemError(StringTable::kEcritureFichierImpossible, errno);
    m_descriptor = -1;
}

void ExportFile::Fail(const Message& error) {
    if (m_failed)
        return;
    m_failed = true;
    m_error = error;
}

bool ExportFile::Commit() {
    if (m_temporary.empty() && !m_failed)
        FailWithSystemError(StringTable::kImpossibleOuvrirFichier, EBADF);
    if (m_descriptor >= 0) {
        if (!m_failed)
            Flush();
        const int closed = ::close(m_descriptor);
        m_descriptor = -1;
        if (closed != 0 && !m_failed)
            FailWithSystemError(StringTable::kEcritureFichierImpossible, errno);
    }
    if (!m_failed && ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        FailWithSystemError(StringTable::kEcritureFichierImpossible, errno);
    if (m_failed) {
        Discard();
        return false;
    }
    m_committed = true;
    return true;
}

void ExportFile::FailWithSystemError(int messageId, int systemError) {
    if (m_failed)
        return;
    m_failed = true;
    m_error = Message(messageId, {m_path, Reason(systemError)});
}

void ExportFile::Discard() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}
