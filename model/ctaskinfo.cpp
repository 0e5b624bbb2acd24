#include "ctaskinfo.h"

#include "globals.h"
#include "ownedarray.h"
#include "recordloader.h"

#include <QTextStream>
#include <QVector>
#include <algorithm>
#include <iterator>

const char *const typestring[3] = {"SOURCE", "ANSWERS", "INVALID"};
const QString TestlibChecker = QStringLiteral("testlib");

namespace
{

const int MaxMemLimit = 2048;
const int MarkCount = 100;
const int DefaultMark = 10;
// Test point n has mark n, and element 0 is not used: a task has at most 99 points.
const int MaxSamples = MarkCount - 1;

// What one task file is read into: the task, and the compile commands gathered from its CCL=
// lines, which replace the task's own only when the whole file has been read.
struct TaskReading {
    CTaskInfo *task;
    QVector<CCompileCmd> ccls;
    QString path;
    QStringList *notices;
};

CTaskInfo *taskOf(void *r)
{
    return static_cast<TaskReading *>(r)->task;
}

void loadTitle(void *r, QString v)
{
    taskOf(r)->setTitle(v);
}

void loadName(void *r, QString v)
{
    taskOf(r)->setTaskname(v);
}

void loadRuncmd(void *r, QString v)
{
    taskOf(r)->setRuncmd(v);
}

void loadInfilesuffix(void *r, QString v)
{
    taskOf(r)->setInfilesuffix(v);
}

void loadAnsfilesuffix(void *r, QString v)
{
    taskOf(r)->setAnsfilesuffix(v);
}

void loadPlugname(void *r, QString v)
{
    taskOf(r)->setPlugname(v);
}

void loadChecker(void *r, QString v)
{
    taskOf(r)->setChecker(v);
}

void loadCommit(void *r, QString v)
{
    _com_type type = INVALID;
    if (v == QLatin1String(typestring[SOURCE]))
        type = SOURCE;
    else if (v == QLatin1String(typestring[ANSWERS]))
        type = ANSWERS;
    taskOf(r)->setCommitType(type);
}

void loadTimeLimit(void *r, QString v)
{
    taskOf(r)->setTimelimit(v.toFloat());
}

// A count beyond the marks a task holds would have every reader loop over points that cannot
// exist (and allocate for them); it is cut to the bound and said.
void loadSamplenum(void *r, QString v)
{
    auto *reading = static_cast<TaskReading *>(r);
    int count = v.toInt();
    if (count > MaxSamples) {
        if (reading->notices)
            *reading->notices << QStringLiteral("%1: SAMPLES=%2 超过 %3 个测试点的上限, 按 %3 读入")
                                     .arg(reading->path, v)
                                     .arg(MaxSamples);
        count = MaxSamples;
    }
    reading->task->setSamplenum(count);
}

void loadCompilecmd(void *r, QString v)
{
    const QString lang = v.section('@', 0, 0);
    const QString cmd = v.section('@', 1, 1);
    if (lang.isEmpty() || cmd.isEmpty())
        return;
    static_cast<TaskReading *>(r)->ccls.append(CCompileCmd(lang, cmd));
}

void loadSampleMark(void *r, QString v)
{
    taskOf(r)->setSampleMark(v);
}

void loadMemLimit(void *r, QString v)
{
    taskOf(r)->setMemlimit(std::min(v.toInt(), MaxMemLimit));
}

const RecordLoader TaskLoaders[] = {
    {"TITLE=", loadTitle},
    {"NAME=", loadName},
    {"RUN=", loadRuncmd},
    {"INFILESUFFIX=", loadInfilesuffix},
    {"ANSFILESUFFIX=", loadAnsfilesuffix},
    {"PLUG=", loadPlugname},
    {"TYPE=", loadCommit},
    {"LIMIT=", loadTimeLimit},
    {"SAMPLES=", loadSamplenum},
    {"CCL=", loadCompilecmd},
    {"MARK=", loadSampleMark},
    {"MEMLIMITS=", loadMemLimit},
    {"CHECKER=", loadChecker},
};

auto forLanguage(const QString &lang)
{
    return [lang](const CCompileCmd &cmd) { return cmd.getLang() == lang; };
}

QLatin1String typeName(_com_type type)
{
    return QLatin1String(typestring[type == SOURCE || type == ANSWERS ? type : INVALID]);
}

} // namespace

CTaskInfo::CTaskInfo()
{
    std::fill(marks, marks + MarkCount, DefaultMark);
    const CCompileCmd defaults[] = {CCompileCmd(QStringLiteral("c"), C_CL),
                                    CCompileCmd(QStringLiteral("cpp"), CPLUS_CL),
                                    CCompileCmd(QStringLiteral("pas"), PAS_CL)};
    setCcl(3, defaults);
}

CTaskInfo::CTaskInfo(QString path)
{
    std::fill(marks, marks + MarkCount, DefaultMark);
    loadTaskInfo(path);
}

