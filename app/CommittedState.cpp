#include "app/CommittedState.h"

#include "app/StringTable.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/ReadTransaction.h"
#include "platform/db/Transaction.h"

CommittedState::CommittedState() = default;

CommittedState::~CommittedState() {
    Release();
}

Message CommittedState::Enter(const std::string& path) {
    if (m_depth++ > 0)
        return m_refusal;
    m_refusal = Hold(path);
    return m_refusal;
}

void CommittedState::Leave() {
    if (m_depth == 0 || --m_depth > 0)
        return;
    if (m_held) {
        try {
            m_dataVersion = VersionSource().dataVersion();
            m_versionOnWriter = m_writeLock != nullptr;
            m_ownCommits = db::Database::commitsInThisProcess();
        } catch (const db::DbException&) {
            m_dataVersion.reset();
        }
    }
    Release();
    m_refusal = Message();
}

void CommittedState::Forget() {
    m_dataVersion.reset();
    m_changedElsewhere = false;
}

Message CommittedState::Hold(const std::string& path) {
    if (path.empty())
        return {};
    try {
        if (!m_connection || m_path != path) {
            m_writer.reset();
            m_connection.reset();
            m_dataVersion.reset();
            m_changedElsewhere = false;
            m_connection = std::make_unique<db::Database>(path, db::Database::Access::ReadOnly);
            m_path = path;
        }
        // The write lock first: taken after a read lock, it could wait for a writer that itself
        // waits for that read lock to go. Held, it is a read lock too (its transaction reads the
        // last commit and keeps every other program from committing), so the reading connection
        // takes a lock of its own only when the write lock cannot be had.
        const bool writersLocked = LockWriters();
        if (!writersLocked)
            m_read = std::make_unique<db::ReadTransaction>(*m_connection);
        m_held = true;
        m_shared = writersLocked || !m_connection->isWriteAheadLog();
        const long long version = VersionSource().dataVersion();
        // Another program committed since the survey last read the file, unless this process
        // committed meanwhile too (then the change is taken for its own). Each connection counts
        // versions of its own: when the last state was seen through the other one, nothing tells
        // the two apart, and the file is taken as changed rather than a change missed.
        const bool sameSource = m_versionOnWriter == writersLocked;
        if (m_dataVersion && (!sameSource || *m_dataVersion != version) &&
            m_ownCommits == db::Database::commitsInThisProcess())
            m_changedElsewhere = true;
    } catch (const db::DbException& error) {
        Release();
        if (error.isBusy())
            return Message(StringTable::kQuestionnaireOccupe, {path});
        return {};
    }
    if (m_changedElsewhere)
        return Message(StringTable::kQuestionnaireModifieAilleurs, {path});
    return {};
}

// While this process holds the write lock no other program can begin writing, so none can ask
// for the lock that keeps new readers out: the other connections of this process read freely,
// in either journal mode, the last commit, which stays the last. Nothing is written through it
// and it ends by a rollback. A file this process cannot write, or whose write lock another
// program keeps for more than the busy timeout, is held by the read lock alone.
bool CommittedState::LockWriters() {
    // Once a writer connection is open, a file that became read-only since refuses its
    // transaction below, which drops the connection: the permissions are asked again only then.
    if (!m_writer && !db::Database::isWritable(m_path))
        return false;
    try {
        if (!m_writer)
            m_writer = std::make_unique<db::Database>(m_path, db::Database::Access::ReadWrite);
        m_writeLock = std::make_unique<db::Transaction>(*m_writer);
        return true;
    } catch (const db::DbException&) {
        m_writeLock.reset();
        m_writer.reset();
        return false;
    }
}

db::Database& CommittedState::VersionSource() const {
    return m_writeLock ? *m_writer : *m_connection;
}

void CommittedState::Release() {
    m_read.reset();
    m_writeLock.reset();
    m_held = false;
    m_shared = false;
}
