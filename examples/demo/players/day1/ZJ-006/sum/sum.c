/* Forgets to stop. */
int main(void)
{
    volatile long long s = 0;
    for (;;)
        s++;
}
