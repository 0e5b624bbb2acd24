/* Tries to take back root and reports in its exit status: 1 setuid(0) worked, 2 seteuid(0)
   worked, 4 setgroups worked; with TALDON_EXPECT_IDS set, 8 the user ids are not all 60000,
   16 the group ids are not all 2000, 32 a supplementary group other than 2000 is left. */
#define _GNU_SOURCE
#include <grp.h>
#include <stdlib.h>
#include <unistd.h>

int main(void)
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
    if (setgroups(1, &root) == 0)
        bad |= 4;
    if (seteuid(0) == 0)
        bad |= 2;
    if (setuid(0) == 0)
        bad |= 1;
    return bad;
}
