#include <stdio.h>
#include <stdlib.h>
/* Asks for far more memory than the limit and never checks. */
int main(void)
{
    long long *prefix = malloc(400u << 20);
    prefix[0] = 0;
    printf("%lld\n", prefix[0]);
    return 0;
}
