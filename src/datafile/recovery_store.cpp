#include "datafile/recovery_store.h"

#include "datafile/measurement_csv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#endif

namespace {

// Several windows in one process (the tests) each have their own file.
std::atomic<int> g_storesMade{0};

QString ownFileName()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
           QStringLiteral("-%1-%2").arg(QCoreApplication::applicationPid()).arg(++g_storesMade) +
           RecoveryStore::fileSuffix();
}

// A lock is stale only when the process that took it is gone (or the
// machine was started anew), never because it is old: a lesson is longer
// than any fixed time.
void lockForGood(QLockFile &lock)
{
    lock.setStaleLockTime(0);
}

// The new file's content reaches the disk before it is renamed into place;
// the rename itself is on the disk only once its folder is.
void syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    if (!datafile::writeMeasurementFile(path, bytes))
        return false;
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

} // namespace

QString RecoveryStore::lockPathFor(const QString &recoveryFile)
{
    return recoveryFile + QStringLiteral(".lock");
}

RecoveryStore::RecoveryStore(const QString &folder) : m_folder(folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    m_path = QDir(folder).filePath(ownFileName());
    auto lock = std::make_unique<QLockFile>(lockPathFor(m_path));
    lockForGood(*lock);
    if (!lock->tryLock(0))
        return;
    m_lock = std::move(lock);
    m_thread = std::thread([this] { run(); });
}

RecoveryStore::~RecoveryStore()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryStore::write(const recovery::Snapshot &snapshot)
{
    post(Job{false, snapshot});
}

void RecoveryStore::remove()
{
    post(Job{true, {}});
}

void RecoveryStore::post(Job job)
{
    if (!active())
        return;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_pending = std::move(job);
    }
    m_wake.notify_all();
}

void RecoveryStore::waitUntilDone()
{
    std::unique_lock<std::mutex> guard(m_mutex);
    m_wake.wait(guard, [this] { return !m_pending && !m_busy; });
}

int RecoveryStore::failedWrites() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_failed;
}

void RecoveryStore::run()
{
#ifdef Q_OS_LINUX
    // Woken by a click, it must not push the window's own thread aside.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
#endif
    // The window's thread waits for the lock only while a job changes hands.
    while (true) {
        std::optional<Job> job;
        {
            std::unique_lock<std::mutex> guard(m_mutex);
            m_wake.wait(guard, [this] { return m_pending || m_stopping; });
            if (!m_pending)
                return; // stopping, and everything asked for is done
            job.swap(m_pending);
            m_busy = true;
        }
        const bool ok = job->remove ? (QFile::remove(m_path) || !QFile::exists(m_path))
                                    : writeWhole(m_path, recovery::encode(job->snapshot));
        job.reset();
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_busy = false;
            if (!ok)
                ++m_failed;
        }
        m_wake.notify_all();
    }
}

QStringList RecoveryStore::otherFiles() const
{
    if (m_folder.isEmpty())
        return {};
    const QDir dir(m_folder);
    QStringList files;
    const QStringList names = dir.entryList({QStringLiteral("*") + fileSuffix()}, QDir::Files,
                                            QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (path != m_path)
            files.append(path);
    }
    return files;
}

void RecoveryStore::removeStaleLocks() const
{
    if (m_folder.isEmpty())
        return;
    const QDir dir(m_folder);
    const QString lockSuffix = lockPathFor(fileSuffix());
    const QStringList names =
        dir.entryList({QStringLiteral("*") + lockSuffix}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        const QString recoveryFile = path.chopped(lockSuffix.size() - fileSuffix().size());
        if (recoveryFile == m_path || QFile::exists(recoveryFile))
            continue;
        // Taken only when the copy is gone; letting go of it removes it.
        QLockFile stale(path);
        lockForGood(stale);
        if (stale.tryLock(0))
            stale.unlock();
    }
}

ClaimedRecoveryFile::ClaimedRecoveryFile(const QString &path)
    : m_path(path), m_lock(RecoveryStore::lockPathFor(path))
{
    lockForGood(m_lock);
    m_held = m_lock.tryLock(0);
}

void ClaimedRecoveryFile::discard()
{
    if (m_held)
        QFile::remove(m_path);
}
