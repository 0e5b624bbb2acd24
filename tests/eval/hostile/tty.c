/* Tries the organiser's terminal: /dev/tty and TIOCSTI on its standard descriptors. */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>

int main(void)
{
    char c = '#';
    int tty = open("/dev/tty", O_RDWR);
    int openError = tty < 0 ? errno : 0;
    int pushed = ioctl(0, TIOCSTI, &c);
    int pushError = pushed < 0 ? errno : 0;
    FILE *out = fopen("tty.out", "w");
    fprintf(out, "tty %s, push %s\n", strerror(openError), strerror(pushError));
    return 0;
}
