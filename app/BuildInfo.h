#pragma once

// The values the build writes into the program (BuildInfo.cpp.in, made when the build is
// configured).
namespace BuildInfo {

extern const char* const kVersion; // "major.minor.patch"
extern const char* const kDate;    // "yyyy-mm-dd", in UTC

} // namespace BuildInfo
