#ifndef TALDON_STATS_WRITTENSCORES_H
#define TALDON_STATS_WRITTENSCORES_H

#include <QString>

class MyStat;

// The written-exam scores of a contest live in its home as written.txt, lines "<id>@<score>",
// a copy of the file the organiser imported. Whenever it is there the statistics read it, so
// the scores survive a reopen; the contest's other files do not refer to it.

// <home>/written.txt.
QString writtenScoresPath(const QString &home);

// Copies the file at source into the contest at home as written.txt, through a temporary file
// renamed into place, so that the old copy survives a failure. False when source cannot be read
// or written.txt cannot be written.
bool installWrittenScores(const QString &home, const QString &source);

// Sets every player's written score from the contest's written.txt, 0 for a player it does not
// name; everyone's is 0 when there is no such file. False when there is none or it cannot be
// read.
bool loadWrittenScores(MyStat *stat);

#endif
