#include "platform/db/DbException.h"

#include <utility>

namespace db {

DbException::DbException(std::string operation, std::string description, int code)
    : operation_(std::move(operation)), description_(std::move(description)), code_(code),
      message_(operation_ + ": " + description_) {}

} // namespace db
