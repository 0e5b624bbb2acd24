/* Writes four files of 256 MiB and reports how much got written in all. */
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(void)
{
    static char block[1 << 20];
    memset(block, 'x', sizeof block);
    long long total = 0;
    char name[32];
    for (int i = 0; i < 4; ++i) {
        snprintf(name, sizeof name, "big%d", i);
        FILE *f = fopen(name, "w");
        for (int m = 0; f && m < 256; ++m) {
            size_t n = fwrite(block, 1, sizeof block, f);
            total += (long long)n;
            if (n < sizeof block)
                break;
        }
        if (f)
            fclose(f);
    }
    for (int i = 0; i < 4; ++i) {
        snprintf(name, sizeof name, "big%d", i);
        unlink(name);
    }
    FILE *out = fopen("bigfiles.out", "w");
    fprintf(out, "%lld MiB\n", total >> 20);
    return 0;
}
