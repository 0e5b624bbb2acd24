#include "partfile.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

PartFile::PartFile(const QString &path) : target(QFile::encodeName(path)) {}

PartFile::~PartFile()
{
    if (fd >= 0 && ::close(fd) != 0)
        std::fprintf(stderr, "close %s: %s\n", part.constData(), std::strerror(errno));
    if (!part.isEmpty() && ::unlink(part.constData()) != 0 && errno != ENOENT)
        std::fprintf(stderr, "unlink %s: %s\n", part.constData(), std::strerror(errno));
}

bool PartFile::failed(const QByteArray &what)
{
    error = what + ": " + QByteArray(std::strerror(errno));
    return false;
}

bool PartFile::open()
{
    const QByteArray dir = QFile::encodeName(QFileInfo(QFile::decodeName(target)).path());
    // The process id and a counter give a name of our own; O_EXCL makes sure of it.
    static const QByteArray pid = QByteArray::number(::getpid());
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = dir + "/.taldon-part-" + pid + '-' + QByteArray::number(++counter);
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            part = name;
            return true;
        }
        if (errno != EEXIST)
            return failed("can't create a temporary file in " + dir);
    }
    return failed("no free temporary name in " + dir);
}

bool PartFile::write(const char *data, int size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed("write failed on " + part);
        data += n;
        size -= int(n);
    }
    return true;
}

bool PartFile::commit()
{
    const int closing = fd;
    fd = -1;
    if (::close(closing) != 0)
        return failed("close failed on " + part);
    if (::rename(part.constData(), target.constData()) != 0)
        return failed("can't rename " + part + " to " + target);
    part.clear();
    return true;
}
