#ifndef TALDON_EVAL_COMPILE_H
#define TALDON_EVAL_COMPILE_H

#include <QByteArray>
#include <QByteArrayList>

// Compile step codes, written to the result file.
constexpr int COMPILE_OK = 100;
constexpr int COMPILE_FAILED = -101;
constexpr int NO_SOURCE = -100;

// Size of the command-line buffer that GenCompCmd fills, terminator included.
constexpr int COMPCMD_SIZE = 1024;

// Fills `cmdline` (COMPCMD_SIZE bytes, zero-filled by the caller) from the template `cmdtemplate`:
// the first "%i" becomes the source file <exename>.<lang>, the first "%o" the program <exename>.
// Every other character, '%' included, is kept as it stands. A name holding characters the shell
// would interpret is quoted. A template without either placeholder leaves `cmdline` untouched.
// Returns 0 when `cmdline` is null or the command would not fit (nothing written), else 1.
int GenCompCmd(char *cmdline, char *exename, char *lang, char *cmdtemplate);

// A compilation still running after this many seconds of wall-clock time is killed with all of
// its processes and counts as failed: a source can make a compiler loop or read an endless file.
constexpr int COMPILE_TIME_LIMIT = 60;

// The bound in force, COMPILE_TIME_LIMIT unless changed (tests shorten it).
int compileTimeLimit();
void setCompileTimeLimit(int seconds);

// Runs the command line through the shell with the variables of `environment` added to its
// environment, the compiler's messages on standard error. True when it ended within
// compileTimeLimit(), with the shell's wait status in *status; an overrun is killed with all of
// its processes.
bool runCompileCommand(const char *cmdline, const QByteArrayList &environment, int *status);

// Runs the command line as runCompileCommand does and returns
// COMPILE_OK when the program file `exename` exists afterwards, COMPILE_FAILED when it does not
// or when the compilation overran compileTimeLimit() (its partial program is removed).
int CompileSrc(char *exename, char *cmdline);

// The same without the sandbox, for the organiser's own programs: the compiler's first messages
// go to *messages instead of standard error.
int compileCapturing(char *exename, char *cmdline, QByteArray *messages);

// `word` as one shell word: unchanged when it holds only characters the shell takes literally,
// else in single quotes.
QByteArray shellWord(const QByteArray &word);

#endif
