#ifndef TALDON_EVAL_CHECKERBUILD_H
#define TALDON_EVAL_CHECKERBUILD_H

#include <QString>

// Compiles the source of a testlib-style checker into the program at `program`, with a C++
// compile command template ("%o" the program, "%i" the source, as a task's compile commands)
// and the source's own directory on the include path, where archives keep its testlib.h. The
// source is copied beside the program first, as <program>.cpp. False on failure, with the
// compiler's messages in *messages.
bool buildChecker(const QString &source, const QString &cmdTemplate, const QString &program,
                  QString *messages);

#endif
