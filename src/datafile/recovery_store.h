#pragma once
// Where the recovery files live and who owns them. Every running copy of the
// program keeps one file of its own, named by its start time and process,
// beside a lock file (QLockFile) that says the copy still runs. The files of
// copies that ended without a normal quit are the ones to offer at start.
//
// Writing happens on a thread of its own: the measurement is turned into the
// file's bytes there, written through a temporary file and renamed into
// place (QSaveFile), which waits for the disk; a click must not wait for
// it. A write that is still waiting when a newer one comes is dropped, since
// the newer holds everything.

#include "datafile/recovery_file.h"

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class RecoveryStore
{
public:
    // Makes the folder if need be and takes this copy's lock. Without a
    // folder it can write to, it keeps nothing (active() is false).
    explicit RecoveryStore(const QString &folder);
    // Waits for the last write; the file stays (only a normal quit removes
    // it), the lock goes.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    bool active() const { return m_lock != nullptr; }
    QString filePath() const { return m_path; }

    // Replaces this copy's file with the measurement, in the background.
    void write(const recovery::Snapshot &snapshot);
    // Removes this copy's file, in the background.
    void remove();
    // Returns once every write and removal asked for so far is done.
    void waitUntilDone();
    // How many writes have failed (a full disk, a folder gone).
    int failedWrites() const;

    // The recovery files in the folder other than this copy's, newest first.
    QStringList otherFiles() const;
    // Removes the locks that copies which ended without a file (nothing
    // plotted) left behind.
    void removeStaleLocks() const;

    static QString fileSuffix() { return QStringLiteral(".recovery"); }
    static QString lockPathFor(const QString &recoveryFile);

private:
    struct Job
    {
        bool remove = false;
        recovery::Snapshot snapshot;
    };
    void post(Job job);
    void run();

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_stopping = false;
    int m_failed = 0;
    std::thread m_thread;
};

// Another copy's recovery file, held while it is offered: its lock is taken,
// which succeeds only when the copy that wrote it no longer runs, and keeps
// a copy starting at the same moment from offering it too.
class ClaimedRecoveryFile
{
public:
    explicit ClaimedRecoveryFile(const QString &path);
    bool held() const { return m_held; }
    QString path() const { return m_path; }
    // The file is deleted (restored or declined); the lock goes with this object.
    void discard();

private:
    QString m_path;
    QLockFile m_lock;
    bool m_held = false;
};
