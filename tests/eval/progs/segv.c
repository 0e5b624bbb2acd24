/* Writes through an invalid pointer. */
int main(void)
{
    *(volatile int *)16 = 1;
    return 0;
}
