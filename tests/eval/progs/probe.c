/* Checks what it was started with and reports faults in its exit status:
   1/2 RLIMIT_AS soft/hard differ from TALDON_EXPECT_AS ("soft hard"), 4 a finite address-space
   limit can be raised, 8 RLIMIT_FSIZE differs from TALDON_EXPECT_FSIZE or is not hard,
   16 core files allowed, 32/64 stdin/stdout is not /dev/null, 128 a descriptor from 3 to 64 is
   open (it also tries to write to each). Writes "probe: stderr\n" to standard error. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

static int isDevNull(int fd)
{
    struct stat a, b;
    return fstat(fd, &a) == 0 && stat("/dev/null", &b) == 0 && a.st_rdev == b.st_rdev &&
           S_ISCHR(a.st_mode);
}

int main(void)
{
    int bad = 0;
    struct rlimit r;
    unsigned long long soft = 0, hard = 0;
    const char *as = getenv("TALDON_EXPECT_AS");
    if (!as || sscanf(as, "%llu %llu", &soft, &hard) != 2 || getrlimit(RLIMIT_AS, &r) != 0)
        return 255;
    if (r.rlim_cur != soft)
        bad |= 1;
    if (r.rlim_max != hard)
        bad |= 2;
    r.rlim_cur = r.rlim_max = RLIM_INFINITY;
    if (hard != (unsigned long long)RLIM_INFINITY && setrlimit(RLIMIT_AS, &r) == 0)
        bad |= 4;
    const char *fsize = getenv("TALDON_EXPECT_FSIZE");
    if (!fsize || getrlimit(RLIMIT_FSIZE, &r) != 0 || r.rlim_cur != strtoull(fsize, 0, 10) ||
        r.rlim_max != r.rlim_cur)
        bad |= 8;
    if (getrlimit(RLIMIT_CORE, &r) != 0 || r.rlim_cur != 0 || r.rlim_max != 0)
        bad |= 16;
    if (!isDevNull(0))
        bad |= 32;
    if (!isDevNull(1))
        bad |= 64;
    for (int fd = 3; fd <= 64; ++fd)
        if (fcntl(fd, F_GETFD) != -1 || write(fd, "forged\n", 7) > 0)
            bad |= 128;
    fputs("probe: stderr\n", stderr);
    return bad;
}
