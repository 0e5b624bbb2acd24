#include "cplayerinfo.h"

#include "recordloader.h"

#include <QFile>
#include <QTextStream>

namespace
{

// Reads the lines of a list file as (id, name) pairs split at sep: the id before the first
// separator, the name up to the second. Lines without an id are skipped.
template <typename Add> void readListFile(const QString &path, QChar sep, Add add)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QString id = line.section(sep, 0, 0);
        if (!id.isEmpty())
            add(id, line.section(sep, 1, 1));
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

void CPlayerInfo::loadPlayerInfo(QString path)
{
    readListFile(path, '@', [this](const QString &id, const QString &name) {
        players.append(PlayerInfo(id, name));
    });
}

void CPlayerInfo::loadTeamInfo(QString path)
{
    readListFile(path, '@', [this](const QString &id, const QString &name) {
        teams.append(TeamInfo(id, name));
    });
}

void CPlayerInfo::importPlayerInfo(QString path)
{
    readListFile(path, ',', [this](const QString &id, const QString &name) {
        players.append(PlayerInfo(id, name));
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
