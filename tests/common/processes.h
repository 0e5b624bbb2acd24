#ifndef TALDON_TESTS_COMMON_PROCESSES_H
#define TALDON_TESTS_COMMON_PROCESSES_H

#include "runctrl.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <unistd.h>

// The user a submission runs as: submissionUid() under a root judge, else the judge's own.
inline uid_t submissionUser()
{
    return geteuid() == 0 ? submissionUid() : geteuid();
}

// Processes of `uid` named one of `names`, as "name/pid", in whatever group, session or
// namespace: a submission runs in the sandbox, out of the test's sight but for this.
inline QStringList processesNamed(const QStringList &names, uid_t uid)
{
    QStringList found;
    const QRegularExpression uidLine(QStringLiteral("^Uid:\\s+(\\d+)"),
                                     QRegularExpression::MultilineOption);
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString dir = it.next();
        QFile status(dir + QStringLiteral("/status")), comm(dir + QStringLiteral("/comm"));
        if (!status.open(QIODevice::ReadOnly) || !comm.open(QIODevice::ReadOnly))
            continue;
        const auto m = uidLine.match(QString::fromUtf8(status.readAll()));
        const QString name = QString::fromUtf8(comm.readAll()).trimmed();
        if (m.hasMatch() && m.captured(1).toUInt() == uid && names.contains(name))
            found << name + QLatin1Char('/') + it.fileName();
    }
    return found;
}

// The users the submissions of `jobs` workers run as: worker K's own uid under a root judge.
inline QList<uid_t> submissionUsers(int jobs)
{
    if (jobs <= 1 || geteuid() != 0)
        return {submissionUser()};
    QList<uid_t> users;
    for (int k = 1; k <= jobs; ++k)
        users << kSubmissionUid + uid_t(k);
    return users;
}

inline int countProcessesNamed(const QString &name, const QList<uid_t> &users)
{
    int n = 0;
    for (uid_t user : users)
        n += processesNamed({name}, user).size();
    return n;
}

#endif
