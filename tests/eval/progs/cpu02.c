/* Uses 0.2 s of user CPU time, then exits with status 0. */
#include <sys/resource.h>

int main(void)
{
    struct rusage usage;
    volatile unsigned long n = 0;
    do {
        for (unsigned long i = 0; i < 1000000; ++i)
            ++n;
        getrusage(RUSAGE_SELF, &usage);
    } while (usage.ru_utime.tv_sec * 1000000L + usage.ru_utime.tv_usec < 200000L);
    return 0;
}
