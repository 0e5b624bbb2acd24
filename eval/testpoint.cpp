#include "testpoint.h"

#include "ctaskinfo.h"
#include "fileops.h"
#include "runctrl.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

QByteArray g_scoreFile("/tmp/_eval.score");

// The score file lives in a directory anyone may write to: a link planted there is never
// followed, and a file made by someone else is never read or written.
bool isOwnRegularFile(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

int openScoreFile(bool create)
{
    const int flags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | (create ? O_RDWR | O_CREAT : O_RDONLY);
    int fd = open(g_scoreFile.constData(), flags, 0600);
    if (fd >= 0 && !isOwnRegularFile(fd)) {
        close(fd);
        fd = -1;
    }
    if (fd < 0 && create) {
        unlink(g_scoreFile.constData());
        fd = open(g_scoreFile.constData(), flags | O_EXCL, 0600);
    }
    if (fd >= 0 && create && ftruncate(fd, 0) != 0) {
        close(fd);
        fd = -1;
    }
    if (fd >= 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        fd = -1;
    }
    return fd;
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
int runSource(CTaskInfo *task, const QByteArray &name, const QByteArray &input,
              const QByteArray &inputName, int *score, float *usedtime, char *msg)
{
    if (access(input.constData(), R_OK) != 0 || !copyFile(input, name + ".in", 0444))
        return missingInput(input, inputName, score, msg);
    QByteArray program = name;
    int code = runUnderCtrl(program.data(), task->getTimelimit(), task->getMemlimit(), usedtime,
                            msg, score);
    if (code != 0)
        return code;
    // The output was written by the submission: a link there could make the filter, which
    // runs with the judge's rights, read some other file.
    struct stat st;
    const QByteArray output = name + ".out";
    if (lstat(output.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        removeEntry(output);
    return 0;
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

QByteArray scoreFilePath()
{
    return g_scoreFile;
}

void setScoreFilePath(const QByteArray &path)
{
    g_scoreFile = path;
}

int sampletest(CTaskInfo *task, int point, int *score, float *usedtime, char *msg)
{
    const QByteArray home = task->getHome().toUtf8(), name = task->getTaskname().toUtf8();
    const QByteArray plug = "./" + task->getPlugname().toUtf8();
    const QByteArray num = QByteArray::number(point);
    const QByteArray input = evaldataFile(home, name, point, ".in");
    // The message names the input relative to the home.
    const QByteArray inputName = input.mid(home.size() + 1);
    const QByteArray answer = evaldataFile(home, name, point, ".ans");
    QByteArray in = input, judged = name + num + ".out";
    if (task->getCommitType() == SOURCE) {
        int code = runSource(task, name, input, inputName, score, usedtime, msg);
        if (code != 0)
            return code;
        in = name + ".in";
        judged = name + ".out";
    }
    unlink(g_scoreFile.constData());
    QByteArray filter = plug, ans = answer;
    char *argv[] = {filter.data(), in.data(), judged.data(), ans.data(), nullptr};
    callfilter(argv);
    return readscorefile(msg, score) == 0 ? POINT_JUDGED : POINT_NO_SCORE_FILE;
}

int callfilter(char *const argv[])
{
    int fd = openScoreFile(true);
    if (fd < 0) {
        fprintf(stderr, "cannot create %s: %s\n", g_scoreFile.constData(), strerror(errno));
        return -1;
    }
    fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        perror("cannot start the filter");
        close(fd);
        return -1;
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the judge has other threads.
        if (dup2(fd, 1) < 0)
            _exit(126);
        execv(argv[0], argv);
        static const char failed[] = "cannot run the filter\n";
        ssize_t ignored = write(2, failed, sizeof failed - 1);
        (void)ignored;
        _exit(127);
    }
    close(fd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            perror("cannot wait for the filter");
            return -1;
        }
    }
    return status;
}

int readscorefile(char *msg, int *score)
{
    int fd = openScoreFile(false);
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
