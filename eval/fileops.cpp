#include "fileops.h"

#include <QList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

void complain(const char *what, const QByteArray &path)
{
    fprintf(stderr, "%s %s: %s\n", what, path.constData(), strerror(errno));
}

// Names of the entries of a directory, without "." and "..".
bool listDirectory(const QByteArray &dir, bool withHidden, QList<QByteArray> *names)
{
    DIR *d = opendir(dir.constData());
    if (!d) {
        complain("cannot read directory", dir);
        return false;
    }
    while (dirent *e = readdir(d)) {
        if (e->d_name[0] == '.' &&
            (!withHidden || !strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")))
            continue;
        names->append(QByteArray(e->d_name));
    }
    closedir(d);
    return true;
}

bool copyData(int in, int out)
{
    char buf[65536];
    for (;;) {
        ssize_t n = read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        if (!writeAll(out, buf, size_t(n)))
            return false;
    }
}

} // namespace

bool writeAll(int fd, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool removeEntry(const QByteArray &path)
{
    struct stat st;
    if (lstat(path.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) {
        if (unlink(path.constData()) == 0 || errno == ENOENT)
            return true;
        complain("cannot remove", path);
        return false;
    }
    bool ok = emptyDirectory(path);
    if (rmdir(path.constData()) != 0) {
        complain("cannot remove", path);
        return false;
    }
    return ok;
}

bool emptyDirectory(const QByteArray &dir)
{
    QList<QByteArray> names;
    if (!listDirectory(dir, true, &names))
        return false;
    bool ok = true;
    for (const QByteArray &name : names)
        ok = removeEntry(dir + '/' + name) && ok;
    return ok;
}

bool copyFile(const QByteArray &from, const QByteArray &to, mode_t mode)
{
    int in = open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        complain("cannot open", from);
        return false;
    }
    if (!removeEntry(to)) {
        close(in);
        return false;
    }
    int out = open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) {
        complain("cannot create", to);
        close(in);
        return false;
    }
    bool ok = copyData(in, out) && fchmod(out, mode) == 0;
    if (!ok)
        complain("cannot copy to", to);
    close(in);
    if (close(out) != 0) {
        complain("cannot write", to);
        ok = false;
    }
    return ok;
}

bool copyTree(const QByteArray &from, const QByteArray &to)
{
    QList<QByteArray> names;
    if (!listDirectory(from, false, &names))
        return false;
    bool ok = true;
    for (const QByteArray &name : names) {
        const QByteArray src = from + '/' + name, dst = to + '/' + name;
        struct stat st;
        if (lstat(src.constData(), &st) != 0) {
            complain("cannot read", src);
            ok = false;
        } else if (S_ISDIR(st.st_mode)) {
            if (mkdir(dst.constData(), 0755) != 0 && errno != EEXIST) {
                complain("cannot create directory", dst);
                ok = false;
            } else {
                ok = copyTree(src, dst) && ok;
            }
        } else if (S_ISREG(st.st_mode)) {
            ok = copyFile(src, dst, st.st_mode & 07777) && ok;
        } else {
            fprintf(stderr, "skipped %s: not a regular file\n", src.constData());
        }
    }
    return ok;
}
