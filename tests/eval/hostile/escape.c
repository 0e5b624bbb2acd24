/* Goes for what is outside the box: the organiser's terminal, the loopback interface (where a
 * shared network would refuse the connection), the judge, files left in /tmp and /dev/shm by an
 * earlier run, the contest's files and the judge's environment; forks up to 500 children, says
 * whether the process bound stopped it, then kills every process it can. */
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <unistd.h>

static FILE *out;

static void say(const char *what, long result)
{
    fprintf(out, "%s %s, ", what, strerror(result < 0 ? errno : 0));
}

int main(void)
{
    out = fopen("escape.out", "w");
    char c = '#';
    say("tty", open("/dev/tty", O_RDWR));
    say("push", ioctl(0, TIOCSTI, &c));
    int s = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in a = {.sin_family = AF_INET, .sin_port = htons(9),
                            .sin_addr.s_addr = htonl(INADDR_LOOPBACK)};
    say("net", s < 0 ? -1 : connect(s, (struct sockaddr *)&a, sizeof a));
    say("trace", ptrace(PTRACE_ATTACH, @JUDGE@, 0, 0));
    say("kill", kill(@JUDGE@, SIGKILL));
    const char *paths[] = {"/tmp/taldon-leak",        "/dev/shm/taldon-leak",
                           "../evaldata/escape1.ans", "@HOME@/evaldata/escape1.ans",
                           "@HOME@/players",          "@HOME@/result",
                           "@HOME@/filter",           "@HOME@"};
    int seen = 0;
    for (int i = 0; i < 8; ++i)
        seen |= access(paths[i], F_OK) == 0;
    for (int i = 0; i < 2; ++i)
        close(open(paths[i], O_WRONLY | O_CREAT, 0644));
    const char *home = getenv("HOME");
    seen |= getenv("TALDON_SOURCE_DIR") || !home || strcmp(home, "/box") != 0;
    int started = 0;
    for (pid_t pid; started < 500 && (pid = fork()) >= 0; ++started)
        if (pid == 0)
            pause();
    fprintf(out, "%s, %s\n", seen ? "seen" : "hidden", started < 100 ? "bounded" : "unbounded");
    fclose(out);
    kill(-1, SIGKILL);
    return 0;
}
