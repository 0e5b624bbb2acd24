/* Allocates and touches memory until malloc fails, then uses the null pointer as a careless
   solution would. */
#include <stdlib.h>

int main(void)
{
    for (;;) {
        volatile char *p = malloc(1 << 20);
        for (int i = 0; i < (1 << 20); i += 4096)
            p[i] = 1;
    }
}
