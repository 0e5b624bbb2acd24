#include <stdio.h>
int main(void)
{
    long long a, b;
    FILE *in = fopen("sum.in", "r"), *out = fopen("sum.out", "w");
    fscanf(in, "%lld %lld", &a, &b);
    fprintf(out, "%lld\n", a + b);
    return 0;
}
