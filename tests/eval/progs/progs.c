/* The controlled-execution tests' submissions but those of their own files: one binary doing what a
   word of the name it runs under says. probe and regain report faults as bits of the status. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <grp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

static void spin(void)
{
    volatile unsigned long n = 0;
    for (;;)
        ++n;
}

static int cpu02(void)
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

static int flood(void)
{
    static char block[1 << 20];
    int fd = open("flood.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    while (fd >= 0)
        if (write(fd, block, sizeof block) < 0)
            return 2;
    return 1;
}

/* Exits 0 when fewer than 100 of 500 forks succeeded. */
static int forkbomb(void)
{
    int started = 0;
    for (pid_t pid; started < 500 && (pid = fork()) >= 0; ++started)
        if (pid == 0)
            pause();
    return started < 100 ? 0 : 1;
}

/* A grandchild computes forever; its pid goes to grandchild.pid. */
static int forker(int sleepAfter)
{
    pid_t pid = fork();
    if (pid == 0)
        spin();
    if (pid < 0)
        return 1;
    FILE *f = fopen("grandchild.pid", "w");
    if (!f || fprintf(f, "%d\n", (int)pid) < 0 || fclose(f) != 0)
        return 2;
    while (sleepAfter)
        pause();
    return 0;
}

/* Uses the null pointer malloc gives at last, as a careless solution would. */
static void memhog(void)
{
    for (;;) {
        volatile char *p = malloc(1 << 20);
        for (int i = 0; i < (1 << 20); i += 4096)
            p[i] = 1;
    }
}

static int isDevNull(int fd)
{
    struct stat a, b;
    return fstat(fd, &a) == 0 && stat("/dev/null", &b) == 0 && a.st_rdev == b.st_rdev &&
           S_ISCHR(a.st_mode);
}

/* 1/2 RLIMIT_AS soft/hard differ from TALDON_EXPECT_AS ("soft hard"), 4 a finite address-space
   limit can be raised, 8 RLIMIT_FSIZE differs from TALDON_EXPECT_FSIZE or is not hard, 16 core
   files allowed, 32/64 stdin/stdout is not /dev/null, 128 a descriptor from 3 to 64 is open. */
static int probe(void)
{
    int bad = 0;
    struct rlimit r;
    unsigned long long soft = 0, hard = 0;
    const char *as = getenv("TALDON_EXPECT_AS");
    if (!as || sscanf(as, "%llu %llu", &soft, &hard) != 2 || getrlimit(RLIMIT_AS, &r) != 0)
        return 255;
    bad |= (r.rlim_cur != soft) | (r.rlim_max != hard) << 1;
    r.rlim_cur = r.rlim_max = RLIM_INFINITY;
    if (hard != (unsigned long long)RLIM_INFINITY && setrlimit(RLIMIT_AS, &r) == 0)
        bad |= 4;
    const char *fsize = getenv("TALDON_EXPECT_FSIZE");
    if (!fsize || getrlimit(RLIMIT_FSIZE, &r) != 0 || r.rlim_cur != strtoull(fsize, 0, 10) ||
        r.rlim_max != r.rlim_cur)
        bad |= 8;
    if (getrlimit(RLIMIT_CORE, &r) != 0 || r.rlim_cur != 0 || r.rlim_max != 0)
        bad |= 16;
    bad |= !isDevNull(0) << 5 | !isDevNull(1) << 6;
    for (int fd = 3; fd <= 64; ++fd)
        if (fcntl(fd, F_GETFD) != -1 || write(fd, "forged\n", 7) > 0)
            bad |= 128;
    fputs("probe: stderr\n", stderr);
    return bad;
}

/* 1 setuid(0), 2 seteuid(0), 4 setgroups worked; with TALDON_EXPECT_IDS set, 8 the user ids are
   not all 60000, 16 the group ids not all 2000, 32 a supplementary group other than 2000 is left.
 */
static int regain(void)
{
    int bad = 0;
    if (getenv("TALDON_EXPECT_IDS")) {
        uid_t r, e, s;
        gid_t gr, ge, gs, groups[64];
        if (getresuid(&r, &e, &s) != 0 || r != 60000 || e != 60000 || s != 60000)
            bad |= 8;
        if (getresgid(&gr, &ge, &gs) != 0 || gr != 2000 || ge != 2000 || gs != 2000)
            bad |= 16;
        int n = getgroups(64, groups);
        if (n < 0 || n > 1 || (n == 1 && groups[0] != 2000))
            bad |= 32;
    }
    gid_t root = 0;
    bad |= (setgroups(1, &root) == 0) << 2 | (seteuid(0) == 0) << 1;
    return bad | (setuid(0) == 0);
}

int main(int argc, char **argv)
{
    const char *name = argc > 0 ? argv[0] : "";
#define IS(word) strstr(name, word)
    if (IS("aborter"))
        abort();
    if (IS("segv"))
        *(volatile int *)16 = 1;
    if (IS("memhog"))
        memhog();
    if (IS("forker"))
        return forker(IS("sleep") != NULL);
    return IS("cpu02")      ? cpu02()
           : IS("flood")    ? flood()
           : IS("forkbomb") ? forkbomb()
           : IS("probe")    ? probe()
           : IS("regain")   ? regain()
                            : 254;
}
