#ifndef TALDON_EVAL_SECCOMPFILTER_H
#define TALDON_EVAL_SECCOMPFILTER_H

#include <QString>

#include <linux/filter.h>
#include <vector>

// The system call filter every sandboxed compilation and run starts under: it refuses what a
// program has no business doing (tracing, mounting, new namespaces, the kernel keyring, BPF,
// performance counters, pushing input into a terminal) and lets compilers and ordinary programs
// run. It is compiled once, in the judge, so that the child between fork and exec only has to
// install it: building it there would allocate, which a child of a threaded program must not.
class SeccompFilter
{
public:
    // Compiles the filter; false with the reason when the system call filter library fails.
    bool build(QString *reason);

    // Installs the compiled filter in the calling process (async-signal-safe: one system call).
    // The caller has set PR_SET_NO_NEW_PRIVS.
    bool install() const;

    bool isBuilt() const { return !code.empty(); }

private:
    std::vector<sock_filter> code;
    sock_fprog program{};
};

#endif
