#ifndef TALDON_MODEL_GLOBALS_H
#define TALDON_MODEL_GLOBALS_H

#include <QString>

// Process-wide values fixed at start and shared by the model, the engine and the pages.

// Directory of the program file, with its trailing '/', or empty when started by bare name.
extern char g_directory[100];

// Default compile commands; the trailing blank is part of each.
extern const QString C_CL;
extern const QString CPLUS_CL;
extern const QString PAS_CL;
extern const QString JAVA_CL;
extern const QString PY_CL;

// Pending task count while day files are read.
extern int gTasknum;

// Fills g_directory from the program path (argv[0]): everything up to and including the last '/'.
void setProgramDirectory(const char *argv0);

#endif
