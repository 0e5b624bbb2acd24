#ifndef TALDON_TESTS_CLI_CLITEST_H
#define TALDON_TESTS_CLI_CLITEST_H

#include "common/programrun.h"
#include "common/testfiles.h"

inline QString sourcePath(const QString &relative)
{
    return qEnvironmentVariable("TALDON_SOURCE_DIR") + '/' + relative;
}

inline QString readSource(const QString &relative)
{
    return QString::fromUtf8(readFile(sourcePath(relative)));
}

#endif
