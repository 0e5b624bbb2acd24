#ifndef TALDON_MODEL_DAYDIRECTORIES_H
#define TALDON_MODEL_DAYDIRECTORIES_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The directories a contest keeps per day below its home: players/day<N> (submissions),
// result/day<N> (result files) and ps/day<N> (score reports). They go with their day: when
// days are deleted the later days' directories are renumbered, and a deleted day's become
// day<N>.deleted, which nothing ever removes.
class DayDirectories
{
public:
    // One rename, both paths relative to the home ("players/day3" to "players/day2").
    struct Move {
        QString from;
        QString to;
    };

    // players, result and ps.
    static QStringList folders();
    // Whether a directory of day number N holds a file, at any depth.
    static bool holdFiles(const QString &home, int number);
    // The renames that number the directories of the days whose directories are now numbered
    // `numbers` (in day order) 1, 2, 3 ..., after moving those of the numbers in `deleted`
    // aside. Only directories that exist are moved; a deleted day's directory gets the first
    // free name of day<N>.deleted, day<N>.deleted.2, ...
    static QList<Move> plan(const QString &home, const QVector<int> &numbers,
                            const QVector<int> &deleted);
    // Performs the renames in order. A rename that cannot be made (its target exists, or the
    // system refuses) undoes the ones made before it and returns false with *error naming the
    // directory and the reason.
    static bool apply(const QString &home, const QList<Move> &moves, QString *error);
    // Undoes renames made by apply, last first.
    static void undo(const QString &home, const QList<Move> &moves);
};

#endif
