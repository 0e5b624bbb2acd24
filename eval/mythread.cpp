#include "mythread.h"

#include "cdayinfo.h"
#include "evallist.h"
#include "fileops.h"
#include "runctrl.h"
#include "sandbox.h"
#include "taskeval.h"
#include "testpoint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool makeDir(const QByteArray &path)
{
    if (mkdir(path.constData(), 0755) == 0 || errno == EEXIST)
        return true;
    fprintf(stderr, "cannot create %s: %s\n", path.constData(), strerror(errno));
    return false;
}

// `text` filled with the path and the reason of the system call that just failed.
QString systemFailure(const QString &text, const QByteArray &path)
{
    const QString reason = QString::fromLocal8Bit(strerror(errno));
    return text.arg(QString::fromUtf8(path), reason);
}

} // namespace

MyThread::MyThread(CDayInfo *day, int dayNumber, int taskIndex)
    : day(day), dayNumber(dayNumber), taskIndex(taskIndex)
{
}

void MyThread::setRequireSandbox(bool require)
{
    requireSandbox = require;
}

void MyThread::run()
{
    Sandbox sandbox;
    QTemporaryDir filters(QDir::tempPath() + QStringLiteral("/taldon-filters-XXXXXX"));
    if (taskIndex < -1 || (day && taskIndex >= day->getTaskNum())) {
        failure = QStringLiteral("指定的试题不存在");
    } else if (!filters.isValid()) {
        failure = QStringLiteral("无法创建评测用的临时目录: %1").arg(filters.errorString());
    } else if (gotoDir() && enterSandbox(&sandbox)) {
        setFilterDir(QFile::encodeName(filters.path()));
        for (const _evaldata &e : evallist) {
            fflush(stdout);
            emit startEvalPlayer(e.row);
            bool success = true;
            evalPlayer(e.id, e.row, &success);
            emit endEvalPlayer(e.row, success);
        }
        emptyDirectory(".");
        leaveSandbox(&sandbox);
        setFilterDir(QByteArray());
        return;
    }
    fprintf(stderr, "%s\n", failure.toUtf8().constData());
    emit evalFailed(failure);
}

bool MyThread::enterSandbox(Sandbox *sandbox)
{
    QString reason;
    if (!sandbox->start(&reason)) {
        if (requireSandbox) {
            failure = QStringLiteral("完整的评测沙箱不可用, 评测已拒绝: %1").arg(reason);
            return false;
        }
        // Said once per process: every evaluation after the first would only repeat it.
        static bool told = false;
        if (!told)
            fprintf(stderr,
                    "sandbox unavailable (%s): submissions run with the plain protections\n",
                    reason.toUtf8().constData());
        told = true;
        return true;
    }
    const QByteArray box = sandbox->workDir();
    if (chdir(box.constData()) != 0) {
        failure = systemFailure(QStringLiteral("无法进入评测沙箱 %1: %2"), box);
        return false;
    }
    Sandbox::setActive(sandbox);
    return true;
}

void MyThread::leaveSandbox(Sandbox *sandbox)
{
    if (!sandbox->isStarted())
        return;
    Sandbox::setActive(nullptr);
    // The box is freed only once no process has it as its working directory.
    const QByteArray dir = day->getHome().toUtf8() + "/tmp";
    if (chdir(dir.constData()) != 0)
        perror("leaving the sandbox");
    sandbox->stop();
}

bool MyThread::gotoDir()
{
    if (!day || day->getHome().isEmpty()) {
        failure = QStringLiteral("比赛目录未设置, 无法评测");
        return false;
    }
    const QByteArray dir = day->getHome().toUtf8() + "/tmp";
    if (chdir(dir.constData()) != 0) {
        failure = systemFailure(QStringLiteral("无法进入工作目录 %1: %2"), dir);
        return false;
    }
    // A root judge runs submissions as an unprivileged user, who must be able to create its
    // output here; the sticky bit keeps it from replacing the judge's own files.
    if (geteuid() == 0 && (chown(".", uid_t(-1), kSubmissionGid) != 0 || chmod(".", 01770) != 0)) {
        failure = systemFailure(QStringLiteral("无法设置工作目录 %1 的权限: %2"), dir);
        return false;
    }
    emptyDirectory(".");
    return true;
}

void MyThread::evalPlayer(QString id, int r, bool *success)
{
    const QByteArray pid = id.toUtf8();
    QByteArray resultFile;
    if (pid.isEmpty() || pid == "." || pid == ".." || pid.contains('/') ||
        !prepareResultDir(pid, &resultFile)) {
        fprintf(stderr, "player %s cannot be evaluated\n", pid.constData());
        *success = false;
        return;
    }
    const int first = taskIndex == -1 ? 0 : taskIndex;
    const int last = taskIndex == -1 ? day->getTaskNum() - 1 : taskIndex;
    for (int index = first; index <= last; ++index) {
        bool opened = false;
        const bool ok = evalTask(index, pid, r, resultFile, &opened);
        // A result file that cannot be opened will not open for the next task either.
        *success = *success && ok;
        if (!opened)
            return;
    }
}

bool MyThread::prepareResultDir(const QByteArray &id, QByteArray *resultFile)
{
    const QByteArray results = day->getHome().toUtf8() + "/result";
    const QByteArray dayDir = results + "/day" + QByteArray::number(dayNumber);
    *resultFile = dayDir + '/' + id + '/' + id + ".result";
    if (resultFile->size() > PATH_MAX_BYTES) {
        fprintf(stderr, "path %s is longer than %d bytes\n", resultFile->constData(),
                PATH_MAX_BYTES);
        return false;
    }
    return makeDir(results) && makeDir(dayDir) && makeDir(dayDir + '/' + id);
}

bool MyThread::evalTask(int index, const QByteArray &id, int r, const QByteArray &resultFile,
                        bool *opened)
{
    CTaskInfo *task = day->getTaskInfo(index);
    FILE *result = fopen(resultFile.constData(), "a+e");
    *opened = result != nullptr;
    if (!result) {
        fprintf(stderr, "can't open %s ", resultFile.constData());
        return false;
    }
    emptyDirectory(".");
    const int written = evalSubmission(task, id, result);
    fflush(stdout);
    fclose(result);
    if (written >= 0)
        emit evalOneTaskComplete(QString::fromUtf8(id), r, index, written == 1);
    return written == 1 || written == -1;
}

int MyThread::evalSubmission(CTaskInfo *task, const QByteArray &id, FILE *result)
{
    const _com_type type = task->getCommitType();
    if (type != SOURCE && type != ANSWERS)
        return -1;
    // Checked before the copy, which would take a bad task name for a path below the player's
    // directory; a refused task is then not evaluated, so the refusal is reported once.
    if (!checkTask(task))
        return 0;
    copyTree(day->getHome().toUtf8() + "/players/day" + QByteArray::number(dayNumber) + '/' + id +
                 '/' + task->getTaskname().toUtf8(),
             ".");
    int total = 0;
    return type == SOURCE ? evalSourceCode(result, task, &total)
                          : evalResultFile(result, task, &total);
}
