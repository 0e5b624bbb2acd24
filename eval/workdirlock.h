#ifndef TALDON_EVAL_WORKDIRLOCK_H
#define TALDON_EVAL_WORKDIRLOCK_H

#include <QByteArray>
#include <QString>

// The lock that keeps two evaluations out of one working directory: a POSIX record lock on the
// file <dir>.lock beside it, which also holds across machines sharing the contest over NFS. The
// file names the holder's host and process id, for the message that refuses a second one. The
// lock ends with the object or the process.
class WorkDirLock
{
public:
    WorkDirLock() = default;
    ~WorkDirLock();
    WorkDirLock(const WorkDirLock &) = delete;
    WorkDirLock &operator=(const WorkDirLock &) = delete;

    // Takes the lock of `dir`, waiting for it when `wait` is set; false with the reason (naming
    // the holder when there is one) otherwise.
    bool acquire(const QByteArray &dir, bool wait, QString *reason);
    void release();

private:
    int fd = -1;
};

// Appends to a result file under a record lock of its own, so that two evaluations of one
// player and day never interleave their blocks: false when the lock cannot be had.
bool lockResultFile(int fd);

#endif
