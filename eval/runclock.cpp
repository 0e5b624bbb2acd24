#include "runclock.h"

#include <QHash>
#include <QVector>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace
{

struct ProcessTimes {
    pid_t parent = 0;
    long long ticks = 0;
};

// The parent (field 4) and utime plus cutime (fields 14 and 16, in clock ticks) of
// /proc/<pid>/stat; the name in field 2 may hold blanks and parentheses, so counting starts
// after its last ')'.
bool readStat(int proc, const char *pid, ProcessTimes *times)
{
    char path[64];
    snprintf(path, sizeof path, "%s/stat", pid);
    const int fd = openat(proc, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[1024];
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n <= 0)
        return false;
    text[n] = '\0';
    const char *p = strrchr(text, ')');
    for (int field = 3; p && field <= 16; ++field) {
        p = strchr(p + 1, ' ');
        if (p && field == 4)
            times->parent = pid_t(strtol(p + 1, nullptr, 10));
        if (p && (field == 14 || field == 16))
            times->ticks += strtoll(p + 1, nullptr, 10);
    }
    return p != nullptr;
}

} // namespace

double RunClock::userSeconds() const
{
    const int proc = open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int listing = proc >= 0 ? fcntl(proc, F_DUPFD_CLOEXEC, 0) : -1;
    DIR *dir = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            close(listing);
        if (proc >= 0)
            close(proc);
        return 0;
    }
    QHash<pid_t, ProcessTimes> all;
    while (const dirent *e = readdir(dir)) {
        ProcessTimes times;
        if (e->d_name[0] >= '1' && e->d_name[0] <= '9' && readStat(proc, e->d_name, &times))
            all.insert(pid_t(atol(e->d_name)), times);
    }
    closedir(dir);
    close(proc);
    long long ticks = 0;
    for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
        // Up the parents to the run's init, or to a process outside the run.
        pid_t pid = it.key();
        for (int depth = 0; pid > 1 && pid != root && depth < 4096; ++depth)
            pid = all.value(pid).parent;
        if (pid == root)
            ticks += it.value().ticks;
    }
    static const long perSecond = sysconf(_SC_CLK_TCK);
    return double(ticks) / double(perSecond > 0 ? perSecond : 100);
}
