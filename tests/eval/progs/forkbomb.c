/* Forks up to 500 children that wait to be killed and exits with 0 when fewer than 100 forks
   succeeded, 1 otherwise. Its children die with the run's process group. */
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
    return started < 100 ? 0 : 1;
}
