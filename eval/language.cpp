#include "language.h"

#include "sandbox.h"

#include <QString>

#include <sys/wait.h>
#include <unistd.h>

namespace
{

// Caps on what the virtual machine reserves beside its heap, measured: with them and one malloc
// arena it starts under an address-space bound of its heap plus about 912 MiB, of which the 64 MiB
// stacks of its own threads take most; without the arena cap it needs about 1700 MiB. One
// processor for its sizing: every thread's CPU time is charged to the run, so more would only
// add threads, and the run is sized alike on every machine.
const char *const kJavaRunFlags[] = {
    "-Xss64m",
    "-XX:+UseSerialGC",
    "-XX:ActiveProcessorCount=1",
    "-XX:CompressedClassSpaceSize=64m",
    "-XX:ReservedCodeCacheSize=32m",
    "-XX:MaxMetaspaceSize=64m",
    "-XX:+ExitOnOutOfMemoryError",
    "-XX:+DisplayVMOutputToStderr",
    "-XX:-UsePerfData",
};

// javac under the compile bound: its heap is half of it, and the class space it would reserve by
// default (1 GiB) would not fit beside.
const char kJavacOptions[] = "JAVA_TOOL_OPTIONS=-Xmx1g -XX:+UseSerialGC -XX:TieredStopAtLevel=1 "
                             "-XX:ActiveProcessorCount=1 -XX:CompressedClassSpaceSize=64m "
                             "-XX:ReservedCodeCacheSize=64m -XX:-UsePerfData";
const char kOneArena[] = "MALLOC_ARENA_MAX=1";

// Keywords and the restricted identifiers that cannot name a class.
const char *const kJavaReserved[] = {
    "abstract", "assert", "boolean",    "break",     "byte",       "case",      "catch",
    "char",     "class",  "const",      "continue",  "default",    "do",        "double",
    "else",     "enum",   "extends",    "final",     "finally",    "float",     "for",
    "goto",     "if",     "implements", "import",    "instanceof", "int",       "interface",
    "long",     "native", "new",        "package",   "private",    "protected", "public",
    "return",   "short",  "static",     "strictfp",  "super",      "switch",    "synchronized",
    "this",     "throw",  "throws",     "transient", "try",        "void",      "volatile",
    "while",    "true",   "false",      "null",      "_",          "var",       "yield",
    "record",   "sealed", "permits"};

bool isJavaClassName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool start = c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
        if (!start && (i == 0 || !c.isDigit()))
            return false;
    }
    for (const char *word : kJavaReserved)
        if (name == QLatin1String(word))
            return false;
    return true;
}

bool exitedWith(int status, int code)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

// -XX:+ExitOnOutOfMemoryError ends the virtual machine with status 3 after saying why, on
// standard error with -XX:+DisplayVMOutputToStderr, when the heap or the metaspace is full; a
// thread that finds no room for its stack throws an error that, uncaught, ends it with status 1.
bool javaOutOfMemory(int status, const QByteArray &errors)
{
    return (exitedWith(status, 3) || exitedWith(status, 1)) &&
           errors.contains("java.lang.OutOfMemoryError");
}

// An uncaught MemoryError ends Python with status 1, its name on the traceback's last line.
bool pythonOutOfMemory(int status, const QByteArray &errors)
{
    const QByteArray last = errors.trimmed().split('\n').last();
    return exitedWith(status, 1) && (last == "MemoryError" || last.startsWith("MemoryError:"));
}

QByteArray interpreter(const QByteArray &name)
{
    const QByteArray path = Language::findProgram(name);
    return path.isEmpty() ? name : path;
}

} // namespace

Language::Language(const QByteArray &key)
    : which(key == "py"     ? Python
            : key == "java" ? Java
                            : Native)
{
}

QByteArray Language::refusal(const QByteArray &task) const
{
    if (which == Java && !isJavaClassName(QString::fromUtf8(task)))
        return "the task name " + task + " cannot be a Java class name, Java refused.";
    return QByteArray();
}

QByteArrayList Language::products(const QByteArray &task) const
{
    QByteArrayList files{task, task + ".o"};
    if (which == Java)
        files << task + ".class";
    return files;
}

QByteArrayList Language::compileEnvironment() const
{
    return which == Java ? QByteArrayList{kJavacOptions, kOneArena} : QByteArrayList();
}

bool Language::compiled(const QByteArray &task, int status) const
{
    switch (which) {
    case Python:
        return exitedWith(status, 0);
    case Java:
        return exitedWith(status, 0) && access((task + ".class").constData(), R_OK) == 0;
    case Native:
        break;
    }
    // The compilers of the other languages are judged by their program alone.
    return access(task.constData(), R_OK) == 0;
}

RunPlan Language::runPlan(const QByteArray &task, int memlimit) const
{
    RunPlan plan;
    switch (which) {
    case Native:
        plan.argv = {task};
        plan.memlimit = memlimit;
        break;
    case Python:
        plan.argv = {interpreter("python3"), task + ".py"};
        plan.memlimit = memlimit;
        plan.interpreter = true;
        plan.ranOutOfMemory = pythonOutOfMemory;
        break;
    case Java:
        plan.argv = {interpreter("java")};
        if (memlimit > 0) {
            plan.argv << "-Xmx" + QByteArray::number(memlimit) + 'm';
            plan.addressSpace = rlim_t(memlimit + kJavaAllowanceMiB) << 20;
        }
        for (const char *flag : kJavaRunFlags)
            plan.argv << flag;
        plan.argv << "-cp"
                  << "." << task;
        plan.environment = {kOneArena};
        plan.interpreter = true;
        plan.ranOutOfMemory = javaOutOfMemory;
        break;
    }
    return plan;
}

QByteArray Language::findProgram(const QByteArray &name)
{
    for (const QByteArray &dir : Sandbox::searchPath()) {
        const QByteArray path = dir + '/' + name;
        if (access(path.constData(), X_OK) == 0)
            return path;
    }
    return QByteArray();
}
