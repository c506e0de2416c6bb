#include "platform/db/DbException.h"

#include "platform/db/SqliteCause.h"

#include <utility>

#include <sqlite3.h>

namespace db {

DbException::DbException(std::string operation, std::string description, int code)
    : operation_(std::move(operation)), description_(std::move(description)), code_(code),
      message_(operation_ + ": " + description_) {}

std::string DbException::cause() const {
    return SqliteCause(code_, description_);
}

bool DbException::isBusy() const noexcept {
    const int primary = code_ & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool DbException::isReadOnly() const noexcept {
    return (code_ & 0xff) == SQLITE_READONLY;
}

} // namespace db
