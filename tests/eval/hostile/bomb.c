/* Forks until it cannot, up to 500 children that wait to be killed, and says whether the
 * process bound stopped it. */
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    int started = 0;
    for (int i = 0; i < 500; ++i) {
        pid_t pid = fork();
        if (pid < 0)
            break;
        if (pid == 0) {
            pause();
            _exit(0);
        }
        ++started;
    }
    FILE *out = fopen("bomb.out", "w");
    fputs(started < 100 ? "bounded\n" : "unbounded\n", out);
    return 0;
}
