#ifndef TALDON_EVAL_LANGUAGE_H
#define TALDON_EVAL_LANGUAGE_H

#include "runctrl.h"

#include <QByteArray>
#include <QByteArrayList>

// How a submission in one language is judged, picked by the language key of the compile entry
// whose source file was found. C, C++, Pascal and every other key make a program file named
// after the task, which runs as ./<task>; Python ("py") and Java ("java") run through the
// interpreter or the virtual machine, and their compilations are judged by the exit status.
//
// The task's memory limit is an address-space bound of that many megabytes for a program or for
// Python. A virtual machine cannot start under such a bound: a Java run gets the limit as its
// heap (-Xmx) and an address-space bound of the limit plus kJavaAllowanceMiB, with flags that cap
// what the virtual machine reserves for itself. Java compilations keep the compile bound, with
// the same caps given to javac through JAVA_TOOL_OPTIONS.
class Language
{
public:
    enum Kind { Native, Python, Java };

    explicit Language(const QByteArray &key = QByteArray());
    Kind kind() const { return which; }

    // Why a task of this name cannot be judged in this language, or empty: a Java program's
    // class is named after its task.
    QByteArray refusal(const QByteArray &task) const;
    // What an earlier compilation may have left, removed so that it cannot pass for a fresh one.
    QByteArrayList products(const QByteArray &task) const;
    // Variables added to the environment of the compile command.
    QByteArrayList compileEnvironment() const;
    // Whether a compilation that ended with the wait status `status` made the task's program.
    bool compiled(const QByteArray &task, int status) const;
    // How the task's program is started under a memory limit of `memlimit` MB (0 or less: none).
    RunPlan runPlan(const QByteArray &task, int memlimit) const;

    // Where `name` is found on the PATH that compilations and runs get, or empty.
    static QByteArray findProgram(const QByteArray &name);

private:
    Kind which = Native;
};

// What a Java run may reserve beyond its heap: the virtual machine's code, class space, code
// cache and metaspace, the 64 MiB stacks of its own threads and of a few threads of the program.
constexpr int kJavaAllowanceMiB = 1536;

#endif
