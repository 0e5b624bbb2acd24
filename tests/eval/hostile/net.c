/* Connects to a server of the test on the loopback interface. */
#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>

int main(void)
{
    int s = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons(@PORT@);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int r = s < 0 ? -1 : connect(s, (struct sockaddr *)&a, sizeof a);
    FILE *out = fopen("net.out", "w");
    fprintf(out, "%s\n", r == 0 ? "connected" : strerror(errno));
    return 0;
}
