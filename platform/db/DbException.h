#pragma once

#include <exception>
#include <string>

namespace db {

// The error every database operation raises. It carries the database's own description of what
// went wrong (SQLite's error message, such as "file is not a database" or "database is locked")
// and the operation that failed. Callers show the description to the user inside their own
// message ("Erreur de base de données '%s' dans %s"), so the description is kept apart from the
// operation rather than merged into one text.
class DbException : public std::exception {
public:
    // `code` is SQLite's extended result code, or 0 for errors this layer detects itself.
    DbException(std::string operation, std::string description, int code = 0);

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& description() const noexcept { return description_; }
    // The description in French words, for the messages the analyst reads.
    std::string cause() const;
    const std::string& operation() const noexcept { return operation_; }
    int code() const noexcept { return code_; }
    // Another program held the file locked for longer than the busy timeout.
    bool isBusy() const noexcept;
    // The file or its folder cannot be written (a write-protected file, a read-only medium).
    bool isReadOnly() const noexcept;

private:
    std::string operation_;
    std::string description_;
    int code_;
    std::string message_;
};

} // namespace db
