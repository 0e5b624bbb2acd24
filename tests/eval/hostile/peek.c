/* Looks for the contest: its answers, the players' sources, the results, the filters, and for
 * the judge's environment. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(void)
{
    const char *paths[] = {"../evaldata/peek1.ans", "@HOME@/evaldata/peek1.ans", "@HOME@/players",
                           "@HOME@/result", "@HOME@/filter", "@HOME@"};
    int seen = 0;
    for (int i = 0; i < 6; ++i)
        if (access(paths[i], F_OK) == 0)
            seen = 1;
    const char *home = getenv("HOME");
    if (getenv("TALDON_SOURCE_DIR") || !home || strcmp(home, "/box") != 0)
        seen = 1;
    FILE *out = fopen("peek.out", "w");
    fputs(seen ? "seen\n" : "hidden\n", out);
    return 0;
}
