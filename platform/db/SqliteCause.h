#pragma once

#include <string>

namespace db {

// The cause of a database failure in French words, from SQLite's result code (primary or
// extended), for the messages the analyst reads: SQLite's own description is English. The
// description `fallback` is kept when it is not SQLite's generic text for the code (a trigger's
// message, a text of this program) or when the table does not know the code.
std::string SqliteCause(int code, const std::string& fallback);

} // namespace db
