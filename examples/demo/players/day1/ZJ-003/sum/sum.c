#include <stdio.h>
int main(void)
{
    long long a, b
    return 0;
}
