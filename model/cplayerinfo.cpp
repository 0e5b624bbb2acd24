#include "cplayerinfo.h"

#include "recordloader.h"
#include "textdecoder.h"

#include <QFile>
#include <QFileInfo>

namespace
{

// The lines of a list file, without their LF or CR LF ends and without a byte order mark.
QStringList listLines(const QString &path, QStringList *notices)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool legacy = false;
    QString text = TextDecoder::decode(file.readAll(), &legacy);
    if (legacy && notices)
        *notices << QStringLiteral("%1 不是 UTF-8 编码, 已按 GB18030 (GBK) 读入; 保存时将写成 "
                                   "UTF-8。")
                        .arg(QFileInfo(path).fileName());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// Reads the lines of a list file as (id, name, line number) split at sep: the id before the
// first separator, the name up to the second. Lines without an id are skipped.
template <typename Add>
void readListFile(const QString &path, QChar sep, QStringList *notices, Add add)
{
    const QStringList lines = listLines(path, notices);
    for (int i = 0; i < lines.size(); ++i) {
        const QString id = lines.at(i).section(sep, 0, 0);
        if (!id.isEmpty())
            add(id, lines.at(i).section(sep, 1, 1), i + 1);
    }
}

template <typename Entry> QString listText(const QList<Entry> &entries, QChar sep)
{
    QString text;
    for (const Entry &e : entries)
        text += e.id + sep + e.name + '\n';
    return text;
}

template <typename Entry>
Entry *findFirst(QList<Entry> &list, const QString &text, QString Entry::*field)
{
    for (Entry &e : list) {
        if (e.*field == text)
            return &e;
    }
    return nullptr;
}

template <typename Entry>
void removeFirst(QList<Entry> &list, const QString &text, QString Entry::*field)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).*field == text) {
            list.removeAt(i);
            return;
        }
    }
}

} // namespace

PlayerInfo *CPlayerInfo::getPlayerInfoById(QString id)
{
    return findFirst(players, id, &PlayerInfo::id);
}

PlayerInfo *CPlayerInfo::getPlayerInfoByName(QString name)
{
    return findFirst(players, name, &PlayerInfo::name);
}

TeamInfo *CPlayerInfo::getTeamInfoById(QString id)
{
    return findFirst(teams, id, &TeamInfo::id);
}

TeamInfo *CPlayerInfo::getTeamInfoByName(QString name)
{
    return findFirst(teams, name, &TeamInfo::name);
}

void CPlayerInfo::delPlayerInfoById(QString id)
{
    removeFirst(players, id, &PlayerInfo::id);
}

void CPlayerInfo::delPlayerInfoByName(QString name)
{
    removeFirst(players, name, &PlayerInfo::name);
}

void CPlayerInfo::delTeamInfoById(QString id)
{
    removeFirst(teams, id, &TeamInfo::id);
}

void CPlayerInfo::delTeamInfoByName(QString name)
{
    removeFirst(teams, name, &TeamInfo::name);
}

void CPlayerInfo::loadPlayerInfo(QString path, QStringList *notices)
{
    readListFile(path, '@', notices, [this](const QString &id, const QString &name, int) {
        players.append(PlayerInfo(id, name));
    });
}

void CPlayerInfo::loadTeamInfo(QString path, QStringList *notices)
{
    readListFile(path, '@', notices, [this](const QString &id, const QString &name, int) {
        teams.append(TeamInfo(id, name));
    });
}

void CPlayerInfo::importPlayerInfo(QString path, QStringList *notices)
{
    readListFile(
        path, ',', notices, [this, notices](const QString &id, const QString &name, int line) {
            QString problem = PlayerInfo::idProblem(id);
            if (problem.isEmpty())
                problem = PlayerInfo::nameProblem(name);
            if (problem.isEmpty())
                players.append(PlayerInfo(id, name));
            else if (notices)
                *notices << QStringLiteral("第 %1 行没有导入: %2 (%3)").arg(line).arg(problem, id);
        });
}

bool CPlayerInfo::save(QString dir, QString *error)
{
    return writeRecordFile(dir + '/' + TeamFile, listText(teams, '@'), error) &&
           writeRecordFile(dir + '/' + PlayerFile, listText(players, '@'), error);
}

bool CPlayerInfo::exportPlayerInfo(QString path)
{
    return writeRecordFile(path, listText(players, ','));
}
