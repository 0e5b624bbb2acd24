#include "taskeval.h"

#include "compile.h"
#include "ctaskinfo.h"
#include "fileops.h"
#include "language.h"
#include "testpoint.h"

#include <QList>

#include <atomic>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

const char COMPILED_TEXT[] = "Compile successfully";
const char COMPILE_FAILED_TEXT[] = "Compile failed.";
const char NO_SOURCE_TEXT[] = "Can not find source code file.";
const char ANSWERS_TEXT[] = "Evaluate answer files.";
const char STOPPED_TEXT[] = "Evaluation stopped.";

// Set from the window's thread while the evaluation thread reads it between runs.
std::atomic<bool> g_stopRequested{false};

const char *refuse(const QByteArray &task, const char *why)
{
    fprintf(stderr, "task %s refused: %s\n", task.constData(), why);
    return why;
}

// Block of a task that has no test point lines: its single body line repeats the header.
void writeShortBlock(FILE *result, const QByteArray &name, int code, const char *text, int *total)
{
    fprintf(result, "{%s %d %s\n", name.constData(), code, text);
    fprintf(result, "%d 0 ? %s\n", code, text);
    fprintf(result, "}%d %d\n", TASK_END, 0);
    *total = 0;
}

void writeFullBlock(FILE *result, CTaskInfo *task, const char *text, int *total, bool *failed,
                    const Language &language = Language())
{
    fprintf(result, "{%s %d %s\n", task->getTaskname().toUtf8().constData(), COMPILE_OK, text);
    TaskTest(task, result, total, failed, language);
    fprintf(result, "}%d %d\n", TASK_END, *total);
}

// The block of a failed evaluation, written in place of judging the task.
void writeFailedBlock(FILE *result, const QByteArray &name, QByteArray cause, int *total,
                      bool *failed)
{
    fprintf(stderr, "task %s not evaluated: %s\n", name.constData(), cause.constData());
    cleanMessage(cause.data());
    writeShortBlock(result, name, POINT_NOT_STARTED, cause.constData(), total);
    if (failed)
        *failed = true;
}

// The block of a task that cannot be evaluated for anyone, when it cannot.
bool writeFailureBlock(FILE *result, CTaskInfo *task, int *total, bool *failed)
{
    const QByteArray cause = evaluationFailure(task);
    if (cause.isEmpty())
        return false;
    writeFailedBlock(result, task->getTaskname().toUtf8(), cause, total, failed);
    return true;
}

// The test data files of the task that cannot be read, named relative to the home.
QList<QByteArray> missingTestData(CTaskInfo *task)
{
    const QByteArray home = task->getHome().toUtf8(), name = task->getTaskname().toUtf8();
    QList<QByteArray> missing;
    for (int i = 1; i <= task->getSamplenum(); ++i) {
        for (const char *suffix : {".in", ".ans"}) {
            const QByteArray file = evaldataFile(home, name, i, suffix);
            if (access(file.constData(), R_OK) != 0)
                missing << file.mid(home.size() + 1);
        }
    }
    return missing;
}

// Index (from 1) of the first compile entry whose source file is readable, or 0.
int findSource(CTaskInfo *task, const QByteArray &name)
{
    for (int i = 1; i <= task->getCclnum(); ++i) {
        const QByteArray source = name + '.' + task->getCcl(i)->getLang().toUtf8();
        if (access(source.constData(), R_OK) == 0)
            return i;
    }
    return 0;
}

// The shell says 127 when the compile command's program is not there. For a language judged by
// the compile command's exit status this is no fault of the player's: the program is named.
QByteArray missingCompiler(const Language &language, const char *cmdline, int status)
{
    if (language.kind() == Language::Native || !WIFEXITED(status) || WEXITSTATUS(status) != 127)
        return QByteArray();
    const QByteArray program = QByteArray(cmdline).simplified().split(' ').first();
    return "Can not compile: " + program + " is not installed.";
}

// Compiles in the working directory: COMPILE_OK or COMPILE_FAILED, or POINT_NOT_STARTED with the
// cause in *why when the player's language cannot be judged here.
int compile(const Language &language, const QByteArray &name, const char *cmdline, QByteArray *why)
{
    // A stale program must not pass for a fresh one.
    for (const QByteArray &file : language.products(name))
        removeEntry(file);
    int status = 0;
    const bool finished = runCompileCommand(cmdline, language.compileEnvironment(), &status);
    fprintf(stderr, "%s\n", cmdline);
    if (!finished) {
        removeEntry(name);
        return COMPILE_FAILED;
    }
    *why = missingCompiler(language, cmdline, status);
    if (!why->isEmpty())
        return POINT_NOT_STARTED;
    return language.compiled(name, status) ? COMPILE_OK : COMPILE_FAILED;
}

} // namespace

void cleanMessage(char *msg)
{
    for (char *c = msg; *c; ++c) {
        if (*c == '{')
            *c = '(';
        else if (*c == '}')
            *c = ')';
        else if (*c == '\n' || *c == '\r')
            *c = ' ';
    }
}

