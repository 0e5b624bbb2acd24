#ifndef TALDON_EVAL_PLAINCHILD_H
#define TALDON_EVAL_PLAINCHILD_H

#include <QByteArrayList>

#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

// A run without the sandbox, where the kernel refuses namespaces: the program gets the
// protections of a plain child (its own session, the limits, the uid switch as root, standard
// input and output on /dev/null) and the judge's own environment.

// What the child of a plain run is given, prepared before the fork: it may not allocate.
struct ChildExec {
    char *const *argv;
    char *const *envp;
    int memlimit;        // MB as RLIMIT_AS, with its diagnostics; 0 or less: none
    rlim_t addressSpace; // when memlimit is not set, a bound in bytes; 0: none
    int errors;          // standard error; -1: the judge's
};

// Starts the program as a plain child; returns its id or -1. Failures before exec arrive on
// `reportWrite` as ChildReport records, as for a sandboxed run.
pid_t startPlain(const ChildExec &exec, int reportRead, int reportWrite);

// The first directory on the way to the working directory that a root judge's submission user
// cannot search, or empty. An interpreter opens its program by an absolute path, which needs
// them all; a program started as ./<task> does not.
QByteArray blockedForSubmission();

// The judge's environment with the variables of `extra` added, which must outlive the result;
// ends with a null.
std::vector<const char *> judgeEnvironment(const QByteArrayList &extra);

#endif
