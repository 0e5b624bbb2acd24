/* Forks a grandchild that computes forever and writes its pid to grandchild.pid. Run under a
   name containing "sleep" it then sleeps forever, else it exits at once. */
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    (void)argc;
    pid_t pid = fork();
    if (pid == 0) {
        volatile unsigned long n = 0;
        for (;;)
            ++n;
    }
    if (pid < 0)
        return 1;
    FILE *f = fopen("grandchild.pid", "w");
    if (!f || fprintf(f, "%d\n", (int)pid) < 0 || fclose(f) != 0)
        return 2;
    if (strstr(argv[0], "sleep"))
        for (;;)
            pause();
    return 0;
}
