#include "recordloader.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

bool readRecordFile(const QString &path, const RecordLoader *table, int n, void *record)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        // readLine drops both LF and CR LF line ends.
        const QString line = in.readLine();
        for (int i = 0; i < n; ++i) {
            const QString key = QString::fromLatin1(table[i].key);
            if (line.contains(key)) {
                table[i].load(record, line.section(key, 1, 1));
                break;
            }
        }
    }
    return true;
}

bool isRecordValue(const QString &value)
{
    return !value.contains('\n') && !value.contains('\r');
}

bool writeRecordFile(const QString &path, const QString &text, QString *error)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (!written)
        file.cancelWriting();
    written = written && file.commit();
    if (!written && error)
        *error = path + QStringLiteral(": ") + file.errorString();
    return written;
}

const QString PlayerFile = QStringLiteral("player.info");
const QString TeamFile = QStringLiteral("team.info");

QString dayFile(const QString &home, int day)
{
    return home + QStringLiteral("/day%1.info").arg(day);
}

QString taskFile(const QString &home, int day, int task)
{
    return home + QStringLiteral("/task%1_%2.info").arg(day).arg(task);
}

QString directoryOf(const QString &path)
{
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QStringLiteral(".") : path.left(slash);
}
