#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstring>

// While alive, SQLite's default way to the files is this one: the system's own, except that every
// opening of a main database file after the first `allowed` ones fails as if the system had run out
// of file descriptors. A test opens a questionnaire, then watches what a computation does when it
// cannot open the file again. Journals and temporary files still open.
class FailingOpenVfs {
public:
    explicit FailingOpenVfs(int allowed) {
        s_allowed = allowed;
        s_opened = 0;
        s_refused = 0;
        s_system = sqlite3_vfs_find(nullptr);
        m_vfs = *s_system;
        m_vfs.zName = "morvane-failing-open";
        m_vfs.xOpen = &Open;
        sqlite3_vfs_register(&m_vfs, 1);
    }
    ~FailingOpenVfs() {
        sqlite3_vfs_register(s_system, 1);
        sqlite3_vfs_unregister(&m_vfs);
    }
    FailingOpenVfs(const FailingOpenVfs&) = delete;
    FailingOpenVfs& operator=(const FailingOpenVfs&) = delete;

    // How many openings of a main database file were refused.
    static int Refused() { return s_refused; }

private:
    static int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
        if ((flags & SQLITE_OPEN_MAIN_DB) != 0 && s_opened++ >= s_allowed) {
            ++s_refused;
            std::memset(file, 0, sizeof *file);
            return SQLITE_CANTOPEN;
        }
        return s_system->xOpen(s_system, name, file, flags, outFlags);
    }

    static inline sqlite3_vfs* s_system = nullptr;
    static inline std::atomic<int> s_allowed{0};
    static inline std::atomic<int> s_opened{0};
    static inline std::atomic<int> s_refused{0};
    sqlite3_vfs m_vfs{};
};
