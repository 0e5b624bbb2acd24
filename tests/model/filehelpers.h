#ifndef TALDON_TESTS_MODEL_FILEHELPERS_H
#define TALDON_TESTS_MODEL_FILEHELPERS_H

#include <QFile>
#include <QString>

// Writes bytes to path, replacing what was there; the record tests build their files by hand.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

#endif
