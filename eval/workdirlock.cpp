#include "workdirlock.h"

#include "fileops.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace
{

bool lockWhole(int fd, bool wait)
{
    struct flock lock;
    memset(&lock, 0, sizeof lock);
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    int r;
    do
        r = fcntl(fd, wait ? F_SETLKW : F_SETLK, &lock);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

QString holderOf(int fd)
{
    char text[300] = {};
    const ssize_t n = pread(fd, text, sizeof text - 1, 0);
    const QString holder = n > 0 ? QString::fromUtf8(text, int(n)).trimmed() : QString();
    const QString host = holder.section(QLatin1Char(' '), 0, 0);
    const QString pid = holder.section(QLatin1Char(' '), 1, 1);
    return host.isEmpty() ? QStringLiteral("未知的主机和进程")
                          : QStringLiteral("主机 %1 上的进程 %2").arg(host, pid);
}

} // namespace

WorkDirLock::~WorkDirLock()
{
    release();
}

bool WorkDirLock::acquire(const QByteArray &dir, bool wait, QString *reason)
{
    release();
    const QByteArray path = dir + ".lock";
    fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        *reason = QStringLiteral("无法打开锁文件 %1: %2")
                      .arg(QString::fromUtf8(path), QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (!lockWhole(fd, wait)) {
        const bool busy = errno == EACCES || errno == EAGAIN;
        *reason = busy ? QStringLiteral("另一个评测正在使用工作目录 %1 (%2)")
                             .arg(QString::fromUtf8(dir), holderOf(fd))
                       : QStringLiteral("无法锁定工作目录 %1: %2")
                             .arg(QString::fromUtf8(dir), QString::fromLocal8Bit(strerror(errno)));
        release();
        return false;
    }
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const QByteArray holder = QByteArray(host) + ' ' + QByteArray::number(getpid()) + '\n';
    if (ftruncate(fd, 0) != 0 || pwrite(fd, holder.constData(), size_t(holder.size()), 0) < 0) {
        *reason = QStringLiteral("无法写入锁文件 %1").arg(QString::fromUtf8(path));
        release();
        return false;
    }
    return true;
}

void WorkDirLock::release()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

bool lockResultFile(int fd)
{
    return lockWhole(fd, true);
}
