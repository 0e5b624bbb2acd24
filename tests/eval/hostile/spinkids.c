/* Two children spin and are never waited for; the parent only sleeps. */
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    for (int i = 0; i < 2; ++i)
        if (fork() == 0)
            for (volatile unsigned long n = 0;; ++n) {
            }
    sleep(3);
    FILE *out = fopen("spinkids.out", "w");
    fputs("done\n", out);
    return 0;
}
