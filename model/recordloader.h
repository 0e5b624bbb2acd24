#ifndef TALDON_MODEL_RECORDLOADER_H
#define TALDON_MODEL_RECORDLOADER_H

#include <QString>

// One row of a loader table: a key ending in '=' and the function that stores its value.
struct RecordLoader {
    const char *key;
    void (*load)(void *record, QString value);
};

// Reads the KEY=value file at path through a loader table of n rows. A line belongs to the
// first key of the table that occurs anywhere in it; its value is section(key, 1, 1),
// untrimmed. Returns false when the file cannot be opened.
bool readRecordFile(const QString &path, const RecordLoader *table, int n, void *record);

// Whether value can stand as the value of a KEY=value line: a line break would end it and
// start another record.
bool isRecordValue(const QString &value);

// Writes text to path so that the old file survives a failed write: the bytes go to a
// temporary file in the same directory, which then replaces the old one. On failure *error,
// when given, names the file and the reason.
bool writeRecordFile(const QString &path, const QString &text, QString *error = nullptr);

// The names of the player and team lists in the contest home, which setup.cfg refers to.
extern const QString PlayerFile;
extern const QString TeamFile;

// The record files of day d and of its task t in the contest home, both numbered from 1.
QString dayFile(const QString &home, int day);
QString taskFile(const QString &home, int day, int task);

// The directory that holds the file at path, without the '/' before the file name; a bare
// file name lies in the current directory, ".".
QString directoryOf(const QString &path);

#endif
