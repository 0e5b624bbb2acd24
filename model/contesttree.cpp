#include "contesttree.h"

#include "globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool ContestTree::makeTree(const QString &home, const QString &stockFilterDir)
{
    QDir dir(home);
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    const char *const subdirs[] = {"players", "data",   "result",  "final",
                                   "tmp",     "filter", "evaldata"};
    for (const char *name : subdirs) {
        if (!dir.mkpath(QLatin1String(name)))
            return false;
    }
    return copyFilters(stockFilterDir, dir.filePath(QStringLiteral("filter")));
}

QString ContestTree::absoluteHome(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString ContestTree::stockFilterDir()
{
    return firstFilterDir(stockFilterCandidates());
}

QStringList ContestTree::stockFilterCandidates()
{
    QStringList dirs;
    // An empty program directory would make "filter" relative to whatever directory the
    // program was started in, which says nothing about where the program is.
    if (g_directory[0] != '\0')
        dirs << QString::fromUtf8(g_directory) + QStringLiteral("filter");
    // Started through the search path or a link, the program's path tells nothing; the kernel
    // knows the real file.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!exe.isEmpty()) {
        const QString bin = QFileInfo(exe).absolutePath();
        dirs << bin + QStringLiteral("/filter")
             << QDir::cleanPath(bin + '/' + QStringLiteral(TALDON_FILTER_DIR_FROM_BIN));
    }
    dirs << installedFilterDir();
    return dirs;
}

QString ContestTree::installedFilterDir()
{
    return qEnvironmentVariable("TALDON_FILTER_DIR", QStringLiteral(TALDON_FILTER_DIR));
}

QString ContestTree::firstFilterDir(const QStringList &dirs)
{
    for (const QString &dir : dirs) {
        if (!dir.isEmpty() && !QDir(dir).entryList(QDir::Files).isEmpty())
            return dir;
    }
    return QString();
}

bool ContestTree::copyFilters(const QString &from, const QString &to)
{
    // QDir of an empty path is the current directory, whose files are no filters.
    if (from.isEmpty())
        return true;
    const QFileInfoList files = QDir(from).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &src : files) {
        const QString target = to + '/' + src.fileName();
        // A filter copied into an earlier contest at this home is replaced, as cp would.
        if (QFileInfo::exists(target) && !QFile::remove(target))
            return false;
        if (!QFile::copy(src.filePath(), target) ||
            !QFile::setPermissions(target, src.permissions()))
            return false;
    }
    return true;
}
