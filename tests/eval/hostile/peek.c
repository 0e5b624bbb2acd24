/* Looks for the contest: its answers, the players' sources, the results, the filters. */
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    const char *paths[] = {"../evaldata/peek1.ans", "@HOME@/evaldata/peek1.ans", "@HOME@/players",
                           "@HOME@/result", "@HOME@/filter", "@HOME@"};
    int seen = 0;
    for (int i = 0; i < 6; ++i)
        if (access(paths[i], F_OK) == 0)
            seen = 1;
    FILE *out = fopen("peek.out", "w");
    fputs(seen ? "seen\n" : "hidden\n", out);
    return 0;
}
