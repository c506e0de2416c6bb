#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/Message.h"

namespace db {
class Database;
class ReadTransaction;
class Transaction;
} // namespace db

// The one committed state of a questionnaire file that a computation reads (an opening, a
// request, a run of qesrun, an inversion), held by the survey for as long as some OneStateScope
// is alive.
//
// While held, no other program can commit to the file: this process holds its write lock when
// it may write the file (nothing is ever written through it), else a read lock, which in the
// file's rollback-journal mode keeps writers from committing too. Every other connection of this
// process (the structure's, the answers', the threads' of the key scan) then reads that same
// state. A writer of another program waits until the computation ends.
//
// Between computations the connections stay open without a lock, and tell at the next one
// whether another program committed meanwhile: the survey's caches and keys are then of an older
// state, and the computation is refused until the questionnaire is opened again. Commits made by
// this process itself (a variable written, a definition saved) are not taken for another
// program's.
class CommittedState {
public:
    CommittedState();
    ~CommittedState();
    CommittedState(const CommittedState&) = delete;
    CommittedState& operator=(const CommittedState&) = delete;

    // Holds the state of the file at `path` (the outermost call takes it, nested ones share it).
    // Answers the refusal of the computation: a file another program holds locked, or one it
    // changed since the survey read it; id 0 otherwise, even when nothing could be held (no
    // file, or one that cannot be opened: the readers then say why).
    Message Enter(const std::string& path);
    // Ends what the matching Enter began; the outermost lets the state go.
    void Leave();
    // Forgets what the survey had read: called when it opens the file anew.
    void Forget();

    // Whether every connection of this process now reads one state: a threaded reader may then
    // open connections of its own.
    bool Shared() const { return m_depth > 0 && m_held && m_shared; }

private:
    Message Hold(const std::string& path);
    bool LockWriters();
    // The connection whose transaction holds the state: the writer's when it has the lock.
    db::Database& VersionSource() const;
    void Release();

    std::string m_path;
    std::unique_ptr<db::Database> m_connection;
    std::unique_ptr<db::ReadTransaction> m_read;
    std::unique_ptr<db::Database> m_writer;
    std::unique_ptr<db::Transaction> m_writeLock;
    int m_depth = 0;
    bool m_held = false;
    bool m_shared = false; // no other program can commit while held
    Message m_refusal;
    // What the connection last saw of the file, and the commits of this process then.
    std::optional<long long> m_dataVersion;
    bool m_versionOnWriter = false; // which connection counted m_dataVersion
    unsigned long long m_ownCommits = 0;
    bool m_changedElsewhere = false;
};
