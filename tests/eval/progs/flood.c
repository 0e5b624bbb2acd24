/* Writes to flood.out in the current directory without end. */
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

int main(void)
{
    static char block[1 << 20];
    memset(block, 'x', sizeof block);
    int fd = open("flood.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return 1;
    for (;;)
        if (write(fd, block, sizeof block) < 0)
            return 2;
}
