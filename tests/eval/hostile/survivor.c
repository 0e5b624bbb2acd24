/* A child leaves the process group (setsid, or setpgid when built with -DGROUP) and keeps
 * writing over the output of whatever runs next. */
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    if (fork() == 0) {
#ifdef GROUP
        setpgid(0, 0);
#else
        setsid();
#endif
        usleep(200000); /* for the parent to be done */
        for (;;) {
            FILE *f = fopen("survivor.out", "w");
            if (f) {
                fputs("tampered\n", f);
                fclose(f);
            }
            usleep(2000);
        }
    }
    FILE *in = fopen("survivor.in", "r");
    char line[64] = "";
    if (in && fgets(line, sizeof line, in)) {
        FILE *out = fopen("survivor.out", "w");
        fputs(line, out);
        fclose(out);
    }
    return 0;
}
