/* Goes for the judge: traces it, kills it, then kills every process it can. */
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/ptrace.h>

int main(void)
{
    long traced = ptrace(PTRACE_ATTACH, @JUDGE@, 0, 0);
    int traceError = traced < 0 ? errno : 0;
    int killed = kill(@JUDGE@, SIGKILL);
    int killError = killed < 0 ? errno : 0;
    FILE *out = fopen("judge.out", "w");
    fprintf(out, "trace %s, kill %s\n", strerror(traceError), strerror(killError));
    fclose(out);
    kill(-1, SIGKILL);
    return 0;
}
