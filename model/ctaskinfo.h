#ifndef TALDON_MODEL_CTASKINFO_H
#define TALDON_MODEL_CTASKINFO_H

#include "ccompilecmd.h"

#include <QString>
#include <QStringList>

enum _com_type { SOURCE = 0, ANSWERS = 1, INVALID = 2 };

// Names of the submit types in task files, indexed by _com_type.
extern const char *const typestring[3];

// The CHECKER= value of a task judged by a testlib-style checker.
extern const QString TestlibChecker;

// One task of a day: its name (the stem of its data files and of the compiled program), how
// players submit it, its limits, the marks of its test points, the comparison filter and the
// accepted languages. Stored in task<d>_<t>.info.
class CTaskInfo
{
public:
    CTaskInfo();
    explicit CTaskInfo(QString path);
    CTaskInfo(const CTaskInfo &other);
    ~CTaskInfo();
    CTaskInfo &operator=(const CTaskInfo &other);

    int getTaskindex() const { return taskindex; }
    void setTaskindex(int i) { taskindex = i; }
    QString getHome() const { return home; }
    void setHome(QString h) { home = h; }
    QString getTaskname() const { return taskname; }
    void setTaskname(QString n) { taskname = n; }
    QString getTitle() const { return title; }
    void setTitle(QString t) { title = t; }
    QString getRuncmd() const { return runcmd; }
    void setRuncmd(QString r) { runcmd = r; }
    QString getPlugname() const { return plugname; }
    void setPlugname(QString p) { plugname = p; }
    // How the program named by the plug name judges: empty for a filter of our own contract,
    // TestlibChecker for a testlib-style checker. Other values come from a newer Taldon and are
    // kept as they are.
    QString getChecker() const { return checker; }
    void setChecker(QString c) { checker = c; }
    bool hasTestlibChecker() const { return checker == TestlibChecker; }
    QString getAnsfilesuffix() const { return ansfilesuffix; }
    void setAnsfilesuffix(QString s) { ansfilesuffix = s; }
    QString getInfilesuffix() const { return infilesuffix; }
    void setInfilesuffix(QString s) { infilesuffix = s; }
    _com_type getCommitType() const { return committype; }
    void setCommitType(_com_type t) { committype = t; }
    float getTimelimit() const { return timelimit; }
    void setTimelimit(float l) { timelimit = l; }
    int getSamplenum() const { return samplenum; }
    void setSamplenum(int n) { samplenum = n; }
    int getMemlimit() const { return memlimit; }
    void setMemlimit(int mb) { memlimit = mb; }

    int getSampleMark(int n) const;
    void setSampleMark(int n, int mark);
    void setSampleMark(QString text);
    int getTotal() const;
    void resetInfo();

    int getCclnum() const { return cclnum; }
    CCompileCmd *getCclAll() { return ccls; }
    CCompileCmd *getCcl(int n);
    CCompileCmd *getCcl(QString lang);
    void setCcl(int n, const CCompileCmd *cmds);
    void addACcl(CCompileCmd *cmd);
    void delACcl(QString lang);
    void delACcl(CCompileCmd *cmd);

    // Notices of values the file holds but the task cannot take go to *notices when given.
    bool loadTaskInfo(QString path, QStringList *notices = nullptr);
    bool save(QString dir, int day, int task, QString *error = nullptr);

private:
    int taskindex = 0;
    QString home;
    QString taskname = QStringLiteral("Unknown");
    QString title;
    QString runcmd;
    QString plugname;
    QString checker;
    QString ansfilesuffix = QStringLiteral("ans");
    QString infilesuffix = QStringLiteral("in");
    _com_type committype = SOURCE;
    float timelimit = 1.0f;
    int samplenum = 10;
    int marks[100];
    int cclnum = 0;
    CCompileCmd *ccls = nullptr;
    int memlimit = 32;
};

#endif
