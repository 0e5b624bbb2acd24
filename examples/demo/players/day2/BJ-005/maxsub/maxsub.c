#include <stdio.h>
/* Starts from an empty segment, so an all-negative input gives 0. */
int main(void)
{
    FILE *in = fopen("maxsub.in", "r"), *out = fopen("maxsub.out", "w");
    long long n, x, cur = 0, best = 0;
    fscanf(in, "%lld", &n);
    while (n-- > 0 && fscanf(in, "%lld", &x) == 1) {
        cur = cur + x > 0 ? cur + x : 0;
        if (cur > best)
            best = cur;
    }
    fprintf(out, "%lld\n", best);
    return 0;
}
