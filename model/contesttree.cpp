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

QString ContestTree::stockFilterDir()
{
    return QString::fromUtf8(g_directory) + QStringLiteral("filter");
}

bool ContestTree::copyFilters(const QString &from, const QString &to)
{
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
