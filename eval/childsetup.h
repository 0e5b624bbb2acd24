#ifndef TALDON_EVAL_CHILDSETUP_H
#define TALDON_EVAL_CHILDSETUP_H

#include <sys/resource.h>
#include <sys/types.h>

// The steps a child of the judge takes before a submission or a compiler starts, one small
// checked step per concern. Everything here runs between fork and exec of a threaded program,
// so it makes only async-signal-safe calls. A failure travels to the judge over a close-on-exec
// pipe as a ChildReport, whose end of file means that exec succeeded.

// Steps that can fail, named in the judge's diagnostics by childStepName.
enum ChildStep {
    StepGroup,
    StepDescriptors,
    StepSignals,
    StepLimits,
    StepStdin,
    StepStdout,
    StepIds,
    StepExec,
    StepNamespaces,
    StepClone,
    StepMounts,
    StepRoot,
    StepPrivileges,
    StepFilter,
    StepInit,
};

// What the children of one run tell the judge over the report pipe.
enum ChildReportKind { ReportFailure, ReportPid };
struct ChildReport {
    int kind;
    int step;  // ReportFailure: the ChildStep that failed
    int error; // ReportFailure: errno
    pid_t pid; // ReportPid: the run's first process, in the judge's process ids
};

const char *childStepName(int step);

// Exit status of a child that failed before the submission started.
constexpr int kChildFault = 127;

// Writes a formatted line with one number to standard error.
void printErr(const char *format, long value);
void writeErr(const char *text);

// Tells the judge that `step` failed with the current errno, then ends the child.
[[noreturn]] void failChild(int reportfd, int step, int status);
// Sends the judge a ReportPid record.
bool reportPid(int reportfd, pid_t pid);

// Leaves descriptors 0, 1, 2 and the report pipe, moved to 3 or above; returns the pipe or -1.
int closeOtherDescriptors(int reportfd);
// Ignored signals and the blocked mask survive exec; the submission gets a clean slate.
bool resetSignals();
// The task's memory limit as RLIMIT_AS, with the diagnostics the judge has always printed.
void limitAddressSpace(int memlimit);
// Sets soft and hard limit to `value`, or to the inherited hard limit if that is lower.
bool capLimit(int resource, rlim_t value);
// Closes `fd` and opens /dev/null in its place.
bool reopenOnDevNull(int fd, int flags);
// A privileged judge gives up every id for the fixed unprivileged ones, groups first.
bool dropPrivileges();

#endif
