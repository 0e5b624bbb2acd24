#ifndef TALDON_TESTS_COMMON_TESTFILES_H
#define TALDON_TESTS_COMMON_TESTFILES_H

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPair>

// These write files, making the directories on the way.
inline bool writeFile(const QString &path, const QByteArray &bytes,
                      QIODevice::OpenMode mode = QIODevice::Truncate)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | mode) && f.write(bytes) == bytes.size();
}

inline bool appendFile(const QString &path, const QByteArray &bytes)
{
    return writeFile(path, bytes, QIODevice::Append);
}

// Writes the files below dir, (relative path, bytes) each; false when one cannot be written.
inline bool writeFiles(const QString &dir, const QList<QPair<QString, QByteArray>> &files)
{
    for (const auto &file : files)
        if (!writeFile(dir + '/' + file.first, file.second))
            return false;
    return true;
}

// A file that cannot be read reads "<unreadable>", never the same as an empty one.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

#endif
