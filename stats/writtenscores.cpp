#include "writtenscores.h"

#include "csetupinfo.h"
#include "csvexport.h"
#include "mystat.h"

#include <QFile>

QString writtenScoresPath(const QString &home)
{
    return home + QStringLiteral("/written.txt");
}

bool installWrittenScores(const QString &home, const QString &source)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError && writeFileBytes(writtenScoresPath(home), bytes);
}

bool loadWrittenScores(MyStat *stat)
{
    for (PlayerStat &player : stat->players)
        player.setWritten(0);
    const QString path =
        stat->getSetup() ? writtenScoresPath(stat->getSetup()->getHome()) : QString();
    return !path.isEmpty() && QFile::exists(path) && stat->importWritten(path);
}
