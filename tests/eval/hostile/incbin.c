/* Compiles an answer file into the program. */
#include <stdio.h>
__asm__(".section .rodata\n.global stolen\nstolen:\n.incbin \"@HOME@/evaldata/incbin1.ans\"\n.byte 0\n.previous");
extern const char stolen[];
int main(void)
{
    FILE *out = fopen("incbin.out", "w");
    fputs(stolen, out);
    return 0;
}
