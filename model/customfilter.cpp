#include "customfilter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

bool readAll(const QString &path, QByteArray *contents)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *contents = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool writeFilter(const QString &target, const QByteArray &contents,
                 QFileDevice::Permissions permissions)
{
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size() || !out.commit())
        return false;
    return QFile::setPermissions(target, permissions);
}

} // namespace

FilterPlacement placeCustomFilter(const QString &home, const QString &path, bool replace,
                                  const QString &name)
{
    const QFileInfo source(path);
    const QString dir = home + QStringLiteral("/filter");
    const QFileInfo target(dir + QLatin1Char('/') + (name.isEmpty() ? source.fileName() : name));
    if (target.exists() && target.canonicalFilePath() == source.canonicalFilePath())
        return FilterPlacement::InPlace;
    QByteArray contents;
    if (!source.isFile() || !readAll(path, &contents))
        return FilterPlacement::Failed;
    if (target.exists() && !replace) {
        QByteArray present;
        if (readAll(target.filePath(), &present) && present == contents)
            return FilterPlacement::InPlace;
        return FilterPlacement::NameTaken;
    }
    if (!QDir().mkpath(dir) || !writeFilter(target.filePath(), contents, source.permissions()))
        return FilterPlacement::Failed;
    return FilterPlacement::Copied;
}
