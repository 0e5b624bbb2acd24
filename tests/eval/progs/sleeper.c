/* Sleeps forever without using CPU time. */
#include <unistd.h>

int main(void)
{
    for (;;)
        sleep(1000);
}
