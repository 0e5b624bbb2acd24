#ifndef TALDON_CLI_CSVOUTPUT_H
#define TALDON_CLI_CSVOUTPUT_H

#include <QString>

class QCommandLineParser;

// The --output option of the CSV subcommands.
void addOutputOption(QCommandLineParser &parser);

// Writes text as UTF-8 to the file named by --output (replaced only when the whole text was
// written) or, without it, to standard output. Returns the exit status of command.
int writeCsvOutput(const QCommandLineParser &parser, const QString &command, const QString &text);

#endif
