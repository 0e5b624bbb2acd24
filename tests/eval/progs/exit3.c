int main(void)
{
    return 3;
}
