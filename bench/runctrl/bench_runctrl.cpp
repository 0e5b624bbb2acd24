// Kill latency of runUnderCtrl: wall time from the start of a run to its verdict, for a
// program that computes forever and one that sleeps forever, a few runs each.
#include "fileops.h"
#include "runctrl.h"
#include "sandbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <sys/resource.h>
#include <vector>

namespace
{

const int kRepeats = 3;
const int kQuickRuns = 200;

struct Case {
    const char *prog;
    float limit;
};

// Returns the wall time of one run; its code and CPU time go to *code and *used.
double timeOneRun(const char *prog, float limit, int *code, float *used)
{
    QByteArray program(prog);
    int score = 10;
    char msg[1024] = "";
    QElapsedTimer clock;
    clock.start();
    *code = runUnderCtrl(program.data(), limit, 0, used, msg, &score);
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir work;
    // A root judge runs the programs as an unprivileged user, who must reach them.
    if (!work.isValid() ||
        !QFile::setPermissions(work.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther) ||
        !QDir::setCurrent(work.path()))
        return 1;
    // Runs as the engine runs them: in the sandbox's box, unless TALDON_SANDBOX=off.
    Sandbox sandbox;
    QString reason;
    if (sandbox.start(&reason)) {
        if (!QDir::setCurrent(QFile::decodeName(sandbox.workDir())))
            return 1;
        Sandbox::setActive(&sandbox);
        out << "sandbox: on\n";
    } else {
        out << "sandbox: off (" << reason << ")\n";
    }
    for (const char *prog : {"spin", "sleeper", "exit3"})
        if (!copyFile(QByteArray(BENCH_PROGS_DIR "/") + prog, prog, 0755))
            return 1;

    const Case cases[] = {{"spin", 0.5f}, {"spin", 1.0f}, {"spin", 2.0f}, {"sleeper", 1.0f}};
    out << "program  limit(s)  code  min(s)  median(s)  max(s)  last cpu(s)\n";
    for (const Case &c : cases) {
        std::vector<double> times;
        int code = 0;
        float used = 0;
        for (int i = 0; i < kRepeats; ++i)
            times.push_back(timeOneRun(c.prog, c.limit, &code, &used));
        std::sort(times.begin(), times.end());
        out << QString("%1  %2  %3  %4  %5  %6  %7\n")
                   .arg(c.prog, -7)
                   .arg(c.limit, 8, 'f', 1)
                   .arg(code, 4)
                   .arg(times.front(), 6, 'f', 3)
                   .arg(times[times.size() / 2], 9, 'f', 3)
                   .arg(times.back(), 6, 'f', 3)
                   .arg(double(used), 11, 'f', 3);
        out.flush();
    }
    // The cost of a run itself: a program that exits at once, many times.
    QByteArray quick("exit3");
    std::vector<double> starts;
    struct rusage before, after;
    getrusage(RUSAGE_CHILDREN, &before);
    for (int i = 0; i < kQuickRuns; ++i) {
        int score = 10;
        float used = 0;
        char msg[1024] = "";
        QElapsedTimer clock;
        clock.start();
        runUnderCtrl(quick.data(), 1.0f, 64, &used, msg, &score);
        starts.push_back(clock.nsecsElapsed() / 1e6);
    }
    getrusage(RUSAGE_CHILDREN, &after);
    std::sort(starts.begin(), starts.end());
    const double cpu = (after.ru_utime.tv_sec - before.ru_utime.tv_sec + after.ru_stime.tv_sec -
                        before.ru_stime.tv_sec) *
                           1e3 +
                       (after.ru_utime.tv_usec - before.ru_utime.tv_usec + after.ru_stime.tv_usec -
                        before.ru_stime.tv_usec) /
                           1e3;
    out << QString("run of a program that exits at once: median %1 ms, min %2 ms, CPU of the "
                   "children %3 ms per run\n")
               .arg(starts[starts.size() / 2], 0, 'f', 3)
               .arg(starts.front(), 0, 'f', 3)
               .arg(cpu / kQuickRuns, 0, 'f', 3);
    Sandbox::setActive(nullptr);
    QDir::setCurrent(work.path());
    return 0;
}
