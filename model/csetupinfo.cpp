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
    QStringList *notices;
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
    auto *reading = static_cast<SetupReading *>(r);
    CSetupInfo *setup = reading->setup;
    const int n = std::min(v.toInt(), MaxDays);
    if (n <= 0)
        return;
    QVector<CDayInfo> loaded(n);
    for (int d = 1; d <= n; ++d) {
        loaded[d - 1].loadDayInfo(setup->getHome(), d, reading->notices);
        loaded[d - 1].setDirNumber(d);
    }
    setup->setDayInfo(n, loaded.constData());
}

void loadPlayer(void *r, QString v)
{
    auto *reading = static_cast<SetupReading *>(r);
    pendingRegistry(reading)->loadPlayerInfo(reading->setup->getHome() + '/' + v, reading->notices);
}

void loadTeam(void *r, QString v)
{
    auto *reading = static_cast<SetupReading *>(r);
    pendingRegistry(reading)->loadTeamInfo(reading->setup->getHome() + '/' + v, reading->notices);
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
    deleteddirs = other.deleteddirs;
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
    numberNewDays();
}

// A day without directory number takes its place's, or, while a deleted day's directories
// have not been moved yet, a number beyond every number in use.
void CSetupInfo::numberNewDays()
{
    int next = 1;
    for (int n : deleteddirs)
        next = std::max(next, n + 1);
    for (int i = 0; i < daynum; ++i) {
        if (days[i].getDirNumber() <= 0)
            days[i].setDirNumber(std::max(next, i + 1));
        next = std::max(next, days[i].getDirNumber() + 1);
    }
}

QVector<int> CSetupInfo::dirNumbers() const
{
    QVector<int> numbers;
    for (int i = 0; i < daynum; ++i)
        numbers.append(days[i].getDirNumber());
    return numbers;
}

void CSetupInfo::addADay(CDayInfo *day)
{
    if (!day)
        return;
    day->setHome(home);
    day->setDirNumber(0);
    appendToOwnedArray(days, daynum, *day);
    numberNewDays();
    delete day;
}

void CSetupInfo::delADay(int index)
{
    const CDayInfo *day = getDayInfo(index);
    if (!day)
        return;
    deleteddirs.append(day->getDirNumber());
    removeFromOwnedArray(days, daynum, index);
}

void CSetupInfo::delADay(QString name)
{
    const CDayInfo *day = getDayInfo(name);
    if (day)
        delADay(static_cast<int>(day - days));
}

QList<DayDirectories::Move> CSetupInfo::movesIfDeleted(int index)
{
    const QVector<int> numbers = dirNumbers();
    if (index < 0 || index >= numbers.size())
        return {};
    return DayDirectories::plan(home, numbers.mid(0, index) + numbers.mid(index + 1),
                                deleteddirs + QVector<int>{numbers.at(index)});
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
    deleteddirs.clear();
    loadnotices.clear();
    setupfile = path;
    home = directoryOf(path);
    SetupReading reading{this, nullptr, &loadnotices};
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
    saveerror.clear();
    const QList<DayDirectories::Move> moves = DayDirectories::plan(dir, dirNumbers(), deleteddirs);
    if (!DayDirectories::apply(dir, moves, &saveerror))
        return false;
    QString text;
    QTextStream out(&text);
    out << "NAME=" << contestname << '\n'
        << "DAYNUM=" << daynum << '\n'
        << "PLAYER=" << PlayerFile << '\n'
        << "TEAM=" << TeamFile << '\n';
    out.flush();
    // Directories renamed for a setup.cfg that cannot be written would no longer match the
    // one on disk.
    if (!writeRecordFile(dir + QStringLiteral("/setup.cfg"), text, &saveerror)) {
        DayDirectories::undo(dir, moves);
        return false;
    }
    deleteddirs.clear();
    for (int d = 1; d <= daynum; ++d)
        days[d - 1].setDirNumber(d);
    for (int d = 1; d <= daynum; ++d) {
        if (!days[d - 1].saveDayInfo(dir, d, &saveerror))
            return false;
    }
    return playerinfo ? playerinfo->save(dir, &saveerror) : true;
}

bool CSetupInfo::saveSetupInfo()
{
    return saveSetupInfo(home);
}
