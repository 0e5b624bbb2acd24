#include "globals.h"

#include <cstring>

char g_directory[100] = "";

const QString C_CL = QStringLiteral("gcc -o %o %i ");
const QString CPLUS_CL = QStringLiteral("g++ -o %o %i ");
const QString PAS_CL = QStringLiteral("fpc %i ");
const QString JAVA_CL = QStringLiteral("javac %i ");
// A syntax error is a compile failure, as for the other languages.
const QString PY_CL = QStringLiteral("python3 -m py_compile %i ");

int gTasknum = -1;

void setProgramDirectory(const char *argv0)
{
    g_directory[0] = '\0';
    // A path that does not fit the buffer whole is refused rather than cut.
    if (!argv0 || std::strlen(argv0) >= sizeof(g_directory))
        return;
    const char *slash = std::strrchr(argv0, '/');
    if (!slash)
        return;
    const size_t len = static_cast<size_t>(slash - argv0) + 1;
    std::memcpy(g_directory, argv0, len);
    g_directory[len] = '\0';
}
