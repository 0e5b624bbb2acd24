#include "daydirectories.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

QString dayDir(const QString &folder, int number)
{
    return folder + QStringLiteral("/day%1").arg(number);
}

bool exists(const QString &home, const QString &relative)
{
    return QFileInfo::exists(home + '/' + relative) || QFileInfo(home + '/' + relative).isSymLink();
}

// The first name for a deleted day's directory that neither exists nor is taken by this plan.
QString deletedName(const QString &home, const QString &dir, const QSet<QString> &taken)
{
    QString name = dir + QStringLiteral(".deleted");
    for (int n = 2; exists(home, name) || taken.contains(name); ++n)
        name = dir + QStringLiteral(".deleted.%1").arg(n);
    return name;
}

bool rename(const QString &home, const QString &from, const QString &to, QString *reason)
{
    if (exists(home, to)) {
        *reason = QStringLiteral("目标已存在");
        return false;
    }
    const QByteArray source = QFile::encodeName(home + '/' + from);
    const QByteArray target = QFile::encodeName(home + '/' + to);
    if (::rename(source.constData(), target.constData()) == 0)
        return true;
    *reason = QString::fromLocal8Bit(strerror(errno));
    return false;
}

} // namespace

QStringList DayDirectories::folders()
{
    return {QStringLiteral("players"), QStringLiteral("result"), QStringLiteral("ps")};
}

bool DayDirectories::holdFiles(const QString &home, int number)
{
    for (const QString &folder : folders()) {
        QDirIterator it(home + '/' + dayDir(folder, number), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        if (it.hasNext())
            return true;
    }
    return false;
}

QList<DayDirectories::Move> DayDirectories::plan(const QString &home, const QVector<int> &numbers,
                                                 const QVector<int> &deleted)
{
    QList<Move> moves;
    QSet<QString> taken;
    for (const QString &folder : folders()) {
        for (int number : deleted) {
            const QString dir = dayDir(folder, number);
            if (!exists(home, dir))
                continue;
            const QString aside = deletedName(home, dir, taken);
            taken.insert(aside);
            moves.append({dir, aside});
        }
        // Days only move to lower numbers, whose directories have gone aside or moved down
        // already when the days are taken in order.
        for (int i = 0; i < numbers.size(); ++i) {
            const QString dir = dayDir(folder, numbers.at(i));
            if (numbers.at(i) != i + 1 && exists(home, dir))
                moves.append({dir, dayDir(folder, i + 1)});
        }
    }
    return moves;
}

bool DayDirectories::apply(const QString &home, const QList<Move> &moves, QString *error)
{
    for (int i = 0; i < moves.size(); ++i) {
        QString reason;
        if (!rename(home, moves.at(i).from, moves.at(i).to, &reason)) {
            *error = QStringLiteral("%1/%2 → %3: %4")
                         .arg(home, moves.at(i).from, moves.at(i).to, reason);
            undo(home, moves.mid(0, i));
            return false;
        }
    }
    return true;
}

void DayDirectories::undo(const QString &home, const QList<Move> &moves)
{
    for (int i = moves.size() - 1; i >= 0; --i) {
        QString reason;
        if (!rename(home, moves.at(i).to, moves.at(i).from, &reason))
            fprintf(stderr, "cannot move %s back: %s\n", qPrintable(moves.at(i).to),
                    qPrintable(reason));
    }
}
