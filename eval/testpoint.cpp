#include "testpoint.h"

#include "checkerverdict.h"
#include "ctaskinfo.h"
#include "fileops.h"
#include "runctrl.h"
#include "waitdeadline.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// The filter's standard output of the last test point, caught in memory: no path that another
// user could plant, block or read.
int g_capture = -1;
QByteArray g_filterDir;
int g_filterSeconds = FILTER_TIME_LIMIT;

int newCapture()
{
    if (g_capture >= 0)
        close(g_capture);
    g_capture = memfd_create("taldon-score", MFD_CLOEXEC);
    return g_capture;
}

// What the judge's copy of the input looked like: a run that replaced or rewrote it is given
// a fresh copy before the filter reads it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};
};

bool identify(const QByteArray &path, FileIdentity *id)
{
    struct stat st;
    if (lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    *id = {st.st_dev, st.st_ino, st.st_ctim};
    return true;
}

bool sameFile(const FileIdentity &a, const FileIdentity &b)
{
    return a.device == b.device && a.inode == b.inode && a.changed.tv_sec == b.changed.tv_sec &&
           a.changed.tv_nsec == b.changed.tv_nsec;
}

void setMessage(char *msg, const char *text)
{
    snprintf(msg, MESSAGE_SIZE, "%s", text);
}

// Cuts a UTF-8 text to fit the message buffer without splitting a character.
void copyMessage(char *msg, const char *text)
{
    size_t n = strlen(text);
    if (n >= size_t(MESSAGE_SIZE)) {
        n = MESSAGE_SIZE - 1;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    memcpy(msg, text, n);
    msg[n] = '\0';
}

// A missing input is this point's fault, not the end of the evaluation.
int missingInput(const QByteArray &input, const QByteArray &shortName, int *score, char *msg)
{
    fprintf(stderr, "cannot find %s\n", input.constData());
    fprintf(stderr, "ensure the file is in correct position, then restart the system\n");
    fprintf(stderr, "评测无法正常进行,请确认文件已放在指定位置以后,重启评测系统\n");
    snprintf(msg, MESSAGE_SIZE, "Can not find input file %s.", shortName.constData());
    *score = 0;
    return POINT_NOT_STARTED;
}

// Copies the input beside the program, runs it and leaves its output for the filter.
int runSource(CTaskInfo *task, const Language &language, const QByteArray &input,
              const QByteArray &inputName, int *score, float *usedtime, char *msg)
{
    const QByteArray name = task->getTaskname().toUtf8();
    const QByteArray copy = name + ".in";
    FileIdentity before, after;
    if (access(input.constData(), R_OK) != 0 || !copyFile(input, copy, 0444) ||
        !identify(copy, &before))
        return missingInput(input, inputName, score, msg);
    const int code = runPlanUnderCtrl(language.runPlan(name, task->getMemlimit()),
                                      task->getTimelimit(), usedtime, msg, score);
    if (code != 0)
        return code;
    // The output was written by the submission: a link, a FIFO or a device there could make
    // the filter, which runs with the judge's rights, read some other file or block for ever.
    struct stat st;
    const QByteArray output = name + ".out";
    if (lstat(output.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        removeEntry(output);
    if ((!identify(copy, &after) || !sameFile(before, after)) && !copyFile(input, copy, 0444))
        return missingInput(input, inputName, score, msg);
    return 0;
}

// Runs a filter or checker with its standard output on `out` and, unless `err` is -1, its
// standard error on `err`, under the filters' wall-clock bound.
int runJudgingProgram(char *const argv[], int out, int err)
{
    fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        perror("cannot start the filter");
        return -1;
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the judge has other threads. A
        // group of its own, so that a filter that overruns its bound goes with its children.
        if (setpgid(0, 0) != 0 || dup2(out, 1) < 0 || (err >= 0 && dup2(err, 2) < 0))
            _exit(126);
        execv(argv[0], argv);
        static const char failed[] = "cannot run the filter\n";
        ssize_t ignored = write(2, failed, sizeof failed - 1);
        (void)ignored;
        _exit(127);
    }
    int status = 0;
    if (!waitWithDeadline(pid, g_filterSeconds, &status)) {
        fprintf(stderr, "filter %s still running after %d s, killed\n", argv[0], g_filterSeconds);
        killAndReapGroup(pid);
        return FILTER_TIMED_OUT;
    }
    return status;
}

// A checker's failure is the evaluation's, not the player's: its point is written as not
// judged, which marks the task as a failed evaluation.
int judgeWithChecker(char *const argv[], int *score, char *msg)
{
    QByteArray errors;
    const int status = callchecker(argv, &errors);
    const CheckerVerdict verdict = CheckerVerdict::judge(errors, status);
    if (verdict.failed)
        fprintf(stderr, "checker %s: %s\n", argv[0], verdict.message.constData());
    copyMessage(msg, verdict.message.constData());
    *score = verdict.score;
    return verdict.failed ? POINT_NOT_STARTED : POINT_JUDGED;
}

} // namespace

QByteArray evaldataFile(const QByteArray &home, const QByteArray &name, int point,
                        const char *suffix)
{
    return home + "/evaldata/" + name + QByteArray::number(point) + suffix;
}

QByteArray filterFile(const QByteArray &home, const QByteArray &plug)
{
    return home + "/filter/" + plug;
}

QByteArray filterRunPath(const QByteArray &plug)
{
    return (g_filterDir.isEmpty() ? QByteArray(".") : g_filterDir) + '/' + plug;
}

void setFilterDir(const QByteArray &dir)
{
    g_filterDir = dir;
}

int filterTimeLimit()
{
    return g_filterSeconds;
}

void setFilterTimeLimit(int seconds)
{
    g_filterSeconds = seconds;
}

int sampletest(CTaskInfo *task, int point, int *score, float *usedtime, char *msg,
               const Language &language)
{
    const QByteArray home = task->getHome().toUtf8(), name = task->getTaskname().toUtf8();
    const QByteArray plug = filterRunPath(task->getPlugname().toUtf8());
    const QByteArray num = QByteArray::number(point);
    const QByteArray input = evaldataFile(home, name, point, ".in");
    // The message names the input relative to the home.
    const QByteArray inputName = input.mid(home.size() + 1);
    const QByteArray answer = evaldataFile(home, name, point, ".ans");
    QByteArray in = input, judged = name + num + ".out";
    if (task->getCommitType() == SOURCE) {
        int code = runSource(task, language, input, inputName, score, usedtime, msg);
        if (code != 0)
            return code;
        in = name + ".in";
        judged = name + ".out";
    }
    QByteArray filter = plug, ans = answer;
    char *argv[] = {filter.data(), in.data(), judged.data(), ans.data(), nullptr};
    if (task->hasTestlibChecker())
        return judgeWithChecker(argv, score, msg);
    if (callfilter(argv) == FILTER_TIMED_OUT) {
        setMessage(msg, "Filter time out.");
        *score = 0;
        return POINT_NOT_STARTED;
    }
    return readscorefile(msg, score) == 0 ? POINT_JUDGED : POINT_NO_SCORE_FILE;
}

int callfilter(char *const argv[])
{
    const int fd = newCapture();
    if (fd < 0) {
        perror("cannot catch the filter's output");
        return -1;
    }
    return runJudgingProgram(argv, fd, -1);
}

int callchecker(char *const argv[], QByteArray *errorOutput)
{
    errorOutput->clear();
    const int out = newCapture();
    const int err = memfd_create("taldon-checker", MFD_CLOEXEC);
    if (out < 0 || err < 0) {
        perror("cannot catch the checker's output");
        if (err >= 0)
            close(err);
        return -1;
    }
    const int status = runJudgingProgram(argv, out, err);
    // The first line is all that is read; the rest may be as long as the checker likes.
    char text[4 * MESSAGE_SIZE];
    const ssize_t n = pread(err, text, sizeof text, 0);
    if (n > 0)
        errorOutput->append(text, int(n));
    close(err);
    return status;
}

int readscorefile(char *msg, int *score)
{
    const int fd = g_capture >= 0 ? fcntl(g_capture, F_DUPFD_CLOEXEC, 0) : -1;
    if (fd >= 0 && lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        setMessage(msg, "No score file.");
        *score = 0;
        return -1;
    }
    FILE *f = fd >= 0 ? fdopen(fd, "r") : nullptr;
    if (!f) {
        if (fd >= 0)
            close(fd);
        setMessage(msg, "No score file.");
        *score = 0;
        return -1;
    }
    char *line = nullptr;
    size_t cap = 0;
    if (getline(&line, &cap, f) < 0) {
        setMessage(msg, "No Score.");
        *score = 0;
    } else {
        line[strcspn(line, "\n")] = '\0';
        int value = 0;
        *score = fscanf(f, "%d", &value) == 1 ? value : 0;
        copyMessage(msg, line);
    }
    free(line);
    fclose(f);
    return 0;
}