CTaskInfo::CTaskInfo(const CTaskInfo &other)
{
    *this = other;
}

CTaskInfo::~CTaskInfo()
{
    delete[] ccls;
}

CTaskInfo &CTaskInfo::operator=(const CTaskInfo &other)
{
    if (this == &other)
        return *this;
    home = other.home;
    taskname = other.taskname;
    title = other.title;
    ansfilesuffix = other.ansfilesuffix;
    infilesuffix = other.infilesuffix;
    runcmd = other.runcmd;
    plugname = other.plugname;
    checker = other.checker;
    committype = other.committype;
    timelimit = other.timelimit;
    memlimit = other.memlimit;
    samplenum = other.samplenum;
    std::copy(other.marks, other.marks + MarkCount, marks);
    setCcl(other.cclnum, other.ccls);
    return *this;
}

int CTaskInfo::getSampleMark(int n) const
{
    return n >= 0 && n < MarkCount ? marks[n] : DefaultMark;
}

void CTaskInfo::setSampleMark(int n, int mark)
{
    if (mark < 0 || n < 0 || n >= MarkCount)
        return;
    marks[n] = mark;
}

void CTaskInfo::setSampleMark(QString text)
{
    if (!text.contains('@'))
        return;
    bool pointOk = false;
    bool markOk = false;
    const int point = text.section('@', 0, 0).toInt(&pointOk);
    const int mark = text.section('@', -1, -1).toInt(&markOk);
    if (pointOk && markOk && point >= 1 && point < MarkCount)
        setSampleMark(point, mark);
}

int CTaskInfo::getTotal() const
{
    int total = 0;
    for (int n = 1; n <= samplenum; ++n)
        total += getSampleMark(n);
    return total;
}

void CTaskInfo::resetInfo()
{
    plugname.clear();
    checker.clear();
    samplenum = 10;
    committype = SOURCE;
    timelimit = 1.0f;
    memlimit = 32;
    std::fill(marks, marks + MarkCount, DefaultMark);
    setCcl(0, nullptr);
}

CCompileCmd *CTaskInfo::getCcl(int n)
{
    // Compile commands are counted from 1.
    return ownedArrayAt(ccls, cclnum, n - 1);
}

CCompileCmd *CTaskInfo::getCcl(QString lang)
{
    return findInOwnedArray(ccls, cclnum, forLanguage(lang));
}

void CTaskInfo::setCcl(int n, const CCompileCmd *cmds)
{
    replaceOwnedArray(ccls, cclnum, n, cmds);
}

void CTaskInfo::addACcl(CCompileCmd *cmd)
{
    if (!cmd || cmd->getLang().isEmpty() || cmd->getCmd().isEmpty() || getCcl(cmd->getLang()))
        return;
    appendToOwnedArray(ccls, cclnum, *cmd);
    delete cmd;
}

void CTaskInfo::delACcl(QString lang)
{
    if (!lang.isEmpty())
        removeFirstFromOwnedArray(ccls, cclnum, forLanguage(lang));
}

void CTaskInfo::delACcl(CCompileCmd *cmd)
{
    if (!cmd || cmd->getLang().isEmpty() || cmd->getCmd().isEmpty())
        return;
    delACcl(cmd->getLang());
}

bool CTaskInfo::loadTaskInfo(QString path, QStringList *notices)
{
    home = directoryOf(path);
    TaskReading reading{this, {}, path, notices};
    if (!readRecordFile(path, TaskLoaders, std::size(TaskLoaders), &reading))
        return false;
    setCcl(reading.ccls.size(), reading.ccls.constData());
    return true;
}

bool CTaskInfo::save(QString dir, int day, int task, QString *error)
{
    QString text;
    QTextStream out(&text);
    out << "TITLE=" << title << '\n'
        << "NAME=" << taskname << '\n'
        << "RUN=" << runcmd << '\n'
        << "INFILESUFFIX=" << infilesuffix << '\n'
        << "ANSFILESUFFIX=" << ansfilesuffix << '\n'
        << "PLUG=" << plugname << '\n';
    // Written only when set, so that the files of tasks judged by filters stay as they were.
    if (!checker.isEmpty())
        out << "CHECKER=" << checker << '\n';
    out << "TYPE=" << typeName(committype) << '\n'
        << "LIMIT=" << timelimit << '\n'
        << "MEMLIMITS=" << memlimit << '\n'
        << "SAMPLES=" << samplenum << '\n';
    for (int i = 0; i < cclnum; ++i)
        out << "CCL=" << ccls[i].getLang() << '@' << ccls[i].getCmd() << '\n';
    for (int n = 1; n <= std::min(samplenum, MarkCount - 1); ++n) {
        if (marks[n] != DefaultMark && marks[n] >= 0)
            out << "MARK=" << n << '@' << marks[n] << '\n';
    }
    out.flush();
    return writeRecordFile(taskFile(dir, day, task), text, error);
}
