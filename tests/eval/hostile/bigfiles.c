/* Writes four files of 256 MiB and reports how much got written in all, once they are gone. */
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    static char block[1 << 20];
    long long total = 0;
    char name[] = "big0";
    for (; name[3] < '4'; ++name[3]) {
        FILE *f = fopen(name, "w");
        for (int m = 0; f && m < 256 && fwrite(block, 1, sizeof block, f) == sizeof block; ++m)
            total += sizeof block;
        if (f)
            fclose(f);
    }
    for (name[3] = '0'; name[3] < '4'; ++name[3])
        unlink(name);
    FILE *out = fopen("bigfiles.out", "w");
    fprintf(out, "%lld MiB\n", total >> 20);
    return 0;
}
