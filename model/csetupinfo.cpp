#include "csetupinfo.h"

#include "ownedarray.h"
#include "recordloader.h"

#include <QTextStream>
#include <QVector>
#include <algorithm>
#include <iterator>

namespace
{

// Day numbers have two digits in file names; a larger count in a file is cut here rather
// than allocating whatever the file claims.
const int MaxDays = 99;

// What setup.cfg is read into: the setup, and the registry that its PLAYER= and TEAM= lines
// fill, which the setup copies once the whole file has been read.
struct SetupReading {
    CSetupInfo *setup;
    CPlayerInfo *tpplayerteam;
};

CPlayerInfo *pendingRegistry(SetupReading *reading)
{
    if (!reading->tpplayerteam)
        reading->tpplayerteam = new CPlayerInfo;
    return reading->tpplayerteam;
}

void loadName(void *r, QString v)
{
    static_cast<SetupReading *>(r)->setup->setContestName(v);
}

void loadDay(void *r, QString v)
{
    CSetupInfo *setup = static_cast<SetupReading *>(r)->setup;
    const int n = std::min(v.toInt(), MaxDays);
    if (n <= 0)
        return;
    QVector<CDayInfo> loaded(n);
    for (int d = 1; d <= n; ++d)
        loaded[d - 1].loadDayInfo(setup->getHome(), d);
    setup->setDayInfo(n, loaded.constData());
}

void loadPlayer(void *r, QString v)
{
    auto *reading = static_cast<SetupReading *>(r);
    pendingRegistry(reading)->loadPlayerInfo(reading->setup->getHome() + '/' + v);
}

void loadTeam(void *r, QString v)
{
    auto *reading = static_cast<SetupReading *>(r);
    pendingRegistry(reading)->loadTeamInfo(reading->setup->getHome() + '/' + v);
}

auto named(const QString &name)
{
    // getDayname() is not const, so neither is the day.
    return [name](CDayInfo &day) { return day.getDayname() == name; };
}

const RecordLoader setupinfoLoaders[] = {
    {"NAME=", loadName},
    {"DAYNUM=", loadDay},
    {"PLAYER=", loadPlayer},
    {"TEAM=", loadTeam},
};

} // namespace

CSetupInfo::CSetupInfo(QString path)
{
    loadSetupInfo(path);
}

CSetupInfo::CSetupInfo(const CSetupInfo &other)
{
    *this = other;
}

CSetupInfo::~CSetupInfo()
{
    delete[] days;
    delete playerinfo;
}

CSetupInfo &CSetupInfo::operator=(const CSetupInfo &other)
{
    if (this == &other)
        return *this;
    setupfile = other.setupfile;
    home = other.home;
    contestname = other.contestname;
    setDayInfo(other.daynum, other.days);
    setPlayerInfo(other.playerinfo);
    return *this;
}

CDayInfo *CSetupInfo::getDayInfo(int index)
{
    return ownedArrayAt(days, daynum, index);
}

CDayInfo *CSetupInfo::getDayInfo(QString name)
{
    return findInOwnedArray(days, daynum, named(name));
}

void CSetupInfo::setDayInfo(int n, const CDayInfo *list)
{
    replaceOwnedArray(days, daynum, n, list);
}

void CSetupInfo::addADay(CDayInfo *day)
{
    if (!day)
        return;
    day->setHome(home);
    appendToOwnedArray(days, daynum, *day);
    delete day;
}

void CSetupInfo::delADay(int index)
{
    removeFromOwnedArray(days, daynum, index);
}

void CSetupInfo::delADay(QString name)
{
    removeFirstFromOwnedArray(days, daynum, named(name));
}

void CSetupInfo::setPlayerInfo(const CPlayerInfo *p)
{
    if (p == playerinfo)
        return;
    delete playerinfo;
    playerinfo = p ? new CPlayerInfo(*p) : nullptr;
}

bool CSetupInfo::loadSetupInfo(QString path)
{
    setupfile = path;
    home = directoryOf(path);
    SetupReading reading{this, nullptr};
    const bool opened =
        readRecordFile(path, setupinfoLoaders, std::size(setupinfoLoaders), &reading);
    if (reading.tpplayerteam) {
        setPlayerInfo(reading.tpplayerteam);
        delete reading.tpplayerteam;
    }
    return opened;
}

bool CSetupInfo::saveSetupInfo(QString dir)
{
    home = dir;
    QString text;
    QTextStream out(&text);
    out << "NAME=" << contestname << '\n'
        << "DAYNUM=" << daynum << '\n'
        << "PLAYER=" << PlayerFile << '\n'
        << "TEAM=" << TeamFile << '\n';
    out.flush();
    if (!writeRecordFile(dir + QStringLiteral("/setup.cfg"), text))
        return false;
    for (int d = 1; d <= daynum; ++d) {
        if (!days[d - 1].saveDayInfo(dir, d))
            return false;
    }
    return playerinfo ? playerinfo->save(dir) : true;
}

bool CSetupInfo::saveSetupInfo()
{
    return saveSetupInfo(home);
}
