/* Leaves a FIFO where the output should be. */
#include <sys/stat.h>
#include <unistd.h>

int main(void)
{
    unlink("fifo.out");
    mkfifo("fifo.out", 0666);
    return 0;
}
