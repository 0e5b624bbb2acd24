#include <stdio.h>
/* Tries every segment: too slow for the last test point. */
int a[5000];
int main(void)
{
    FILE *in = fopen("maxsub.in", "r"), *out = fopen("maxsub.out", "w");
    int n, i, j, k;
    long long best = -1000000000;
    fscanf(in, "%d", &n);
    for (i = 0; i < n; i++)
        fscanf(in, "%d", &a[i]);
    for (i = 0; i < n; i++)
        for (j = i; j < n; j++) {
            long long s = 0;
            for (k = i; k <= j; k++)
                s += a[k];
            if (s > best)
                best = s;
        }
    fprintf(out, "%lld\n", best);
    return 0;
}
