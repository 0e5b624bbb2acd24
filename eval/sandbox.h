#ifndef TALDON_EVAL_SANDBOX_H
#define TALDON_EVAL_SANDBOX_H

#include "childsetup.h"
#include "seccompfilter.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

// The namespaces in which one evaluation compiles and runs submissions.
//
// start() makes, once per evaluation, a holder process with its own network (a loopback
// interface, down), IPC and UTS namespaces, a user namespace when the judge is not root, and a
// mount namespace holding the root a submission sees: the system's program and library
// directories read-only, a few files of /etc, a /dev with null, zero, random and urandom, and the
// box, a size-bounded tmpfs that is the working directory of compilations and runs. The judge
// works in the box through the holder's /proc entry (workDir()), so it copies inputs in and reads
// outputs back where the submission left them; nothing of the contest is visible inside.
//
// Every compilation and run enters those namespaces and adds a PID and a mount namespace of its
// own (spawn()): its first process is a small init of the judge's that mounts a private /proc,
// /tmp and /dev/shm, turns the prepared root into its root, starts the program, reaps every
// orphan and, when the program ends, kills and reaps everything that is left.
class Sandbox
{
public:
    Sandbox() = default;
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    // Makes the namespaces and the root; false with the reason when the kernel refuses them.
    bool start(QString *reason);
    // Ends the holder; the box goes with the last process or directory that uses it.
    void stop();
    bool isStarted() const { return holder > 0; }

    // The box as the judge reaches it.
    QByteArray workDir() const;

    // What one spawn runs, and under which bounds.
    struct Command {
        const char *const *argv; // argv[0] is run relative to the box when it has no '/'
        int memlimit = 0;        // the task's limit in MB, with its diagnostics; 0: none
        rlim_t addressSpace = 0; // otherwise a bound in bytes; 0: none
        int output = -1;         // standard output and error; -1: /dev/null
        int errors = -1;         // standard error, when not that of `output`
        const char *const *environment = nullptr; // the whole environment; null: the fixed one
    };

    // The fixed environment of compilations and runs with `extra` variables added; the pointers
    // are those of `extra`, which must outlive the result. Ends with a null.
    static std::vector<const char *> environment(const QByteArrayList &extra);
    // The directories of the PATH in that environment.
    static QByteArrayList searchPath();

    // Starts `command` in a run of its own. The run's first process, its init, is a child of the
    // calling process; its id is returned, or -1 (the reason on standard error). `reportRead`
    // and `reportWrite` are the ends of a close-on-exec pipe on which failures of the run's
    // children before exec arrive as ChildReport records; once the caller has closed its write
    // end, end of file means that the program started. When the program has ended, the init
    // writes a RunStatus on `statusWrite`, the write end of another close-on-exec pipe.
    pid_t spawn(const Command &command, int reportRead, int reportWrite, int statusWrite) const;

    // Tries a sandbox with a test run in it and describes, one line each, which protections are
    // in force on this machine; true when all are.
    static bool check(QStringList *lines);

    // A run that spawn() started: its init, or -1 when none, and the read ends of its report and
    // status pipes (-1 when none), for the caller to close.
    struct Launched {
        pid_t init = -1;
        int reports = -1;
        int status = -1;
    };
    // Makes the two pipes and spawns `command`; the write ends are closed again at once.
    Launched launch(const Command &command) const;
    // The next failure report of a run's children; false at end of file, when its program has
    // started.
    static bool readFailure(int reports, ChildReport *failure);

    // The sandbox that compilations and runs of this process use, or null.
    static Sandbox *active();
    static void setActive(Sandbox *sandbox);

private:
    struct Prepared;
    [[noreturn]] void holderMain(const Prepared &prepared, int readyfd, int keepalive) const;
    [[noreturn]] void runInit(const Command &command, int reportfd, int statusfd) const;
    [[noreturn]] void runProgram(const Command &command, int reportfd) const;

    pid_t holder = -1;
    int keepAlive = -1;
    bool ownUserNamespace = false;
    // user, mnt, net, ipc, uts of the holder; -1 where not used.
    int nsFd[5] = {-1, -1, -1, -1, -1};
    SeccompFilter filter;
};

// What the init of a run reports when the program has ended.
struct RunStatus {
    int status;         // the program's wait status
    long long userTime; // user CPU microseconds of every process of the run
};

// The bound on what a run may write: the box, its /tmp and its /dev/shm are tmpfs of these sizes.
constexpr long long kBoxBytes = 512LL << 20;
constexpr long long kRunTmpBytes = 64LL << 20;

// The address space a compilation may use: enough for the compilers of the default commands,
// small enough that a source including /dev/zero cannot run the machine out of memory.
constexpr rlim_t kCompileAddressSpace = rlim_t(2) << 30;

#endif