bool checkTask(CTaskInfo *task, QByteArray *reason)
{
    const QByteArray home = task->getHome().toUtf8();
    const QByteArray name = task->getTaskname().toUtf8();
    const QByteArray plug = task->getPlugname().toUtf8();
    // The longest path built for a task is an answer file with a point number of up to 3 digits.
    const int longest = evaldataFile(home, name, 999, ".ans").size();
    const char *why = nullptr;
    if (name.isEmpty() || name == "." || name == "..")
        why = refuse(name, "the task has no usable name");
    else if (name.size() > TASKNAME_MAX)
        why = refuse(name, "the task name is longer than 99 bytes");
    else if (strpbrk(name.constData(), " \t\r\n\v\f{}/"))
        why = refuse(name, "a task name must be one word without braces or '/'");
    else if (plug.contains('/') || plug.size() > 255)
        why = refuse(name, "the filter name must be a file name in the filter directory");
    else if (longest > PATH_MAX_BYTES || filterFile(home, plug).size() > PATH_MAX_BYTES)
        why =
            refuse(name, "the contest home's path is longer than the engine handles (1023 bytes)");
    if (why && reason)
        *reason = why;
    return !why;
}

QByteArray evaluationFailure(CTaskInfo *task)
{
    const QByteArray plug = task->getPlugname().toUtf8();
    const QByteArray filter = filterFile(task->getHome().toUtf8(), plug);
    struct stat st;
    if (plug.isEmpty())
        return "The task has no filter: choose its comparison method.";
    if (stat(filter.constData(), &st) != 0)
        return "Filter filter/" + plug + " not found.";
    if (!S_ISREG(st.st_mode) || access(filter.constData(), X_OK) != 0)
        return "Filter filter/" + plug + " is not executable.";
    // A kind of checker this judge does not know would have its verdicts misread.
    if (!task->getChecker().isEmpty() && !task->hasTestlibChecker())
        return "Unknown checker kind CHECKER=" + task->getChecker().toUtf8() + '.';
    const QList<QByteArray> missing = missingTestData(task);
    if (missing.isEmpty())
        return QByteArray();
    QByteArray cause = "Test data " + missing.first() + " not found";
    if (missing.size() > 1)
        cause += " (" + QByteArray::number(missing.size()) + " files missing)";
    return cause + '.';
}

void setEvaluationStopRequested(bool stop)
{
    g_stopRequested = stop;
}

bool evaluationStopRequested()
{
    return g_stopRequested;
}

int evalSourceCode(FILE *result, CTaskInfo *task, int *total, bool *failed)
{
    if (!result || !checkTask(task))
        return 0;
    if (writeFailureBlock(result, task, total, failed))
        return 1;
    QByteArray name = task->getTaskname().toUtf8();
    const int entry = findSource(task, name);
    if (entry == 0) {
        writeShortBlock(result, name, NO_SOURCE, NO_SOURCE_TEXT, total);
        return 1;
    }
    CCompileCmd *ccl = task->getCcl(entry);
    QByteArray lang = ccl->getLang().toUtf8(), tmpl = ccl->getCmd().toUtf8();
    const Language language(lang);
    char cmdline[COMPCMD_SIZE] = {};
    if (!GenCompCmd(cmdline, name.data(), lang.data(), tmpl.data()))
        return 0;
    QByteArray why = language.refusal(name);
    const int code = why.isEmpty() ? compile(language, name, cmdline, &why) : POINT_NOT_STARTED;
    if (code == POINT_NOT_STARTED) {
        writeFailedBlock(result, name, why, total, failed);
        return 1;
    }
    if (code == COMPILE_FAILED)
        writeShortBlock(result, name, COMPILE_FAILED, COMPILE_FAILED_TEXT, total);
    else
        writeFullBlock(result, task, COMPILED_TEXT, total, failed, language);
    return 1;
}

int evalResultFile(FILE *result, CTaskInfo *task, int *total, bool *failed)
{
    if (!result || !checkTask(task))
        return 0;
    if (!writeFailureBlock(result, task, total, failed))
        writeFullBlock(result, task, ANSWERS_TEXT, total, failed);
    return 1;
}

void TaskTest(CTaskInfo *task, FILE *result, int *total, bool *failed, const Language &language)
{
    const QByteArray plug = task->getPlugname().toUtf8();
    copyFile(filterFile(task->getHome().toUtf8(), plug), filterRunPath(plug), 0755);
    *total = 0;
    for (int i = 1; i <= task->getSamplenum(); ++i) {
        int score = 0;
        float usedtime = 0;
        char msg[MESSAGE_SIZE] = {};
        int code = POINT_NOT_STARTED;
        if (!evaluationStopRequested())
            code = sampletest(task, i, &score, &usedtime, msg, language);
        // A run the stop cut short judges nothing.
        if (evaluationStopRequested()) {
            code = POINT_NOT_STARTED;
            score = 0;
            strcpy(msg, STOPPED_TEXT);
        }
        cleanMessage(msg);
        fprintf(result, "%d %d %.3f %s\n", code, score, double(usedtime), msg);
        *total += score;
        if (code == POINT_NOT_STARTED && failed)
            *failed = true;
    }
}
