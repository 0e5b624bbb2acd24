/* Leaves files in /tmp and /dev/shm and looks for those of an earlier run. */
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    const char *paths[] = {"/tmp/taldon-leak", "/dev/shm/taldon-leak"};
    int seen = 0;
    for (int i = 0; i < 2; ++i) {
        if (access(paths[i], F_OK) == 0)
            seen = 1;
        FILE *f = fopen(paths[i], "w");
        if (f)
            fclose(f);
    }
    FILE *out = fopen("leak.out", "w");
    fputs(seen ? "seen\n" : "clean\n", out);
    return 0;
}
