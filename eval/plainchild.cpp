#include "plainchild.h"

#include "childsetup.h"
#include "runctrl.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Its own session keeps the program away from the organiser's terminal.
[[noreturn]] void runChild(const ChildExec &exec, int pipefd)
{
    if (setsid() < 0)
        failChild(pipefd, StepGroup, kChildFault);
    if (exec.errors >= 0 && dup2(exec.errors, 2) != 2)
        failChild(pipefd, StepStdout, kChildFault);
    const int report = closeOtherDescriptors(pipefd);
    if (report < 0)
        failChild(pipefd, StepDescriptors, kChildFault);
    if (!resetSignals())
        failChild(report, StepSignals, kChildFault);
    if (exec.memlimit > 0)
        limitAddressSpace(exec.memlimit);
    else if (exec.addressSpace > 0 && !capLimit(RLIMIT_AS, exec.addressSpace))
        failChild(report, StepLimits, kChildFault);
    if (!capLimit(RLIMIT_FSIZE, rlim_t(kSubmissionFileLimit)) || !capLimit(RLIMIT_CORE, 0))
        failChild(report, StepLimits, kChildFault);
    alarm(0);
    if (!reopenOnDevNull(0, O_RDONLY)) {
        writeErr("could not open /dev/null as stdin");
        failChild(report, StepStdin, 1);
    }
    if (!reopenOnDevNull(1, O_WRONLY)) {
        writeErr("could not open /dev/null as stdout");
        failChild(report, StepStdout, 2);
    }
    if (!dropPrivileges())
        failChild(report, StepIds, kChildFault);
    execve(exec.argv[0], exec.argv, exec.envp);
    failChild(report, StepExec, 255);
}

} // namespace

pid_t startPlain(const ChildExec &exec, int reportRead, int reportWrite)
{
    const pid_t pid = fork();
    if (pid == 0) {
        close(reportRead);
        runChild(exec, reportWrite);
    }
    if (pid < 0)
        perror("runUnderCtrl: fork");
    return pid;
}

QByteArray blockedForSubmission()
{
    char cwd[4096];
    if (geteuid() != 0 || !getcwd(cwd, sizeof cwd))
        return QByteArray();
    const QByteArray path(cwd);
    for (int end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
        const QByteArray dir = end < 0 ? path : path.left(end);
        struct stat st;
        if (stat(dir.constData(), &st) != 0)
            return dir;
        const bool searchable = (st.st_uid == submissionUid() && (st.st_mode & S_IXUSR)) ||
                                (st.st_gid == kSubmissionGid && (st.st_mode & S_IXGRP)) ||
                                (st.st_mode & S_IXOTH);
        if (!searchable)
            return dir;
        if (end < 0)
            return QByteArray();
    }
}

std::vector<const char *> judgeEnvironment(const QByteArrayList &extra)
{
    std::vector<const char *> all;
    for (char **e = environ; *e; ++e)
        all.push_back(*e);
    for (const QByteArray &variable : extra)
        all.push_back(variable.constData());
    all.push_back(nullptr);
    return all;
}
