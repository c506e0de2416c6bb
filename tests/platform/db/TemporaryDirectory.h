#pragma once

#include <filesystem>
#include <string>

// A fresh directory for one test's files, removed with everything in it at the end.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    static std::string readBytes(const std::string& file);
    static void writeBytes(const std::string& file, const std::string& bytes);

private:
    std::filesystem::path path_;
};
