/* Two children spin, 0.6 s of CPU each, and are never waited for: the parent only waits for
 * word that they are done, then ends while they stay, idle. */
#include <stdio.h>
#include <sys/resource.h>
#include <unistd.h>

int main(void)
{
    int done[2];
    if (pipe(done) != 0)
        return 1;
    for (int i = 0; i < 2; ++i)
        if (fork() == 0) {
            /* Mostly arithmetic between the checks, so that the time is user time. */
            for (struct rusage u; getrusage(RUSAGE_SELF, &u) == 0 && u.ru_utime.tv_sec * 10 +
                                  u.ru_utime.tv_usec / 100000 < 6;)
                for (volatile unsigned long n = 0; n < 10000000UL; ++n) {
                }
            if (write(done[1], "x", 1) != 1)
                return 1;
            pause();
        }
    char byte;
    for (int i = 0; i < 2; ++i)
        if (read(done[0], &byte, 1) != 1)
            return 1;
    FILE *out = fopen("spinkids.out", "w");
    fputs("done\n", out);
    return 0;
}
